// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/common/resources.h"
#include "ui/session.h"
#include "ui/startup/loadtitlefile.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QTranslator>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

StartupResult StartFromCommandLine(const ArgumentText &arguments, Session &session,
                                   const StartSuccessor &startSuccessor)
{
    const StartupPaths paths = SplitArgumentText(arguments);
    if (paths.successorText)
        startSuccessor(*paths.successorText);
    if (paths.path) {
        if (LoadTitleFile(nullptr, *paths.path, session.store(), session.beeper())) {
            session.openEditor();
            return StartupResult::EditorShown;
        }
        if (arguments.blnSpawned)
            return StartupResult::Ended;
    }
    session.showStartupDialog();
    return StartupResult::DialogShown;
}

void StartSuccessorProcess(const QString &successorText)
{
    QProcess::startDetached(QCoreApplication::applicationFilePath(),
                            {QStringView(SuccessorFlag).toString(), successorText});
}

namespace {

// Qt's own dialogs and message boxes speak Japanese, like the rest of the
// program, whatever the desktop's language.
void installJapaneseTranslations(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), u"qtbase"_s, u"_"_s,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

int RunSonolabe(QApplication &app)
{
    QCoreApplication::setApplicationName(u"Sonolabe"_s);
    QCoreApplication::setApplicationVersion(u"%1.%2.%3"_s.arg(SONOLABE_VERSION_MAJOR)
                                                .arg(SONOLABE_VERSION_MINOR)
                                                .arg(SONOLABE_VERSION_PATCH));
    // Desktops match the window to its launcher entry by this name.
    QGuiApplication::setDesktopFileName(u"io.github.sonolabe.Sonolabe"_s);
    QApplication::setWindowIcon(sonolabeIcon());
    installJapaneseTranslations(app);

    TitleStore store;
    Beeper beeper;
    Session session(store, beeper);
    QObject::connect(&session, &Session::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    const ArgumentText arguments = ArgumentTextFromArguments(app.arguments().mid(1));
    if (StartFromCommandLine(arguments, session, StartSuccessorProcess) == StartupResult::Ended)
        return 0;
    return app.exec();
}

} // namespace sonolabe
