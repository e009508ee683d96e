// The readers on files far beyond what they keep: a 200 MB participant file (GBK and UTF-8),
// a 100 MB single line, a 100 MB prize file and a 100 MB results file. Each must load in
// seconds and hold only what it keeps; peak_rss_growth_mb is the peak resident memory of the
// load above what the process held before it (Linux; 0 elsewhere).
#include "lottery/draw_ledger.h"
#include "lottery/participant_file.h"
#include "lottery/prize_file.h"
#include "lottery/results_log.h"
#include "lottery/results_reader.h"
#include "support/fake_core_services.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMb = 1024 * 1024;

#ifdef __linux__
long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return 0;
}
// Writing 5 to clear_refs restarts the peak at the current resident size.
void restartPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
double peakGrowthMb(long before) {
    return static_cast<double>(statusKb("VmHWM:") - before) / 1024.0;
}
long residentKb() {
    return statusKb("VmRSS:");
}
#else
void restartPeak() {}
double peakGrowthMb(long) {
    return 0;
}
long residentKb() {
    return 0;
}
#endif

class BigEvent {
public:
    BigEvent() {
        root_ = std::filesystem::temp_directory_path() /
                ("prizedraw-bigfile-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(root_ / "data");
        paths = lottery::EventPaths::forFolder(root_);
    }
    ~BigEvent() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    BigEvent(const BigEvent&) = delete;
    BigEvent& operator=(const BigEvent&) = delete;

    // Writes head, then line repeated up to about megabytes, then tail.
    static void write(const std::filesystem::path& path, const std::string& head,
                      const std::string& line, std::size_t megabytes,
                      const std::string& tail = {}) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << head;
        std::string block;
        while (block.size() < kMb)
            block += line;
        for (std::size_t written = 0; written < megabytes * kMb; written += block.size())
            out << block;
        out << tail;
    }

    lottery::EventPaths paths;

private:
    std::filesystem::path root_;
};

template <typename Load> void measure(benchmark::State& state, Load load) {
    double peak = 0;
    for (auto _ : state) {
        const long before = residentKb();
        restartPeak();
        load();
        peak = std::max(peak, peakGrowthMb(before));
    }
    state.counters["peak_rss_growth_mb"] = peak;
}

void participants(benchmark::State& state, const std::string& line, std::size_t megabytes) {
    BigEvent event;
    BigEvent::write(event.paths.participantFile, "", line, megabytes);
    testsupport::FakeCoreServices services;
    lottery::DrawOptions options;
    options.maskEntries = 1;
    options.maskStart = 4;
    options.maskEnd = 7;
    lottery::ParticipantList list;
    std::vector<std::string> warnings;
    measure(state, [&] {
        warnings.clear();
        lottery::loadParticipantFile(event.paths, list, options, services, warnings);
    });
    state.counters["entries"] = list.count();
    if (list.count() == 0 || warnings.empty())
        state.SkipWithError("the file was not read as expected");
}

void participantFile200MbGbk(benchmark::State& state) {
    participants(state, "\xD5\xC5\xC8\xFD 13800000000\r\n", 200);
}

void participantFile200MbUtf8(benchmark::State& state) {
    participants(state, "张三 13800000000\r\n", 200);
}

void participantLine100Mb(benchmark::State& state) {
    participants(state, "aaaaaaaaaaaaaaaa", 100);
}

void prizeFile100Mb(benchmark::State& state) {
    BigEvent event;
    BigEvent::write(event.paths.prizeFile, "P`t`x`1`3`1`" + std::string(kMb, '9') + "\r\n",
                    "P`t`x`1`3`1`1,2,3\r\n", 100);
    testsupport::FakeCoreServices services;
    lottery::PrizeTable table;
    std::vector<std::string> warnings;
    measure(state, [&] {
        warnings.clear();
        lottery::loadPrizeFile(event.paths.prizeFile, table, services, warnings);
    });
    if (table.count() != lottery::kPrizeCapacity)
        state.SkipWithError("the table is not full");
}

// A results file of some three million winner lines of one raw text, restored on a list
// holding that text twice: the log is cut at the most a draw can record.
void resultsFile100Mb(benchmark::State& state) {
    BigEvent event;
    testsupport::FakeCoreServices services;
    const std::string start = services.gbkFromUtf8("抽奖开始日期：");
    BigEvent::write(event.paths.resultFile, start + "2026-01-01 00:00:00\r\n",
                    "2026-01-01 00:00:00\tP1\tt\t1\t1\tdup\r\n", 100);
    lottery::ParticipantList list;
    list.append("dup");
    list.append("dup");
    std::size_t records = 0;
    measure(state, [&] {
        const lottery::ResultsLog log = lottery::readResultsLog(event.paths.resultFile, services);
        lottery::restoreMarks(list, log);
        records = log.winners.size();
    });
    state.counters["records"] = static_cast<double>(records);
    if (records == 0)
        state.SkipWithError("no record read");
}

} // namespace

BENCHMARK(participantFile200MbGbk)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(participantFile200MbUtf8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(participantLine100Mb)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(prizeFile100Mb)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(resultsFile100Mb)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
