#pragma once

namespace app {

// On Windows the program is a windowed one with no console of its own: its printing commands
// write to the console they were started from (as UTF-8), unless their output already goes
// to a file or a pipe. Elsewhere nothing changes.
void useStartingConsole();

} // namespace app
