#include "check_agreement.h"

#include <vector>

#include "in_memory_run.h"
#include "tools/lint/lint.h"

namespace zoltas::test {

namespace {

std::string lastLine(const std::string& text) {
    const std::size_t end = text.size() - 1;
    const std::size_t start = text.rfind('\n', end - 1);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - (start + 1));
}

}  // namespace

std::string checkDisagreement(const std::map<std::string, std::string>& files) {
    const InMemoryRun zoltas = runZoltas(files, {"prog.asm", "output.rom", "rom"});
    MemoryFileSystem memory;
    memory.files = files;
    const Analysis analysis = analyzeSource(memory, "prog.asm", true);
    const std::vector<Diagnostic> found = diagnoseSource(analysis, {});
    const Diagnostic* first = nullptr;
    for (const Diagnostic& d : found) {
        if (d.severity == Severity::error && !d.afterFirstError) {
            first = &d;
        }
    }
    if ((zoltas.status == 1) != (first != nullptr)) {
        return "zoltas ends with " + std::to_string(zoltas.status) + ", check " +
               (first != nullptr ? "finds" : "does not find") + " an error";
    }
    if (first == nullptr) {
        return "";
    }
    const std::string error = lastLine(zoltas.console);
    if (first->text != error) {
        return "zoltas says \"" + error + "\", check's first error \"" + first->text + "\"";
    }
    if (error.starts_with("L")) {
        const std::string line = error.substr(1, error.find('\t') - 1);
        if (line != std::to_string(first->line)) {
            return "zoltas names line " + line + ", check " + std::to_string(first->line);
        }
    }
    return "";
}

}  // namespace zoltas::test
