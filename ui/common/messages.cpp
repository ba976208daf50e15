// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/messages.h"

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

QString loadErrorTitle()
{
    return u"ﾛｰﾄﾞ - ｴﾗｰ"_s;
}

QString loadErrorMessage(LoadFailure failure, const QString &path)
{
    QString text = u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは"_s % u'\r' %
                   u"CD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。"_s;
    if (failure == LoadFailure::Unreadable)
        text += u'\r' % u"ﾛｰﾄﾞを中止します。"_s;
    text += u"\r\r"_s % u"ﾌｧｲﾙ名："_s % u'\r' % path;
    return text;
}

QString saveErrorTitle()
{
    return u"保存 - ｴﾗｰ"_s;
}

namespace {

QString saveErrorReason(FileFailure failure, const QString &systemText)
{
    switch (failure) {
    case FileFailure::NoSpace:
        return u"ディスクの空き容量が足りません。"_s;
    case FileFailure::NoPermission:
        return u"書き込みの権限がありません。"_s;
    case FileFailure::FolderMissing:
        return u"フォルダーが見つかりません。"_s;
    case FileFailure::ReadOnlyFileSystem:
        return u"読み取り専用のファイルシステムです。"_s;
    case FileFailure::NotARegularFile:
        return u"保存先がフォルダーか通常のファイルではありません。"_s;
    case FileFailure::TooLarge:
        return u"ファイルが大きすぎます。"_s;
    case FileFailure::Other:
        break;
    }
    return systemText;
}

} // namespace

QString saveErrorMessage(const QString &path, const SaveResult &result)
{
    return saveErrorMessage(path, saveErrorReason(result.failure, result.reason));
}

QString saveErrorMessage(const QString &path, const QString &reason)
{
    return u"曲名ﾌｧｲﾙを保存できませんでした。"_s % u"\r\r"_s % u"ﾌｧｲﾙ名："_s % u'\r' % path %
           u'\r' % reason;
}

} // namespace sonolabe
