// The whole `tessavox-batch chart` process, from start-up to the PNG file of the F1-F2
// chart with its ellipses, 800 x 600: what a script that draws many files pays per file.
// Beside it, the peer: base R drawing the same chart from the same file (peer_chart.R;
// skipped where Rscript is missing).

#include "filesizes.h"
#include "sampledocument.h"

#include <QFile>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <array>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

// Runs `argv` to its end with its output thrown away; true when it exited with 0.
// Only the first `count` arguments are passed.
bool runToCompletion(const std::array<QByteArray, 7> &argv, std::size_t count = 7)
{
    std::array<char *, 8> args{};
    for (std::size_t i = 0; i < count && i < argv.size(); ++i)
        args[i] = const_cast<char *>(argv[i].constData());
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_BatchChartProcess(benchmark::State &state)
{
    const SampleFile sample(int(state.range(0)));
    if (!sample.isValid()) {
        state.SkipWithError("cannot write the sample file");
        return;
    }
    const QString output = sample.scratchPath(QStringLiteral("chart.png"));
    const std::array<QByteArray, 7> argv = {QByteArray(TESSAVOX_BATCH),
                                            "chart",
                                            QFile::encodeName(sample.path()),
                                            "--plot",
                                            "f1f2",
                                            "-o",
                                            QFile::encodeName(output)};
    for (auto _ : state) {
        if (!runToCompletion(argv)) {
            state.SkipWithError("tessavox-batch chart failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_BatchChartPeerR(benchmark::State &state)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Rscript")).isEmpty()) {
        state.SkipWithError("Rscript is not installed (Debian: r-base-core)");
        return;
    }
    const SampleFile sample(int(state.range(0)));
    if (!sample.isValid()) {
        state.SkipWithError("cannot write the sample file");
        return;
    }
    const std::array<QByteArray, 7> argv = {
        QStandardPaths::findExecutable(QStringLiteral("Rscript")).toLocal8Bit(),
        "--vanilla",
        TESSAVOX_BENCH_DIR "/peer_chart.R",
        QFile::encodeName(sample.path()),
        QFile::encodeName(sample.scratchPath(QStringLiteral("peer.png"))),
        "",
        ""};
    for (auto _ : state) {
        if (!runToCompletion(argv, 5)) {
            state.SkipWithError("Rscript peer_chart.R failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

// The time is the child's, so only the clock on the wall counts.
BENCHMARK(BM_BatchChartProcess)->Apply(AtFileSizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BatchChartPeerR)->Arg(9998)->Unit(benchmark::kMillisecond)->UseRealTime();
