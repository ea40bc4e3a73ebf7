#pragma once

#include <benchmark/benchmark.h>

// The file sizes every benchmark runs at, in tokens: small, typical and the largest file.
inline void AtFileSizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(100)->Arg(1000)->Arg(9998);
}
