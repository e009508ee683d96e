// Start-up cost of the participant list: read, split, index and mask a file of 10000, 100000
// and 1,000,000 entries.
#include "lottery/participant_file.h"
#include "support/fake_core_services.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

class FullParticipantFile {
public:
    explicit FullParticipantFile(int entries) {
        root_ = std::filesystem::temp_directory_path() /
                ("prizedraw-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(root_ / "data");
        paths = lottery::EventPaths::forFolder(root_);
        std::ofstream out(paths.participantFile, std::ios::binary);
        // 张三 销售部 and a phone number, in GBK: name, department and phone as imported.
        for (int i = 0; i < entries; ++i)
            out << "\xD5\xC5\xC8\xFD" << i % 1000 << " \xCF\xFA\xCA\xDB\xB2\xBF "
                << 13800000000LL + i << "\r\n";
    }
    ~FullParticipantFile() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    lottery::EventPaths paths;

private:
    std::filesystem::path root_;
};

void loadAndMask(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    FullParticipantFile file(entries);
    testsupport::FakeCoreServices services;
    lottery::ParticipantList list;
    lottery::DrawOptions options;
    options.maskEntries = 1;
    options.maskStart = 9;
    options.maskEnd = 12;
    std::vector<std::string> warnings;
    for (auto _ : state) {
        warnings.clear();
        lottery::loadParticipantFile(file.paths, list, options, services, warnings);
        benchmark::DoNotOptimize(list.displayText(0).data());
    }
    // Names repeat every 1000 entries, phone numbers never: no duplicates to warn about.
    if (list.count() != entries || !warnings.empty())
        state.SkipWithError("unexpected load result");
}

} // namespace

BENCHMARK(loadAndMask)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
