// SPDX-License-Identifier: GPL-3.0-or-later
// Everything sonolabe-cdtext tells its user. The texts are English here and
// go through Qt's translation (tr); resources/translations holds the
// catalogues, compiled into the program, and InstallTranslation picks the
// one of the system locale (Japanese in the editor's style: half-width
// katakana for loanwords). English has a catalogue too, for its plurals.
#pragma once

#include "cdtext/audio/audiotags.h"
#include "cdtext/cli/commandline.h"
#include "cdtext/disc/burnroutes.h"
#include "cdtext/disc/discblocks.h"
#include "cdtext/import/importsource.h"
#include "cdtext/list/tracklist.h"
#include "cdtext/toc/tocreader.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace sonolabe::cdtext {

// Loads the catalogue of locale (English when there is none for it) into the
// running application; false when none could be installed.
bool InstallTranslation(const QLocale &locale = QLocale::system());

struct Messages
{
    Q_DECLARE_TR_FUNCTIONS(Messages)

public:
    static QString help();
    static QString version();
    static QString tryHelp();
    static QString cannotRead(const QString &path, const QString &reason);
    static QString cannotWrite(const QString &path, const QString &reason);
    static QString warning(const QString &text);
    static QString error(const QString &text);
    static QString languageName(int language);
    static QString textName(const TextRef &text);
    // What a TOC file that cannot be read holds where it goes wrong.
    static QString tocSyntaxProblem(TocSyntaxError::Kind kind);

    // Usage errors.
    static QString noCommand();
    static QString unknownCommand(const QString &command);
    static QString unknownOption(const QString &option);
    static QString missingValue(const QString &option);
    static QString missingTitleFile();
    static QString missingSource();
    static QString extraArgument(const QString &argument);
    static QString optionNotForCommand(const QString &option, const QString &command);
    static QString missingOption(const QString &option, const QString &command);
    // A value that is none of the choices the option takes.
    static QString badChoice(const QString &option, const QString &value,
                             const QStringList &choices);
    static QString notANumber(const QString &option, const QString &value);
    static QString notAVersion(const QString &option, const QString &value);
    static QString outputIsInput(const QString &path);
    static QString blockOutOfRange(int block);
    static QString blockNotForCue();
    static QString outputIsSource(const QString &path);
    static QString optionNotForSource(const QString &option, const QString &source);

    // Refusals.
    static QString cannotReadTitleFile(const QString &path, const QString &reason);
    static QString notATitleFile(const QString &path);
    static QString lfLineEnds(const QString &path);
    static QString noTracks();
    static QString noText();
    static QString noTextInLanguage(int language);
    // A block needing more text packs than the budget; withTabRepeat is
    // what it would need with Tab repeats, when that fits.
    static QString overBudget(int language, int blockNumber, int needed, int budget,
                              std::optional<int> withTabRepeat);
    static QString problem(const TextProblem &problem);
    static QString notWritableInSheet(const TextRef &text, const QString &why);
    static QString quoteInCueText();
    static QString backslashEndsCueText();
    static QString leadingSpaceInSheet();
    static QString trackCountDiffers(const QString &sheet, int sheetTracks, int fileTracks);
    static QString sheetNotUnderstood(const QString &path, int line,
                                      TocSyntaxError::Kind problem);
    static QString noFreeLanguageNumber(const QString &path);
    // A road that would burn other texts than the title file holds: why, and
    // the road that works.
    static QString routeFault(RouteFault fault, std::optional<CdrdaoVersion> cdrdao);
    static QString cueJapaneseNeedsOutput();
    static QString cuePackFileIsInput(const QString &path);
    static QString cuePackFileNameUnusable(const QString &path);
    static QString kindUnknown(const QString &path);
    static QString nothingRead(const QString &path);
    static QString crcRefused(const QString &path);
    static QString notice(const QString &text); // a note, not a warning

    // The check report.
    static QString reportHeader(const QString &path, int trackCount);
    static QString reportBlock(int language, int blockNumber, int textPacks, int budget);
    static QString reportNoBlock(int language);
    static QString routeBurnsAsIs();
    static QString cueRouteVerdict(bool english, bool japanese);
    static QString reportLfLineEnds();
    static QString reportStrayLine(int line, const QString &text);
    static QString reportVerdict(int errors, int warnings);

    // The import's report.
    static QString note(const SourceNote &note);
    static QString note(const AudioNote &note);
    static QString note(const TrackListNote &note);
    static QString moreCrcMismatches(int count);
    static QString replacement(const Replacement &replacement);
    static QString imported(const QString &path, SourceKind kind, int tracks,
                            TitleFileSections sections);
    static QString sourceName(SourceKind kind);
};

} // namespace sonolabe::cdtext
