// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/filedialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QSettings>
#include <QSignalBlocker>

#include <memory>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

// Qt's file dialog keeps its history and last folder in the user's settings
// (QtProject.conf). The program points the user's settings at a place below
// /dev/null, which never is a folder, so nothing is read and nothing written.
void keepNoSettings()
{
    static const bool kept = [] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           u"/dev/null/no-settings"_s);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, u"/dev/null/no-settings"_s);
        return true;
    }();
    (void)kept;
}

// In a save dialog Qt gives the typed name the extension of each file type
// the user picks ("DISC.TXT" becomes "DISC.txt", "notes.dat" "notes.txt"),
// so that the save would go to another file. The name is noted when the
// type's index changes and put back once Qt has handled the choice.
void keepNameAcrossFileTypes(QFileDialog *dialog)
{
    auto *types = dialog->findChild<QComboBox *>(u"fileTypeCombo"_s);
    auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
    if (!types || !name)
        return;
    const auto noted = std::make_shared<QString>();
    QObject::connect(types, &QComboBox::currentIndexChanged, name,
                     [name, noted] { *noted = name->text(); });
    QObject::connect(dialog, &QFileDialog::filterSelected, name, [name, noted] {
        if (name->text() == *noted)
            return;
        // Quietly: the dialog would select a file of that name in its list,
        // and a selected file wins over a name typed afterwards.
        const QSignalBlocker quiet(name);
        name->setText(*noted);
    });
}

qsizetype filterIndex(const QFileDialog &dialog, const QStringList &filters)
{
    // Depending on the Qt version the selected filter reads as shown or whole.
    const QString selected = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < filters.size(); ++i) {
        const QString &filter = filters.at(i);
        if (selected == filter || selected == filter.left(filter.lastIndexOf(u" ("_s)))
            return i;
    }
    return -1;
}

} // namespace

std::optional<FileDialogChoice> runFileDialog(QWidget *owner, const FileDialogRequest &request)
{
    keepNoSettings();
    QPointer<QFileDialog> dialog = new QFileDialog(owner);
    QFileDialog::Options options =
        QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails;
    if (!request.confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    dialog->setOptions(options);
    dialog->setAcceptMode(request.acceptMode);
    dialog->setFileMode(request.fileMode);
    dialog->setDirectory(QDir::currentPath());
    dialog->setNameFilters(request.filters);
    if (request.selectedFilter >= 0 && request.selectedFilter < request.filters.size())
        dialog->selectNameFilter(request.filters.at(request.selectedFilter));
    if (!request.selectedFile.isEmpty())
        dialog->selectFile(request.selectedFile);
    if (request.acceptMode == QFileDialog::AcceptSave)
        keepNameAcrossFileTypes(dialog);

    // The dialog blocks the whole program, but its owner may still go away
    // under it; then there is nothing to answer.
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return std::nullopt;
    const QStringList files = dialog->selectedFiles();
    const qsizetype filter = filterIndex(*dialog, request.filters);
    delete dialog;
    if (!accepted || files.isEmpty() || files.first().isEmpty())
        return std::nullopt;

    FileDialogChoice choice{QFileInfo(files.first()).absoluteFilePath(), filter};
    QDir::setCurrent(QFileInfo(choice.path).absolutePath());
    return choice;
}

} // namespace sonolabe
