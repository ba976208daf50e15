// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and saving through Qt's own file dialog, driven like a user would:
// the new-or-open dialog's outcomes, and the save dialog's name and type rule
// and its failures. The program keeps no settings: the home and configuration
// folders, fresh for this test, are still empty at its end.
#include "common/files.h"
#include "common/lastsavesteps.h"
#include "common/modalanswer.h"
#include "common/testing.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/editor/editorwindow.h"
#include "ui/editorsession.h"
#include "ui/startup/neworopendialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cstring>
#include <memory>
#include <optional>

namespace {

// The home folder, fresh for this test.
QString home;

// The error that flushing a file to the disk fails with; 0: no failure.
int failingFlush = 0;

// The disc every test starts on, as the sections of a title file.
const QByteArray section = "0\tdisc\tartist\r\n1\ttitle\r\n2\ttitle\r\n\r\n";
const QByteArray englishSection = "en\r\n" + section;
const QByteArray japaneseSection = "ja\r\n" + section;

// Answers the next file dialog as a user does: types name over the one
// offered unless it is empty; picks a file type (0 = the first) with the
// keyboard on the list of types, Home then Down, each step a choice the
// dialog acts on; and presses Open or Save, which checks the name as it does
// for the user. A type below 0 cancels instead. before() runs just before that,
// to answer what comes next. Any other window is closed, which the caller
// sees in what it asserts.
std::unique_ptr<ModalAnswer> answerFileDialog(const QString &name, int type,
                                              const std::function<void()> &before)
{
    return std::make_unique<ModalAnswer>([=](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        if (!name.isEmpty())
            dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(name);
        auto *types = dialog->findChild<QComboBox *>(u"fileTypeCombo"_s);
        QTest::keyClick(types, Qt::Key_Home);
        for (int i = 0; i < type; ++i)
            QTest::keyClick(types, Qt::Key_Down);
        before();
        type < 0 ? dialog->reject() : static_cast<QDialog *>(dialog)->accept();
    });
}

} // namespace

class TestOpenAndSave : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every test starts in an empty current directory, on a disc in which every
    // text is filled, so that emptying shows.
    void init()
    {
        m_oldCurrent = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        m_store = TitleStore();
        for (int language : {Japanese, English}) {
            m_store.discNames[language] = u"disc"_s;
            m_store.artistNames[language] = u"artist"_s;
            for (int track = 1; track <= MaxTracks; ++track)
                m_store.trackTitles(language, track) = u"title"_s;
        }
        m_store.trackCount = 2;
        m_session = std::make_unique<EditorSession>(m_store, m_beeper);
        m_session->setCurrentFilePath(u"/discs/old.txt"_s);
    }

    void cleanup()
    {
        m_session.reset();
        QDir::setCurrent(m_oldCurrent);
        m_dir.reset();
    }

    // The file dialogs above, accepted and cancelled, left nothing in the home
    // folder.
    void cleanupTestCase()
    {
        QCOMPARE(QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    // It opens on "new" with the empty field focused and OK disabled; the access
    // keys switch the options, and with them only the field and OK. A count and
    // Enter: all 198 titles and both names emptied, in a fresh editor that
    // replaces the open one and is shown before the dialog goes (so the program
    // never runs out of windows); the current path stays.
    void newDisc()
    {
        m_oldEditor = m_session->openEditor();
        QVERIFY(QTest::qWaitForWindowActive(m_session->showStartupDialog()));
        auto *field = child<QLineEdit>(u"trackCountField"_s);
        auto *ok = child<QPushButton>(u"okButton"_s);
        auto *openFile = child<QRadioButton>(u"openFileOption"_s);
        QVERIFY(child<QRadioButton>(u"newDiscOption"_s)->isChecked());
        QVERIFY(field->text().isEmpty() && field->isEnabled() && !ok->isEnabled());
        QCOMPARE(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(openFile->isChecked());              // an access key clicks after a short delay
        QVERIFY(!field->isEnabled() && ok->isEnabled()); // opening a file needs no count
        QTest::keyClick(field, Qt::Key_N, Qt::AltModifier);
        QTRY_VERIFY(!openFile->isChecked());
        QVERIFY(field->isEnabled() && !ok->isEnabled());

        bool editorShownFirst = false;
        connect(m_session->startupDialog(), &QDialog::finished, this, [&] {
            EditorWindow *editor = m_session->editor();
            editorShownFirst = editor && editor != m_oldEditor && editor->isVisible();
        });

        QTest::keyClicks(field, u"12"_s);
        QTest::keyClick(field, Qt::Key_Return);

        TitleStore expected;
        expected.trackCount = 12;
        QCOMPARE(m_store, expected);
        QCOMPARE(m_session->currentFilePath(), u"/discs/old.txt"_s);
        QVERIFY(!m_oldEditor);
        QVERIFY(editorShownFirst);
        QTRY_VERIFY(!m_session->startupDialog());
    }

    void open_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // of the file chosen; none: cancelled
        QTest::addColumn<bool>("opens");
        QTest::newRow("cancelled") << QByteArray() << false;
        QTest::newRow("no title file, refused") << "shopping list\r\n"_ba << false;
        QTest::newRow("title file, Japanese only") << "ja\r\n0\tD\tA\r\n1\tT\r\n"_ba << true;
    }

    // A title file replaces the disc, becomes the current file and gets a fresh
    // editor. Cancelled, nothing changes; a file that is no title file is refused
    // with a message, and the disc on screen stays, and so does its file: the
    // next save must not offer the refused one.
    void open()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, opens);
        const QString path = m_dir->filePath(u"disc.txt"_s);
        QVERIFY(writeFile(path, bytes));
        m_oldEditor = m_session->openEditor();
        QVERIFY(QTest::qWaitForWindowActive(m_session->showStartupDialog()));
        const TitleStore before = m_store;
        std::unique_ptr<ModalAnswer> refusal;
        const auto answer = answerFileDialog(path, bytes.isEmpty() ? -1 : 0,
                                             [&] { refusal = std::make_unique<ModalAnswer>(); });

        child<QRadioButton>(u"openFileOption"_s)->click();
        child<QPushButton>(u"okButton"_s)->click();

        QVERIFY(answer->answered() && refusal);
        QCOMPARE(refusal->answered(), !opens && !bytes.isEmpty());
        QCOMPARE(m_store == before, !opens);
        QCOMPARE(m_session->currentFilePath(), opens ? path : u"/discs/old.txt"_s);
        QCOMPARE(m_session->editor() == m_oldEditor, !opens);
        QTRY_COMPARE(m_session->startupDialog() == nullptr, opens);
    }

    // Every English text is checked before the dialog, the titles above the count
    // too: a refused one stops the save, whatever file type would follow.
    void englishRefused()
    {
        m_store.trackTitles(English, 99) = u"曲"_s;
        const TitleStore before = m_store;
        ModalAnswer answer;

        QVERIFY(!m_session->save(nullptr));

        QVERIFY(answer.answered());
        QCOMPARE(answer.title(), u"入力エラー"_s);
        QCOMPARE(answer.text(), u"英語の曲名ファイルに2バイト文字を含めることはできません。"_s);
        QVERIFY(m_store == before && m_session->currentFilePath() == u"/discs/old.txt");
    }

    void save_data()
    {
        QTest::addColumn<QString>("typed"); // none: the name offered is kept
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("target");   // where the save goes
        QTest::addColumn<int>("flushError");   // what flushing it fails with; 0: nothing
        QTest::addColumn<QByteArray>("bytes"); // written there
        QTest::addColumn<QString>("reason");   // the failure's last line; none: saved
        const QByteArray both = englishSection + japaneseSection;
        QTest::newRow("English only, .Txt kept")
            << u"disc.Txt"_s << 0 << u"disc.Txt"_s << 0 << englishSection << QString();
        QTest::newRow("all files, .txt added")
            << u"notes.dat"_s << 3 << u"notes.dat.txt"_s << 0 << both << QString();
        QTest::newRow("offered folder and name kept, Japanese only")
            << QString() << 2 << u"sub/DISC.TXT"_s << 0 << japaneseSection << QString();
        QTest::newRow("missing folder")
            << u"no such folder/disc.txt"_s << 1 << u"no such folder/disc.txt"_s << 0
            << QByteArray() << u"フォルダーが見つかりません。"_s;
        // The flush to the disk fails, as it does when the disk fills late or
        // breaks: the reason in Japanese for the common causes, in the system's
        // words otherwise.
        const auto flushFails = [](const char *row, int error, const QString &reason) {
            QTest::newRow(row) << u"disc.txt"_s << 1 << u"disc.txt"_s << error << QByteArray()
                               << reason;
        };
        flushFails("ENOSPC", ENOSPC, u"ディスクの空き容量が足りません。"_s);
        flushFails("EACCES", EACCES, u"書き込みの権限がありません。"_s);
        flushFails("EROFS", EROFS, u"読み取り専用のファイルシステムです。"_s);
        flushFails("EISDIR", EISDIR, u"保存先がフォルダーか通常のファイルではありません。"_s);
        flushFails("EFBIG", EFBIG, u"ファイルが大きすぎます。"_s);
        flushFails("EIO", EIO, u"Input/output error"_s);
    }

    // The name is typed (or offered) first, then the type is picked: the type
    // decides the sections, ".txt" is added unless the name ends in it in any
    // case, and an existing file is replaced without a question. A failed write
    // shows a stop box with the file and the reason, and nothing takes the
    // file's name. Either way the name becomes the current file, to try again.
    void save()
    {
        QFETCH(QString, typed);
        QFETCH(int, type);
        QFETCH(QString, target);
        QFETCH(int, flushError);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const bool fails = !reason.isEmpty();
        QFile old(QDir(m_dir->path()).absoluteFilePath(target));
        if (!fails) {
            QVERIFY(QDir().mkpath(QFileInfo(old).path()));
            QVERIFY(writeFile(old.fileName(), "old contents"));
        }
        if (typed.isEmpty())
            m_session->setCurrentFilePath(old.fileName());
        std::optional<ModalAnswer> afterDialog;
        const auto dialog = answerFileDialog(typed, type, [&] {
            afterDialog.emplace();
            failingFlush = flushError;
        });

        const bool saved = m_session->save(nullptr);
        failingFlush = 0;

        QCOMPARE(saved, !fails);
        QVERIFY(dialog->answered() && afterDialog);
        QCOMPARE(afterDialog->answered(), fails);
        if (fails) {
            QCOMPARE(afterDialog->title(), u"保存 - ｴﾗｰ"_s);
            QCOMPARE(afterDialog->text(), u"曲名ﾌｧｲﾙを保存できませんでした。\n\nﾌｧｲﾙ名：\n"_s +
                                              old.fileName() + u'\n' + reason);
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        } else {
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), bytes);
        }
        QCOMPARE(m_session->currentFilePath(), old.fileName());
    }

private:
    template <typename T> T *child(const QString &name)
    {
        return m_session->startupDialog()->findChild<T *>(name);
    }

    QString m_oldCurrent;
    std::unique_ptr<QTemporaryDir> m_dir;
    TitleStore m_store;
    Beeper m_beeper;
    std::unique_ptr<EditorSession> m_session;
    QPointer<EditorWindow> m_oldEditor;
};

int main(int argc, char *argv[])
{
    // Set before the application exists, so that every Qt path derives from
    // them. The font library's cache is no setting of the program.
    QTemporaryDir fresh;
    QTemporaryDir cache;
    home = fresh.path();
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(fresh.filePath(u".config"_s)));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    QApplication app(argc, argv);
    lastStepFault = [](const char *call) {
        return std::strcmp(call, "fdatasync") ? 0 : failingFlush;
    };
    TestOpenAndSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_openandsave.moc"
