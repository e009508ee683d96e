// Start-up cost of the participant list: read, split and mask a full file.
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
    FullParticipantFile() {
        root_ = std::filesystem::temp_directory_path() /
                ("prizedraw-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(root_ / "data");
        paths = lottery::EventPaths::forFolder(root_);
        std::ofstream out(paths.participantFile, std::ios::binary);
        for (int i = 0; i < lottery::kParticipantCapacity; ++i) // 张三 + a phone number, GBK
            out << "\xD5\xC5\xC8\xFD " << 13800000000LL + i << "\r\n";
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
    FullParticipantFile file;
    testsupport::FakeCoreServices services;
    lottery::ParticipantList list;
    lottery::DrawOptions options;
    options.hide = 1;
    options.hstart = 9;
    options.hend = 12;
    std::vector<std::string> warnings;
    for (auto _ : state) {
        warnings.clear();
        lottery::loadParticipantFile(file.paths, list, options, services, warnings);
        benchmark::DoNotOptimize(list.entries.data());
    }
    if (list.count() != lottery::kParticipantCapacity || !warnings.empty())
        state.SkipWithError("unexpected load result");
}

} // namespace

BENCHMARK(loadAndMask)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
