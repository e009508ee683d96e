// A million-row participant sheet imported as CSV and as a workbook: reading every row,
// making the entries and counting duplicates. Each must take seconds; peak_rss_growth_mb is
// the peak resident memory above what the process held before (Linux; 0 elsewhere).
#include "lottery/list_import.h"
#include "sheets/sheet_file.h"
#include "sheets/xlsx_writer.h"
#include "support/fake_core_services.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 1000000;

#ifdef __linux__
long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return 0;
}
void restartPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
#else
long statusKb(const char*) {
    return 0;
}
void restartPeak() {}
#endif

std::string name(int i) {
    return "Name" + std::to_string(i % 200000);
}
std::string phone(int i) {
    return std::to_string(13800000000LL + i);
}

QString csvFile() {
    static const QString path = [] {
        const QString file = QDir::temp().filePath("prizedraw-bench-million.csv");
        std::ofstream out(file.toStdString(), std::ios::binary);
        out << "name,phone\r\n";
        for (int i = 0; i < kRows; ++i)
            out << name(i) << ',' << phone(i) << "\r\n";
        return file;
    }();
    return path;
}

QString workbookFile() {
    static const QString path = [] {
        const QString file = QDir::temp().filePath("prizedraw-bench-million.xlsx");
        std::vector<std::vector<std::string>> rows{{"name", "phone"}};
        for (int i = 0; i < kRows; ++i)
            rows.push_back({name(i), phone(i)});
        sheets::writeTextWorkbook(file, {{QStringLiteral("list"), std::move(rows)}}, nullptr);
        return file;
    }();
    return path;
}

void importFile(benchmark::State& state, const QString& path) {
    testsupport::FakeCoreServices services;
    for (auto _ : state) {
        const long before = statusKb("VmRSS:");
        restartPeak();
        sheets::SheetFile file;
        file.open(path, nullptr);
        lottery::ListImport import({true, {1, 2}}, file.encoding(), services);
        file.read(
            0,
            [&import](const std::vector<std::string>& cells) {
                import.addRow(cells);
                return true;
            },
            nullptr);
        if (import.entries() != kRows)
            state.SkipWithError("not every row became an entry");
        state.counters["peak_rss_growth_mb"] =
            static_cast<double>(statusKb("VmHWM:") - before) / 1024.0;
    }
}

void BM_ImportCsvMillionRows(benchmark::State& state) {
    importFile(state, csvFile());
}
BENCHMARK(BM_ImportCsvMillionRows)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_ImportWorkbookMillionRows(benchmark::State& state) {
    importFile(state, workbookFile());
}
BENCHMARK(BM_ImportWorkbookMillionRows)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

} // namespace

BENCHMARK_MAIN();
