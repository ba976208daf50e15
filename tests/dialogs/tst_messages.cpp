// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the error boxes: the load message and the reason line of the
// save message.
#include "model/safefile.h"
#include "model/titlefile.h"
#include "ui/common/messages.h"

#include <QTest>

#include <cerrno>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestMessages : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadMessage();
    void saveReason_data();
    void saveReason();
};

// Built with single CRs; showing the box turns them into line breaks.
void TestMessages::loadMessage()
{
    QCOMPARE(LoadErrorMessage(LoadFailure::Aborted, u"/a b.txt"_s),
             u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは\rCD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。\r"
             "ﾛｰﾄﾞを中止します。\r\rﾌｧｲﾙ名：\r/a b.txt"_s);
}

// The save message's last line: the common causes in Japanese, anything else
// in the system's words.
void TestMessages::saveReason_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");
    QTest::newRow("ENOSPC") << ENOSPC << u"ディスクの空き容量が足りません。"_s;
    QTest::newRow("EDQUOT") << EDQUOT << u"ディスクの空き容量が足りません。"_s;
    QTest::newRow("EACCES") << EACCES << u"書き込みの権限がありません。"_s;
    QTest::newRow("EPERM") << EPERM << u"書き込みの権限がありません。"_s;
    QTest::newRow("ENOENT") << ENOENT << u"フォルダーが見つかりません。"_s;
    QTest::newRow("ENOTDIR") << ENOTDIR << u"フォルダーが見つかりません。"_s;
    QTest::newRow("EROFS") << EROFS << u"読み取り専用のファイルシステムです。"_s;
    QTest::newRow("EISDIR") << EISDIR << u"保存先がフォルダーか通常のファイルではありません。"_s;
    QTest::newRow("EFBIG") << EFBIG << u"ファイルが大きすぎます。"_s;
    QTest::newRow("EIO") << EIO << u"system words"_s;
}

void TestMessages::saveReason()
{
    QFETCH(int, error);
    QFETCH(QString, reason);
    QCOMPARE(SaveErrorReason(SaveFailureOf(error), u"system words"_s), reason);
}

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
