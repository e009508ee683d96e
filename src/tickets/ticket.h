#pragma once

#include <QString>

namespace tickets {

// What one winner's ticket says.
struct Ticket {
    QString prizeTitle;
    QString entry;    // as shown on screen
    int round = 0;    // from 1
    int position = 0; // from 1
    bool replacement = false;
    QString time;
    QString code; // the results line's chain code
};

} // namespace tickets
