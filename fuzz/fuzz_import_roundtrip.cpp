// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: see checkImportRoundTrip in fuzzchecks.h for the property.
#include "fuzz/fuzztarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return sonolabe::fuzz::runCheck(sonolabe::fuzz::checkImportRoundTrip, data, size);
}
