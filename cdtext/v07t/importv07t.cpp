// SPDX-License-Identifier: GPL-3.0-or-later
// The v07t sheet reader of importsheets.h.
#include "cdtext/import/importsheets.h"

#include "model/codepage932.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

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

// One sheet's values as bytes, decoded once its text code is known.
struct RawSheet
{
    int number = 0;
    QByteArray textCode;
    QByteArray languageCode;
    QByteArray discTitle;
    QByteArray discPerformer;
    std::array<QByteArray, MaxTracks> titles;
    int lastTrack = 0;
};

QByteArray simplifiedKey(QByteArrayView key)
{
    return key.toByteArray().simplified().toLower();
}

// "Track NN Title" or "Track NN Artist": the track number and the field.
std::optional<std::pair<int, QByteArray>> trackField(const QByteArray &key)
{
    const QList<QByteArray> words = key.split(' ');
    if (words.size() != 3 || words[0] != "track")
        return std::nullopt;
    bool ok = false;
    const int track = words[1].toInt(&ok);
    if (!ok || track < 1)
        return std::nullopt;
    return std::pair(track, words[2]);
}

void readLine(const QByteArray &key, QByteArrayView value, RawSheet &sheet, SourceTexts &source)
{
    if (key == "text code") {
        sheet.textCode = value.toByteArray().trimmed().toUpper();
    } else if (key == "language code") {
        sheet.languageCode = value.toByteArray().trimmed();
    } else if (key == "album title") {
        sheet.discTitle = value.toByteArray();
    } else if (key == "artist name") {
        sheet.discPerformer = value.toByteArray();
    } else if (key == "last track number") {
        sheet.lastTrack = std::clamp(value.toByteArray().trimmed().toInt(), 0, int(MaxTracks));
    } else if (const auto field = trackField(key)) {
        const auto [track, name] = *field;
        if (name == "title" && track > MaxTracks && !value.isEmpty())
            source.notes.push_back({SourceNote::TrackBeyondLimit, track, 0, {}});
        else if (name == "title" && track <= MaxTracks)
            sheet.titles[track - 1] = value.toByteArray();
        else if (name == "artist" && !value.isEmpty()) {
            NoteTrackPerformers(source, sheet.number);
        }
    }
}

void finishSheet(const RawSheet &sheet, SourceTexts &source)
{
    const bool msJis = sheet.textCode == "MS-JIS";
    if (!msJis && sheet.textCode != "8859" && sheet.textCode != "ASCII" &&
        !sheet.textCode.isEmpty()) {
        source.notes.push_back({SourceNote::CharacterCodeUnknown, sheet.number, 0,
                                QString::fromLatin1(sheet.textCode)});
        return;
    }
    const auto decode = [msJis](const QByteArray &bytes) {
        return msJis ? Cp932Decoder::instance().decode(bytes) : QString::fromLatin1(bytes);
    };
    SourceBlock block;
    block.number = sheet.number;
    block.language = V07tLanguageOf(sheet.languageCode);
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

SourceTexts ReadV07tSheets(QByteArrayView sheets)
{
    SourceTexts source;
    std::optional<RawSheet> sheet;
    int count = 0;
    for (QByteArrayView line : QByteArray::fromRawData(sheets.data(), sheets.size()).split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = simplifiedKey(line.first(equals));
        QByteArrayView value = line.sliced(equals + 1);
        // The sheet reader skips the blanks after "=", as cdrskin's does.
        while (!value.isEmpty() && (value.front() == ' ' || value.front() == '\t'))
            value = value.sliced(1);
        if (key == "input sheet version") {
            if (sheet)
                finishSheet(*sheet, source);
            sheet = RawSheet{};
            sheet->number = count++;
        } else if (sheet) {
            readLine(key, value, *sheet, source);
        }
    }
    if (sheet)
        finishSheet(*sheet, source);
    return source;
}

} // namespace sonolabe::cdtext
