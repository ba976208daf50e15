// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/disc/discblocks.h"

#include "model/codepage932.h"
#include "model/titlefile.h"

#include <algorithm>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

const QString &TextOf(const TitleStore &store, const TextRef &ref)
{
    switch (ref.slot) {
    case TextRef::DiscName:
        return store.discNames[ref.language];
    case TextRef::Artist:
        return store.artistNames[ref.language];
    case TextRef::TrackTitle:
        break;
    }
    return store.trackTitles(ref.language, ref.track);
}

bool IsError(Problem problem)
{
    return problem == Problem::EditorRefuses || problem == Problem::NotIso8859_1 ||
           problem == Problem::ControlCharacter;
}

namespace {

std::vector<TextRef> textsOf(const TitleStore &store, int language)
{
    std::vector<TextRef> refs{{language, TextRef::DiscName, 0}, {language, TextRef::Artist, 0}};
    for (int track = 1; track <= store.trackCount; ++track)
        refs.push_back({language, TextRef::TrackTitle, track});
    return refs;
}

bool isPrintableAscii(char16_t unit)
{
    return unit >= 0x20 && unit <= 0x7E;
}

bool isHalfWidthKatakana(char16_t unit)
{
    return unit >= 0xFF61 && unit <= 0xFF9F;
}

bool isControl(char16_t unit)
{
    return unit < 0x20 || unit == 0x7F;
}

using ProblemList = std::vector<TextProblem>;

// Notes the first character of a text with a problem and counts the others.
void note(ProblemList &list, const TextRef &ref, Problem problem, qsizetype index, QChar ch)
{
    NoteFirstOfKind(list, {ref, problem, index + 1, ch, 0}, &TextProblem::problem);
}

void findEnglishProblems(const TextRef &ref, QStringView text, ProblemList &list)
{
    if (!isEnglishText(text)) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!isEnglishUnit(text[i].unicode()))
                note(list, ref, Problem::EditorRefuses, i, text[i]);
        }
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isPrintableAscii(text[i].unicode()))
            note(list, ref, Problem::NotIso8859_1, i, text[i]);
    }
}

void findJapaneseProblems(const TextRef &ref, QStringView text, ProblemList &list)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (isControl(unit))
            note(list, ref, Problem::ControlCharacter, i, text[i]);
        else if (!encoder.canEncode(unit))
            note(list, ref, Problem::NotInCodePage, i, text[i]);
        else if (encoder.isDoubleByte(unit) && !IsJisX0208(encoder.code(unit)))
            note(list, ref, Problem::OutsideJisX0208, i, text[i]);
    }
}

// Full-width forms of printable ASCII. The straight quotes get the curly
// ones: the code page's full-width straight quotes are IBM extensions.
char16_t fullWidthAscii(char16_t unit)
{
    switch (unit) {
    case u' ':
        return u'\u3000';
    case u'"':
        return u'\u201D';
    case u'\'':
        return u'\u2019';
    default:
        return static_cast<char16_t>(unit - 0x20 + 0xFF00);
    }
}

} // namespace

bool LanguageHasText(const TitleStore &store, int language)
{
    if (!store.discNames[language].isEmpty() || !store.artistNames[language].isEmpty())
        return true;
    for (int track = 1; track <= store.trackCount; ++track) {
        if (!store.trackTitles(language, track).isEmpty())
            return true;
    }
    return false;
}

std::vector<TextProblem> FindProblems(const TitleStore &store, int language)
{
    ProblemList problems;
    for (const TextRef &ref : textsOf(store, language)) {
        if (language == English)
            findEnglishProblems(ref, TextOf(store, ref), problems);
        else
            findJapaneseProblems(ref, TextOf(store, ref), problems);
    }
    return problems;
}

QString DoubleByteForm(QStringView text)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t unit = text[i].unicode();
        if (isPrintableAscii(unit)) {
            out += QChar(fullWidthAscii(unit));
            ++i;
        } else if (isHalfWidthKatakana(unit)) {
            // Compatibility composition makes the run full-width and joins a
            // kana with the sound mark that follows it.
            qsizetype end = i;
            while (end < text.size() && isHalfWidthKatakana(text[end].unicode()))
                ++end;
            const QString run =
                text.sliced(i, end - i).toString().normalized(QString::NormalizationForm_KC);
            for (const QChar kana : run) {
                // ﾜﾞ composes to ヷ, which the code page lacks: kana and mark.
                if (encoder.canEncode(kana.unicode()))
                    out += kana;
                else
                    out += QString(kana).normalized(QString::NormalizationForm_D);
            }
            i = end;
        } else if (unit == u'\u00A5' || unit == u'\u203E') {
            // Yen sign and overline: the code page writes them as single
            // bytes 0x5C and 0x7E, but it has full-width forms too.
            out += QChar(unit == u'\u00A5' ? u'\uFFE5' : u'\uFFE3');
            ++i;
        } else {
            out += text[i];
            ++i;
        }
    }
    // Combining sound marks (left over from a run, or in the text already)
    // have no code in the code page; the spacing marks have.
    out.replace(QChar(u'\u3099'), QChar(u'\u309B'));
    out.replace(QChar(u'\u309A'), QChar(u'\u309C'));
    return out;
}

QByteArray JapaneseBlockBytes(QStringView text)
{
    return Cp932WithFullWidthMarks(DoubleByteForm(text), true);
}

QByteArray Cp932WithFullWidthMarks(QStringView text, bool twoBytesEach)
{
    const Cp932Encoder &encoder = Cp932Encoder::instance();
    QByteArray bytes;
    bytes.reserve(2 * text.size());
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (!encoder.canEncode(unit) || (twoBytesEach && !encoder.isDoubleByte(unit)))
            bytes += "\x81\x48";
        else
            encoder.appendEncoded(QStringView(&ch, 1), bytes);
    }
    return bytes;
}

QByteArray EnglishBlockBytes(QStringView text)
{
    return text.toLatin1();
}

bool IsJisX0208(quint16 code)
{
    const unsigned lead = code >> 8;
    return (lead >= 0x81 && lead <= 0x84) || (lead >= 0x88 && lead <= 0x9F) ||
           (lead >= 0xE0 && lead <= 0xEA);
}

std::vector<DiscBlock> DiscBlocks(const TitleStore &store, LanguageChoice choice)
{
    std::vector<DiscBlock> blocks;
    for (const int language : {English, Japanese}) {
        if (!choice.includes(language) || !LanguageHasText(store, language))
            continue;
        const auto encode = [language](QStringView text) {
            return language == English ? EnglishBlockBytes(text) : JapaneseBlockBytes(text);
        };
        DiscBlock block;
        block.language = language;
        PackBlock &pack = block.pack;
        pack.characterCode = language == English ? CharacterCodeIso8859_1 : CharacterCodeMsJis;
        pack.languageCode = LanguageCodeOf(language);
        pack.doubleByte = language == Japanese;
        pack.firstTrack = 1;
        pack.lastTrack = store.trackCount;

        PackTexts titles{PackTypeTitle, {encode(store.discNames[language])}};
        for (int track = 1; track <= store.trackCount; ++track)
            titles.entries.push_back(encode(store.trackTitles(language, track)));
        block.hasTitles = std::any_of(titles.entries.begin(), titles.entries.end(),
                                      [](const QByteArray &entry) { return !entry.isEmpty(); });
        if (block.hasTitles)
            pack.types.push_back(std::move(titles));

        // The title file has one artist per disc; every track gets an empty
        // performer, which the format asks for once the type is used.
        block.hasPerformers = !store.artistNames[language].isEmpty();
        if (block.hasPerformers) {
            PackTexts performers{PackTypePerformer, {encode(store.artistNames[language])}};
            performers.entries.resize(store.trackCount + 1);
            pack.types.push_back(std::move(performers));
        }
        blocks.push_back(std::move(block));
    }
    return blocks;
}

std::vector<PackBlock> PackBlocksOf(const std::vector<DiscBlock> &blocks)
{
    std::vector<PackBlock> packs;
    for (const DiscBlock &block : blocks)
        packs.push_back(block.pack);
    return packs;
}

} // namespace sonolabe::cdtext
