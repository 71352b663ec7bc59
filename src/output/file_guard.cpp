#include "output/file_guard.h"

namespace zoltas {

namespace {

void reportKept(KeptFile::Role role, const std::string& name, Reporter& reporter) {
    reporter.consoleLine(keptFileText(role, name));
    reporter.logLine(role == KeptFile::Role::source
                         ? "Error: Specified output file is the source file"
                         : "Error: Specified output file is the log file");
}

// Whether the file opened for names[index] is a kept file or an output opened before it.
bool clashes(const OpenedOutputs& opened, std::size_t index, std::span<const std::string> names,
             std::span<const KeptFile> kept, Reporter& reporter) {
    const FileKey key = opened.files[index]->key();
    for (const KeptFile& keep : kept) {
        if (keep.key == key) {
            reportKept(keep.role, names[index], reporter);
            return true;
        }
    }
    for (std::size_t other = 0; other < opened.files.size(); ++other) {
        if (other != index && opened.files[other] && opened.files[other]->key() == key) {
            const std::size_t first = std::min(other, index);
            const std::size_t second = std::max(other, index);
            reporter.consoleLine("Write error: \"" + names[first] + "\" and \"" + names[second] +
                                 "\" are the same file!");
            reporter.logLine("Error: Specified output files are the same file");
            return true;
        }
    }
    return false;
}

}  // namespace

std::string keptFileText(KeptFile::Role role, const std::string& name) {
    return (role == KeptFile::Role::source ? "Write error: Won't overwrite the source file \""
                                           : "Write error: Won't overwrite the log file \"") +
           name + "\"!";
}

OpenedOutputs openOutputFiles(FileSystem& files, std::span<const std::string> names, FileMode mode,
                              std::span<const KeptFile> kept, Reporter& reporter) {
    OpenedOutputs opened;
    opened.files.resize(names.size());
    // The files that exist first, then the ones that must be made; each checked once it is open.
    for (const bool create : {false, true}) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (opened.files[i]) {
                continue;
            }
            opened.files[i] = files.openForWriting(names[i], mode, create);
            if (opened.files[i] && clashes(opened, i, names, kept, reporter)) {
                for (auto& file : opened.files) {
                    if (file) {
                        (void)file->close();
                    }
                }
                opened.files.clear();
                opened.refused = true;
                return opened;
            }
        }
    }
    return opened;
}

}  // namespace zoltas
