// SPDX-License-Identifier: GPL-3.0-or-later
// The calls a save makes at its last steps (Qt's own saves included),
// fdatasync() and rename(), taken over so that a test can fail them or stop
// there. Include it in one source file of the test: it defines them.
#pragma once

#include <cerrno>
#include <dlfcn.h>

namespace sonolabe::test {

// Called with "fdatasync" or "rename" before the C library's call; an errno
// it gives fails the call with it, 0 lets the C library do the call.
inline int (*lastStepFault)(const char *call) = nullptr;

// True, with errno set, if the call is to fail.
inline bool failsAt(const char *call)
{
    const int error = lastStepFault ? lastStepFault(call) : 0;
    errno = error ? error : errno;
    return error != 0;
}

} // namespace sonolabe::test

extern "C" int fdatasync(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fdatasync"));
    return sonolabe::test::failsAt("fdatasync") ? -1 : real(fd);
}

extern "C" int rename(const char *from, const char *to) noexcept
{
    static const auto real =
        reinterpret_cast<int (*)(const char *, const char *)>(::dlsym(RTLD_NEXT, "rename"));
    return sonolabe::test::failsAt("rename") ? -1 : real(from, to);
}
