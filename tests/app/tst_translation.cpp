// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own dialogs and message boxes speak Japanese, like the rest of the
// program, whatever the desktop's language (the tests run in the C locale):
// the program is started here as a user starts it, without a file, and while
// its new-or-open dialog is open a standard button is asked for its text.
#include "app/program.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace sonolabe;
using namespace Qt::Literals::StringLiterals;

class TestTranslation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void standardButtonsSpeakJapanese();
};

void TestTranslation::standardButtonsSpeakJapanese()
{
    const QString translation =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_ja.qm"_s;
    QVERIFY2(QFileInfo::exists(translation),
             qUtf8Printable(translation + u" is missing, so Qt's dialogs would speak English "
                                          u"(Debian package qt6-translations-l10n)"_s));
    QString cancel;
    QTimer::singleShot(0, qApp, [&] {
        const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        cancel = buttons.button(QDialogButtonBox::Cancel)->text();
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
    QCOMPARE(runSonolabe(*qApp, EditorCommandLine{}), 0);
    QCOMPARE(cancel, u"キャンセル"_s);
}

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
