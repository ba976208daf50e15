// SPDX-License-Identifier: GPL-3.0-or-later
// Every road from a title file to a disc, judged by the burner's own code:
// libburn (the library cdrskin burns with) loads or builds the lead-in packs
// from what sonolabe-cdtext wrote (burn_cdtext_from_packfile,
// burn_session_input_sheet_v07t, burn_session_by_cue_file with its
// CDTEXTFILE packs, then burn_cdtext_from_session), and a player-side
// decoder here reads them by
// each block's character code from its size information. A road either
// gives exactly the title file's texts (Japanese in the full-width forms of
// an MS-JIS block) or is refused with exit 1, naming the road that works.
#include "cdtexttest.h"
#include "common/files.h"

#include "cdtext/cli/command.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <libburn/libburn.h>

#include <cstdlib>
#include <map>

using namespace burn; // libburn.h declares its C functions in it for C++

namespace {

// One block as a player shows it: its language (English, Japanese, -1 for
// another code), the disc's performer, the disc's title and one per track.
QString shown(int language, const QString &artist, const QStringList &titles)
{
    return u"%1: %2 / %3"_s.arg(language).arg(artist, titles.join(u'|'));
}

// NUL-ended texts (two NULs, read two bytes at a time, in an MS-JIS block);
// a text that is only a Tab (two in MS-JIS) repeats the one before.
QStringList splitTexts(const QByteArray &bytes, bool msJis, int count)
{
    QStringList texts;
    QByteArray current;
    const int step = msJis ? 2 : 1;
    for (qsizetype at = 0; at + step <= bytes.size() && texts.size() < count; at += step) {
        const QByteArray unit = bytes.mid(at, step);
        if (unit != QByteArray(step, '\0')) {
            current += unit;
            continue;
        }
        const bool repeat = current == QByteArray(step, '\t') && !texts.isEmpty();
        texts << (repeat  ? texts.last()
                  : msJis ? Cp932Decoder::instance().decode(current)
                          : QString::fromLatin1(current));
        current.clear();
    }
    while (texts.size() < count)
        texts << QString();
    return texts;
}

// A player's reading: per block, the size information's character code
// (0x80 MS-JIS, else one byte a character), track range and language code,
// and the texts of types 0x80 (titles) and 0x81 (performers).
QStringList playerReads(QByteArrayView packs)
{
    std::map<int, std::map<int, QByteArray>> texts; // block -> type -> bytes
    for (qsizetype at = 0; at + PackSize <= packs.size(); at += PackSize) {
        const int block = (static_cast<quint8>(packs[at + 3]) >> 4) & 7;
        texts[block][static_cast<quint8>(packs[at])] += packs.sliced(at + 4, PackTextSize);
    }
    QStringList blocks;
    for (auto &[block, types] : texts) {
        const QByteArray info = types[PackTypeSizeInfo];
        if (info.size() < 36)
            continue;
        const bool msJis = static_cast<quint8>(info[0]) == CharacterCodeMsJis;
        const int count = static_cast<quint8>(info[2]) - static_cast<quint8>(info[1]) + 2;
        const auto code = static_cast<quint8>(info[28 + block]);
        blocks << shown(code == LanguageCodeEnglish    ? English
                        : code == LanguageCodeJapanese ? Japanese
                                                       : -1,
                        splitTexts(types[PackTypePerformer], msJis, count).value(0),
                        splitTexts(types[PackTypeTitle], msJis, count));
    }
    return blocks;
}

// What a player should show of the language's texts.
QString expectedBlock(const TitleStore &store, int language)
{
    QStringList titles{store.discNames[language]};
    for (int t = 1; t <= store.trackCount; ++t)
        titles << store.trackTitles(language, t);
    return shown(language, store.artistNames[language], titles);
}

struct Outcome
{
    int exitCode = 0; // -1: libburn refused what was written
    QString err;
    QStringList shown;
};

// Writes what the road needs from disc.txt and in.cue in the current
// folder, and has libburn build the packs that a burn would write.
Outcome burnRoad(const QString &road, int tracks)
{
    Outcome outcome;
    const QString output = u"out."_s + road.section(u' ', 0, 0);
    QStringList arguments{road.section(u' ', 0, 0), u"disc.txt"_s, u"-o"_s, output};
    if (road.startsWith(u"cue"))
        arguments << u"--into"_s << u"in.cue"_s << u"--lang"_s << road.section(u' ', 1);
    if (road == u"packs")
        arguments << u"--tab-repeat"_s;
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    outcome.exitCode = RunCdTextCommand(arguments, out, err);
    outcome.err = QString::fromUtf8(err.data());
    if (outcome.exitCode != ExitDone)
        return outcome;
    burn_session *session = burn_session_create();
    QByteArray path = output.toUtf8();
    unsigned char *packs = nullptr;
    int count = 0;
    bool read = false;
    if (road == u"packs") {
        // cdrskin textfile=: libburn takes the packs after the header.
        read = burn_cdtext_from_packfile(path.data(), &packs, &count, 0) > 0;
    } else if (road == u"v07t") {
        // cdrskin input_sheet_v07t=: the tracks come first, the sheet's
        // blocks are read into them.
        for (int t = 0; t < tracks; ++t) {
            burn_track *track = burn_track_create();
            burn_session_add_track(session, track, BURN_POS_END);
            burn_track_free(track);
        }
        read = burn_session_input_sheet_v07t(session, path.data(), 0, 1) > 0;
    } else {
        read = burn_session_by_cue_file(session, path.data(), 0, nullptr, &packs, &count, 0) > 0;
    }
    // The packs of a CDTEXTFILE are what libburn burns; else those it builds.
    if (!read || (!packs && burn_cdtext_from_session(session, &packs, &count, 0) <= 0))
        outcome.exitCode = -1;
    if (packs)
        outcome.shown = playerReads(QByteArrayView(packs, qsizetype(count) * PackSize));
    std::free(packs);
    burn_session_free(session);
    return outcome;
}

} // namespace

class TestBurnRoutes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(burn_initialize() > 0);
        // libburn's own messages go nowhere; what it builds is judged here.
        burn_msgs_set_severities(const_cast<char *>("NEVER"), const_cast<char *>("NEVER"),
                                 const_cast<char *>("tst_burnroutes: "));
        m_home = QDir::currentPath();
    }

    void cleanupTestCase()
    {
        QDir::setCurrent(m_home);
        burn_finish();
    }

    void routes_data()
    {
        QTest::addColumn<TitleStore>("disc");
        // What a player shows of the Japanese texts, when it differs from them.
        QTest::addColumn<QStringList>("japaneseShown");

        // Titles stem 1 to stem tracks, with full-width digits when wide.
        const auto titles = [](int tracks, const QString &stem, bool wide) {
            QStringList list;
            for (int t = 1; t <= tracks; ++t)
                list << stem + (wide ? DoubleByteForm(QString::number(t)) : QString::number(t));
            return list;
        };
        const QStringList none;
        const QStringList japanese{u"ベスト"_s, u"楽団"_s, u"序曲"_s, u"表紙"_s, u"能力"_s};
        const QStringList english{u"Best"_s, u"Band"_s, u"Intro"_s, u"Song"_s, u"Outro"_s};
        // ASCII and half-width katakana, written full-width; symbols, kana,
        // Greek and Cyrillic, kanji of both JIS levels, the NEC row 13, the
        // NEC-selected IBM rows and the IBM rows.
        const QStringList ranges{u"Ab 1ｶﾞｲﾄﾞ"_s, u"〒ぁゞ・ヴΩЖ"_s, u"亜腕弌熙"_s, u"①Ⅹ㈱纊ⅰ髙"_s};
        // clang-format off
        QTest::newRow("English only") << makeDisc(3, {}, english) << none;
        QTest::newRow("Japanese only") << makeDisc(3, japanese, {}) << none;
        QTest::newRow("both") << makeDisc(3, japanese, english) << none;
        QTest::newRow("1 track") << makeDisc(1, {u"一枚"_s, {}, u"ソ"_s}, {u"One"_s, {}, u"Only"_s}) << none;
        QTest::newRow("99 tracks") << makeDisc(99, QStringList{u"九十九"_s, u"楽団"_s} + titles(99, u"曲"_s, true),
                                               QStringList{u"Ninety-nine"_s, u"Band"_s} + titles(99, u"T"_s, false)) << none;
        QTest::newRow("empty titles between") << makeDisc(5, {u"空き"_s, u"楽団"_s, u"一"_s, {}, {}, u"四"_s},
                                                          {u"Gaps"_s, {}, u"One"_s, {}, {}, u"Four"_s}) << none;
        QTest::newRow("equal neighbours") << makeDisc(4, {u"同じ"_s, u"楽団"_s, u"同じ曲名"_s, u"同じ曲名"_s, u"同じ曲名"_s, u"別"_s},
                                                      {u"Same"_s, u"Band"_s, u"Same"_s, u"Same"_s, u"Same"_s, u"Other"_s}) << none;
        // Without Tab repeats 339 packs, over the budget; libburn repeats them.
        QTest::newRow("99 equal long titles") << makeDisc(99, {}, QStringList{u"Same"_s, u"Band"_s} +
                                                          QStringList(99, u"A title of forty characters, repeated..."_s)) << none;
        QTest::newRow("code page 932 ranges") << makeDisc(2, ranges, {u"Ranges"_s, u"Band"_s, u"a~"_s, u"Z!"_s})
                                              << QStringList{u"Ａｂ　１ガイド"_s, ranges[1], ranges[2], ranges[3]};
        // clang-format on
    }

    void routes()
    {
        QFETCH(TitleStore, disc);
        QFETCH(QStringList, japaneseShown);
        const bool hasEnglish = LanguageHasText(disc, English);
        const bool hasJapanese = LanguageHasText(disc, Japanese);
        const QString japaneseBlock = expectedBlock(
            japaneseShown.isEmpty() ? disc : makeDisc(disc.trackCount, japaneseShown, {}),
            Japanese);
        // The title file as the editor saves it (a UTF-8 one reads the same:
        // the command reads both with the editor's reader).
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        QVERIFY(sonolabe::test::writeFile(u"disc.txt"_s,
                                          writeTitleFile(disc, {hasEnglish, hasJapanese})));
        // cdrskin cuefile= looks for the sheet's FILE and CDTEXTFILE in the
        // folder it runs in. Four seconds of a sparse file a track.
        QByteArray sheet = "FILE \"audio.bin\" BINARY\n";
        for (int t = 1; t <= disc.trackCount; ++t)
            sheet += QString::asprintf("  TRACK %02d AUDIO\n    INDEX 01 %02d:%02d:00\n", t,
                                       4 * (t - 1) / 60, 4 * (t - 1) % 60)
                         .toLatin1();
        QVERIFY(sonolabe::test::writeFile(u"audio.bin"_s, {}) &&
                QFile::resize(u"audio.bin"_s, disc.trackCount * 4 * 176400));
        QVERIFY(sonolabe::test::writeFile(u"in.cue"_s, sheet));

        for (const QString &road : {u"packs"_s, u"v07t"_s, u"cue en"_s, u"cue ja"_s}) {
            const bool english = road != u"cue ja" && hasEnglish;
            const bool japanese = road != u"cue en" && hasJapanese;
            if (!english && !japanese)
                continue;
            const Outcome outcome = burnRoad(road, disc.trackCount);
            const QString where = road + u": "_s + outcome.err;
            // Refused: with the reason and the road that works, which the pack
            // file always is. English texts burn on every road.
            if (outcome.exitCode == ExitRefused && road != u"packs") {
                QVERIFY2(outcome.err.contains(u"use packs"_s), qPrintable(where));
                QVERIFY2(japanese && road != u"cue en", qPrintable(where));
                continue;
            }
            QVERIFY2(outcome.exitCode == ExitDone, qPrintable(where));
            QStringList expected;
            if (english)
                expected << expectedBlock(disc, English);
            if (japanese)
                expected << japaneseBlock;
            QVERIFY2(outcome.shown == expected,
                     qPrintable(where + outcome.shown.join(u'\n').left(600)));
        }
    }

private:
    QString m_home;
};

QTEST_GUILESS_MAIN(TestBurnRoutes)
#include "tst_burnroutes.moc"
