// The debug trace: ten thousand lines, each on disk before the next.
#include "shell/Trace.h"

#include "platform/Trace.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

void TenThousandTraceLines(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "debug.dat";
    const std::vector<std::string> options{"On", "On", "Stars", "Standard", "1", "Compact"};
    for (auto _ : state) {
        TTraceLog trace(file);
        trace.Begin(options);
        for (int i = 0; i < 10000; ++i)
            platform::Trace("MakeMove: Tableau " + std::to_string(i % 10) + " 3 12");
    }
    state.counters["file MiB"] = double(std::filesystem::file_size(file)) / (1024.0 * 1024.0);
}
BENCHMARK(TenThousandTraceLines)->Unit(benchmark::kMillisecond);

} // namespace
