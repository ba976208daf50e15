// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own pictures: the window icon and the text pointers of the
// Japanese and the English boxes.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPoint>

namespace sonolabe {

// Where the pointers point: the middle of the I-beam's stem.
inline constexpr QPoint PointerHotSpot{5, 11};

// The 32 x 32 icon in 16 colours: a rainbow compact disc with red lettering.
QIcon sonolabeIcon();

// 32 x 32 monochrome I-beams marked 日本 and 英.
QCursor japanesePointer();
QCursor englishPointer();

} // namespace sonolabe
