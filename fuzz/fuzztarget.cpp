// SPDX-License-Identifier: GPL-3.0-or-later
// The libFuzzer glue of every target: fuzz/CMakeLists.txt builds it once per
// target, with SONOLABE_FUZZ_TARGET the index in Targets of the check it runs
// and SONOLABE_FUZZ_NAME that check's name. A failed check is a finding,
// reported with its message.
#include "fuzz/fuzzchecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

constexpr sonolabe::fuzz::Target target = sonolabe::fuzz::Targets[SONOLABE_FUZZ_TARGET];
static_assert(std::string_view(target.name) == SONOLABE_FUZZ_NAME, "the targets' order differs");

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString failure = target.check(QByteArrayView(data, static_cast<qsizetype>(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "\nproperty failed: %s\n", qUtf8Printable(failure));
        std::abort();
    }
    return 0;
}
