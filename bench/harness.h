// SPDX-License-Identifier: GPL-3.0-or-later
// A small measuring harness: medians of repeated timed samples, peak memory,
// and one table row per figure in a form bench.sh prints.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace sonolabe::bench {

// Keeps the optimizer from dropping a computed result.
template <typename T> inline void keep(const T &value)
{
    asm volatile("" : : "g"(&value) : "memory");
}

// Median wall time of one call of f, in nanoseconds. Each sample runs f often
// enough to last about a millisecond, so timer resolution does not matter.
template <typename F> double medianNanoseconds(F &&f, int samples = 21)
{
    using Clock = std::chrono::steady_clock;
    long long iterations = 1;
    for (;;) {
        const auto start = Clock::now();
        for (long long i = 0; i < iterations; ++i)
            f();
        const auto elapsed = Clock::now() - start;
        if (elapsed >= std::chrono::milliseconds(1) || iterations >= (1LL << 30))
            break;
        iterations *= 2;
    }
    std::vector<double> perCall;
    perCall.reserve(samples);
    for (int s = 0; s < samples; ++s) {
        const auto start = Clock::now();
        for (long long i = 0; i < iterations; ++i)
            f();
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        perCall.push_back(elapsed.count() / double(iterations));
    }
    std::nth_element(perCall.begin(), perCall.begin() + samples / 2, perCall.end());
    return perCall[samples / 2];
}

// The process's peak resident set so far, in bytes (VmHWM).
inline qint64 peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

// The peak memory, in bytes, that this program takes in a process of its own
// started as "PROGRAM --peak ARGUMENTS... FILE", FILE holding bytes; the
// program's --peak mode prints it. -1 when that process fails.
inline double peakOfChild(const QByteArray &bytes, const QStringList &arguments)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("input"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{QStringLiteral("--peak")} + arguments + QStringList{path});
    child.waitForFinished(-1);
    const bool ran = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    return ran ? child.readAllStandardOutput().trimmed().toDouble() : -1;
}

// One line of the results table: what, the figure, the floor it is compared
// with (or "-"), their ratio, the target, and whether the target holds.
inline void row(const char *what, const QString &figure, const QString &floor, const QString &ratio,
                const char *target, bool holds)
{
    std::printf("ROW\t%s\t%s\t%s\t%s\t%s\t%s\n", what, qPrintable(figure), qPrintable(floor),
                qPrintable(ratio), target, holds ? "yes" : "NO");
    std::fflush(stdout);
}

inline QString micros(double ns)
{
    return QString::number(ns / 1000.0, 'f', 2) + QStringLiteral(" µs");
}
inline QString millis(double ns)
{
    return QString::number(ns / 1e6, 'f', 2) + QStringLiteral(" ms");
}
inline QString ratioText(double ratio)
{
    return QString::number(ratio, 'f', 3);
}

} // namespace sonolabe::bench
