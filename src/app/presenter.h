#pragma once

#include <QString>

namespace app {

// Shows the main window over the primary screen and runs until it closes.
int runPresenter(const QString& folder);

} // namespace app
