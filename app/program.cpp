// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program.h"

#include "model/titlestore.h"
#include "ui/common/beeper.h"
#include "ui/common/resources.h"
#include "ui/editorsession.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QTranslator>

#include <cstdio>

namespace sonolabe {

using namespace Qt::Literals::StringLiterals;

StartupResult startFromCommandLine(const EditorCommandLine &commandLine, EditorSession &session,
                                   const StartSuccessor &startSuccessor)
{
    const QStringList successor = successorArguments(commandLine.paths);
    if (!successor.isEmpty())
        startSuccessor(successor);
    if (!commandLine.paths.isEmpty()) {
        if (session.load(commandLine.paths.first(), nullptr)) {
            session.openEditor();
            return StartupResult::EditorShown;
        }
    }
    // An instance started by another one exists only for its file.
    if (commandLine.startedByInstance)
        return StartupResult::Ended;
    session.showStartupDialog();
    return StartupResult::DialogShown;
}

void startSuccessorProcess(const QStringList &arguments)
{
    QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
}

EditorCommandLine readEditorCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    return parseEditorCommandLine(arguments);
}

int answerWithoutWindows(const EditorCommandLine &commandLine)
{
    // The answers are in the system locale's language: the catalogue compiled
    // in under :/i18n (resources/translations), English without one. A
    // translator needs an application, and these answers come before the
    // windows' one.
    static char name[] = "sonolabe";
    char *argv[] = {name, nullptr};
    int argc = 1;
    const QCoreApplication app(argc, argv);
    QTranslator translator;
    if (translator.load(QLocale::system(), u"sonolabe"_s, u"_"_s, u":/i18n"_s))
        QCoreApplication::installTranslator(&translator);
    switch (commandLine.action) {
    case CommandLineAction::ShowHelp:
        std::fputs(usageText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLineAction::ShowVersion:
        std::printf("sonolabe %d.%d.%d\n", SONOLABE_VERSION_MAJOR, SONOLABE_VERSION_MINOR,
                    SONOLABE_VERSION_PATCH);
        return 0;
    case CommandLineAction::WrongUsage:
        std::fputs(
            (wrongOptionText(commandLine.unknownOption) + usageText()).toLocal8Bit().constData(),
            stderr);
        return 2;
    case CommandLineAction::Open:
        break;
    }
    return 0;
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

int runSonolabe(QApplication &app, const EditorCommandLine &commandLine)
{
    QCoreApplication::setApplicationName(u"Sonolabe"_s);
    QCoreApplication::setApplicationVersion(u"%1.%2.%3"_s.arg(SONOLABE_VERSION_MAJOR)
                                                .arg(SONOLABE_VERSION_MINOR)
                                                .arg(SONOLABE_VERSION_PATCH));
    // Desktops match the window to its launcher entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(SONOLABE_APP_ID));
    QApplication::setWindowIcon(sonolabeIcon());
    installJapaneseTranslations(app);

    TitleStore store;
    Beeper beeper;
    EditorSession session(store, beeper);
    QObject::connect(&session, &EditorSession::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    if (startFromCommandLine(commandLine, session, startSuccessorProcess) == StartupResult::Ended)
        return 0;
    return app.exec();
}

} // namespace sonolabe
