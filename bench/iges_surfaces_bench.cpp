// The full IGES import of the shared real files with their surfaces drawn,
// against the same import with surfaces left out (the file's curves only),
// timed in the same run; prints each file's ratio and the worst. With
// ORVEX_BENCH_ITERATIONS=n each load runs n times, for callgrind:
//   ORVEX_BENCH_ITERATIONS=10 valgrind --tool=callgrind \
//     --toggle-collect='*namespace)::load*' iges_surfaces_bench --benchmark_filter=BUC
#include "formats/common/drawing_sink.h"
#include "formats/iges/iges.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path shared_dir()
{
    if (const char* dir = std::getenv("ORVEX_REALWORLD_DIR"))
        return dir;
    return ORVEX_REALWORLD_DIR;
}

void load(benchmark::State& state, const std::string& text, bool surfaces)
{
    std::size_t elements = 0;
    for (auto _ : state) {
        orvex::formats::ArcViewTable views;
        orvex::formats::reset_arc_views(views);
        orvex::formats::StagedDrawing d(views, 0xFFFFFF, orvex::uINCH);
        d.Surfaces.Surfaces = surfaces;
        std::istringstream in(text);
        orvex::formats::iges::read_full(in, d);
        elements = static_cast<std::size_t>(d.Elements.Count());
        benchmark::DoNotOptimize(elements);
    }
    state.counters["elements"] = static_cast<double>(elements);
}

// Keeps the time per iteration of every run for the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> time; // ns per iteration, by run name

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            time[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        double worst = 0;
        std::string worstFile;
        std::printf("\nfull import / curves only (CPU time per load)\n");
        for (const auto& [name, full] : time) {
            if (name.rfind("full/", 0) != 0)
                continue;
            const std::string file = name.substr(5);
            const auto curves = time.find("curves/" + file);
            if (curves == time.end() || !(curves->second > 0))
                continue;
            const double ratio = full / curves->second;
            std::printf("%-34s %6.2fx\n", file.c_str(), ratio);
            if (ratio > worst)
                worst = ratio, worstFile = file;
        }
        std::printf("worst: %.2fx (%s)\n", worst, worstFile.c_str());
    }
};

} // namespace

int main(int argc, char** argv)
{
    const char* fixed = std::getenv("ORVEX_BENCH_ITERATIONS");
    const long long iterations = fixed != nullptr ? std::atoll(fixed) : 0;
    std::vector<fs::path> files;
    if (fs::is_directory(shared_dir() / "iges"))
        for (const auto& entry : fs::directory_iterator(shared_dir() / "iges"))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& path : files) {
        std::ifstream in(path, std::ios::binary);
        auto text = std::make_shared<std::string>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const std::string name = path.filename().string();
        for (const bool surfaces : {true, false}) {
            auto* run =
                benchmark::RegisterBenchmark((std::string(surfaces ? "full/" : "curves/") + name).c_str(),
                                             [text, surfaces](benchmark::State& s) { load(s, *text, surfaces); });
            run->Unit(benchmark::kMicrosecond);
            // A fixed count of loads for instruction counts under callgrind.
            if (iterations > 0)
                run->Iterations(iterations);
            else
                run->MinTime(0.2);
        }
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return files.empty() ? 77 : 0;
}
