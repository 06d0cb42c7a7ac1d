// What one step of the walk costs, and what its parts cost, on three levels:
// a dense generated one of 1000 walls, the shipped maze, and 100 walls.
// Besides Google Benchmark's own table it prints the ratios that matter,
// measured in the same run: a step against clearing the view once, and the
// plain selection against the ordering the frame uses.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "BenchLevels.h"
#include "motion/Step.h"
#include "render/Frame.h"
#include "shell/SdlPlatform.h"
#include "support/RecordingPlatform.h"
#include "support/SelectionOrder.h"
#include "world/LoadLevel.h"

namespace {

enum LevelId { Dense1000, Shipped, Walls100 };
constexpr const char* LevelNames[] = {"dense1000", "shipped", "walls100"};

// The level's text, or "" when the shipped maze is not there.
std::string LevelText(int id) {
    switch (id) {
        case Dense1000:
            return RandomLevel(1000, 2024);
        case Walls100:
            return RandomLevel(100, 2024);
        default: {
            std::ifstream in(MAZEWALK_SHIPPED_LEVEL, std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            return text.str();
        }
    }
}

// The state of a freshly started program on the level; false if the level
// is missing or does not load.
bool StartOn(int id, Module1& state, benchmark::State& bench) {
    const std::string text = LevelText(id);
    const auto error = ReadLevel(text, LevelNames[id], state);
    if (text.empty() || error) {
        bench.SkipWithError(error ? error->Message.c_str() : "the shipped maze is missing");
        return false;
    }
    bench.SetLabel(std::to_string(state.WallCount) + " walls");
    return true;
}

std::unique_ptr<SdlPlatform> OffscreenView(benchmark::State& bench) {
    std::string error;
    auto platform = SdlPlatform::Create(nullptr, error);
    if (!platform) {
        bench.SkipWithError(error.c_str());
    }
    return platform;
}

// One step that turns the view, drawn on the window's own off-screen view,
// pixels included.
void BM_Step(benchmark::State& bench) {
    auto state = std::make_unique<Module1>();
    auto platform = OffscreenView(bench);
    if (!platform || !StartOn(static_cast<int>(bench.range(0)), *state, bench)) {
        return;
    }
    for (auto _ : bench) {
        Picture1_KeyDown(*state, *platform, KeyCode::Keypad6, 0);
        benchmark::DoNotOptimize(platform->FinishFrame());
    }
}

// The same step with the polygons thrown away.
void BM_StepLogic(benchmark::State& bench) {
    auto state = std::make_unique<Module1>();
    RecordingPlatform platform;  // polygons kept, never painted: the logic alone
    if (!StartOn(static_cast<int>(bench.range(0)), *state, bench)) {
        return;
    }
    for (auto _ : bench) {
        Picture1_KeyDown(*state, platform, KeyCode::Keypad6, 0);
    }
}

// The floor: clearing the view once.
void BM_ClearView(benchmark::State& bench) {
    auto platform = OffscreenView(bench);
    if (!platform) {
        return;
    }
    // A frame with the last one's pixels is not painted again, so every
    // second frame holds a polygon of a few pixels in the corner: a frame
    // unlike the last, painted in full.
    const Quad corner{{{0, 0}, {0, 1}, {1, 1}, {1, 0}}};
    bool withPolygon = false;
    for (auto _ : bench) {
        platform->ClearView();
        withPolygon = !withPolygon;
        if (withPolygon) {
            platform->Polygon(corner);
        }
        benchmark::DoNotOptimize(platform->FinishFrame());
    }
}

// Distances of 64 successive steps of a walk (three forward, one turn), so
// the orderings see the changes real frames bring.
std::vector<std::vector<double>> WalkDistances(Module1& state) {
    std::vector<std::vector<double>> sets;
    RecordingPlatform platform;  // polygons kept, never painted: the logic alone
    for (int step = 0; step < 64; ++step) {
        Picture1_KeyDown(state, platform, step % 4 == 3 ? KeyCode::Keypad6 : KeyCode::Keypad8, 0);
        std::vector<double>& set = sets.emplace_back();
        for (int i = 1; i <= state.WallCount; ++i) {
            const WallRecord& w = state.Walls[i];
            const double x1 = w.x1, y1 = w.y1, x2 = w.x2, y2 = w.y2;
            set.push_back((std::sqrt(x2 * x2 + y2 * y2) + std::sqrt(x1 * x1 + y1 * y1)) / 2);
        }
    }
    return sets;
}

template <class Order>
void RunOrdering(benchmark::State& bench, Order order) {
    auto state = std::make_unique<Module1>();
    if (!StartOn(static_cast<int>(bench.range(0)), *state, bench)) {
        return;
    }
    const auto sets = WalkDistances(*state);
    std::size_t next = 0;
    for (auto _ : bench) {
        const std::vector<double>& set = sets[next++ % sets.size()];
        for (int i = 1; i <= state->WallCount; ++i) {
            state->Walls[i].Distance = set[static_cast<std::size_t>(i - 1)];
        }
        order(*state);
    }
}

// The frame's ordering, starting from the last frame's order as it does.
void BM_Ordering(benchmark::State& bench) {
    RunOrdering(bench, [](Module1& s) { benchmark::DoNotOptimize(FarToNearOrder(s).data()); });
}

// The plain quadratic selection on the same distances.
void BM_Selection(benchmark::State& bench) {
    RunOrdering(bench, [](Module1& s) { benchmark::DoNotOptimize(SelectionOrder(s)); });
}

void BM_LoadLevel(benchmark::State& bench) {
    const int id = static_cast<int>(bench.range(0));
    const std::string text = LevelText(id);
    const auto path = std::filesystem::temp_directory_path() /
                      (std::string("mazewalk-bench-") + LevelNames[id] + ".dat");
    std::ofstream(path, std::ios::binary) << text;
    auto state = std::make_unique<Module1>();
    state->View.LevelFileName = path.string();
    for (auto _ : bench) {
        if (const auto error = LoadLevel(*state); error || text.empty()) {
            bench.SkipWithError(error ? error->Message.c_str() : "the shipped maze is missing");
            break;
        }
    }
    bench.SetLabel(std::to_string(state->WallCount) + " walls");
    std::filesystem::remove(path);
}

void Levels(benchmark::internal::Benchmark* b) {
    b->ArgName("level")->Arg(Dense1000)->Arg(Shipped)->Arg(Walls100);
}

BENCHMARK(BM_Step)->Apply(Levels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepLogic)->Apply(Levels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClearView)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ordering)->Apply(Levels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Selection)->Apply(Levels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadLevel)
    ->ArgName("level")
    ->Arg(Shipped)
    ->Arg(Dense1000)
    ->Unit(benchmark::kMicrosecond);

// Passes everything on to the console and keeps each case's time per
// iteration (the median where repetitions were asked for).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (single || run.aggregate_name == "median") {
                Times[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedRealTime();
            }
        }
    }

    void PrintRatios() const {
        std::printf("\nRatios (same run; medians where repeated)\n");
        const auto time = [&](const std::string& key) {
            const auto found = Times.find(key);
            return found == Times.end() ? 0.0 : found->second;
        };
        const double clear = time("BM_ClearView/");
        for (int id = 0; id < 3; ++id) {
            const std::string arg = std::string("level:") + std::to_string(id);
            const double step = time("BM_Step/" + arg);
            const double logic = time("BM_StepLogic/" + arg);
            const double ordering = time("BM_Ordering/" + arg);
            const double selection = time("BM_Selection/" + arg);
            if (step == 0 || clear == 0) {
                continue;
            }
            std::printf(
                "  %-10s step / clear %6.2f   logic %7.2f us   selection / ordering %7.1f\n",
                LevelNames[id], step / clear, logic, ordering > 0 ? selection / ordering : 0.0);
        }
    }

  private:
    std::map<std::string, double> Times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
