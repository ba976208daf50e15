// Title files on disk: what the reader accepts and refuses, and saving that
// never destroys the file that was there.
#include "model/titlefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestTitleFileIo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void readsRegularFile();
    void refusesUnreadable_data();
    void refusesUnreadable();
    void largeFileLoads();
    void tooLargeIsRefused();
    void writesAtomically();
    void saveFailuresKeepOldFile_data();
    void saveFailuresKeepOldFile();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestTitleFileIo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestTitleFileIo::readsRegularFile()
{
    write(u"disc.txt"_s, "ja\r\n0\tD\tA\r\n2\tx\r\n");
    const LoadResult result = ReadTitleFile(path(u"disc.txt"_s));
    QVERIFY(result.ok());
    QCOMPARE(int(result.disc().TrackCount), 2);
    QCOMPARE(result.disc().TrackTitles(Japanese, 2), u"x"_s);

    write(u"plain.txt"_s, "just some text\r\n");
    QCOMPARE(ReadTitleFile(path(u"plain.txt"_s)).failure(), LoadFailure::NotATitleFile);
}

// Everything that is not a readable regular file is refused as unreadable at
// once: nothing blocks, nothing is read without bound.
void TestTitleFileIo::refusesUnreadable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << u"missing"_s;
    QTest::newRow("empty path") << u"empty"_s;
    QTest::newRow("directory") << u"directory"_s;
    QTest::newRow("FIFO without writer") << u"fifo"_s;
    QTest::newRow("/dev/zero") << u"zero"_s;
    QTest::newRow("/dev/urandom") << u"urandom"_s;
    QTest::newRow("symlink loop") << u"loop"_s;
}

void TestTitleFileIo::refusesUnreadable()
{
    QFETCH(QString, kind);
    QString target;
    if (kind == u"missing") {
        target = path(u"nothing here.txt"_s);
    } else if (kind == u"directory") {
        target = m_dir->path();
    } else if (kind == u"fifo") {
        target = path(u"pipe"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    } else if (kind == u"zero") {
        target = u"/dev/zero"_s;
    } else if (kind == u"urandom") {
        target = u"/dev/urandom"_s;
    } else if (kind == u"loop") {
        target = path(u"loop"_s);
        QVERIFY(QFile::link(target, target));
    }
    const LoadResult result = ReadTitleFile(target);
    QVERIFY(!result.ok());
    QCOMPARE(result.failure(), LoadFailure::Aborted);
    QVERIFY2(!result.reason().isEmpty(), "the system's reason is kept");
}

void TestTitleFileIo::largeFileLoads()
{
    // 30 MB of track lines, each replacing the last: a huge but valid file.
    QByteArray bytes = "en\r\n";
    const QByteArray line = "12\t" + QByteArray(77, 'x') + "\r\n";
    while (bytes.size() < 30'000'000)
        bytes += line;
    bytes += "0\tdisc\tartist\r\n";
    write(u"large.txt"_s, bytes);
    const LoadResult result = ReadTitleFile(path(u"large.txt"_s));
    QVERIFY(result.ok());
    QCOMPARE(int(result.disc().TrackCount), 12);
    QCOMPARE(result.disc().TrackTitles(English, 12), QString(77, u'x'));
    QCOMPARE(result.disc().ArtistNames[English], u"artist"_s);
}

void TestTitleFileIo::tooLargeIsRefused()
{
    write(u"big.txt"_s, "ja\r\n" + QByteArray(5000, 'x'));
    QVERIFY(ReadTitleFile(path(u"big.txt"_s), 5004).ok());
    const LoadResult result = ReadTitleFile(path(u"big.txt"_s), 4096);
    QVERIFY(!result.ok());
    QCOMPARE(result.failure(), LoadFailure::Aborted);
}

void TestTitleFileIo::writesAtomically()
{
    write(u"disc.txt"_s, "old contents");
    const SaveResult result = WriteFileAtomically(path(u"disc.txt"_s), "new\r\n");
    QVERIFY2(result.ok, qPrintable(result.reason));
    QFile file(path(u"disc.txt"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("new\r\n"));
    // No temporary file is left behind.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{u"disc.txt"_s});
}

void TestTitleFileIo::saveFailuresKeepOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing folder") << u"missing folder"_s;
    QTest::newRow("target is a directory") << u"directory"_s;
    QTest::newRow("target is a FIFO") << u"fifo"_s;
    QTest::newRow("file size limit reached") << u"limit"_s;
}

void TestTitleFileIo::saveFailuresKeepOldFile()
{
    QFETCH(QString, kind);
    write(u"keep.txt"_s, "precious");
    QString target;
    QByteArray bytes = "new\r\n";
    if (kind == u"missing folder") {
        target = path(u"no such folder/disc.txt"_s);
    } else if (kind == u"directory") {
        target = path(u"folder"_s);
        QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s));
    } else if (kind == u"fifo") {
        target = path(u"pipe"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
    } else {
        // A file-size limit stands in for a full disk: writes beyond it fail
        // with EFBIG once SIGXFSZ is ignored.
        target = path(u"keep.txt"_s);
        bytes = QByteArray(1 << 20, 'x');
    }

    struct rlimit oldLimit;
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    auto oldSignal = SIG_DFL;
    if (kind == u"limit") {
        oldSignal = ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = oldLimit;
        limit.rlim_cur = 64 * 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    const SaveResult result = WriteFileAtomically(target, bytes);
    if (kind == u"limit") {
        ::setrlimit(RLIMIT_FSIZE, &oldLimit);
        ::signal(SIGXFSZ, oldSignal);
    }

    QVERIFY(!result.ok);
    QVERIFY(!result.reason.isEmpty());
    QFile kept(path(u"keep.txt"_s));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("precious"));
    const QFileInfo info(target);
    if (kind == u"fifo")
        QVERIFY(info.exists() && !info.isFile());
}

QTEST_GUILESS_MAIN(TestTitleFileIo)
#include "tst_titlefileio.moc"
