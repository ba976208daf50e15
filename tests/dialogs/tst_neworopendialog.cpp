// SPDX-License-Identifier: GPL-3.0-or-later
// The new-or-open dialog on the offscreen platform, with its file dialog and
// the loader's message box answered from the test.
#include "app/startup.h"
#include "filedialogs.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/editor/editorwindow.h"
#include "ui/session.h"
#include "ui/startup/neworopendialog.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

class TestNewOrOpenDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void initialStateAndOptions();
    void newDisc_data();
    void newDisc();
    void openDialog();
    void failedOpenKeepsDisc();

private:
    NewOrOpenDialog *showDialog()
    {
        NewOrOpenDialog *dialog = m_session->showStartupDialog();
        if (!QTest::qWaitForWindowActive(dialog))
            qWarning("the dialog did not become active");
        m_field = dialog->findChild<QLineEdit *>(u"Text4"_s);
        m_ok = dialog->findChild<QPushButton *>(u"Command1"_s);
        m_option1 = dialog->findChild<QRadioButton *>(u"Option1"_s);
        m_option2 = dialog->findChild<QRadioButton *>(u"Option2"_s);
        return dialog;
    }
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir->filePath(name));
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write test file");
        return QFileInfo(file).absoluteFilePath();
    }

    QString m_oldCurrent;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TitleStore> m_store;
    Beeper m_beeper;
    std::unique_ptr<Session> m_session;
    QLineEdit *m_field = nullptr;
    QPushButton *m_ok = nullptr;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
};

// Every test starts on a disc in which every text is filled, so that emptying
// shows.
void TestNewOrOpenDialog::init()
{
    m_oldCurrent = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_store = std::make_unique<TitleStore>();
    m_session = std::make_unique<Session>(*m_store, m_beeper);
    for (int language : {Japanese, English}) {
        m_store->discNames[language] = u"disc"_s;
        m_store->artistNames[language] = u"artist"_s;
        for (int track = 1; track <= MaxTracks; ++track)
            m_store->trackTitles(language, track) = u"title"_s;
    }
    m_store->trackCount = 5;
    m_store->currentFilePath = u"/discs/old.txt"_s;
}

void TestNewOrOpenDialog::cleanup()
{
    m_session.reset();
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
}

// Started with a file on the command line, the program later shows the
// dialog from the editor's menu: the command line is not read again, and the
// dialog is in its initial state ("new" selected, the empty field focused, OK
// disabled). The options (by their access keys) switch only the field and OK.
void TestNewOrOpenDialog::initialStateAndOptions()
{
    const QString path = writeFile(u"first.txt"_s, "en\r\n0\tD\tA\r\n2\tsecond\r\n");
    QList<QStringList> successors;
    QCOMPARE(StartFromCommandLine(ParseCommandLine({path, u"other.txt"_s}), *m_session,
                                  [&](const QStringList &arguments) { successors << arguments; }),
             StartupResult::EditorShown);
    EditorWindow *editor = m_session->editor();
    const TitleStore loaded = *m_store;

    showDialog();
    QCOMPARE(successors.size(), 1);
    QCOMPARE(m_session->editor(), editor);
    QVERIFY(m_option1->isChecked());
    QVERIFY(m_field->text().isEmpty() && m_field->isEnabled());
    QCOMPARE(QApplication::focusWidget(), m_field);
    QVERIFY(!m_ok->isEnabled());

    QTest::keyClick(m_field, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(m_option2->isChecked()); // an access key clicks after a short delay
    QVERIFY(!m_field->isEnabled());
    QVERIFY2(m_ok->isEnabled(), "opening a file needs no count");
    QTest::keyClick(m_field, Qt::Key_N, Qt::AltModifier);
    QTRY_VERIFY(m_option1->isChecked());
    QVERIFY(m_field->isEnabled());
    QVERIFY(!m_ok->isEnabled());
    QVERIFY(*m_store == loaded);
}

void TestNewOrOpenDialog::newDisc_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count"); // 0: refused
    QTest::newRow("12") << u"12"_s << 12;
    QTest::newRow("07 is 7") << u"07"_s << 7;
    QTest::newRow("0 refused") << u"0"_s << 0;
}

// A count and Enter: all 198 titles and both names emptied, in a fresh editor
// that replaces the open one and is shown before the dialog goes (so the
// program never runs out of windows); the current path stays.
void TestNewOrOpenDialog::newDisc()
{
    QFETCH(QString, typed);
    QFETCH(int, count);
    const TitleStore before = *m_store;
    QPointer<EditorWindow> oldEditor = m_session->openEditor();
    NewOrOpenDialog *dialog = showDialog();
    bool editorShownFirst = false;
    connect(dialog, &QDialog::finished, this, [&] {
        EditorWindow *editor = m_session->editor();
        editorShownFirst = editor && editor != oldEditor && editor->isVisible();
    });

    QTest::keyClicks(m_field, typed);
    QTest::keyClick(m_field, Qt::Key_Return);

    if (count == 0) {
        QVERIFY(m_store->sameDisc(before));
        QVERIFY(dialog->isVisible() && oldEditor);
        return;
    }
    TitleStore expected;
    expected.trackCount = quint8(count);
    QVERIFY(m_store->sameDisc(expected));
    QCOMPARE(m_store->currentFilePath, before.currentFilePath);
    QVERIFY(!oldEditor);
    QVERIFY(editorShownFirst);
    QTRY_VERIFY(!m_session->startupDialog());
}

// Modal over the dialog, in the current directory, the two file types in
// their wording; "*.txt" in any case; "all files" shows names without a dot.
// Cancelling it changes nothing.
void TestNewOrOpenDialog::openDialog()
{
    for (const QString &name : {u"a.txt"_s, u"B.TXT"_s, u"notes.dat"_s, u"README"_s})
        writeFile(name, "x");
    const TitleStore before = *m_store;
    NewOrOpenDialog *dialog = showDialog();
    bool modalOverDialog = false;
    QString directory;
    QStringList types;
    QStringList textFiles;
    QStringList allFiles;
    const auto answer = answerFileDialog([&](QFileDialog *fileDialog) {
        modalOverDialog = fileDialog->isModal() && fileDialog->parentWidget() == dialog;
        directory = fileDialog->directory().absolutePath();
        types = shownFileTypes(fileDialog);
        textFiles = listedNames(fileDialog, {u"a.txt"_s, u"B.TXT"_s});
        fileDialog->selectNameFilter(fileDialog->nameFilters().at(1));
        allFiles = listedNames(fileDialog, {u"a.txt"_s, u"B.TXT"_s, u"notes.dat"_s, u"README"_s});
        fileDialog->reject();
    });
    m_option2->click();
    m_ok->click();

    QVERIFY(answer->answered());
    QVERIFY(modalOverDialog);
    QCOMPARE(directory, QDir(m_dir->path()).absolutePath());
    QCOMPARE(types, (QStringList{u"ﾃｷｽﾄﾌｧｲﾙ(*.TXT)"_s, u"すべてのﾌｧｲﾙ(*.*)"_s,
                                 u"selected: ﾃｷｽﾄﾌｧｲﾙ(*.TXT)"_s}));
    QCOMPARE(textFiles, (QStringList{u"B.TXT"_s, u"a.txt"_s}));
    QCOMPARE(allFiles, (QStringList{u"B.TXT"_s, u"README"_s, u"a.txt"_s, u"notes.dat"_s}));
    QVERIFY(*m_store == before);
    QVERIFY(dialog->isVisible() && !m_session->editor());
}

// A file that is no title file is refused with a message; the disc on screen
// stays, and so does its file: the next save must not offer the refused one.
void TestNewOrOpenDialog::failedOpenKeepsDisc()
{
    const QString notes = writeFile(u"notes.txt"_s, "shopping list\r\n");
    const TitleStore before = *m_store;
    NewOrOpenDialog *dialog = showDialog();
    std::unique_ptr<ModalAnswer> refusal;
    const auto answer = answerFileDialog([&](QFileDialog *fileDialog) {
        refusal = std::make_unique<ModalAnswer>();
        acceptFileName(fileDialog, notes);
    });
    m_option2->click();
    m_ok->click();

    QVERIFY(answer->answered());
    QVERIFY(refusal && refusal->answered());
    QCOMPARE(refusal->icon(), QMessageBox::Critical);
    QCOMPARE(m_store->currentFilePath, before.currentFilePath);
    QVERIFY(*m_store == before);
    QVERIFY(dialog->isVisible() && !m_session->editor());
}

QTEST_MAIN(TestNewOrOpenDialog)
#include "tst_neworopendialog.moc"
