// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the store as a title file through the save dialog.
#pragma once

class QString;
class QWidget;

namespace sonolabe {

struct TitleStore;

// Checks the English texts (disc name, artist and all 99 titles), asks for a
// file name and type, and writes the file. The type selected when the dialog
// closes decides the sections: English only, Japanese only, or both. The
// dialog offers filePath; the chosen name gets ".txt" unless it ends in it in
// any case, and becomes filePath as soon as it is chosen, so that after a
// failed write the next save offers it again. The file is replaced atomically: a failed write
// leaves the old file as it was.
//
// True only when a file was written; false after a refusal of the English
// texts or a failed write (each told to the user in a stop box) or a
// cancelled dialog (nothing changes then). The file dialog blocks the whole
// program while it is open.
bool saveTitleFile(QWidget *owner, const TitleStore &store, QString &filePath);

} // namespace sonolabe
