// SPDX-License-Identifier: GPL-3.0-or-later
// The one in-memory copy of the disc being edited.
#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace sonolabe {

// Language indexes, the same for every per-language table and control array.
inline constexpr int Japanese = 0;
inline constexpr int English = 1;
inline constexpr int LanguageCount = 2;
// Tracks are numbered 1..MaxTracks; a title file cannot name more.
inline constexpr int MaxTracks = 99;

// Indexes are checked: a language outside 0..1 or a track outside 1..99 is a
// bug in the caller. Debug builds stop on an assertion; release builds fold the
// index into range so that a bug can never write outside the table.
namespace detail {
int checkedLanguage(int language);
int checkedTrack(int track);
} // namespace detail

// One string per language.
class LanguagePair
{
public:
    QString &operator[](int language) { return m_texts[detail::checkedLanguage(language)]; }
    const QString &operator[](int language) const
    {
        return m_texts[detail::checkedLanguage(language)];
    }
    bool operator==(const LanguagePair &) const = default;

private:
    std::array<QString, LanguageCount> m_texts;
};

// Track titles, indexed by (language, track) with tracks counted from 1.
class TitleTable
{
public:
    QString &operator()(int language, int track)
    {
        return m_titles[detail::checkedLanguage(language)][detail::checkedTrack(track) - 1];
    }
    const QString &operator()(int language, int track) const
    {
        return m_titles[detail::checkedLanguage(language)][detail::checkedTrack(track) - 1];
    }
    bool operator==(const TitleTable &) const = default;

private:
    std::array<std::array<QString, MaxTracks>, LanguageCount> m_titles;
};

// The store holds plain values and is shared by reference: windows read and
// write its members directly. Invariant kept by every operation that sets the
// count: titles of tracks above trackCount are empty in both languages.
struct TitleStore
{
    LanguagePair discNames;
    LanguagePair artistNames;
    TitleTable trackTitles;
    quint8 currentTrack = 0;
    quint8 languageMode = 0;
    quint8 trackCount = 0;
    QString currentFilePath;

    // Empties all 198 titles and both disc and artist names; leaves the count,
    // the editor's position and the current path alone.
    void clearTexts();

    // Sets the count to n, emptying the titles of the tracks that fall away in
    // both languages when n is lower than the present count.
    void dropTracksAbove(int n);

    // Takes the disc texts and the count of another store (a freshly loaded
    // file); the editor's position and the current path stay as they are.
    void replaceDisc(const TitleStore &loaded);

    // True when the texts and the count of both stores are equal.
    bool sameDisc(const TitleStore &other) const;

    bool operator==(const TitleStore &) const = default;
};

} // namespace sonolabe
