// SPDX-License-Identifier: GPL-3.0-or-later
// The glue between libFuzzer and a check of fuzzchecks.h: a failed check is a
// finding, reported with its description.
#pragma once

#include "fuzz/fuzzchecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace sonolabe::fuzz {

inline int runCheck(QString (*check)(QByteArrayView), const uint8_t *data, size_t size)
{
    const QString failure =
        check(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "\nproperty failed: %s\n", qUtf8Printable(failure));
        std::abort();
    }
    return 0;
}

} // namespace sonolabe::fuzz
