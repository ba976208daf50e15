// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a title file into the store, telling the user when it fails.
#pragma once

#include <QString>

class QWidget;

namespace sonolabe {

struct TitleStore;
class Beeper;

// Reads the file at path. On success the store's texts and count are the
// file's and true is returned. On failure the store is left exactly as it was
// and the load error box has been shown (after a beep when the file could not
// be read at all); false is returned.
bool loadTitleFile(QWidget *parent, const QString &path, TitleStore &store, Beeper &beeper);

} // namespace sonolabe
