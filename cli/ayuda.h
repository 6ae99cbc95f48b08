// The text of fenwa-cli --help.
#pragma once

#include <string>

// The help of the analysis: usage, the options (with the method list, the parameter fields
// and their defaults, the chart formats) and the exit status.
std::string Ayuda();
