// SPDX-License-Identifier: GPL-3.0-or-later
// The memory a hostile 16 MiB TOC file takes beside its own bytes, read by
// the import and by the rewrite: one of one-byte tokens only (refused, too
// many tokens), and one of as many items as the token limit lets through
// (131,000), padded with a comment.
//
//   bench_toc                    the figures
//   bench_toc --peak import|toc F  (internal) reads F and prints the peak memory it took
#include "harness.h"

#include "cdtext/disc/discblocks.h"
#include "cdtext/import/importsource.h"
#include "cdtext/toc/tocfile.h"

#include <QCoreApplication>

using namespace sonolabe;
using namespace sonolabe::bench;
using namespace sonolabe::cdtext;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype FileSize = qsizetype(16) << 20;

int peakMode(QByteArrayView how, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray toc = file.readAll();
    const qint64 before = peakResidentBytes();
    if (how == "import") {
        keep(ImportTexts(toc, ImportKind::Toc, {}));
    } else {
        const TitleStore store;
        keep(RewriteTocFile(toc, store, DiscBlocks(store, {})));
    }
    std::printf("%lld\n", static_cast<long long>(peakResidentBytes() - before));
    return 0;
}

void measure(const char *what, const QByteArray &toc, const QString &how)
{
    const double peak = peakOfChild(toc, {how});
    row(what, QString::number(peak / double(1 << 20), 'f', 1) + u" MiB"_s, u"16.0 MiB file"_s,
        ratioText(peak / double(toc.size())), "<= 3 x file size",
        peak >= 0 && peak <= 3.0 * double(toc.size()));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArrayView(argv[1]) == "--peak")
        return peakMode(argv[2], QString::fromLocal8Bit(argv[3]));

    const QByteArray signs(FileSize, ':');
    QByteArray items = "CD_DA\nCD_TEXT { LANGUAGE 0 {\n";
    while (items.size() < 7 * (MaxTocTokens / 2 - 8))
        items += "TITLE\"\"";
    items += "} }\n//";
    items += QByteArray(FileSize - items.size(), 'x');
    measure("TOC import, 16 MiB of signs: peak memory", signs, u"import"_s);
    measure("TOC rewrite, 16 MiB of signs: peak memory", signs, u"toc"_s);
    measure("TOC import, 16 MiB, 131,000 items: peak memory", items, u"import"_s);
    measure("TOC rewrite, 16 MiB, 131,000 items: peak memory", items, u"toc"_s);
}
