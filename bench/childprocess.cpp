#include "childprocess.h"

#include <QStandardPaths>

#include <algorithm>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

std::optional<double> RunChild(const std::vector<QByteArray> &argv)
{
    std::vector<char *> args;
    for (const QByteArray &arg : argv)
        args.push_back(const_cast<char *>(arg.constData()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    return usage.ru_maxrss / 1024.0;
}

std::optional<double> RunChildEachIteration(benchmark::State &state,
                                            const std::vector<QByteArray> &argv,
                                            const char *failure)
{
    double peak = 0.0;
    for (auto _ : state) {
        const std::optional<double> run = RunChild(argv);
        if (!run) {
            state.SkipWithError(failure);
            return std::nullopt;
        }
        peak = std::max(peak, *run);
    }
    return peak;
}

bool HaveRscript(benchmark::State &state)
{
    if (!QStandardPaths::findExecutable(QStringLiteral("Rscript")).isEmpty())
        return true;
    state.SkipWithError("Rscript is not installed (Debian: r-base-core)");
    return false;
}
