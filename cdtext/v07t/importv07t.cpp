// SPDX-License-Identifier: GPL-3.0-or-later
// The v07t sheet reader of importsheets.h, over the keys of v07t.h.
#include "cdtext/disc/sheetwords.h"
#include "cdtext/import/importsheets.h"
#include "cdtext/v07t/v07t.h"

#include "model/codepage932.h"

#include <QStringDecoder>

#include <algorithm>

namespace sonolabe::cdtext {

std::optional<QString> DecodeUtf8BeyondAscii(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; }))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

namespace {

// One sheet's values as they stand in the source, decoded once its text
// code is known.
struct RawSheet
{
    int number = 0;
    QByteArrayView textCode;
    QByteArrayView languageCode;
    QByteArrayView discTitle;
    QByteArrayView discPerformer;
    std::array<QByteArrayView, MaxTracks> titles;
    int lastTrack = 0;
};

// What a key holds that a title file leaves out, nothing for the keys it reads.
std::optional<LeftOutField> leftOutField(V07tKey key)
{
    switch (key) {
    case V07tKey::TrackArtist:
        return LeftOutField::Performer;
    case V07tKey::Songwriter:
    case V07tKey::TrackSongwriter:
        return LeftOutField::Songwriter;
    case V07tKey::Composer:
    case V07tKey::TrackComposer:
        return LeftOutField::Composer;
    case V07tKey::Arranger:
    case V07tKey::TrackArranger:
        return LeftOutField::Arranger;
    case V07tKey::Message:
    case V07tKey::AlbumMessage:
    case V07tKey::TrackMessage:
        return LeftOutField::Message;
    case V07tKey::DiscInformation:
    case V07tKey::CatalogNumber:
        return LeftOutField::DiscId;
    case V07tKey::GenreCode:
    case V07tKey::GenreInformation:
        return LeftOutField::Genre;
    case V07tKey::UpcEan:
        return LeftOutField::UpcEan;
    case V07tKey::TrackIsrc:
        return LeftOutField::Isrc;
    default:
        return std::nullopt;
    }
}

void readLine(const V07tField &field, QByteArrayView value, RawSheet &sheet, SourceTexts &source)
{
    const SourceNote beyond{SourceNote::TrackBeyondLimit, field.track, 0, {}};
    if (field.key == V07tKey::TextCode) {
        sheet.textCode = value.trimmed();
    } else if (field.key == V07tKey::LanguageCode) {
        sheet.languageCode = value.trimmed();
    } else if (field.key == V07tKey::AlbumTitle) {
        sheet.discTitle = value;
    } else if (field.key == V07tKey::ArtistName) {
        sheet.discPerformer = value;
    } else if (field.key == V07tKey::LastTrack) {
        sheet.lastTrack = std::clamp(value.trimmed().toInt(), 0, int(MaxTracks));
    } else if (field.key == V07tKey::TrackTitle && field.track > MaxTracks) {
        // Noted once for lines of one track in a row.
        if (!value.isEmpty() && (source.notes.empty() || !(source.notes.back() == beyond)))
            source.notes.push_back(beyond);
    } else if (field.key == V07tKey::TrackTitle && field.track >= 1) {
        sheet.titles[field.track - 1] = value;
    } else if (const std::optional<LeftOutField> leftOut = leftOutField(field.key);
               leftOut && !value.trimmed().isEmpty() &&
               (field.key < V07tKey::TrackTitle || field.track >= 1)) {
        NoteTextLeftOut(source, sheet.number, *leftOut, field.track);
    }
}

void finishSheet(const RawSheet &sheet, SourceTexts &source)
{
    const QByteArray textCode = sheet.textCode.toByteArray().toUpper();
    const bool msJis = textCode == "MS-JIS";
    if (!msJis && textCode != "8859" && textCode != "ASCII" && !textCode.isEmpty()) {
        source.notes.push_back(
            {SourceNote::CharacterCodeUnknown, sheet.number, 0, QString::fromLatin1(textCode)});
        return;
    }
    const auto decode = [msJis](QByteArrayView bytes) {
        return msJis ? Cp932Decoder::instance().decode(bytes) : QString::fromLatin1(bytes);
    };
    SourceBlock block;
    block.number = sheet.number;
    block.language = V07tLanguageOf(sheet.languageCode.toByteArray());
    block.languageName = QString::fromLatin1(sheet.languageCode);
    block.discTitle = decode(sheet.discTitle);
    block.discPerformer = decode(sheet.discPerformer);
    block.lastTrack = sheet.lastTrack;
    for (int track = 1; track <= MaxTracks; ++track) {
        block.titles[track - 1] = decode(sheet.titles[track - 1]);
        if (!block.titles[track - 1].isEmpty())
            block.lastTrack = std::max(block.lastTrack, track);
    }
    source.blocks.push_back(std::move(block));
}

} // namespace

// The lines are read in place, one at a time: a source holds at most eight
// sheets, so what is kept stays small whatever the size of the source.
SourceTexts ReadV07tSheets(QByteArrayView sheets)
{
    SourceTexts source;
    std::optional<RawSheet> sheet;
    int count = 0;
    int lineNumber = 0;
    for (qsizetype start = 0; start < sheets.size();) {
        qsizetype end = sheets.indexOf('\n', start);
        end = end < 0 ? sheets.size() : end;
        QByteArrayView line = sheets.sliced(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype equals = line.indexOf('=');
        const std::optional<V07tField> field =
            equals < 0 ? std::nullopt : ParseV07tKey(line.first(equals));
        if (!field)
            continue;
        QByteArrayView value = line.sliced(equals + 1);
        // The sheet reader skips the blanks after "=", as cdrskin's does.
        while (!value.isEmpty() && (value.front() == ' ' || value.front() == '\t'))
            value = value.sliced(1);
        if (field->key == V07tKey::SheetVersion) {
            if (count == MaxBlocks) {
                source.notes.push_back({SourceNote::TooManyBlocks, lineNumber, 0, {}});
                break;
            }
            if (sheet)
                finishSheet(*sheet, source);
            sheet = RawSheet{};
            sheet->number = count++;
        } else {
            // A single sheet may leave out its version line, as cdrskin allows.
            if (!sheet) {
                sheet = RawSheet{};
                sheet->number = count++;
            }
            readLine(*field, value, *sheet, source);
        }
    }
    if (sheet)
        finishSheet(*sheet, source);
    return source;
}

} // namespace sonolabe::cdtext
