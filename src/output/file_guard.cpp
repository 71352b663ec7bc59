#include "output/file_guard.h"

namespace zoltas {

bool isProtected(const std::string& name, const AssemblyState& state, bool logOpen,
                 Reporter& reporter, FileSystem& files) {
    if (files.sameFile(name, state.inputName)) {
        reporter.consoleLine("Write error: Won't overwrite the source file \"" + name + "\"!");
        reporter.logLine("Error: Specified output file is the source file");
        return true;
    }
    if (logOpen && files.sameFile(name, "asm.log")) {
        reporter.consoleLine("Write error: Won't overwrite the log file \"" + name + "\"!");
        reporter.logLine("Error: Specified output file is the log file");
        return true;
    }
    return false;
}

}  // namespace zoltas
