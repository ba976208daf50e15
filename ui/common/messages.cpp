// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/messages.h"

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

QString LoadErrorTitle()
{
    return u"ﾛｰﾄﾞ - ｴﾗｰ"_s;
}

QString LoadErrorMessage(LoadFailure failure, const QString &path)
{
    QString text = u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは"_s % u'\r' %
                   u"CD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。"_s;
    if (failure == LoadFailure::Aborted)
        text += u'\r' % u"ﾛｰﾄﾞを中止します。"_s;
    text += u"\r\r"_s % u"ﾌｧｲﾙ名："_s % u'\r' % path;
    return text;
}

QString SaveErrorTitle()
{
    return u"保存 - ｴﾗｰ"_s;
}

namespace {

QString SaveErrorReason(SaveFailure failure, const QString &systemText)
{
    switch (failure) {
    case SaveFailure::NoSpace:
        return u"ディスクの空き容量が足りません。"_s;
    case SaveFailure::NoPermission:
        return u"書き込みの権限がありません。"_s;
    case SaveFailure::FolderMissing:
        return u"フォルダーが見つかりません。"_s;
    case SaveFailure::ReadOnlyFileSystem:
        return u"読み取り専用のファイルシステムです。"_s;
    case SaveFailure::NotARegularFile:
        return u"保存先がフォルダーか通常のファイルではありません。"_s;
    case SaveFailure::TooLarge:
        return u"ファイルが大きすぎます。"_s;
    case SaveFailure::Other:
        break;
    }
    return systemText;
}

} // namespace

QString SaveErrorMessage(const QString &path, const SaveResult &result)
{
    return SaveErrorMessage(path, SaveErrorReason(result.failure, result.reason));
}

QString SaveErrorMessage(const QString &path, const QString &reason)
{
    return u"曲名ﾌｧｲﾙを保存できませんでした。"_s % u"\r\r"_s % u"ﾌｧｲﾙ名："_s % u'\r' % path %
           u'\r' % reason;
}

} // namespace sonolabe
