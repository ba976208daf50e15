// SPDX-License-Identifier: GPL-3.0-or-later
// Driving Qt's own file dialog from a test: it is found as the active modal
// widget, filled in through its widgets and accepted like a user would.
#pragma once

#include "common/modalanswer.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

namespace sonolabe::test {

// Answers the next modal window with handler when it is a file dialog;
// anything else is closed, which the caller sees in what it asserts.
inline std::unique_ptr<ModalAnswer> answerFileDialog(std::function<void(QFileDialog *)> handler)
{
    return std::make_unique<ModalAnswer>([handler](QWidget *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal))
            handler(dialog);
        else
            modal->close();
    });
}

inline QLineEdit *fileNameEdit(QFileDialog *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

// Types a name into the dialog and presses its Open or Save button, which
// checks the name as it does for the user.
inline void acceptFileName(QFileDialog *dialog, const QString &name)
{
    fileNameEdit(dialog)->setText(name);
    static_cast<QDialog *>(dialog)->accept();
}

// Picks a file type (0 = the first) as a user does, with the keyboard on the
// list of types: Home, then Down; each step is a choice the dialog acts on.
inline void pickFileType(QFileDialog *dialog, int index)
{
    auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

// The file types as the user reads them, and the one selected.
inline QStringList shownFileTypes(QFileDialog *dialog)
{
    auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    QStringList shown;
    for (int i = 0; combo && i < combo->count(); ++i)
        shown << combo->itemText(i);
    if (combo)
        shown << QStringLiteral("selected: ") + combo->currentText();
    return shown;
}

// Waits until the file list shows exactly the expected names (the dialog
// reads folders in the background) and returns what it shows in the end.
inline QStringList listedNames(QFileDialog *dialog, QStringList expected)
{
    auto *view = dialog->findChild<QAbstractItemView *>(QStringLiteral("listView"));
    const auto names = [view] {
        QStringList names;
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        names.sort();
        return names;
    };
    expected.sort();
    (void)QTest::qWaitFor([&] { return names() == expected; }, 5000);
    return names();
}

} // namespace sonolabe::test
