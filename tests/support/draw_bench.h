#pragma once

#include "lottery/draw_machine.h"
#include "lottery/prize_file.h"
#include "lottery/results_reader.h"
#include "support/entries.h"
#include "support/fake_core_services.h"
#include "support/recording_view.h"
#include "support/temp_event_folder.h"

#include <string>
#include <vector>

// A draw machine on a fresh event folder, watched by a recording view.
struct DrawBench {
    explicit DrawBench(const std::vector<std::string>& entries, std::uint32_t seed = 7)
        : services({}, seed) {
        for (const std::string& raw : entries)
            testsupport::addEntry(data.participants, raw);
        machine.addView(view);
    }
    // "p100".."p119", or with a suffix.
    static std::vector<std::string> numbered(int count, const std::string& suffix = "") {
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i)
            out.push_back("p" + std::to_string(100 + i) + suffix);
        return out;
    }
    void addPrize(const std::string& id, int total, int perRound) {
        data.prizeTable.prizes.push_back(
            {id, "T" + id, "", total, perRound, 0, "", lottery::roundsFor(total, perRound)});
    }
    void press(int times = 1) {
        for (int i = 0; i < times; ++i)
            machine.advance();
    }
    // p: a press, r: a reset, c2: choose prize 2, a2: position 2 absent, k1: keep only the
    // first prize.
    void play(const char* script) {
        for (const char* op = script; *op; ++op) {
            const auto digit = [&op] { return *++op - '0'; };
            if (*op == 'p')
                machine.advance();
            else if (*op == 'r')
                machine.reset();
            else if (*op == 'c')
                machine.choosePrize(digit());
            else if (*op == 'a')
                machine.declareAbsent({digit()});
            else if (*op == 'k')
                data.prizeTable.prizes.resize(std::size_t(digit()));
        }
    }
    lottery::ResultsLog log() { return lottery::readResultsLog(folder.paths.resultFile, services); }
    std::string results() const { return TempEventFolder::read(folder.paths.resultFile); }

    TempEventFolder folder;
    lottery::LotteryData data;
    testsupport::FakeCoreServices services;
    RecordingView view;
    lottery::DrawMachine machine{data, folder.paths, services, view};
};
