#pragma once

#include "lottery/results_log.h"

#include <string>
#include <vector>

namespace lottery {

enum class SoundCue : int { Rolling = 0, Result = 1 };

// The two lines along the bottom edge: the current step and the next one (UTF-8).
struct StatusTexts {
    std::string current;
    std::string next;
};

// An entry on screen, by its text: a list read again never changes a name already shown.
struct ShownEntry {
    std::string raw;     // GBK, as drawn and recorded; empty for a position shown empty
    std::string display; // GBK, masked as the options say
};

// One read-only picture of the draw, handed to every view at each change.
struct DrawPicture {
    enum class Screen { Ready, Rolling, Result, Finished };
    Screen screen = Screen::Ready;
    int prizeIndex = -1; // in the prize table; -1 when no prize is current
    int roundIndex = 0;  // from 0
    // The current prize as the draw counts it, absences and short rounds included: its rounds
    // in all, and its positions that no round shown so far covers.
    int roundsInAll = 0;
    int positionsLeft = 0;
    // Rolling and Result: the entries shown, by position.
    std::vector<ShownEntry> selection;
    StatusTexts status;
    // The list the draw uses: its file's SHA-256 (empty when unreadable) and its entry count.
    std::string participantsFingerprint;
    int participantCount = 0;
    // The code of the last results line, the draw's proof to photograph; empty before a start.
    std::string chainCode;
};

// What shows the draw: the draw window, and any other view of the same machine.
class DrawView {
public:
    virtual ~DrawView() = default;

    virtual void showPicture(const DrawPicture& picture) = 0;
    virtual void playCue(SoundCue cue) = 0;
    // A stopped round's winners or replacements, with their chain codes, after the result
    // picture was shown.
    virtual void winnersRecorded(const std::vector<WinnerRecord>& winners) { (void)winners; }
    // Tells the operator something went wrong; the draw goes on.
    virtual void reportProblem(const std::string& utf8Message) = 0;
    // Something the operator must act on that is no failure, such as a prize left short.
    virtual void reportNotice(const std::string& utf8Message) { reportProblem(utf8Message); }
};

// The 40 ms frame clock, which calls DrawMachine::tick while it runs.
class DrawClock {
public:
    virtual ~DrawClock() = default;
    virtual void setTicking(bool ticking) = 0;
};

} // namespace lottery
