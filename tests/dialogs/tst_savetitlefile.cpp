// SPDX-License-Identifier: GPL-3.0-or-later
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

#include <csignal>
#include <memory>
#include <optional>
#include <sys/resource.h>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// threeTracks() as its two sections, the Japanese one in code page 932.
const QByteArray englishSection = "en\r\n0\tDisc\tArtist\r\n1\tOne\r\n2\t\r\n3\tThree\r\n\r\n";
const QByteArray japaneseSection = "ja\r\n0\t\x83\x66\x83\x42\x83\x58\x83\x4e\t\x89\xcc\x8e\xe8\r\n"
                                   "1\t\x8b\xc8\x31\r\n2\t\r\n3\t\x8b\xc8\x33\r\n\r\n";

TitleStore threeTracks()
{
    TitleStore store;
    store.trackCount = 3;
    store.discNames[Japanese] = u"ディスク"_s;
    store.artistNames[Japanese] = u"歌手"_s;
    store.trackTitles(Japanese, 1) = u"曲1"_s;
    store.trackTitles(Japanese, 3) = u"曲3"_s;
    store.discNames[English] = u"Disc"_s;
    store.artistNames[English] = u"Artist"_s;
    store.trackTitles(English, 1) = u"One"_s;
    store.trackTitles(English, 3) = u"Three"_s;
    return store;
}

} // namespace

class TestSaveTitleFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void dialog_data();
    void dialog();
    void refusal_data();
    void refusal();
    void save_data();
    void save();

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
    // Saves with a name typed (none: the one offered), then a file type (0 to
    // 3) chosen in the dialog; a box shown after the dialog is answered with
    // OK and kept in afterDialog.
    bool saveAs(const QString &name, int type, std::optional<ModalAnswer> &afterDialog)
    {
        const auto dialog = answerFileDialog([&](QFileDialog *fileDialog) {
            if (!name.isEmpty())
                fileNameEdit(fileDialog)->setText(name);
            pickFileType(fileDialog, type);
            afterDialog.emplace();
            static_cast<QDialog *>(fileDialog)->accept();
        });
        return SaveTitleFile(m_owner.get(), m_store);
    }

    QString m_oldCurrent;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QWidget> m_owner;
    TitleStore m_store;
};

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

void TestSaveTitleFile::dialog_data()
{
    QTest::addColumn<QString>("folder"); // of CurrentFilePath, none when empty
    QTest::addColumn<QString>("name");
    QTest::newRow("no current file") << QString() << QString();
    QTest::newRow("current file") << u"sub"_s << u"old name.txt"_s;
}

// Modal over its owner, saving without an overwrite question; the four types
// in their wording with type 2 chosen; in the current directory, or in the
// current file's folder with its name. "*.txt" in any case; "all files" also
// shows names without a dot and keeps the typed name. Cancelling changes
// nothing.
void TestSaveTitleFile::dialog()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    if (!folder.isEmpty()) {
        QVERIFY(QDir(m_dir->path()).mkdir(folder));
        m_store.currentFilePath = path(folder + u'/' + name);
    }
    for (const QString &file : {u"a.txt"_s, u"B.TXT"_s, u"README"_s})
        writeFile(QDir(folder).filePath(file), "x");
    const QStringList before = entries();
    const TitleStore store = m_store;
    bool savesWithoutQuestion = false;
    QStringList shown;
    QStringList titleFiles;
    QStringList allFiles;
    const auto answer = answerFileDialog([&](QFileDialog *fileDialog) {
        savesWithoutQuestion = fileDialog->parentWidget() == m_owner.get() &&
                               fileDialog->isModal() &&
                               fileDialog->acceptMode() == QFileDialog::AcceptSave &&
                               fileDialog->testOption(QFileDialog::DontConfirmOverwrite);
        shown = shownFileTypes(fileDialog)
                << fileDialog->directory().absolutePath() << fileNameEdit(fileDialog)->text();
        titleFiles = listedNames(fileDialog, {u"a.txt"_s, u"B.TXT"_s});
        fileDialog->selectNameFilter(fileDialog->nameFilters().at(3));
        allFiles = listedNames(fileDialog, {u"a.txt"_s, u"B.TXT"_s, u"README"_s});
        shown << fileNameEdit(fileDialog)->text();
        fileDialog->reject();
    });

    QVERIFY(!SaveTitleFile(m_owner.get(), m_store));

    QVERIFY(answer->answered());
    QVERIFY(savesWithoutQuestion);
    QCOMPARE(shown,
             (QStringList{u"英語のみの曲名ファイル"_s, u"日本語と英語の曲名ファイル"_s,
                          u"日本語のみの曲名ファイル"_s, u"すべてのﾌｧｲﾙ(*.*)"_s,
                          u"selected: 日本語と英語の曲名ファイル"_s, path(folder), name, name}));
    QCOMPARE(titleFiles, (QStringList{u"B.TXT"_s, u"a.txt"_s}));
    QCOMPARE(allFiles, (QStringList{u"B.TXT"_s, u"README"_s, u"a.txt"_s}));
    QVERIFY(m_store == store);
    QCOMPARE(entries(), before);
    QCOMPARE(QDir::currentPath(), QDir(m_dir->path()).absolutePath());
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
    (place == 0 ? m_store.discNames[language] : m_store.trackTitles(language, place)) = text;
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

void TestSaveTitleFile::save_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("target");   // where the save goes
    QTest::addColumn<QByteArray>("bytes"); // written there; none: the save fails
    const QByteArray both = englishSection + japaneseSection;
    QTest::newRow("1 English only") << u"disc.txt"_s << 0 << u"disc.txt"_s << englishSection;
    QTest::newRow("2 both, .txt added") << u"disc"_s << 1 << u"disc.txt"_s << both;
    QTest::newRow("3 Japanese only, .TXT kept")
        << u"DISC.TXT"_s << 2 << u"DISC.TXT"_s << japaneseSection;
    QTest::newRow("4 all files, .txt added") << u"notes.dat"_s << 3 << u"notes.dat.txt"_s << both;
    QTest::newRow("offered name kept, English only")
        << QString() << 0 << u"DISC.TXT"_s << englishSection;
    QTest::newRow("offered name kept, all files") << QString() << 3 << u"DISC.TXT"_s << both;
    QTest::newRow("missing folder")
        << u"no such folder/disc.txt"_s << 1 << u"no such folder/disc.txt"_s << QByteArray();
    // "folder" is no folder, but "folder.txt", where the save goes, is one.
    QTest::newRow("path is a directory") << u"folder"_s << 1 << u"folder.txt"_s << QByteArray();
    QTest::newRow("file system full") << u"keep.txt"_s << 1 << u"keep.txt"_s << QByteArray();
}

// The type chosen decides the sections; ".txt" is added unless the name ends
// in it in any case; an existing file is replaced without a question. A
// failed write shows a stop box with the file and the system's reason and
// returns false; the file that was there is intact, and no temporary file is
// left behind. Either way the name becomes the current file, to try again.
void TestSaveTitleFile::save()
{
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(QString, target);
    QFETCH(QByteArray, bytes);
    const bool fails = bytes.isEmpty();
    writeFile(u"keep.txt"_s, "precious");
    QVERIFY(QDir(m_dir->path()).mkdir(u"folder.txt"_s));
    if (!fails)
        writeFile(target, "old contents");
    if (typed.isEmpty())
        m_store.currentFilePath = path(target);
    const QStringList before = entries();
    // A file-size limit stands in for a full disk: writes beyond it fail with
    // EFBIG once SIGXFSZ is ignored.
    const bool diskFull = QTest::currentDataTag() == QByteArray("file system full");
    if (diskFull)
        m_store.trackTitles(English, 1) = QString(3000, u'x');
    const TitleStore disc = m_store;
    struct rlimit oldLimit;
    ::getrlimit(RLIMIT_FSIZE, &oldLimit);
    auto oldSignal = SIG_DFL;
    if (diskFull) {
        oldSignal = ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = oldLimit;
        limit.rlim_cur = 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    std::optional<ModalAnswer> afterDialog;
    const bool saved = saveAs(typed, type, afterDialog);
    if (diskFull) {
        ::setrlimit(RLIMIT_FSIZE, &oldLimit);
        ::signal(SIGXFSZ, oldSignal);
    }

    QCOMPARE(saved, !fails);
    QVERIFY(afterDialog);
    QCOMPARE(afterDialog->answered(), fails);
    if (fails) {
        QCOMPARE(afterDialog->title(), u"保存 - ｴﾗｰ"_s);
        QCOMPARE(afterDialog->icon(), QMessageBox::Critical);
        const QString start =
            u"曲名ﾌｧｲﾙを保存できませんでした。\n\nﾌｧｲﾙ名：\n"_s + path(target) + u'\n';
        // The reason, in Japanese, follows the file name.
        const QString reason = QTest::currentDataTag() == QByteArray("missing folder")
                                   ? u"フォルダーが見つかりません。"_s
                               : diskFull ? u"ファイルが大きすぎます。"_s
                                          : u"保存先がフォルダーか通常のファイルではありません。"_s;
        QCOMPARE(afterDialog->text(), start + reason);
    }
    QCOMPARE(readFile(fails ? u"keep.txt"_s : target), fails ? QByteArray("precious") : bytes);
    QCOMPARE(entries(), before);
    QCOMPARE(m_store.currentFilePath, path(target));
    QVERIFY(m_store.sameDisc(disc));
}

QTEST_MAIN(TestSaveTitleFile)
#include "tst_savetitlefile.moc"
