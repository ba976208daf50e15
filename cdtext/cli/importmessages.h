// SPDX-License-Identifier: GPL-3.0-or-later
// What "sonolabe-cdtext import" tells its user, in English or in Japanese
// (half-width katakana for loanwords, as everywhere in the program).
#pragma once

#include "cdtext/import/importsource.h"
#include "cdtext/cli/messages.h"

#include <QString>

namespace sonolabe::cdtext {

class ImportMessages : public Wording
{
public:
    explicit ImportMessages(UiLanguage language) : Wording(language) {}

    // The import lines of the command's help.
    QString help() const;

    // Usage errors.
    QString blockOutOfRange(int block) const;
    QString blockNotForCue() const;
    QString outputIsSource(const QString &path) const;

    // Refusals.
    QString kindUnknown(const QString &path) const;
    QString nothingRead(const QString &path) const;

    // Reports.
    QString note(const SourceNote &note) const;
    QString moreCrcMismatches(int count) const;
    QString replacement(const Replacement &replacement) const;
    QString imported(const QString &path, ImportKind kind, int tracks,
                     TitleFileSections sections) const;

    QString kindName(ImportKind kind) const;

private:
    QString blockLanguage(const SourceNote &note) const;
};

} // namespace sonolabe::cdtext
