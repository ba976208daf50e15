// SPDX-License-Identifier: GPL-3.0-or-later
// Everything sonolabe-cdtext tells its user, in English or in Japanese (the
// editor's style: half-width katakana for loanwords). The language follows
// the locale: Japanese when the locale's language is Japanese, English
// otherwise.
#pragma once

#include "cdtext/disc/burnroutes.h"
#include "cdtext/disc/discblocks.h"
#include "cdtext/toc/tocreader.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace sonolabe::cdtext {

enum class UiLanguage { English, Japanese };

UiLanguage UiLanguageFromLocale();

// What every command says alike, in the language chosen.
class Wording
{
public:
    explicit Wording(UiLanguage language) : m_japanese(language == UiLanguage::Japanese) {}

    QString tryHelp() const;
    QString cannotRead(const QString &path, const QString &reason) const;
    QString cannotWrite(const QString &path, const QString &reason) const;
    QString warning(const QString &text) const;
    QString error(const QString &text) const;

    QString languageName(int language) const;
    QString textName(const TextRef &text) const;
    // What a TOC file that cannot be read holds where it goes wrong.
    QString tocSyntaxProblemText(TocSyntaxError::Kind kind) const;

protected:
    QString pick(QStringView english, QStringView japanese) const
    {
        return (m_japanese ? japanese : english).toString();
    }
    UiLanguage language() const { return m_japanese ? UiLanguage::Japanese : UiLanguage::English; }
    bool m_japanese;
};

class Messages : public Wording
{
public:
    explicit Messages(UiLanguage language) : Wording(language) {}

    QString help() const;

    // Usage errors.
    QString noCommand() const;
    QString unknownCommand(const QString &command) const;
    QString unknownOption(const QString &option) const;
    QString missingValue(const QString &option) const;
    QString missingTitleFile() const;
    QString missingSource() const;
    QString extraArgument(const QString &argument) const;
    QString optionNotForCommand(const QString &option, const QString &command) const;
    QString missingOption(const QString &option, const QString &command) const;
    // A value that is none of the choices the option takes.
    QString badChoice(const QString &option, const QString &value,
                      const QStringList &choices) const;
    QString notANumber(const QString &option, const QString &value) const;
    QString notAVersion(const QString &option, const QString &value) const;
    QString outputIsInput(const QString &path) const;

    // Refusals.
    QString cannotReadTitleFile(const QString &path, const QString &reason) const;
    QString notATitleFile(const QString &path) const;
    QString noTracks() const;
    QString noText() const;
    QString noTextInLanguage(int language) const;
    // A block needing more text packs than the budget; withTabRepeat is
    // what it would need with Tab repeats, when that fits.
    QString overBudget(int language, int blockNumber, int needed, int budget,
                       std::optional<int> withTabRepeat) const;
    QString problem(const TextProblem &problem) const;
    QString notWritableInSheet(const TextRef &text, const QString &why) const;
    QString quoteInCueText() const;
    QString backslashEndsCueText() const;
    QString leadingSpaceInSheet() const;
    QString trackCountDiffers(const QString &sheet, int sheetTracks, int fileTracks) const;
    QString sheetNotUnderstood(const QString &path, int line, TocSyntaxError::Kind problem) const;
    QString noFreeLanguageNumber(const QString &path) const;
    // A road that would burn other texts than the title file holds: why, and
    // the road that works.
    QString routeFault(RouteFault fault, std::optional<CdrdaoVersion> cdrdao) const;
    QString cueJapaneseNeedsOutput() const;
    QString cuePackFileIsInput(const QString &path) const;
    QString cuePackFileNameUnusable(const QString &path) const;

    // The check report.
    QString reportHeader(const QString &path, int trackCount) const;
    QString reportBlock(int language, int blockNumber, int textPacks, int budget) const;
    QString reportNoBlock(int language) const;
    // Whether a road burns the texts as they are: fault None says it does.
    QString reportRoute(const QString &route, const QString &verdict) const;
    QString routeBurnsAsIs() const;
    QString cueRouteVerdict(bool english, bool japanese) const;
    QString reportLfLineEnds() const;
    QString reportStrayLine(int line, const QString &text) const;
    QString reportVerdict(int errors, int warnings) const;

private:
    QString problemWording(Problem problem) const;
};

} // namespace sonolabe::cdtext
