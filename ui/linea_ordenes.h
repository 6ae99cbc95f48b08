// The desktop program's informative options, answered before any window exists.
#pragma once

#include <optional>

// With -h/--help or --version among the arguments, writes the help or the version to
// standard output and returns the exit status; otherwise returns nothing and the program
// starts as usual. Needs no display.
std::optional<int> OpcionesInformativas(int argc, char** argv);
