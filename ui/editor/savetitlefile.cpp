// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editor/savetitlefile.h"

#include "model/safefile.h"
#include "model/titlefile.h"
#include "model/titlestore.h"
#include "ui/common/filedialog.h"
#include "ui/common/look.h"
#include "ui/common/messages.h"

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
    bool allowed = isEnglishText(store.discNames[English]);
    allowed = isEnglishText(store.artistNames[English]) && allowed;
    for (int track = 1; track <= MaxTracks; ++track)
        allowed = isEnglishText(store.trackTitles(English, track)) && allowed;
    return allowed;
}

// The save dialog over owner: the current file's name offered when there is
// one, "both languages" preselected, a new name accepted, an existing file
// replaced without a question.
std::optional<FileDialogChoice> chooseFileToSave(QWidget *owner, const QString &currentPath)
{
    FileDialogRequest request;
    request.acceptMode = QFileDialog::AcceptSave;
    request.fileMode = QFileDialog::AnyFile;
    for (const FileType &type : saveFileTypes())
        request.filters << qtFilter(type);
    request.selectedFilter = int(SaveFileType::JapaneseAndEnglish) - 1;
    request.selectedFile = currentPath;
    request.confirmOverwrite = false;
    return runFileDialog(owner, request);
}

} // namespace

bool saveTitleFile(QWidget *owner, const TitleStore &store, QString &filePath)
{
    if (!englishTextsAllowed(store)) {
        showStopMessage(owner, u"入力エラー"_s,
                        u"英語の曲名ファイルに2バイト文字を含めることはできません。"_s);
        return false;
    }

    const std::optional<FileDialogChoice> choice = chooseFileToSave(owner, filePath);
    if (!choice)
        return false;
    filePath = withTxtExtension(choice->path);
    // A type the dialog cannot tell is taken as the preselected one.
    const SaveFileType type =
        choice->filter >= 0 ? SaveFileType(choice->filter + 1) : SaveFileType::JapaneseAndEnglish;

    const QByteArray bytes = writeTitleFile(store, sectionsForFileType(type));
    const SaveResult result = writeFileAtomically(filePath, bytes);
    if (!result.ok) {
        showStopMessage(owner, saveErrorTitle(), saveErrorMessage(filePath, result));
        return false;
    }
    return true;
}

} // namespace sonolabe
