// Shared main of the benchmark programs: an offscreen application for the widget and chart
// benchmarks, and, unless told otherwise, ten repetitions reported as median and spread.

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

bool given(const std::vector<char *> &args, std::string_view option)
{
    return std::any_of(args.begin() + 1, args.end(), [option](const char *arg) {
        return std::string_view(arg).starts_with(option);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    std::vector<char *> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=10";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    if (!given(args, "--benchmark_repetitions")) {
        args.push_back(repetitions);
        if (!given(args, "--benchmark_report_aggregates_only"))
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
