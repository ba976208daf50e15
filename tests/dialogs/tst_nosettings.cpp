// SPDX-License-Identifier: GPL-3.0-or-later
// The program keeps no settings: opening and saving through the file dialogs,
// accepted or cancelled, leaves nothing in the user's home or configuration
// folders, which here are fresh and empty.
#include "dialogs/filedialogs.h"
#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/editor/savetitlefile.h"
#include "ui/session.h"
#include "ui/startup/neworopendialog.h"

#include <QDirIterator>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace sonolabe;
using namespace sonolabe::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// Set before the application exists, so that every Qt path derives from them.
QTemporaryDir *home = nullptr;

QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

} // namespace

class TestNoSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fileDialogsLeaveNothing();
};

void TestNoSettings::fileDialogsLeaveNothing()
{
    QTemporaryDir work;
    QVERIFY(QDir::setCurrent(work.path()));
    const QString disc = work.filePath(u"disc.txt"_s);
    QFile file(disc);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("ja\r\n0\tD\tA\r\n1\tT\r\n") > 0);
    file.close();
    TitleStore store;
    store.trackCount = 1;
    Beeper beeper;
    Session session(store, beeper);

    for (const bool accept : {false, true}) {
        NewOrOpenDialog *startup = session.showStartupDialog();
        startup->findChild<QRadioButton *>(u"Option2"_s)->click();
        const auto opening = answerFileDialog([&](QFileDialog *dialog) {
            accept ? acceptFileName(dialog, disc) : dialog->reject();
        });
        startup->findChild<QPushButton *>(u"Command1"_s)->click();
        QVERIFY(opening->answered());

        const auto saving = answerFileDialog([&](QFileDialog *dialog) {
            accept ? acceptFileName(dialog, disc) : dialog->reject();
        });
        QCOMPARE(SaveTitleFile(nullptr, store), accept);
        QVERIFY(saving->answered());
    }
    QCOMPARE(filesUnder(home->path()), QStringList());
}

int main(int argc, char *argv[])
{
    QTemporaryDir fresh;
    home = &fresh;
    qputenv("HOME", QFile::encodeName(fresh.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(fresh.filePath(u".config"_s)));
    // The font library's cache is no setting of the program.
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    QApplication app(argc, argv);
    TestNoSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_nosettings.moc"
