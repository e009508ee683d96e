#pragma once

#include <QString>

namespace app {

// Shows the main window over the audience screen (the operator's console on the other, or
// beside it with consoleAsked) and runs until it closes.
int runPresenter(const QString& folder, bool consoleAsked);

} // namespace app
