// Saving the store as a title file through the save dialog.
#pragma once

class QWidget;

namespace sonolabe {

struct TitleStore;

// Checks the English texts, asks for a file name and type, and writes the
// file. True only when a file was written; false after a refusal or an error
// (each told to the user in a message box) or a cancelled dialog.
bool SaveTitleFile(QWidget *owner, TitleStore &store);

} // namespace sonolabe
