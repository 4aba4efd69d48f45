// Loading the package and running its Register, then unloading it again, as
// the environment does for each package at start.
#include <benchmark/benchmark.h>

#include "host/DesignHost.h"

namespace ld {
namespace {

void BM_LoadPackageRegister(benchmark::State& state)
{
    TDesignHost host;
    for (auto _ : state) {
        const TPackage& package = host.LoadPackage(LD_PACKAGE_FILE);
        benchmark::DoNotOptimize(package.Module);
        state.PauseTiming();
        host.UnloadPackage(package);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadPackageRegister)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ld

BENCHMARK_MAIN();
