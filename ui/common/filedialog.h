// SPDX-License-Identifier: GPL-3.0-or-later
// The open and save dialogs: Qt's own file dialog, as both windows that ask
// for a file use it.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <optional>

namespace sonolabe {

struct FileDialogRequest
{
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::ExistingFile;
    // Each "text shown (patterns)": Qt takes a filter's patterns from its last
    // parentheses and, with the details hidden, shows only the text before
    // them, so the list reads word for word as given.
    QStringList filters;
    qsizetype selectedFilter = 0;
    QString selectedFile; // shown in the name field, with its folder opened
    bool confirmOverwrite = true;
};

struct FileDialogChoice
{
    QString path;          // absolute
    qsizetype filter = -1; // index into the request's filters, -1 if unknown
};

// Shows the dialog modally over owner, starting in the process's current
// directory, and returns the file chosen, or nothing when the user cancelled
// or the dialog went away under the caller. After a choice the current
// directory follows the chosen folder, so the next dialog starts there.
//
// Choosing another file type never changes the name in the name field: the
// name typed, or offered, is the one saved to. The dialog keeps no history
// and writes no settings file: the title files are the program's only data.
std::optional<FileDialogChoice> runFileDialog(QWidget *owner, const FileDialogRequest &request);

} // namespace sonolabe
