// SPDX-License-Identifier: GPL-3.0-or-later
// Conversion between UTF-16 and code page 932 (Microsoft's Shift-JIS).
//
// The mapping is glibc's "CP932" converter. Calling iconv for every character
// would make loading and the English-text check slow, so the converter is asked
// once per code unit and byte pair, the first time a direction is needed, and
// the answers are kept in flat tables (about 6 ms, 128 KiB per direction).
//
// Decisions that the code page leaves open:
//  - encoding works per character: one the code page cannot represent becomes
//    one '?', so a character outside the Basic Multilingual Plane (a surrogate
//    pair) is one '?', and so is a lone surrogate;
//  - decoding never fails: every byte that does not start a valid character
//    (0x80, 0xA0, 0xFD-0xFF, a lead byte without a valid trail byte) becomes
//    U+FFFD, and decoding resumes at the next byte, so a broken pair can never
//    swallow the Tab or line end that follows it.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>

namespace sonolabe {

class Cp932Encoder
{
public:
    // The table is built on first use and shared afterwards; it is immutable.
    static const Cp932Encoder &instance();

    // Bytes of one code unit: a value up to 0xFF is one byte, a larger one the
    // two bytes (value >> 8, value & 0xFF).
    quint16 code(char16_t unit) const { return m_table[unit]; }
    bool isDoubleByte(char16_t unit) const { return m_table[unit] > 0xFF; }
    // True when the code page has the code unit (it does not become '?').
    bool canEncode(char16_t unit) const;

    // Writes the bytes of text at dest, which must have room for two bytes per
    // code unit, and returns the end of what was written.
    char *encodeInto(QStringView text, char *dest) const
    {
        const char16_t *unit = text.utf16();
        const char16_t *const end = unit + text.size();
        while (unit != end) {
            const char16_t current = *unit++;
            const quint16 bytes = m_table[current];
            if (bytes > 0xFF)
                *dest++ = static_cast<char>(bytes >> 8);
            else if (bytes == '?' && QChar::isHighSurrogate(current) && unit != end &&
                     QChar::isLowSurrogate(*unit))
                ++unit; // the pair is one character, written as the one '?'
            *dest++ = static_cast<char>(bytes & 0xFF);
        }
        return dest;
    }

    void appendEncoded(QStringView text, QByteArray &out) const;
    QByteArray encode(QStringView text) const;

private:
    Cp932Encoder();
    std::array<quint16, 0x10000> m_table{};
};

class Cp932Decoder
{
public:
    static const Cp932Decoder &instance();

    static constexpr char16_t Replacement = u'\uFFFD';

    // Decodes bytes, appending to out; see the header comment for bad bytes.
    void appendDecoded(QByteArrayView bytes, QString &out) const;
    QString decode(QByteArrayView bytes) const;

private:
    Cp932Decoder();
    static constexpr char16_t LeadByte = 0xFFFF;
    std::array<char16_t, 0x100> m_single{};  // LeadByte, Replacement or the character
    std::array<char16_t, 0x10000> m_double{}; // (lead << 8 | trail) -> character, 0 if none
};

} // namespace sonolabe
