#include "app/starting_console.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#endif

namespace app {

#ifdef _WIN32
void useStartingConsole() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE)
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    SetConsoleOutputCP(CP_UTF8);
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}
#else
void useStartingConsole() {}
#endif

} // namespace app
