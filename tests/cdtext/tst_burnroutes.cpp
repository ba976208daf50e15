// SPDX-License-Identifier: GPL-3.0-or-later
// Every road from a title file to a disc, judged by the burner's own code:
// libburn (the library cdrskin burns with) builds the lead-in packs from
// what sonolabe-cdtext wrote (burn_session_input_sheet_v07t,
// burn_session_by_cue_file with its CDTEXTFILE packs, then
// burn_cdtext_from_session), and a player-side decoder here reads them by
// each block's character code from its size information. A road either
// gives exactly the title file's texts (Japanese in the full-width forms of
// an MS-JIS block) or is refused with exit 1, naming the road that works.
#include "cdtexttest.h"
#include "common/files.h"

#include "cdtext/command.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <libburn/libburn.h>

#include <cstdlib>
#include <map>

using namespace sonolabe;
using namespace sonolabe::cdtext;
using namespace sonolabe::cdtext::test;
using namespace burn; // libburn.h declares its C functions in it for C++

namespace {

// The texts of one language block as a player shows them.
struct ShownBlock
{
    int language = -1;  // English, Japanese, or -1 for another code
    QStringList titles; // the disc's, then one per track
    QString artist;
    bool operator==(const ShownBlock &) const = default;
};

// Reads the texts of one pack type: NUL-ended texts (two NULs, read two
// bytes at a time, in an MS-JIS block); a text that is only a Tab (two in
// MS-JIS) repeats the one before.
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
        QString text =
            msJis ? Cp932Decoder::instance().decode(current) : QString::fromLatin1(current);
        if (current == QByteArray(step, '\t') && !texts.isEmpty())
            text = texts.last();
        texts << text;
        current.clear();
    }
    while (texts.size() < count)
        texts << QString();
    return texts;
}

// A player's reading of the packs: per block, the size information's
// character code (0x80 MS-JIS, else one byte a character), track range and
// language code, and the texts of types 0x80 (titles) and 0x81 (performers).
std::vector<ShownBlock> playerReads(QByteArrayView packs)
{
    std::map<int, std::map<int, QByteArray>> texts; // block -> type -> bytes
    std::map<int, QByteArray> sizeInfo;             // block -> its 36 bytes
    for (qsizetype at = 0; at + PackSize <= packs.size(); at += PackSize) {
        const auto type = static_cast<quint8>(packs[at]);
        const int block = (static_cast<quint8>(packs[at + 3]) >> 4) & 7;
        const QByteArray text = packs.sliced(at + 4, PackTextSize).toByteArray();
        (type == PackTypeSizeInfo ? sizeInfo[block] : texts[block][type]) += text;
    }
    std::vector<ShownBlock> shown;
    for (const auto &[block, info] : sizeInfo) {
        if (info.size() < 36)
            continue;
        const bool msJis = static_cast<quint8>(info[0]) == CharacterCodeMsJis;
        const int count = static_cast<quint8>(info[2]) - static_cast<quint8>(info[1]) + 2;
        const auto code = static_cast<quint8>(info[24 + 4 + block]);
        ShownBlock one;
        one.language = code == LanguageCodeEnglish    ? English
                       : code == LanguageCodeJapanese ? Japanese
                                                      : -1;
        one.titles = splitTexts(texts[block][PackTypeTitle], msJis, count);
        one.artist = splitTexts(texts[block][PackTypePerformer], msJis, count).value(0);
        shown.push_back(one);
    }
    return shown;
}

// A title file of tracks texts per language: disc name, artist, titles.
struct Disc
{
    int tracks = 1;
    QStringList texts[LanguageCount]; // empty: no section

    // The file as the editor saves it (code page 932) or as a text editor
    // saves the same lines (UTF-8).
    QByteArray file(bool utf8) const
    {
        QString lines;
        for (const int language : {English, Japanese}) {
            const QStringList &t = texts[language];
            if (t.isEmpty())
                continue;
            lines += (language == English ? u"en\r\n0\t"_s : u"ja\r\n0\t"_s) + t[0] + u'\t' + t[1] +
                     u"\r\n"_s;
            for (int track = 1; track <= tracks; ++track)
                lines += QString::number(track) + u'\t' + t.value(track + 1) + u"\r\n"_s;
            lines += u"\r\n"_s;
        }
        return utf8 ? lines.toUtf8() : Cp932Encoder::instance().encode(lines);
    }

    // What a player should show for the language.
    ShownBlock block(int language, const QStringList &shownTexts) const
    {
        ShownBlock b{language, {shownTexts.value(0)}, shownTexts.value(1)};
        for (int track = 1; track <= tracks; ++track)
            b.titles << shownTexts.value(track + 1);
        return b;
    }
};

} // namespace

Q_DECLARE_METATYPE(Disc)

class TestBurnRoutes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void routes_data();
    void routes();

private:
    struct Outcome
    {
        int exitCode = 0;
        QString err;
        std::vector<ShownBlock> shown;
    };
    int cdtext(const QStringList &arguments, QString &err) const;
    Outcome burn(const QString &route, int tracks);
    std::optional<QTemporaryDir> m_dir;
    QString m_home;
};

void TestBurnRoutes::initTestCase()
{
    QVERIFY(burn_initialize() > 0);
    // libburn's own messages go nowhere; what it builds is judged here.
    burn_msgs_set_severities(const_cast<char *>("NEVER"), const_cast<char *>("NEVER"),
                             const_cast<char *>("tst_burnroutes: "));
    m_home = QDir::currentPath();
}

void TestBurnRoutes::cleanupTestCase()
{
    QDir::setCurrent(m_home);
    burn_finish();
}

int TestBurnRoutes::cdtext(const QStringList &arguments, QString &err) const
{
    QBuffer out;
    QBuffer errors;
    out.open(QIODevice::WriteOnly);
    errors.open(QIODevice::WriteOnly);
    const int code = RunCdTextCommand(arguments, out, errors, UiLanguage::English);
    err = QString::fromUtf8(errors.data());
    return code;
}

// Writes what the road needs from disc.txt in the current folder, and has
// libburn build the packs a burn would write.
TestBurnRoutes::Outcome TestBurnRoutes::burn(const QString &route, int tracks)
{
    Outcome outcome;
    unsigned char *packs = nullptr;
    int count = 0;
    if (route == u"packs") {
        outcome.exitCode = cdtext(
            {u"packs"_s, u"disc.txt"_s, u"-o"_s, u"out.cdt"_s, u"--tab-repeat"_s}, outcome.err);
        QFile file(u"out.cdt"_s);
        if (outcome.exitCode == ExitDone && file.open(QIODevice::ReadOnly))
            outcome.shown = playerReads(file.readAll().mid(4));
        return outcome;
    }
    burn_session *session = burn_session_create();
    if (route == u"v07t") {
        outcome.exitCode = cdtext({u"v07t"_s, u"disc.txt"_s, u"-o"_s, u"out.v07t"_s}, outcome.err);
        if (outcome.exitCode == ExitDone) {
            for (int t = 0; t < tracks; ++t) {
                burn_track *track = burn_track_create();
                burn_session_add_track(session, track, BURN_POS_END);
                burn_track_free(track);
            }
            QByteArray path("out.v07t");
            if (burn_session_input_sheet_v07t(session, path.data(), 0, 1) <= 0)
                outcome.exitCode = -1;
        }
    } else {
        outcome.exitCode = cdtext({u"cue"_s, u"disc.txt"_s, u"--into"_s, u"in.cue"_s, u"--lang"_s,
                                   route.section(u' ', 1), u"-o"_s, u"out.cue"_s},
                                  outcome.err);
        if (outcome.exitCode == ExitDone) {
            QByteArray path("out.cue");
            if (burn_session_by_cue_file(session, path.data(), 0, nullptr, &packs, &count, 0) <= 0)
                outcome.exitCode = -1;
        }
    }
    // Packs from CDTEXTFILE are what libburn burns; else those it builds.
    if (outcome.exitCode == ExitDone && !packs &&
        burn_cdtext_from_session(session, &packs, &count, 0) <= 0)
        outcome.exitCode = -1;
    if (packs)
        outcome.shown = playerReads(QByteArrayView(packs, qsizetype(count) * PackSize));
    std::free(packs);
    burn_session_free(session);
    return outcome;
}

void TestBurnRoutes::routes_data()
{
    QTest::addColumn<Disc>("disc");
    // What a player shows of the Japanese texts, when it differs from the file.
    QTest::addColumn<QStringList>("japaneseShown");

    // Titles stem 1 to stem tracks, with full-width digits when wide.
    const auto titles = [](int tracks, const QString &stem, bool wide) {
        QStringList list;
        for (int t = 1; t <= tracks; ++t) {
            QString number = QString::number(t);
            for (QChar &digit : number)
                digit = wide ? QChar(digit.unicode() - u'0' + u'０') : digit;
            list << stem + number;
        }
        return list;
    };
    const QStringList none;
    Disc english{3, {{}, {u"Best"_s, u"Band"_s, u"Intro"_s, u"Song"_s, u"Outro"_s}}};
    Disc japanese{3, {{u"ベスト"_s, u"楽団"_s, u"序曲"_s, u"表紙"_s, u"能力"_s}, {}}};
    Disc both{3, {japanese.texts[Japanese], english.texts[English]}};
    Disc one{1, {{u"一枚"_s, QString(), u"ソ"_s}, {u"One"_s, QString(), u"Only"_s}}};
    Disc many{99,
              {QStringList{u"九十九"_s, u"楽団"_s} + titles(99, u"曲"_s, true),
               QStringList{u"Ninety-nine"_s, u"Band"_s} + titles(99, u"T"_s, false)}};
    Disc gaps{5,
              {{u"空き"_s, u"楽団"_s, u"一"_s, QString(), QString(), u"四"_s, QString()},
               {u"Gaps"_s, QString(), u"One"_s, QString(), QString(), u"Four"_s, QString()}}};
    Disc equal{4,
               {{u"同じ"_s, u"楽団"_s, u"同じ曲名"_s, u"同じ曲名"_s, u"同じ曲名"_s, u"別"_s},
                {u"Same"_s, u"Band"_s, u"Same"_s, u"Same"_s, u"Same"_s, u"Other"_s}}};
    // Without Tab repeats 339 packs, over the budget; libburn repeats them.
    Disc repeated{99,
                  {{},
                   QStringList{u"Same"_s, u"Band"_s} +
                       QStringList(99, u"A title of forty characters, repeated..."_s)}};
    // ASCII and half-width katakana, written full-width; symbols, kana,
    // Greek and Cyrillic, kanji of both JIS levels, the NEC row 13, the
    // NEC-selected IBM rows and the IBM rows.
    Disc ranges{2,
                {{u"Ab 1ｶﾞｲﾄﾞ"_s, u"〒ぁゞ・ヴΩЖ"_s, u"亜腕弌熙"_s, u"①Ⅹ㈱纊ⅰ髙"_s},
                 {u"Ranges"_s, u"Band"_s, u"a~"_s, u"Z!"_s}}};
    const QStringList rangesShown{u"Ａｂ　１ガイド"_s, u"〒ぁゞ・ヴΩЖ"_s, u"亜腕弌熙"_s,
                                  u"①Ⅹ㈱纊ⅰ髙"_s};
    const std::pair<const char *, std::pair<Disc, QStringList>> rows[] = {
        {"English only", {english, none}},
        {"Japanese only", {japanese, none}},
        {"both", {both, none}},
        {"1 track", {one, none}},
        {"99 tracks", {many, none}},
        {"empty titles between", {gaps, none}},
        {"equal neighbours", {equal, none}},
        {"99 equal long titles", {repeated, none}},
        {"code page 932 ranges", {ranges, rangesShown}},
    };
    for (const auto &[name, row] : rows)
        QTest::newRow(name) << row.first << row.second;
}

void TestBurnRoutes::routes()
{
    QFETCH(Disc, disc);
    QFETCH(QStringList, japaneseShown);
    const bool hasEnglish = !disc.texts[English].isEmpty();
    const bool hasJapanese = !disc.texts[Japanese].isEmpty();
    const ShownBlock englishBlock = disc.block(English, disc.texts[English]);
    const ShownBlock japaneseBlock =
        disc.block(Japanese, japaneseShown.isEmpty() ? disc.texts[Japanese] : japaneseShown);

    for (const bool utf8 : {false, true}) {
        m_dir.emplace();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        QVERIFY(sonolabe::test::writeFile(u"disc.txt"_s, disc.file(utf8)));
        // cdrskin cuefile=: the sheet's FILE and CDTEXTFILE are looked for
        // in the folder it runs in. Four seconds of a sparse file a track.
        QByteArray sheet = "FILE \"audio.bin\" BINARY\n";
        for (int t = 1; t <= disc.tracks; ++t)
            sheet += "  TRACK " + QByteArray::number(t).rightJustified(2, '0') +
                     " AUDIO\n    INDEX 01 " +
                     QByteArray::number(4 * (t - 1) / 60).rightJustified(2, '0') + ':' +
                     QByteArray::number(4 * (t - 1) % 60).rightJustified(2, '0') + ":00\n";
        QFile audio(u"audio.bin"_s);
        QVERIFY(audio.open(QIODevice::WriteOnly) && audio.resize(disc.tracks * 4 * 176400));
        audio.close();
        QVERIFY(sonolabe::test::writeFile(u"in.cue"_s, sheet));
        for (const QString &route : {u"packs"_s, u"v07t"_s, u"cue en"_s, u"cue ja"_s}) {
            const bool english = route != u"cue ja";
            const bool japanese = route != u"cue en";
            if ((english && !hasEnglish && !japanese) || (japanese && !hasJapanese && !english))
                continue;
            const QString where = route + (utf8 ? u", UTF-8 file"_s : u", code page 932 file"_s);
            const Outcome outcome = burn(route, disc.tracks);
            // Refused: with the reason and the road that works, which the
            // pack file always is.
            if (outcome.exitCode == ExitRefused && route != u"packs") {
                QVERIFY2(outcome.err.contains(u"use packs"_s), qPrintable(where + outcome.err));
                // English texts of the table burn on every road.
                QVERIFY2(hasJapanese && route != u"cue en", qPrintable(where + outcome.err));
                continue;
            }
            QVERIFY2(outcome.exitCode == ExitDone, qPrintable(where + outcome.err));
            std::vector<ShownBlock> expected;
            if (english && hasEnglish)
                expected.push_back(englishBlock);
            if (japanese && hasJapanese)
                expected.push_back(japaneseBlock);
            const auto shown = [](const std::vector<ShownBlock> &blocks) {
                QStringList lines;
                for (const ShownBlock &b : blocks)
                    lines << QString::number(b.language) + u": "_s + b.artist + u" / "_s +
                                 b.titles.join(u'|');
                return lines.join(u'\n');
            };
            QVERIFY2(outcome.shown == expected,
                     qPrintable(where + u"\nshown:\n"_s + shown(outcome.shown) +
                                u"\nexpected:\n"_s + shown(expected)));
        }
    }
}

QTEST_GUILESS_MAIN(TestBurnRoutes)
#include "tst_burnroutes.moc"
