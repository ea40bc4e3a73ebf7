#pragma once

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <optional>
#include <vector>

// Whole programs started from a benchmark, the batch tool or Rscript, with their output
// thrown away; the program is looked up on PATH unless given with its path.

// One run to its end: its peak resident memory in MB; nothing when it did not start or did
// not exit with 0.
std::optional<double> RunChild(const std::vector<QByteArray> &argv);

// One run per benchmark iteration. Returns the runs' largest peak resident memory in MB;
// nothing, with the benchmark skipped with `failure`, as soon as a run fails.
std::optional<double> RunChildEachIteration(benchmark::State &state,
                                            const std::vector<QByteArray> &argv,
                                            const char *failure);

// True where Rscript can be run; otherwise the benchmark is skipped with where to get it.
bool HaveRscript(benchmark::State &state);
