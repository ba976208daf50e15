// Saving through the real save dialog: the refusal of English texts, the file
// types and their bytes, the ".txt" rule, and failed writes that keep the old
// file.
#include "filedialogs.h"
#include "model/titlestore.h"
#include "ui/editor/savetitlefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <memory>
#include <optional>
#include <sys/resource.h>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

class TestSaveTitleFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void dialogSetup_data();
    void dialogSetup();
    void written_data();
    void written();
    void refusal_data();
    void refusal();
    void allFilesShowsNamesWithoutDot();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();

private:
    QString path(const QString &name) const { return QDir(m_dir->path()).absoluteFilePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray readFile(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }
    QStringList entries() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    // Saves with a name and a file type (0 to 3) chosen in the dialog; a box
    // shown after the dialog is answered with OK and kept in afterDialog.
    bool saveAs(const QString &name, int type, std::optional<ModalAnswer> &afterDialog)
    {
        const auto dialog = answerFileDialog([&](QFileDialog *fileDialog) {
            fileDialog->selectNameFilter(fileDialog->nameFilters().at(type));
            afterDialog.emplace();
            acceptFileName(fileDialog, name);
        });
        return SaveTitleFile(m_owner.get(), m_store);
    }

    QString m_oldCurrent;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QWidget> m_owner;
    TitleStore m_store;
};

namespace {
bool syncFails = false;
}

// While syncFails is set, forcing a file's data to the disk fails as it does
// on a disk that fills late or breaks; Qt's own calls see the same.
extern "C" int fdatasync(int fd)
{
    if (syncFails) {
        errno = EIO;
        return -1;
    }
    using Sync = int (*)(int);
    static const auto next = reinterpret_cast<Sync>(::dlsym(RTLD_NEXT, "fdatasync"));
    return next(fd);
}

namespace {

// threeTracks() as its two sections, the Japanese one in code page 932.
const QByteArray englishSection = "en\r\n0\tDisc\tArtist\r\n1\tOne\r\n2\t\r\n3\tThree\r\n\r\n";
const QByteArray japaneseSection = "ja\r\n0\t\x83\x66\x83\x42\x83\x58\x83\x4e\t\x89\xcc\x8e\xe8\r\n"
                                   "1\t\x8b\xc8\x31\r\n2\t\r\n3\t\x8b\xc8\x33\r\n\r\n";

TitleStore threeTracks()
{
    TitleStore store;
    store.TrackCount = 3;
    store.DiscNames[Japanese] = u"ディスク"_s;
    store.ArtistNames[Japanese] = u"歌手"_s;
    store.TrackTitles(Japanese, 1) = u"曲1"_s;
    store.TrackTitles(Japanese, 3) = u"曲3"_s;
    store.DiscNames[English] = u"Disc"_s;
    store.ArtistNames[English] = u"Artist"_s;
    store.TrackTitles(English, 1) = u"One"_s;
    store.TrackTitles(English, 3) = u"Three"_s;
    return store;
}

} // namespace

void TestSaveTitleFile::init()
{
    m_oldCurrent = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_owner = std::make_unique<QWidget>();
    m_owner->show();
    m_store = threeTracks();
}

void TestSaveTitleFile::cleanup()
{
    m_owner.reset();
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
}

void TestSaveTitleFile::dialogSetup_data()
{
    QTest::addColumn<QString>("current"); // CurrentFilePath, relative to the folder
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::newRow("no current file") << QString() << QString() << QString();
    QTest::newRow("current file") << u"sub/old name.txt"_s << u"sub"_s << u"old name.txt"_s;
}

// Modal over its owner, the four types in their wording with type 2 chosen,
// the current file's folder and name offered; cancelling changes nothing.
void TestSaveTitleFile::dialogSetup()
{
    QFETCH(QString, current);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QVERIFY(QDir(m_dir->path()).mkdir(u"sub"_s));
    if (!current.isEmpty())
        m_store.CurrentFilePath = path(current);
    const TitleStore before = m_store;
    QWidget *parent = nullptr;
    bool savesWithoutQuestion = false;
    QStringList shown;
    const auto answer = answerFileDialog([&](QFileDialog *fileDialog) {
        parent = fileDialog->isModal() ? fileDialog->parentWidget() : nullptr;
        savesWithoutQuestion = fileDialog->acceptMode() == QFileDialog::AcceptSave &&
                               fileDialog->testOption(QFileDialog::DontConfirmOverwrite);
        shown = shownFileTypes(fileDialog)
                << fileDialog->directory().absolutePath() << fileNameEdit(fileDialog)->text();
        fileDialog->reject();
    });

    QVERIFY(!SaveTitleFile(m_owner.get(), m_store));

    QVERIFY(answer->answered());
    QCOMPARE(parent, m_owner.get());
    QVERIFY(savesWithoutQuestion);
    QCOMPARE(shown, (QStringList{u"英語のみの曲名ファイル"_s, u"日本語と英語の曲名ファイル"_s,
                                 u"日本語のみの曲名ファイル"_s, u"すべてのﾌｧｲﾙ(*.*)"_s,
                                 u"selected: 日本語と英語の曲名ファイル"_s, path(folder), name}));
    QVERIFY(m_store == before);
    QCOMPARE(entries(), QStringList{u"sub"_s});
    QCOMPARE(QDir::currentPath(), QDir(m_dir->path()).absolutePath());
}

void TestSaveTitleFile::written_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray both = englishSection + japaneseSection;
    QTest::newRow("1 English only") << u"disc.txt"_s << 0 << u"disc.txt"_s << englishSection;
    QTest::newRow("2 Japanese and English") << u"disc.txt"_s << 1 << u"disc.txt"_s << both;
    QTest::newRow("3 Japanese only") << u"disc.txt"_s << 2 << u"disc.txt"_s << japaneseSection;
    QTest::newRow("4 all files") << u"disc.txt"_s << 3 << u"disc.txt"_s << both;
    QTest::newRow("no extension gets .txt") << u"disc"_s << 1 << u"disc.txt"_s << both;
    QTest::newRow(".TXT kept") << u"DISC.TXT"_s << 1 << u"DISC.TXT"_s << both;
    QTest::newRow("notes.dat, all files") << u"notes.dat"_s << 3 << u"notes.dat.txt"_s << both;
}

// The type chosen decides the sections; ".txt" is added unless the name ends
// in it in any case; an existing file is replaced without a question.
void TestSaveTitleFile::written()
{
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    writeFile(file, "old contents");
    const TitleStore before = m_store;

    std::optional<ModalAnswer> afterDialog;
    QVERIFY(saveAs(typed, type, afterDialog));

    QVERIFY2(!afterDialog->answered(), "no question and no message after the dialog");
    QCOMPARE(readFile(file), bytes);
    QCOMPARE(entries(), QStringList{file});
    QCOMPARE(m_store.CurrentFilePath, path(file));
    QVERIFY(m_store.sameDisc(before));
}

void TestSaveTitleFile::refusal_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("place"); // 0 disc name, else the track
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");
    QTest::newRow("English title with Tab") << int(English) << 2 << u"a\tb"_s << true;
    QTest::newRow("English title with hiragana") << int(English) << 1 << u"abcあ"_s << true;
    QTest::newRow("English disc name with e-acute") << int(English) << 0 << u"Café"_s << true;
    QTest::newRow("English title 99, above the count") << int(English) << 99 << u"\t"_s << true;
    QTest::newRow("Japanese title with Tab and kanji") << int(Japanese) << 1 << u"曲\t"_s << false;
}

// A refused English text stops the save before the dialog, so no file type,
// Japanese-only included, can be chosen.
void TestSaveTitleFile::refusal()
{
    QFETCH(int, language);
    QFETCH(int, place);
    QFETCH(QString, text);
    QFETCH(bool, refused);
    (place == 0 ? m_store.DiscNames[language] : m_store.TrackTitles(language, place)) = text;
    const TitleStore before = m_store;
    bool fileDialogShown = false;
    ModalAnswer answer([&](QWidget *modal) {
        fileDialogShown = qobject_cast<QFileDialog *>(modal) != nullptr;
        modal->close();
    });

    QVERIFY(!SaveTitleFile(m_owner.get(), m_store));

    QVERIFY(answer.answered());
    QCOMPARE(fileDialogShown, !refused);
    if (refused) {
        QCOMPARE(answer.title(), u"入力エラー"_s);
        QCOMPARE(answer.text(), u"英語の曲名ファイルに2バイト文字を含めることはできません。"_s);
        QCOMPARE(answer.icon(), QMessageBox::Critical);
    }
    QVERIFY(m_store == before);
    QVERIFY(entries().isEmpty());
}

// "*.txt" in any case for the title file types; "すべてのﾌｧｲﾙ(*.*)" shows
// names without a dot too, and choosing it keeps the typed name.
void TestSaveTitleFile::allFilesShowsNamesWithoutDot()
{
    for (const QString &name : {u"a.txt"_s, u"B.TXT"_s, u"notes.dat"_s, u"README"_s})
        writeFile(name, "x");
    QStringList titleFiles;
    QStringList allFiles;
    QString name;
    const auto answer = answerFileDialog([&](QFileDialog *fileDialog) {
        fileNameEdit(fileDialog)->setText(u"disc.txt"_s);
        titleFiles = listedNames(fileDialog, {u"a.txt"_s, u"B.TXT"_s});
        fileDialog->selectNameFilter(fileDialog->nameFilters().at(3));
        name = fileNameEdit(fileDialog)->text();
        allFiles = listedNames(fileDialog, {u"a.txt"_s, u"B.TXT"_s, u"notes.dat"_s, u"README"_s});
        fileDialog->reject();
    });
    QVERIFY(!SaveTitleFile(m_owner.get(), m_store));
    QVERIFY(answer->answered());
    QCOMPARE(titleFiles, (QStringList{u"B.TXT"_s, u"a.txt"_s}));
    QCOMPARE(allFiles, (QStringList{u"B.TXT"_s, u"README"_s, u"a.txt"_s, u"notes.dat"_s}));
    QCOMPARE(name, u"disc.txt"_s);
}

void TestSaveTitleFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("target"); // where the save goes
    QTest::newRow("missing folder") << u"no such folder/disc.txt"_s << u"no such folder/disc.txt"_s;
    // "folder" is no folder, but "folder.txt", where the save goes, is one.
    QTest::newRow("path is a directory") << u"folder"_s << u"folder.txt"_s;
    QTest::newRow("file system full") << u"keep.txt"_s << u"keep.txt"_s;
    QTest::newRow("disk fails when synchronised") << u"keep"_s << u"keep.txt"_s;
}

// The stop box names the file and the system's reason; false is returned and
// the file that was there is intact, with no temporary file left behind.
void TestSaveTitleFile::failedSaveKeepsOldFile()
{
    QFETCH(QString, typed);
    QFETCH(QString, target);
    writeFile(u"keep.txt"_s, "precious");
    QVERIFY(QDir(m_dir->path()).mkdir(u"folder.txt"_s));
    const QStringList before = entries();
    // A file-size limit stands in for a full disk: writes beyond it fail with
    // EFBIG once SIGXFSZ is ignored. The file is small, as title files are.
    const bool diskFull = typed == u"keep.txt";
    struct rlimit oldLimit;
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    auto oldSignal = SIG_DFL;
    if (diskFull) {
        m_store.TrackTitles(English, 1) = QString(3000, u'x');
        oldSignal = ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = oldLimit;
        limit.rlim_cur = 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    syncFails = typed == u"keep";
    std::optional<ModalAnswer> errorBox;
    const bool saved = saveAs(typed, 1, errorBox);
    syncFails = false;
    if (diskFull) {
        ::setrlimit(RLIMIT_FSIZE, &oldLimit);
        ::signal(SIGXFSZ, oldSignal);
    }

    QVERIFY(!saved);
    QVERIFY(errorBox && errorBox->answered());
    QCOMPARE(errorBox->title(), u"保存 - ｴﾗｰ"_s);
    QCOMPARE(errorBox->icon(), QMessageBox::Critical);
    const QString start =
        u"曲名ﾌｧｲﾙを保存できませんでした。\n\nﾌｧｲﾙ名：\n"_s + path(target) + u'\n';
    QVERIFY2(errorBox->text().startsWith(start), qPrintable(errorBox->text()));
    QVERIFY2(errorBox->text().size() > start.size(), "the system's reason is given");
    QCOMPARE(readFile(u"keep.txt"_s), QByteArray("precious"));
    QCOMPARE(entries(), before);
    // The next save offers the name that failed, to try again.
    QCOMPARE(m_store.CurrentFilePath, path(target));
}

QTEST_MAIN(TestSaveTitleFile)
#include "tst_savetitlefile.moc"
