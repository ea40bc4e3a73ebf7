// Shared main of the benchmark programs: an offscreen application for the widget and chart
// benchmarks, and, unless told otherwise, ten repetitions reported as median and spread.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <vector>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::vector<char *> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=10";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    if (argc == 1) {
        args.push_back(repetitions);
        args.push_back(aggregatesOnly);
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
