// SPDX-License-Identifier: GPL-3.0-or-later
// The one in-memory copy of the disc being edited.
#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace sonolabe {

// The two languages of a disc. Their values index every per-language table
// and control array.
enum Language : int { Japanese = 0, English = 1 };
inline constexpr int LanguageCount = 2;

constexpr Language otherLanguage(Language language)
{
    return language == Japanese ? English : Japanese;
}

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

// The disc: its texts in both languages and its track count, nothing of the
// windows that show it. It holds plain values and is shared by reference:
// windows read and write its members directly. Invariant kept by every
// operation that sets the count: titles of tracks above trackCount are empty
// in both languages.
struct TitleStore
{
    LanguagePair discNames;
    LanguagePair artistNames;
    TitleTable trackTitles;
    quint8 trackCount = 0;

    // Empties all 198 titles and both disc and artist names; leaves the count
    // alone.
    void clearTexts();

    // Sets the count to n, higher or lower; when lower, the titles of the
    // tracks that fall away are emptied in both languages.
    void setTrackCount(int n);

    // Exchanges the titles of two tracks (1..99) in one language: a title
    // moved one place up or down.
    void moveTitle(Language language, int track, int destination);

    bool operator==(const TitleStore &) const = default;
};

} // namespace sonolabe
