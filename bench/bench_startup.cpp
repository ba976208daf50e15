// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: from process start to the editor shown and idle on a 99-track
// file in both languages, then exit; against a bare Qt Widgets program that
// shows a comparable window, started the same way, in the same run.
#include "discs.h"
#include "harness.h"

#include "model/titlefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

using namespace sonolabe;
using namespace sonolabe::bench;
using namespace Qt::Literals::StringLiterals;

namespace {

// Wall time of one run of the program, in nanoseconds.
double runOnce(const QString &program, const QStringList &arguments)
{
    const QByteArray path = QFile::encodeName(program);
    QList<QByteArray> storage{path};
    for (const QString &argument : arguments)
        storage << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &item : storage)
        argv.push_back(item.data());
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, path.constData(), nullptr, nullptr, argv.data(), environ) != 0)
        qFatal("cannot start %s", path.constData());
    int status = 0;
    waitpid(pid, &status, 0);
    const std::chrono::duration<double, std::nano> elapsed =
        std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("%s did not end cleanly", path.constData());
    return elapsed.count();
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    const QString disc = dir.filePath(u"disc.txt"_s);
    QFile file(disc);
    const QByteArray bytes = writeTitleFile(fullDisc(), {true, true});
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the disc file");
    file.close();

    const QString here = QCoreApplication::applicationDirPath();
    const QString sonolabe = here + u"/startup_sonolabe"_s;
    const QString floor = here + u"/startup_floor"_s;
    // Warm the file cache, then alternate so both see the same machine.
    runOnce(sonolabe, {disc});
    runOnce(floor, {});
    runOnce(floor, {u"--same-texts"_s});
    std::vector<double> ours, bare, sameTexts;
    for (int i = 0; i < 21; ++i) {
        ours.push_back(runOnce(sonolabe, {disc}));
        bare.push_back(runOnce(floor, {}));
        sameTexts.push_back(runOnce(floor, {u"--same-texts"_s}));
    }
    const double figure = median(ours);
    const double base = median(bare);
    const double sameBase = median(sameTexts);
    row("Start-up to idle editor (99 tracks, offscreen)", millis(figure),
        millis(base) + u" bare Qt"_s, ratioText(figure / base), "ratio <= 1.15",
        figure / base <= 1.15);
    row("Start-up, against bare Qt showing the same texts", millis(figure),
        millis(sameBase) + u" same texts"_s, ratioText(figure / sameBase), "ratio <= 1.15",
        figure / sameBase <= 1.15);
    return 0;
}
