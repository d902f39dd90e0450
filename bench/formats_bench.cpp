// Loading and saving drawing files, against peer parsers timed in the same
// run: dxflib for DXF, Open CASCADE's IGES reader for IGES. A generator
// makes the drawing (300,000 entities: 60 % lines, 20 % arcs, 10 % circles,
// 10 % points) and the files; the figures are bytes of file per second and
// their ratios, printed at the end.
#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include "bench_timing.h"
#include "text_workload.h"

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>

#ifdef ORVEX_HAVE_DXFLIB
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#endif
#ifdef ORVEX_HAVE_OCCT
#include <IGESControl_Controller.hxx>
#include <IGESControl_Reader.hxx>
#include <Interface_Static.hxx>
#endif

namespace {

using orvex::TOrvexGDI;

constexpr int kEntities = 300000;
constexpr int kIgesEntities = 100000;

QString data_path(const char* name) { return QDir::temp().filePath(QStringLiteral("orvex_bench_") + name); }

double file_size(const QString& path) { return static_cast<double>(QFileInfo(path).size()); }

// The drawing every benchmark works on, made once.
TOrvexGDI& drawing(int count = kEntities)
{
    static std::map<int, std::unique_ptr<TOrvexGDI>> made;
    auto& control = made[count];
    if (!control) {
        control = std::make_unique<TOrvexGDI>();
        std::mt19937 random(20260101 + count);
        std::uniform_real_distribution<double> coordinate(-1000, 1000), radius(0.5, 50), angle(0, 360);
        std::uniform_int_distribution<int> percent(0, 99), layer(1, 20), colourIndex(0, 7);
        const orvex::TColor colours[] = {0x0000FF, 0x00FFFF, 0x00FF00, 0x808000,
                                         0xFF0000, 0xFF00FF, 0xFFFFFF, 0x808080};
        auto c = [&] { return std::round(coordinate(random) * 10000) / 10000; };
        for (int i = 0; i < count; ++i) {
            const int kind = percent(random);
            const orvex::TColor colour = colours[colourIndex(random)];
            if (kind < 60)
                control->make_element(orvex::etLine, c(), c(), c(), c(), c(), c(), colour, 0, layer(random), 0, 0);
            else if (kind < 80)
                control->make_element(orvex::etArc, c(), c(), 0, std::round(radius(random) * 100) / 100,
                                      std::round(angle(random)), std::round(angle(random)), colour, 0, layer(random), 0,
                                      1);
            else if (kind < 90)
                control->make_element(orvex::etCircle, c(), c(), 0, std::round(radius(random) * 100) / 100, 0, 0,
                                      colour, 0, layer(random), 0, 1);
            else
                control->make_element(orvex::etPoint, c(), c(), c(), 0, 0, 0, colour, 0, layer(random), 0, 0);
        }
    }
    return *control;
}

// The files, written once by the control's own writers.
const QString& file(int cadType)
{
    static std::map<int, QString> written;
    QString& path = written[cadType];
    if (path.isEmpty()) {
        path = data_path(cadType == 1 ? "300k.ovx" : cadType == 2 ? "300k.dxf" : "100k.igs");
        TOrvexGDI& d = drawing(cadType == 3 ? kIgesEntities : kEntities);
        d.SetCadType(cadType);
        d.SaveToFile(path);
    }
    return path;
}

// Loading into a control that holds a drawing of the same size: the load
// replaces it.
void load(benchmark::State& state, int cadType)
{
    const QString& path = file(cadType);
    TOrvexGDI control;
    control.SetCadType(cadType);
    control.LoadFromFile(path);
    for (auto _ : state) {
        control.LoadFromFile(path);
        benchmark::DoNotOptimize(control.Elements->Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file_size(path)));
    state.counters["elements"] = control.Elements->Count();
}

// Opening the file in a new, empty control.
void BM_LoadDxfNewControl(benchmark::State& state)
{
    const QString& path = file(2);
    for (auto _ : state) {
        state.PauseTiming();
        auto control = std::make_unique<TOrvexGDI>();
        control->SetCadType(2);
        state.ResumeTiming();
        control->LoadFromFile(path);
        state.PauseTiming();
        control.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file_size(path)));
}

void BM_LoadDxf(benchmark::State& state) { load(state, 2); }
void BM_LoadIges(benchmark::State& state) { load(state, 3); }
void BM_LoadOvx(benchmark::State& state) { load(state, 1); }

// OVX against DXF, loaded in turns so that both meet the same machine: the
// shared machines here change speed by a third within a minute, which
// separate runs would take for a difference of the readers. The figure is
// the median over the pairs of OVX MB/s divided by DXF MB/s.
void BM_LoadOvxAgainstDxf(benchmark::State& state)
{
    const QString& ovxPath = file(1);
    const QString& dxfPath = file(2);
    TOrvexGDI ovx, dxf;
    ovx.SetCadType(1);
    dxf.SetCadType(2);
    ovx.LoadFromFile(ovxPath);
    dxf.LoadFromFile(dxfPath);
    const double ovxBytes = file_size(ovxPath), dxfBytes = file_size(dxfPath);
    std::vector<double> ratios, ovxRates, dxfRates;
    for (auto _ : state) {
        const double dxfMs = elapsed_ms([&] { dxf.LoadFromFile(dxfPath); });
        const double ovxMs = elapsed_ms([&] { ovx.LoadFromFile(ovxPath); });
        dxfRates.push_back(dxfBytes / dxfMs / 1e3);
        ovxRates.push_back(ovxBytes / ovxMs / 1e3);
        ratios.push_back(ovxRates.back() / dxfRates.back());
    }
    state.counters["ovx_MBps"] = median(ovxRates);
    state.counters["dxf_MBps"] = median(dxfRates);
    state.counters["ratio"] = median(ratios);
}

// The full import against the basic one on the same file, in turns: the
// median over the pairs of full-import time over basic-import time.
void BM_LoadDxfFullAgainstBasic(benchmark::State& state)
{
    const QString& path = file(2);
    TOrvexGDI basic, full;
    basic.SetCadType(2);
    full.SetCadType(2);
    full.SetImportMode(orvex::imFull);
    basic.LoadFromFile(path);
    full.LoadFromFile(path);
    std::vector<double> ratios;
    for (auto _ : state) {
        const double basicMs = cpu_ms([&] { basic.LoadFromFile(path); });
        const double fullMs = cpu_ms([&] { full.LoadFromFile(path); });
        ratios.push_back(fullMs / basicMs);
    }
    state.counters["full_over_basic"] = median(ratios);
    state.counters["elements"] = full.Elements->Count();
}

// 10,000 inserts of one block of 50 lines, against the same 500,000 lines
// written out: the block is read once and placed per insert.
void BM_LoadInsertsAgainstLines(benchmark::State& state)
{
    const QString inserts = data_path("inserts.dxf"), lines = data_path("lines.dxf");
    {
        QFile a(inserts), b(lines);
        a.open(QIODevice::WriteOnly);
        b.open(QIODevice::WriteOnly);
        QTextStream ia(&a), lb(&b);
        ia << "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB50\n10\n0\n20\n0\n30\n0\n";
        for (int k = 0; k < 50; ++k)
            ia << "0\nLINE\n8\n1\n10\n" << k << "\n20\n0\n30\n0\n11\n" << k << "\n21\n1\n31\n0\n";
        ia << "0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
        lb << "0\nSECTION\n2\nENTITIES\n";
        for (int i = 0; i < 10000; ++i) {
            const int x = (i % 100) * 60, y = (i / 100) * 3;
            ia << "0\nINSERT\n8\n1\n2\nB50\n10\n" << x << "\n20\n" << y << "\n30\n0\n";
            for (int k = 0; k < 50; ++k)
                lb << "0\nLINE\n8\n1\n10\n"
                   << x + k << "\n20\n"
                   << y << "\n30\n0\n11\n"
                   << x + k << "\n21\n"
                   << y + 1 << "\n31\n0\n";
        }
        ia << "0\nENDSEC\n0\nEOF\n";
        lb << "0\nENDSEC\n0\nEOF\n";
    }
    TOrvexGDI a, b;
    for (TOrvexGDI* c : {&a, &b}) {
        c->SetCadType(2);
        c->SetImportMode(orvex::imFull);
    }
    std::vector<double> ratios;
    for (auto _ : state) {
        const double insertMs = cpu_ms([&] { a.LoadFromFile(inserts); });
        const double lineMs = cpu_ms([&] { b.LoadFromFile(lines); });
        ratios.push_back(insertMs / lineMs);
    }
    state.counters["inserts_over_lines"] = median(ratios);
    state.counters["elements"] = a.Elements->Count();
    QFile::remove(inserts);
    QFile::remove(lines);
}

// The full import of the file with 50,000 texts against ezdxf's readfile of
// the same file, timed once in the same run (ezdxf takes seconds), and the
// cost of the lettering: elements per character and bytes per text.
void BM_LoadDxfTextsAgainstEzdxf(benchmark::State& state)
{
    const QString texts = data_path("300k_text.dxf");
    const long long characters = write_with_texts(file(2), texts);
    TOrvexGDI plain, lettered;
    for (TOrvexGDI* c : {&plain, &lettered}) {
        c->SetCadType(2);
        c->SetImportMode(orvex::imFull);
    }
    std::vector<double> ours, plainOnly;
    for (auto _ : state) {
        plainOnly.push_back(elapsed_ms([&] { plain.LoadFromFile(file(2)); }));
        ours.push_back(elapsed_ms([&] { lettered.LoadFromFile(texts); }));
    }
    const std::string command = "/usr/bin/python3 -c \"import time, ezdxf; t = time.perf_counter(); ezdxf.readfile('" +
                                texts.toStdString() + "'); print(time.perf_counter() - t)\" 2>/dev/null";
    double ezdxfSeconds = 0;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        if (std::fscanf(pipe, "%lf", &ezdxfSeconds) != 1)
            ezdxfSeconds = 0;
        pclose(pipe);
    }
    const double textElements = lettered.Elements->Count() - plain.Elements->Count();
    state.counters["ours_ms"] = median(ours);
    state.counters["without_texts_ms"] = median(plainOnly);
    state.counters["ezdxf_ms"] = ezdxfSeconds * 1e3;
    state.counters["ezdxf_over_ours"] = ezdxfSeconds > 0 ? ezdxfSeconds * 1e3 / median(ours) : 0;
    state.counters["elements_per_char"] = textElements / static_cast<double>(characters);
    state.counters["bytes_per_text"] =
        textElements * (sizeof(orvex::TElement) + sizeof(orvex::TElement*)) / kTextEntities;
    QFile::remove(texts);
}

void save(benchmark::State& state, int cadType)
{
    TOrvexGDI& d = drawing(cadType == 3 ? kIgesEntities : kEntities);
    d.SetCadType(cadType);
    const QString path = data_path("saved");
    for (auto _ : state)
        d.SaveToFile(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file_size(path)));
}

void BM_SaveDxf(benchmark::State& state) { save(state, 2); }
void BM_SaveIges(benchmark::State& state) { save(state, 3); }
void BM_SaveOvx(benchmark::State& state) { save(state, 1); }

#ifdef ORVEX_HAVE_DXFLIB
// Counts what dxflib hands out; the least a host of dxflib does.
class Counter : public DL_CreationAdapter {
public:
    long entities = 0;
    void addLine(const DL_LineData&) override { ++entities; }
    void addArc(const DL_ArcData&) override { ++entities; }
    void addCircle(const DL_CircleData&) override { ++entities; }
    void addPoint(const DL_PointData&) override { ++entities; }
};

void BM_DxflibParse(benchmark::State& state)
{
    const std::string path = file(2).toStdString();
    long entities = 0;
    for (auto _ : state) {
        Counter counter;
        DL_Dxf dxf;
        dxf.in(path, &counter);
        entities = counter.entities;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file_size(file(2))));
    state.counters["elements"] = static_cast<double>(entities);
}
BENCHMARK(BM_DxflibParse)->Unit(benchmark::kMillisecond)->MinTime(2);
#endif

#ifdef ORVEX_HAVE_OCCT
void BM_OcctReadFile(benchmark::State& state)
{
    const std::string path = file(3).toStdString();
    IGESControl_Controller::Init();
    Interface_Static::SetIVal("read.iges.bspline.continuity", 0);
    for (auto _ : state) {
        IGESControl_Reader reader;
        benchmark::DoNotOptimize(reader.ReadFile(path.c_str()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file_size(file(3))));
}
BENCHMARK(BM_OcctReadFile)->Unit(benchmark::kMillisecond)->MinTime(2);
#endif

BENCHMARK(BM_LoadDxf)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadDxfNewControl)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadIges)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadOvx)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadOvxAgainstDxf)->Unit(benchmark::kMillisecond)->MinTime(4);
BENCHMARK(BM_LoadDxfFullAgainstBasic)->Unit(benchmark::kMillisecond)->MinTime(4);
BENCHMARK(BM_LoadInsertsAgainstLines)->Unit(benchmark::kMillisecond)->MinTime(4);
BENCHMARK(BM_LoadDxfTextsAgainstEzdxf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveDxf)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_SaveIges)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_SaveOvx)->Unit(benchmark::kMillisecond)->MinTime(2);

// Keeps every figure so the ratios can be printed after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> rate; // bytes per second
    double inTurns = 0;                 // OVX MB/s over DXF MB/s, loaded in turns

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end())
                rate[run.run_name.function_name] = it->second;
            const auto ratio = run.counters.find("ratio");
            if (ratio != run.counters.end())
                inTurns = ratio->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n");
        for (const auto& [name, value] : rate)
            std::printf("%-24s %8.1f MB/s\n", name.c_str(), value / 1e6);
        auto ratio = [&](const char* ours, const char* peer, const char* what) {
            if (rate.count(ours) && rate.count(peer) && rate[peer] > 0)
                std::printf("%s: %.1fx\n", what, rate[ours] / rate[peer]);
        };
        ratio("BM_LoadDxf", "BM_DxflibParse", "DXF load into the control / dxflib parse");
        ratio("BM_LoadIges", "BM_OcctReadFile", "IGES load into the control / Open CASCADE ReadFile");
        ratio("BM_LoadOvx", "BM_LoadDxf", "OVX load / DXF load");
        if (inTurns > 0)
            std::printf("OVX load / DXF load, loaded in turns: %.2fx\n", inTurns);
        struct rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("peak resident memory: %.0f MB\n", usage.ru_maxrss / 1024.0);
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const char* name : {"300k.ovx", "300k.dxf", "100k.igs", "saved"})
        QFile::remove(data_path(name));
    return 0;
}
