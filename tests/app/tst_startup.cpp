// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up from the command line, with the real loader and its message boxes.
#include "app/startup.h"
#include "common/modalanswer.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/editor/editorwindow.h"
#include "ui/session.h"
#include "ui/startup/neworopendialog.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void noArgumentsShowsDialog();
    void fileOpensEditorAfterStartingSuccessor();
    void failures_data();
    void failures();

private:
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return file.fileName();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TitleStore> m_store;
    std::unique_ptr<Beeper> m_beeper;
    std::unique_ptr<Session> m_session;
    QList<QStringList> m_successors;
    StartSuccessor m_startSuccessor;
};

void TestStartup::init()
{
    m_store = std::make_unique<TitleStore>();
    m_beeper = std::make_unique<Beeper>();
    m_session = std::make_unique<Session>(*m_store, *m_beeper);
    m_successors.clear();
    m_startSuccessor = [this](const QStringList &arguments) { m_successors << arguments; };
}

void TestStartup::cleanup()
{
    m_session.reset();
}

void TestStartup::noArgumentsShowsDialog()
{
    QCOMPARE(StartFromCommandLine({}, *m_session, m_startSuccessor), StartupResult::DialogShown);
    QVERIFY(m_session->startupDialog());
    QVERIFY(m_session->startupDialog()->isVisible());
    QVERIFY(!m_session->editor());
    QVERIFY(m_successors.isEmpty());
}

void TestStartup::fileOpensEditorAfterStartingSuccessor()
{
    const QString first = writeFile(u"first disc.txt"_s, "ja\r\n0\tD\tA\r\n3\tx\r\n");
    bool storeEmptyWhenSuccessorStarted = false;
    m_startSuccessor = [&](const QStringList &arguments) {
        m_successors << arguments;
        storeEmptyWhenSuccessorStarted = m_store->trackCount == 0;
    };
    const CommandLine commandLine =
        ParseCommandLine({u"--"_s, first, u"/x/second \"disc\".txt"_s, u"--help"_s});
    QCOMPARE(StartFromCommandLine(commandLine, *m_session, m_startSuccessor),
             StartupResult::EditorShown);
    QCOMPARE(m_successors, (QList<QStringList>{{QStringView(SuccessorFlag).toString(),
                                                u"/x/second \"disc\".txt"_s, u"--help"_s}}));
    QVERIFY(storeEmptyWhenSuccessorStarted);
    QCOMPARE(int(m_store->trackCount), 3);
    QCOMPARE(m_store->discNames[Japanese], u"D"_s);
    QVERIFY2(m_store->currentFilePath.isEmpty(), "a command-line file is not the current file");
    QVERIFY(m_session->editor());
    QVERIFY(!m_session->startupDialog());
}

void TestStartup::failures_data()
{
    QTest::addColumn<bool>("spawned");
    QTest::addColumn<bool>("exists"); // false: missing (abort), true: no tag (format)
    QTest::addColumn<StartupResult>("result");
    QTest::newRow("first instance, not a title file")
        << false << true << StartupResult::DialogShown;
    QTest::newRow("first instance, missing file") << false << false << StartupResult::DialogShown;
    QTest::newRow("successor, not a title file") << true << true << StartupResult::Ended;
    QTest::newRow("successor, missing file") << true << false << StartupResult::Ended;
}

void TestStartup::failures()
{
    QFETCH(bool, spawned);
    QFETCH(bool, exists);
    QFETCH(StartupResult, result);

    m_store->trackCount = 4;
    m_store->discNames[English] = u"kept"_s;
    const TitleStore before = *m_store;
    const QString path =
        exists ? writeFile(u"notes.txt"_s, "no tag here\r\n") : m_dir.filePath(u"missing.txt"_s);
    QSignalSpy beeps(m_beeper.get(), &Beeper::beeped);
    int beepsBeforeBox = -1;
    ModalAnswer answer([&](QWidget *modal) {
        beepsBeforeBox = beeps.count();
        static_cast<QMessageBox *>(modal)->button(QMessageBox::Ok)->click();
    });

    const QStringList arguments = spawned ? QStringList{QStringView(SuccessorFlag).toString(), path}
                                          : QStringList{path};
    QCOMPARE(StartFromCommandLine(ParseCommandLine(arguments), *m_session, m_startSuccessor),
             result);

    QVERIFY(answer.answered());
    QCOMPARE(answer.title(), u"ﾛｰﾄﾞ - ｴﾗｰ"_s);
    QCOMPARE(answer.icon(), QMessageBox::Critical);
    const QString expected =
        exists ? u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは\nCD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。\n\n"
                 "ﾌｧｲﾙ名：\n"_s %
                     path
               : u"ﾛｰﾄﾞしようとしている曲名ﾌｧｲﾙは\nCD-TEXTの曲名ﾌｧｲﾙの規格に合っていません。\n"
                 "ﾛｰﾄﾞを中止します。\n\nﾌｧｲﾙ名：\n"_s %
                     path;
    QCOMPARE(answer.text(), expected);
    // The beep comes before the abort message only.
    QCOMPARE(beepsBeforeBox, exists ? 0 : 1);
    QCOMPARE(beeps.count(), exists ? 0 : 1);
    QVERIFY2(*m_store == before, "a failed load leaves the store as it was");
    QVERIFY(!m_session->editor());
    QCOMPARE(m_session->startupDialog() != nullptr, result == StartupResult::DialogShown);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
