// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdtext/disc/burnroutes.h"

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>

namespace sonolabe::cdtext {

using namespace Qt::Literals::StringLiterals;

std::optional<CdrdaoVersion> CdrdaoVersion::parse(QStringView text)
{
    static const QRegularExpression form(u"^(\\d{1,3})\\.(\\d{1,3})(?:\\.(\\d{1,3}))?$"_s);
    const QRegularExpressionMatch match = form.match(text.toString());
    if (!match.hasMatch())
        return std::nullopt;
    return CdrdaoVersion{match.capturedView(1).toInt(), match.capturedView(2).toInt(),
                         match.capturedView(3).toInt()};
}

std::optional<CdrdaoVersion> CdrdaoVersion::installed()
{
    // Without arguments cdrdao prints "Cdrdao version 1.2.4 - ..." and its
    // usage, and exits.
    QProcess cdrdao;
    cdrdao.setProcessChannelMode(QProcess::MergedChannels);
    cdrdao.start(u"cdrdao"_s, {});
    if (!cdrdao.waitForFinished(5000)) {
        cdrdao.kill();
        cdrdao.waitForFinished(1000);
        return std::nullopt;
    }
    static const QRegularExpression line(u"[Vv]ersion (\\d+\\.\\d+(?:\\.\\d+)?)"_s);
    const QRegularExpressionMatch match =
        line.match(QString::fromLocal8Bit(cdrdao.readAll().left(4096)));
    return match.hasMatch() ? parse(match.capturedView(1)) : std::nullopt;
}

QString CdrdaoVersion::toString() const
{
    return u"%1.%2.%3"_s.arg(major).arg(minor).arg(patch);
}

bool HasJapaneseBlock(const std::vector<DiscBlock> &blocks)
{
    return std::any_of(blocks.begin(), blocks.end(),
                       [](const DiscBlock &block) { return block.language == Japanese; });
}

RouteFault V07tFault(const std::vector<DiscBlock> &blocks)
{
    return HasJapaneseBlock(blocks) ? RouteFault::JapaneseV07t : RouteFault::None;
}

RouteFault TocFault(const std::vector<DiscBlock> &blocks, std::optional<CdrdaoVersion> cdrdao)
{
    if (!HasJapaneseBlock(blocks))
        return RouteFault::None;
    if (!cdrdao)
        return RouteFault::JapaneseTocNoCdrdao;
    return cdrdao->knowsMsJis() ? RouteFault::None : RouteFault::JapaneseTocOldCdrdao;
}

} // namespace sonolabe::cdtext
