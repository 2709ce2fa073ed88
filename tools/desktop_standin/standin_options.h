// The stand-in's command line: --layout=progman|workerw|24h2 and --secondary-taskbars=N.
#pragma once
#include <windows.h>

#include "standin_protocol.h"

namespace standin {

struct StandinOptions {
    Layout layout = Layout::kProgman;
    int secondaryTaskbars = 0;
};

// `commandLine` is a whole command line, program first (GetCommandLineW). Unknown words and
// values out of range are ignored, leaving the defaults.
StandinOptions ParseStandinOptions(const wchar_t* commandLine);

}  // namespace standin
