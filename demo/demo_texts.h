#pragma once

#include <string>
#include <vector>

// The demo prize file in UTF-8: five prizes, not listed in draw order, CR LF line ends.
std::string demoPrizeFile();
// count distinct made-up entries "name phone" in UTF-8, the same at every build.
std::vector<std::string> demoEntries(int count);
