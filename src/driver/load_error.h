#pragma once

#include "driver/reporter.h"
#include "source/assembly_state.h"

namespace zoltas {

// The source cannot be opened, or cannot be read once opened.
// Console: Load error: No such file "<name>" exists!
// Log: "Error: Specified input file could not be accessed".
inline void reportLoadError(const AssemblyState& state, Reporter& reporter) {
    reporter.consoleLine("Load error: No such file \"" + state.inputName + "\" exists!");
    if (state.logEnabled) {
        reporter.logLine("Error: Specified input file could not be accessed");
    }
}

}  // namespace zoltas
