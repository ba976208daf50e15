// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile files named on the command line, through the real start-up: the
// argument vector goes through the argument text and its splitting, the real
// loader with its message boxes, and the session's windows. Each gives the
// abort message (after a beep) or loads, in bounded time and memory, and the
// program is still usable afterwards. The exact message texts are tested in
// tst_startup.
#include "app/startup.h"
#include "common/modalanswer.h"
#include "model/titlefile.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/editor/editorwindow.h"
#include "ui/session.h"
#include "ui/startup/neworopendialog.h"
#include "ui/startup/loadtitlefile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qint64 hugeBytes = qint64(100) << 20;

QString write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qUtf8Printable(path));
    return path;
}

// Creates what the row names in folder and returns the path to put on the
// command line.
QString prepare(const QString &kind, const QDir &folder)
{
    const QString path = folder.filePath(u"disc.txt"_s);
    if (kind.startsWith(u"name:")) {
        // Named as typed in the file's folder, so that the name is the whole
        // argument.
        write(folder.filePath(kind.mid(5)), "ja\r\n0\tDisc\tArtist\r\n1\tFirst\r\n2\tSecond\r\n");
        if (!QDir::setCurrent(folder.path()))
            qFatal("cannot change to the temporary folder");
        return kind.mid(5);
    }
    if (kind.startsWith(u'/'))
        return kind;
    if (kind == u"directory")
        return folder.path();
    if (kind == u"fifo" && ::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        qFatal("mkfifo failed");
    if (kind == u"loop" && !QFile::link(path, path))
        qFatal("cannot create a symbolic link");
    if (kind == u"no permission")
        ::chmod(QFile::encodeName(write(path, "ja\r\n")).constData(), 0);
    if (kind == u"nul bytes") {
        static const char bytes[] = "ja\r\n0\tA\0B\t\0\r\n\0\r\n1\t\0\0x\r\n";
        write(path, QByteArray(bytes, sizeof bytes - 1));
    }
    // One line of NUL bytes after the disc line's start; sparse, so that the
    // file that is too large is never really written or read.
    if ((kind == u"huge" || kind == u"too large") &&
        !QFile::resize(write(path, "ja\r\n0\t"),
                       kind == u"huge" ? hugeBytes : MaxTitleFileBytes + 1))
        qFatal("cannot make a large file");
    return path;
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QDir::setCurrent(m_startFolder); }
    void commandLine_data();
    void commandLine();

private:
    const QString m_startFolder = QDir::currentPath();
};

void TestHostileFiles::commandLine_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("loads"); // otherwise the abort message
    QTest::newRow("directory") << u"directory"_s << false;
    QTest::newRow("FIFO without writer") << u"fifo"_s << false;
    QTest::newRow("/dev/zero") << u"/dev/zero"_s << false;
    QTest::newRow("/dev/urandom") << u"/dev/urandom"_s << false;
    QTest::newRow("symlink loop") << u"loop"_s << false;
    QTest::newRow("no read permission") << u"no permission"_s << false;
    QTest::newRow("read fails (/proc/self/mem)") << u"/proc/self/mem"_s << false;
    QTest::newRow("larger than any title file") << u"too large"_s << false;
    QTest::newRow("100 MB single line") << u"huge"_s << true;
    QTest::newRow("NUL bytes") << u"nul bytes"_s << true;
    // Unusual names of a good file: each must reach the loader unchanged.
    QTest::newRow("spaces and shell metacharacters")
        << u"name:a; touch injected & $(touch injected) `id`|<>*?~!#'\\ .txt"_s << true;
    QTest::newRow("non-ASCII, line break and tab")
        << u"name:曲名 ファイル ①é ﾀｲﾄﾙ\nand\ttab.txt"_s << true;
    QTest::newRow("double quote inside") << u"name:it\"s.txt"_s << true;
    QTest::newRow("double quotes and spaces") << u"name:the \"best\" of.txt"_s << true;
    QTest::newRow("leading double quote") << u"name:\"a.txt"_s << true;
}

void TestHostileFiles::commandLine()
{
    QFETCH(QString, kind);
    QFETCH(bool, loads);
    if (kind == u"no permission" && ::geteuid() == 0)
        QSKIP("root reads files whatever their permission bits say; the row 'read fails' "
              "stands for an unreadable file there");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = prepare(kind, QDir(dir.path()));
    TitleStore store;
    store.trackCount = 3;
    store.trackTitles(Japanese, 3) = u"typed before"_s;
    store.currentFilePath = u"/kept/path.txt"_s;
    const TitleStore before = store;
    Beeper beeper;
    Session session(store, beeper);

    QSignalSpy beeps(&beeper, &Beeper::beeped);
    int beepsBeforeBox = -1;
    ModalAnswer answer([&](QWidget *modal) {
        beepsBeforeBox = beeps.count();
        static_cast<QMessageBox *>(modal)->button(QMessageBox::Ok)->click();
    });
    QList<QStringList> successors;
    const StartupResult result =
        StartFromCommandLine(ParseCommandLine({path}), session,
                             [&](const QStringList &arguments) { successors << arguments; });

    QCOMPARE(result, loads ? StartupResult::EditorShown : StartupResult::DialogShown);
    QVERIFY(successors.isEmpty());
    if (loads) {
        QVERIFY2(!answer.answered(), qUtf8Printable(u"unexpected box: "_s + answer.text()));
        QCOMPARE(beeps.count(), 0);
        QVERIFY(session.editor());
        QCOMPARE(store.currentFilePath, before.currentFilePath);
        QVERIFY2(store.trackTitles(Japanese, 3).isEmpty(), "the old titles are gone");
        if (kind == u"huge") {
            QCOMPARE(qint64(store.discNames[Japanese].size()), hugeBytes - 6);
        } else if (kind == u"nul bytes") {
            QCOMPARE(store.discNames[Japanese], QStringView(u"A\0B", 3).toString());
            QCOMPARE(store.artistNames[Japanese], QString(QChar(0)));
            QCOMPARE(store.trackTitles(Japanese, 1), QStringView(u"\0\0x", 3).toString());
        } else {
            QCOMPARE(store.trackTitles(Japanese, 2), u"Second"_s);
        }
    } else {
        QVERIFY(answer.answered());
        QVERIFY2(answer.text().contains(u"ﾛｰﾄﾞを中止します。\n\nﾌｧｲﾙ名：\n"_s + path),
                 qUtf8Printable(answer.text()));
        QCOMPARE(beeps.count(), 1);
        QCOMPARE(beepsBeforeBox, 1);
        QVERIFY2(store == before, "a failed load leaves the store as it was");
        QVERIFY(session.startupDialog() && session.startupDialog()->isVisible());
    }

    // Still usable: a good file loads and an editor opens on it.
    const QString good = write(dir.filePath(u"after.txt"_s), "en\r\n0\tAfter\t\r\n5\tfive\r\n");
    ModalAnswer noBox;
    QVERIFY(LoadTitleFile(session.startupDialog(), good, store, beeper));
    QVERIFY2(!noBox.answered(), qUtf8Printable(noBox.text()));
    QCOMPARE(store.trackTitles(English, 5), u"five"_s);
    QVERIFY(session.openEditor()->isVisible());
}

QTEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
