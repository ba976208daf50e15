// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/savetitlefile.h"

#include "model/englishtext.h"
#include "model/titlefile.h"
#include "model/titlestore.h"
#include "ui/common/look.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QStringBuilder>

#include <optional>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

namespace {

// The file types in the order the dialog offers them, one for each
// SaveFileType, as the user reads them and with the names they match.
struct FileType
{
    QString shown;
    QString pattern;
};
QList<FileType> saveFileTypes()
{
    // "*" rather than "*.*" for all files: it also shows names without a dot.
    return {{u"英語のみの曲名ファイル"_s, u"*.txt"_s},
            {u"日本語と英語の曲名ファイル"_s, u"*.txt"_s},
            {u"日本語のみの曲名ファイル"_s, u"*.txt"_s},
            {u"すべてのﾌｧｲﾙ(*.*)"_s, u"*"_s}};
}

// Qt takes a filter's patterns from its last parentheses and, with the
// details hidden, shows only the text before them; so the dialog lists the
// types word for word while matching the patterns above ("*.txt" without
// regard to case).
QString qtFilter(const FileType &type)
{
    return type.shown % u" ("_s % type.pattern % u')';
}

bool englishTextsAllowed(const TitleStore &store)
{
    // Every text is checked, all 99 titles included, whatever type follows.
    bool allowed = EnglishTextChk(store.DiscNames[English]) == 0;
    allowed = EnglishTextChk(store.ArtistNames[English]) == 0 && allowed;
    for (int track = 1; track <= MaxTracks; ++track)
        allowed = EnglishTextChk(store.TrackTitles(English, track)) == 0 && allowed;
    return allowed;
}

struct SaveChoice
{
    QString path;
    SaveFileType type = SaveFileType::JapaneseAndEnglish;
};

// The save dialog over owner: in the current directory, or the folder of the
// current file with its name filled in; type 2 preselected; a new name
// accepted; an existing file replaced without a question. After a choice the
// current directory follows the chosen folder, so the next file dialog starts
// there.
std::optional<SaveChoice> chooseFileToSave(QWidget *owner, const QString &currentPath)
{
    QPointer<QFileDialog> dialog = new QFileDialog(owner);
    dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails |
                       QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDirectory(QDir::currentPath());
    const QList<FileType> types = saveFileTypes();
    QStringList filters;
    for (const FileType &type : types)
        filters << qtFilter(type);
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.at(int(SaveFileType::JapaneseAndEnglish) - 1));
    if (!currentPath.isEmpty())
        dialog->selectFile(currentPath);

    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return std::nullopt;
    const QStringList files = dialog->selectedFiles();
    // Depending on the Qt version the selected filter reads as shown or whole.
    const QString selected = dialog->selectedNameFilter();
    qsizetype filter = -1;
    for (qsizetype i = 0; i < types.size(); ++i) {
        if (selected == types.at(i).shown || selected == filters.at(i))
            filter = i;
    }
    delete dialog;
    if (!accepted || files.isEmpty() || files.first().isEmpty())
        return std::nullopt;

    SaveChoice choice;
    choice.path = QFileInfo(files.first()).absoluteFilePath();
    if (filter >= 0)
        choice.type = SaveFileType(filter + 1);
    QDir::setCurrent(QFileInfo(choice.path).absolutePath());
    return choice;
}

} // namespace

bool SaveTitleFile(QWidget *owner, TitleStore &store)
{
    if (!englishTextsAllowed(store)) {
        showStopMessage(owner, u"入力エラー"_s,
                        u"英語の曲名ファイルに2バイト文字を含めることはできません。"_s);
        return false;
    }

    const std::optional<SaveChoice> choice = chooseFileToSave(owner, store.CurrentFilePath);
    if (!choice)
        return false;
    store.CurrentFilePath = WithTxtExtension(choice->path);

    const QByteArray bytes = WriteTitleFile(store, sectionsForFileType(choice->type));
    const SaveResult result = WriteFileAtomically(store.CurrentFilePath, bytes);
    if (!result.ok) {
        showStopMessage(owner, SaveErrorTitle(),
                        SaveErrorMessage(store.CurrentFilePath, result.reason));
        return false;
    }
    return true;
}

} // namespace sonolabe
