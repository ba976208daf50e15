// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/packs/packreader.h"

#include "cdtext/packs/packs.h"
#include "model/codepage932.h"

#include <algorithm>
#include <map>
#include <optional>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint8 CharacterCodeAscii = 0x01;

quint8 byteAt(QByteArrayView bytes, qsizetype index)
{
    return static_cast<quint8>(bytes[index]);
}

} // namespace

// The header's length counts the packs and its own two zero bytes; with a
// trailing NUL it may count that too.
std::optional<QByteArrayView> PacksOfFile(QByteArrayView file)
{
    QByteArrayView packs = file;
    if (file.size() >= 4 && file[2] == 0 && file[3] == 0) {
        const qsizetype stated = byteAt(file, 0) << 8 | byteAt(file, 1);
        const qsizetype rest = file.size() - 4;
        if (rest % PackSize == 0 && stated == file.size() - 2)
            packs = file.sliced(4);
        else if (rest % PackSize == 1 && file.back() == 0 &&
                 (stated == file.size() - 2 || stated == file.size() - 3))
            packs = file.sliced(4).chopped(1);
    }
    if (packs.size() == file.size() && file.size() % PackSize == 1 && file.back() == 0)
        packs = file.chopped(1);
    if (packs.isEmpty() || packs.size() % PackSize != 0)
        return std::nullopt;
    return packs;
}

namespace {

quint16 storedCrc(QByteArrayView pack)
{
    return static_cast<quint16>(byteAt(pack, 16) << 8 | byteAt(pack, 17));
}

bool isLeadByte(quint8 byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Splits the texts of one pack type, laid out one after the other. In an
// MS-JIS block a code page 932 lead byte takes the byte after it, and other
// bytes are read one by one, so that blocks written with single-byte texts
// read too. In a block whose packs say every character takes two bytes, a
// NUL ending a text takes one more NUL with it.
std::vector<QByteArray> splitTexts(QByteArrayView stream, bool msJis, bool doubleByte)
{
    std::vector<QByteArray> texts(1);
    qsizetype i = 0;
    while (i < stream.size()) {
        const quint8 byte = byteAt(stream, i);
        if (byte == 0) {
            i += doubleByte && i + 1 < stream.size() && stream[i + 1] == 0 ? 2 : 1;
            texts.emplace_back();
        } else if (msJis && isLeadByte(byte) && i + 1 < stream.size() && stream[i + 1] != 0) {
            texts.back().append(stream.sliced(i, 2));
            i += 2;
        } else {
            texts.back().append(static_cast<char>(byte));
            ++i;
        }
    }
    return texts;
}

// The packs of one block, in file order, and its size information.
struct RawBlock
{
    std::vector<QByteArrayView> packs;
    std::array<quint8, 3 * PackTextSize> info{};
    int infoParts = 0; // bits 0 to 2: which of the three size packs were seen
    bool hasInfo() const { return infoParts == 7; }
};

std::map<int, RawBlock> blocksOf(QByteArrayView packs)
{
    std::map<int, RawBlock> blocks;
    for (qsizetype at = 0; at < packs.size(); at += PackSize) {
        const QByteArrayView pack = packs.sliced(at, PackSize);
        RawBlock &block = blocks[byteAt(pack, 3) >> 4 & 7];
        block.packs.push_back(pack);
        const int part = byteAt(pack, 1);
        if (byteAt(pack, 0) == PackTypeSizeInfo && part < 3) {
            const QByteArrayView text = pack.sliced(4, PackTextSize);
            std::copy(text.begin(), text.end(), block.info.begin() + part * PackTextSize);
            block.infoParts |= 1 << part;
        }
    }
    return blocks;
}

// The language code of block number, from its own size information or, when
// that is missing, from another block's list of all blocks' languages.
std::optional<quint8> languageCodeOf(const std::map<int, RawBlock> &blocks, int number)
{
    const auto own = blocks.find(number);
    if (own != blocks.end() && own->second.hasInfo())
        return own->second.info[28 + number];
    for (const auto &[other, block] : blocks) {
        if (block.hasInfo())
            return block.info[28 + number];
    }
    return std::nullopt;
}

QString decode(QByteArrayView bytes, quint8 characterCode)
{
    if (characterCode == CharacterCodeMsJis)
        return Cp932Decoder::instance().decode(bytes);
    return QString::fromLatin1(bytes);
}

bool isRepeatMark(QByteArrayView text)
{
    return text == "\t" || text == "\t\t";
}

// What a text of a pack type other than the title holds, for the track (0
// the disc): 0x8E holds the disc's UPC/EAN and the tracks' ISRCs.
LeftOutField leftOutField(quint8 type, int track)
{
    switch (type) {
    case PackTypeSongwriter:
        return LeftOutField::Songwriter;
    case PackTypeComposer:
        return LeftOutField::Composer;
    case PackTypeArranger:
        return LeftOutField::Arranger;
    case PackTypeMessage:
        return LeftOutField::Message;
    case PackTypeCodes:
        return track == 0 ? LeftOutField::UpcEan : LeftOutField::Isrc;
    default:
        return LeftOutField::Performer;
    }
}

// Reads the texts of one pack type into the block: entry 0 belongs to the
// track of the type's first pack (0 for the disc), each further entry to the
// next track; the track after the disc is the disc's first track.
void readType(const RawBlock &raw, quint8 type, quint8 characterCode, bool doubleByte,
              int discFirstTrack, SourceBlock &block, SourceTexts &source)
{
    QByteArray stream;
    int firstTrack = -1;
    for (const QByteArrayView pack : raw.packs) {
        if (byteAt(pack, 0) != type)
            continue;
        if (firstTrack < 0)
            firstTrack = byteAt(pack, 1);
        stream.append(pack.sliced(4, PackTextSize));
    }
    if (firstTrack < 0)
        return;
    const std::vector<QByteArray> texts =
        splitTexts(stream, characterCode == CharacterCodeMsJis, doubleByte);
    QString previous;
    int track = firstTrack;
    for (size_t entry = 0; entry < texts.size();
         ++entry, track = track == 0 ? discFirstTrack : track + 1) {
        QString text = entry > 0 && isRepeatMark(texts[entry])
                           ? previous
                           : decode(texts[entry], characterCode);
        previous = text;
        if (text.isEmpty())
            continue;
        if (track > MaxTracks) {
            source.notes.push_back({SourceNote::TrackBeyondLimit, track, 0, {}});
        } else if (type == PackTypeTitle) {
            (track == 0 ? block.discTitle : block.titles[track - 1]) = text;
        } else if (type == PackTypePerformer && track == 0) {
            block.discPerformer = text;
        } else {
            NoteTextLeftOut(source, block.number, leftOutField(type, track), track);
        }
        block.lastTrack = std::max(block.lastTrack, std::min(track, int(MaxTracks)));
    }
}

QString languageNameOf(quint8 code)
{
    return u"0x"_s + QString::number(code, 16).rightJustified(2, u'0');
}

std::optional<SourceBlock> readBlock(const std::map<int, RawBlock> &blocks, int number,
                                     SourceTexts &source)
{
    const RawBlock &raw = blocks.at(number);
    const bool dbccBit = std::any_of(raw.packs.begin(), raw.packs.end(), [](QByteArrayView pack) {
        return byteAt(pack, 0) != PackTypeSizeInfo && byteAt(pack, 3) & 0x80;
    });
    const quint8 characterCode =
        raw.hasInfo() ? raw.info[0] : (dbccBit ? CharacterCodeMsJis : CharacterCodeIso8859_1);
    if (characterCode != CharacterCodeIso8859_1 && characterCode != CharacterCodeAscii &&
        characterCode != CharacterCodeMsJis) {
        source.notes.push_back({SourceNote::CharacterCodeUnknown, number, characterCode, {}});
        return std::nullopt;
    }
    SourceBlock block;
    block.number = number;
    if (const std::optional<quint8> code = languageCodeOf(blocks, number)) {
        block.language = LanguageOfCode(*code);
        block.languageName = languageNameOf(*code);
    }
    // Without size information the tracks are taken to start at 1.
    const int firstTrack = raw.hasInfo() ? std::clamp<int>(raw.info[1], 1, MaxTracks) : 1;
    if (firstTrack != 1) {
        const SourceNote note{SourceNote::FirstTrackNotOne, firstTrack, 0, {}};
        if (std::find(source.notes.begin(), source.notes.end(), note) == source.notes.end())
            source.notes.push_back(note);
    }
    readType(raw, PackTypeTitle, characterCode, dbccBit, firstTrack, block, source);
    for (const quint8 type : {PackTypePerformer, PackTypeSongwriter, PackTypeComposer,
                              PackTypeArranger, PackTypeMessage, PackTypeCodes})
        readType(raw, type, characterCode, dbccBit, firstTrack, block, source);
    // The disc ID and the genre belong to the disc; the genre starts with a
    // binary code, so its packs are not split into texts.
    for (const auto &typeAndField : {std::pair{PackTypeDiscId, LeftOutField::DiscId},
                                     std::pair{PackTypeGenre, LeftOutField::Genre}}) {
        const quint8 type = typeAndField.first;
        if (std::any_of(raw.packs.begin(), raw.packs.end(),
                        [type](QByteArrayView pack) { return byteAt(pack, 0) == type; }))
            NoteTextLeftOut(source, number, typeAndField.second, 0);
    }
    if (raw.hasInfo())
        block.lastTrack = std::min<int>(raw.info[2], MaxTracks);
    return block;
}

} // namespace

SourceTexts ReadPackFile(QByteArrayView file, bool ignoreCrc)
{
    SourceTexts source;
    const std::optional<QByteArrayView> packs = PacksOfFile(file);
    if (!packs) {
        source.notes.push_back({SourceNote::NotAPackFile, 0, 0, {}});
        return source;
    }
    // Some tools write every CRC as zero, to be filled in later: such a file
    // is read without them.
    bool crcsFilledIn = false;
    for (qsizetype at = 0; at < packs->size() && !crcsFilledIn; at += PackSize)
        crcsFilledIn = storedCrc(packs->sliced(at, PackSize)) != 0;
    if (!crcsFilledIn)
        source.notes.push_back({SourceNote::CrcNotFilledIn, 0, 0, {}});
    bool crcWrong = false;
    for (qsizetype at = 0; crcsFilledIn && at < packs->size(); at += PackSize) {
        const QByteArrayView pack = packs->sliced(at, PackSize);
        if (PackCrc(pack) != storedCrc(pack)) {
            source.notes.push_back({ignoreCrc ? SourceNote::CrcIgnored : SourceNote::CrcMismatch,
                                    static_cast<int>(at / PackSize) + 1,
                                    0,
                                    {}});
            crcWrong = true;
        }
    }
    if (crcWrong && !ignoreCrc)
        return source;
    const std::map<int, RawBlock> blocks = blocksOf(*packs);
    for (const auto &[number, raw] : blocks) {
        if (std::optional<SourceBlock> block = readBlock(blocks, number, source))
            source.blocks.push_back(std::move(*block));
    }
    return source;
}

} // namespace sonolabe::cdtext
