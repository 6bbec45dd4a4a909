// Window search on the live desktop: listing every top-level window with
// its title, and finding one by a pattern as the "Set Focus" item does.
// Run by bench/run-windows beside a desktop full of windows.
//
//   bench_windows PATTERN [benchmark options]
//   bench_windows --once PATTERN   finds the window once and prints its id,
//                                  to time a whole process as xdotool runs

#include <benchmark/benchmark.h>

#include <iostream>
#include <string>

#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_windows.h"
#include "script/window_pattern.h"

namespace {

std::string pattern = "*Bench Window 150";

plorix::platform::X11Windows& windows() {
    static plorix::platform::X11Connection connection;
    static plorix::platform::X11Windows windows(connection);
    return windows;
}

void ListTopLevelWindows(benchmark::State& state) {
    std::size_t count = 0;
    for (auto _ : state) {
        const auto list = windows().topLevelWindows();
        count = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["windows"] = static_cast<double>(count);
}
BENCHMARK(ListTopLevelWindows)->Unit(benchmark::kMillisecond);

void FindWindowByPattern(benchmark::State& state) {
    plorix::platform::WindowId found = 0;
    for (auto _ : state) {
        found = plorix::script::findWindow(windows(), pattern, "");
        benchmark::DoNotOptimize(found);
    }
    if (found == plorix::platform::kNoWindow) state.SkipWithError("no window matches the pattern");
}
BENCHMARK(FindWindowByPattern)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--once") {
        const auto found = plorix::script::findWindow(windows(), argv[2], "");
        std::cout << found << '\n';
        return found == plorix::platform::kNoWindow ? 1 : 0;
    }
    if (argc > 1 && argv[1][0] != '-') {
        pattern = argv[1];
        argv[1] = argv[0];  // the benchmark library names the program by argv[0]
        --argc;
        ++argv;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
