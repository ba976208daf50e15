// SPDX-License-Identifier: GPL-3.0-or-later
// Boxes that take no input method: the English boxes of the editor and the
// track-count field.
#pragma once

class QWidget;

namespace sonolabe {

// From now on box takes no input method: keys typed into it arrive as they
// are, even while the user has a Japanese input method switched on.
//
// Turning Qt::WA_InputMethodEnabled off is not enough: Qt 6.4's QLineEdit
// still answers the input method's Qt::ImEnabled query with true, and the
// input method, asking that, goes on composing into the box. So the box's
// answer is false here, and the input method is asked again whenever the box
// takes the focus.
void refuseInputMethod(QWidget *box);

} // namespace sonolabe
