// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a disc's texts from a folder of 99 tagged FLAC files, against the
// floor of TagLib reading the same files' tags alone.
#include "harness.h"

#include "cdtext/audio/audiotags.h"
#include "cdtext/audio/silentaudio.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <array>
#include <vector>

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

using namespace sonolabe;
using namespace sonolabe::bench;
using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    // Names in an order their track numbers do not follow, as a folder of
    // downloads has them; Japanese texts of real length.
    QStringList files;
    for (int i = 1; i <= MaxTracks; ++i) {
        const int number = (i * 37) % MaxTracks + 1;
        const QString path = dir.filePath(u"%1 曲.flac"_s.arg(i));
        const test::AudioTags tags{u"夏の日の思い出 第%1番 (リマスター)"_s.arg(number),
                                   u"山田花子とオーケストラ"_s,
                                   u"山田花子"_s,
                                   u"夏の日のベスト・アルバム"_s,
                                   number,
                                   1};
        if (!test::writeAudioFile(path, test::AudioFormat::Flac, tags))
            return 1;
        files.append(path);
    }

    const auto readFloor = [&] {
        for (const QString &file : files) {
            const QByteArray name = QFile::encodeName(file);
            const TagLib::FileRef ref(name.constData(), false);
            keep(ref.file()->properties());
        }
    };
    const auto readFolder = [&] {
        const cdtext::AudioTexts texts = cdtext::readAudioTags({dir.path()});
        if (texts.titles.size() != std::size_t(MaxTracks) || !texts.notes.empty())
            std::abort(); // measuring anything but a full, clean read is no figure
        keep(cdtext::audioSourceTexts(texts));
    };
    // Both are mostly system calls, which other work on the machine slows:
    // taken in alternating rounds, so that both see the same load, and the
    // round with the median ratio is reported.
    std::vector<std::array<double, 2>> rounds;
    for (int round = 0; round < 9; ++round)
        rounds.push_back({medianNanoseconds(readFolder, 7), medianNanoseconds(readFloor, 7)});
    std::sort(rounds.begin(), rounds.end(),
              [](const auto &a, const auto &b) { return a[0] / a[1] < b[0] / b[1]; });
    const auto [figure, floor] = rounds[rounds.size() / 2];
    const double ratio = figure / floor;
    row("Audio tags: a folder of 99 FLAC files to the texts", millis(figure),
        millis(floor) + u" TagLib alone"_s, ratioText(ratio), "ratio ≤ 1.2", ratio <= 1.2);
    return 0;
}
