// SPDX-License-Identifier: GPL-3.0-or-later
// What "sonolabe-cdtext import" tells its user, in English or in Japanese
// (half-width katakana for loanwords, as everywhere in the program).
#pragma once

#include "cdtext/importsource.h"
#include "cdtext/messages.h"

#include <QString>

namespace sonolabe::cdtext {

class ImportMessages
{
public:
    explicit ImportMessages(UiLanguage language) : m_japanese(language == UiLanguage::Japanese) {}

    // The import lines of the command's help.
    QString help() const;
    QString tryHelp() const;

    // Usage errors.
    QString blockOutOfRange(int block) const;
    QString blockNotForCue() const;
    QString outputIsSource(const QString &path) const;

    // Refusals.
    QString cannotReadSource(const QString &path, const QString &reason) const;
    QString kindUnknown(const QString &path) const;
    QString nothingRead(const QString &path) const;
    QString cannotWrite(const QString &path, const QString &reason) const;

    // Reports.
    QString note(const SourceNote &note) const;
    QString moreCrcMismatches(int count) const;
    QString replacement(const Replacement &replacement) const;
    QString imported(const QString &path, ImportKind kind, int tracks,
                     TitleFileSections sections) const;
    QString warning(const QString &text) const;
    QString error(const QString &text) const;

    QString kindName(ImportKind kind) const;
    QString languageName(int language) const;
    QString textName(const TextRef &text) const;

private:
    QString pick(QStringView english, QStringView japanese) const
    {
        return (m_japanese ? japanese : english).toString();
    }
    QString blockLanguage(const SourceNote &note) const;
    bool m_japanese;
};

} // namespace sonolabe::cdtext
