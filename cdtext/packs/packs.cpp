// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/packs/packs.h"

#include <algorithm>
#include <array>

namespace sonolabe::cdtext {

quint16 PackCrc(QByteArrayView headerAndText)
{
    quint16 crc = 0;
    for (const char c : headerAndText.first(std::min<qsizetype>(16, headerAndText.size()))) {
        crc ^= static_cast<quint16>(static_cast<quint8>(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<quint16>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return static_cast<quint16>(~crc);
}

const PackTexts *PackBlock::textsOf(quint8 type) const
{
    for (const PackTexts &texts : types) {
        if (texts.type == type)
            return &texts;
    }
    return nullptr;
}

namespace {

// The texts of one pack type laid out as one byte stream, with the offset at
// which each entry starts, so that every pack can tell whose text it starts
// with and how far into that text.
struct TypeStream
{
    QByteArray bytes;
    std::vector<qsizetype> entryStart;
};

TypeStream layOut(const PackTexts &texts, bool doubleByte, bool tabRepeat)
{
    const QByteArray terminator(doubleByte ? 2 : 1, '\0');
    const QByteArray repeat(doubleByte ? 2 : 1, '\t');
    TypeStream stream;
    for (size_t i = 0; i < texts.entries.size(); ++i) {
        stream.entryStart.push_back(stream.bytes.size());
        const QByteArray &entry = texts.entries[i];
        // Entry 0 is the disc's; only a track repeats the track before it.
        if (tabRepeat && i >= 2 && !entry.isEmpty() && entry == texts.entries[i - 1])
            stream.bytes += repeat;
        else
            stream.bytes += entry;
        stream.bytes += terminator;
    }
    const qsizetype padded = (stream.bytes.size() + PackTextSize - 1) / PackTextSize * PackTextSize;
    stream.bytes.append(padded - stream.bytes.size(), '\0');
    return stream;
}

int packsOf(const TypeStream &stream)
{
    return static_cast<int>(stream.bytes.size() / PackTextSize);
}

void appendPack(QByteArray &out, std::array<quint8, 4> header, QByteArrayView text)
{
    const qsizetype start = out.size();
    for (const quint8 byte : header)
        out.append(static_cast<char>(byte));
    out.append(text.data(), text.size());
    const quint16 crc = PackCrc(QByteArrayView(out).sliced(start, 16));
    out.append(static_cast<char>(crc >> 8));
    out.append(static_cast<char>(crc & 0xFF));
}

struct BlockLayout
{
    std::vector<TypeStream> streams;
    int textPacks = 0;
};

BlockLayout layOut(const PackBlock &block, bool tabRepeat)
{
    BlockLayout layout;
    for (const PackTexts &texts : block.types) {
        layout.streams.push_back(layOut(texts, block.doubleByte, tabRepeat));
        layout.textPacks += packsOf(layout.streams.back());
    }
    return layout;
}

// Writes packs of one block, counting their sequence numbers and how many
// there are of each pack type.
class BlockWriter
{
public:
    BlockWriter(QByteArray &out, const PackBlock &block, size_t blockNumber)
        : m_out(out), m_block(block), m_blockBits(static_cast<quint8>(blockNumber << 4))
    {}

    void textPacks(const TypeStream &stream, quint8 type);
    void sizeInformation(const std::vector<PackBlock> &blocks,
                         const std::vector<BlockLayout> &layouts);

private:
    QByteArray &m_out;
    const PackBlock &m_block;
    quint8 m_blockBits;
    int m_sequence = 0;
    std::array<quint8, 16> m_packsPerType{};
};

void BlockWriter::textPacks(const TypeStream &stream, quint8 type)
{
    const quint8 doubleByteBit = m_block.doubleByte ? 0x80 : 0x00;
    const int unit = m_block.doubleByte ? 2 : 1;
    size_t entry = 0;
    for (qsizetype at = 0; at < stream.bytes.size(); at += PackTextSize) {
        while (entry + 1 < stream.entryStart.size() && stream.entryStart[entry + 1] <= at)
            ++entry;
        const quint8 track = entry == 0 ? 0 : static_cast<quint8>(m_block.firstTrack + entry - 1);
        // Characters of this entry already written in earlier packs, 15
        // standing for 15 or more.
        const qsizetype written = (at - stream.entryStart[entry]) / unit;
        const quint8 position = static_cast<quint8>(std::min<qsizetype>(written, 15));
        appendPack(m_out,
                   {type, track, static_cast<quint8>(m_sequence),
                    static_cast<quint8>(doubleByteBit | m_blockBits | position)},
                   QByteArrayView(stream.bytes).sliced(at, PackTextSize));
        ++m_sequence;
        ++m_packsPerType[type & 0x0F];
    }
}

// Size information: 36 bytes spread over three packs, after the text packs.
void BlockWriter::sizeInformation(const std::vector<PackBlock> &blocks,
                                  const std::vector<BlockLayout> &layouts)
{
    m_packsPerType[PackTypeSizeInfo & 0x0F] = 3;
    std::array<quint8, 3 * PackTextSize> info{};
    info[0] = m_block.characterCode;
    info[1] = m_block.firstTrack;
    info[2] = m_block.lastTrack;
    info[3] = m_block.copyright;
    std::copy(m_packsPerType.begin(), m_packsPerType.end(), info.begin() + 4);
    for (size_t k = 0; k < blocks.size(); ++k) {
        info[20 + k] = static_cast<quint8>(layouts[k].textPacks + 3 - 1);
        info[28 + k] = blocks[k].languageCode;
    }
    for (quint8 part = 0; part < 3; ++part) {
        appendPack(m_out, {PackTypeSizeInfo, part, static_cast<quint8>(m_sequence), m_blockBits},
                   QByteArrayView(reinterpret_cast<const char *>(info.data()) + part * PackTextSize,
                                  PackTextSize));
        ++m_sequence;
    }
}

} // namespace

int TextPacksNeeded(const PackBlock &block, bool tabRepeat)
{
    return layOut(block, tabRepeat).textPacks;
}

std::optional<QByteArray> BuildPacks(const std::vector<PackBlock> &blocks,
                                     const PackOptions &options)
{
    if (blocks.size() > MaxBlocks)
        return std::nullopt;
    const int limit = std::min(options.textPackLimit, MaxTextPacksPerBlock);
    std::vector<BlockLayout> layouts;
    for (const PackBlock &block : blocks) {
        layouts.push_back(layOut(block, options.tabRepeat));
        if (layouts.back().textPacks > limit)
            return std::nullopt;
    }

    QByteArray out;
    for (size_t b = 0; b < blocks.size(); ++b) {
        BlockWriter writer(out, blocks[b], b);
        for (size_t t = 0; t < blocks[b].types.size(); ++t)
            writer.textPacks(layouts[b].streams[t], blocks[b].types[t].type);
        writer.sizeInformation(blocks, layouts);
    }
    return out;
}

QByteArray PackFileBytes(QByteArrayView packs)
{
    const qsizetype length = packs.size() + 2;
    QByteArray file;
    file.reserve(packs.size() + 4);
    file.append(static_cast<char>((length >> 8) & 0xFF));
    file.append(static_cast<char>(length & 0xFF));
    file.append(2, '\0');
    file.append(packs.data(), packs.size());
    return file;
}

} // namespace sonolabe::cdtext
