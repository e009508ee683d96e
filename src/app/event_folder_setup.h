#pragma once

#include <QString>

#include <string>

namespace app {

// A folder holds an event once it has its prize file.
bool isEventFolder(const QString& folder);

// Makes what an event needs and the folder lacks: data/ with an empty prize file and list.
// A folder with neither a prize file nor settings is a new event: it also gets the built-in
// background, picture and tunes and opens in the 大屏 layout. Nothing that is there is
// touched. Returns one UTF-8 message listing every part that could not be made, or "".
std::string completeEventFolder(const QString& folder);

} // namespace app
