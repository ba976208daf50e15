// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/codepage932.h"

#include <QtGlobal>

#include <cerrno>
#include <iconv.h>

namespace sonolabe {

namespace {

// Owns one iconv descriptor; used only while the tables are built.
class Iconv
{
public:
    Iconv(const char *to, const char *from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            qFatal("The C library has no converter from %s to %s; "
                   "install the glibc character-set modules.",
                   from, to);
    }
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    // Converts the whole input in one go; returns the number of output bytes,
    // or -1 when the input is not one complete convertible sequence.
    int convert(const char *in, size_t inLength, char *out, size_t outCapacity) const
    {
        size_t inLeft = inLength;
        size_t outLeft = outCapacity;
        if (run(in, inLeft, out, outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            return -1;
        return static_cast<int>(outCapacity - outLeft);
    }

    // Converts as much of the input as it can, up to the first sequence that
    // is invalid or incomplete, into out; returns the number of input bytes
    // consumed. Every byte pair of valid code page 932 gives exactly one
    // UTF-16 unit, so the caller can tell which output belongs to which pair.
    int convertPrefix(const char *in, size_t inLength, char *out, size_t outCapacity) const
    {
        size_t inLeft = inLength;
        size_t outLeft = outCapacity;
        run(in, inLeft, out, outLeft);
        return static_cast<int>(inLength - inLeft);
    }

private:
    // One conversion from a reset state; inLeft and outLeft come back as
    // iconv leaves them.
    size_t run(const char *in, size_t &inLeft, char *out, size_t &outLeft) const
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char *inPtr = const_cast<char *>(in);
        char *outPtr = out;
        return iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
    }

    iconv_t m_cd;
};

bool isSurrogate(unsigned unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

} // namespace

const Cp932Encoder &Cp932Encoder::instance()
{
    static const Cp932Encoder encoder;
    return encoder;
}

Cp932Encoder::Cp932Encoder()
{
    const Iconv converter("CP932", "UTF-16LE");
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        m_table[unit] = '?';
        if (isSurrogate(unit))
            continue;
        const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        unsigned char out[4];
        const int length = converter.convert(in, 2, reinterpret_cast<char *>(out), sizeof out);
        if (length == 1)
            m_table[unit] = out[0];
        else if (length == 2)
            m_table[unit] = static_cast<quint16>(out[0] << 8 | out[1]);
    }
}

bool Cp932Encoder::canEncode(char16_t unit) const
{
    return m_table[unit] != '?' || unit == u'?';
}

void Cp932Encoder::appendEncoded(QStringView text, QByteArray &out) const
{
    const qsizetype start = out.size();
    out.resize(start + 2 * text.size());
    const char *end = encodeInto(text, out.data() + start);
    out.truncate(end - out.constData());
}

QByteArray Cp932Encoder::encode(QStringView text) const
{
    QByteArray out;
    appendEncoded(text, out);
    return out;
}

const Cp932Decoder &Cp932Decoder::instance()
{
    static const Cp932Decoder decoder;
    return decoder;
}

Cp932Decoder::Cp932Decoder()
{
    const Iconv converter("UTF-16LE", "CP932");
    unsigned char out[8];
    for (unsigned byte = 0; byte < 0x100; ++byte) {
        const char in[1] = {static_cast<char>(byte)};
        const int length = converter.convert(in, 1, reinterpret_cast<char *>(out), sizeof out);
        m_single[byte] = length == 2 ? static_cast<char16_t>(out[0] | out[1] << 8) : Replacement;
    }
    // Every pair of one lead byte is converted in one call: each valid pair
    // gives one UTF-16 unit, and the converter stops at an invalid pair, which
    // is skipped. Asking for each pair alone would take a few milliseconds
    // of every start-up.
    constexpr unsigned FirstTrail = 0x40;
    constexpr unsigned TrailCount = 0x100 - FirstTrail;
    for (unsigned lead = 0x80; lead < 0x100; ++lead) {
        if (m_single[lead] != Replacement)
            continue;
        char in[2 * TrailCount];
        for (unsigned t = 0; t < TrailCount; ++t) {
            in[2 * t] = static_cast<char>(lead);
            in[2 * t + 1] = static_cast<char>(FirstTrail + t);
        }
        char16_t units[TrailCount];
        bool anyTrail = false;
        unsigned pair = 0;
        while (pair < TrailCount) {
            const int converted =
                converter.convertPrefix(in + 2 * pair, 2 * (TrailCount - pair),
                                        reinterpret_cast<char *>(units), sizeof units);
            // converted / 2 pairs gave one unit each; the pair after them, if
            // any, is invalid.
            const unsigned done = static_cast<unsigned>(converted) / 2;
            for (unsigned k = 0; k < done; ++k) {
                if (units[k] != 0) {
                    m_double[lead << 8 | (FirstTrail + pair + k)] = units[k];
                    anyTrail = true;
                }
            }
            pair += done + 1;
        }
        if (anyTrail)
            m_single[lead] = LeadByte;
    }
}

void Cp932Decoder::appendDecoded(QByteArrayView bytes, QString &out) const
{
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    char16_t *dest = reinterpret_cast<char16_t *>(out.data()) + start;
    const auto *src = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = src + bytes.size();
    while (src != end) {
        const unsigned char byte = *src++;
        if (byte < 0x80) {
            *dest++ = byte;
            continue;
        }
        const char16_t single = m_single[byte];
        if (single != LeadByte) {
            *dest++ = single;
            continue;
        }
        const char16_t pair = src != end ? m_double[byte << 8 | *src] : char16_t(0);
        if (pair != 0) {
            *dest++ = pair;
            ++src;
        } else {
            *dest++ = Replacement;
        }
    }
    out.truncate(dest - reinterpret_cast<const char16_t *>(out.constData()));
}

QString Cp932Decoder::decode(QByteArrayView bytes) const
{
    QString out;
    appendDecoded(bytes, out);
    return out;
}

} // namespace sonolabe
