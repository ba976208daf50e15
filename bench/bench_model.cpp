// SPDX-License-Identifier: GPL-3.0-or-later
// Loading, saving and the English-text check against their floors.
//
//   bench_model            all in-process figures
//   bench_model --peak F   (internal) loads F and prints the peak memory it took
#include "discs.h"
#include "harness.h"

#include "model/codepage932.h"
#include "model/titlefile.h"

#include <QCoreApplication>

using namespace sonolabe;
using namespace sonolabe::bench;
using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray largeFile(qsizetype size)
{
    const QByteArray one = writeTitleFile(fullDisc(), {true, true});
    QByteArray bytes;
    bytes.reserve(size + one.size());
    while (bytes.size() < size)
        bytes += one;
    bytes.truncate(size);
    return bytes;
}

int peakMode(const QString &path)
{
    Cp932Decoder::instance();
    const qint64 before = peakResidentBytes();
    const LoadResult result = readTitleFile(path);
    keep(result);
    std::printf("%lld\n", static_cast<long long>(peakResidentBytes() - before));
    return result.ok() ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArrayView(argv[1]) == "--peak")
        return peakMode(QString::fromLocal8Bit(argv[2]));

    const TitleStore disc = fullDisc();
    const QByteArray discFile = writeTitleFile(disc, {true, true});
    // Build the tables outside the timed code.
    Cp932Decoder::instance();
    Cp932Encoder::instance();

    {
        const double parse = medianNanoseconds([&] { keep(parseTitleFile(discFile)); });
        row("Load, real size (99 tracks, both)", micros(parse), u"-"_s, u"-"_s, "median < 100 µs",
            parse < 100'000);
    }
    {
        const qsizetype size = qsizetype(64) << 20;
        const QByteArray bytes = largeFile(size);
        const double parse = medianNanoseconds([&] { keep(parseTitleFile(bytes)); }, 7);
        const double decode =
            medianNanoseconds([&] { keep(Cp932Decoder::instance().decode(bytes)); }, 7);
        row("Load, large (64 MiB)", millis(parse), millis(decode) + u" decode"_s,
            ratioText(parse / decode), "ratio <= 1.6", parse / decode <= 1.6);

        const double peak = peakOfChild(bytes, {});
        row("Load, large: peak memory", QString::number(peak / double(1 << 20), 'f', 1) + u" MiB"_s,
            u"64.0 MiB file"_s, ratioText(peak / double(size)), "<= 3 x file size",
            peak >= 0 && peak <= 3.0 * double(size));
    }
    {
        const double write = medianNanoseconds([&] { keep(writeTitleFile(disc, {true, true})); });
        const Cp932Encoder &encoder = Cp932Encoder::instance();
        const double encode = medianNanoseconds([&] {
            // The same texts into one buffer sized as the writer sizes its own.
            QByteArray out(2 * discFile.size(), Qt::Uninitialized);
            char *dest = out.data();
            for (int language = 0; language < LanguageCount; ++language) {
                dest = encoder.encodeInto(disc.discNames[language], dest);
                dest = encoder.encodeInto(disc.artistNames[language], dest);
                for (int track = 1; track <= disc.trackCount; ++track)
                    dest = encoder.encodeInto(disc.trackTitles(language, track), dest);
            }
            out.truncate(dest - out.constData());
            keep(out);
        });
        row("Save (99 tracks to bytes)", micros(write), micros(encode) + u" encode"_s,
            ratioText(write / encode), "ratio <= 1.5", write / encode <= 1.5);
    }
    {
        qsizetype units = disc.discNames[English].size() + disc.artistNames[English].size();
        for (int track = 1; track <= MaxTracks; ++track)
            units += disc.trackTitles(English, track).size();
        const double check = medianNanoseconds([&] {
            int refused = int(!isEnglishText(disc.discNames[English])) +
                          int(!isEnglishText(disc.artistNames[English]));
            for (int track = 1; track <= MaxTracks; ++track)
                refused += int(!isEnglishText(disc.trackTitles(English, track)));
            keep(refused);
        });
        const double perSecond = double(units) / (check / 1e9);
        row("English check (all English texts)",
            QString::number(perSecond / 1e6, 'f', 0) + u" M units/s"_s, u"-"_s, u"-"_s,
            ">= 100 M units/s", perSecond >= 100e6);
    }
    return 0;
}
