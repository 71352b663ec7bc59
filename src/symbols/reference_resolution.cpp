#include "symbols/reference_resolution.h"
#include "record/diagnostic_codes.h"

#include <string>

namespace zoltas {

namespace {

// What differs between the two passes: the data and the words of their messages.
struct SymbolPass {
    const char* consoleBanner;
    const char* logBanner;
    const char* kind;       // "constant" or "label"
    const char* valueWord;  // "value" or "address"
    const char* tableWord;  // "constants" or "labels"
    std::string_view undefinedCode;
    std::string_view unusedCode;
};

constexpr SymbolPass kConstantPass{
    "Starting parse part 2 of 4...", "Pass 2/4",           "constant", "value", "constants",
    codes::undefinedConstant,        codes::unusedConstant};
constexpr SymbolPass kLabelPass{
    "Starting parse part 3 of 4...", "Pass 3/4",        "label", "address", "labels",
    codes::undefinedLabel,           codes::unusedLabel};

bool resolve(const SymbolPass& pass, ReferenceList& refs, SymbolTable& table, AssemblyState& state,
             Reporter& reporter) {
    const std::string_view kind = pass.kind;
    const bool constant = &refs == &state.constantRefs;
    AssemblyRecord* record = state.record;
    bool undefined = false;
    if (refs.names.empty()) {
        reporter.logLine([&] { return joined({"No ", kind, " tokens to be processed"}); });
    }
    // Last recorded first: with several undefined names the last one in the source is reported.
    while (!refs.names.empty()) {
        // Taken off the list only once it is patched: the view points into the list.
        const std::string_view name = refs.names.back();
        const std::uint16_t address = refs.addresses.back();

        const std::size_t reference = refs.names.size() - 1;

        const auto index = table.find(name);
        if (!index) {
            // Console: Error: Undefined constant "<name>" (or label)
            const std::string text = joined({"Error: Undefined ", kind, " \"", name, "\""});
            reporter.consoleLine(text);
            reporter.logLine([&] {
                return joined(
                    {"No ", kind, " named \"", name, "\" could be found in the token table."});
            });
            if (record == nullptr) {
                return false;
            }
            record->referenceDiagnostic(Severity::error, pass.undefinedCode, constant, reference,
                                        std::string_view(text).substr(7), text);
            if (!record->continueAfterErrors) {
                return false;
            }
            undefined = true;
            refs.names.pop_back();
            refs.addresses.pop_back();
            continue;
        }
        if (record != nullptr) {
            record->resolved(constant, reference, *index);
        }
        ++table.useCounts[*index];
        const std::uint16_t value = table.values[*index];
        reporter.logLine([&] {
            return joined({"Found ", kind, " \"", name, "\" with ", pass.valueWord, " ",
                           std::to_string(value), " in position ", std::to_string(*index),
                           " of the ", pass.tableWord, " token table."});
        });
        state.image[address] = value;
        refs.names.pop_back();
        refs.addresses.pop_back();
    }

    // Counted whether or not warnings are shown; the log has them either way.
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table.useCounts[i] != 0) {
            continue;
        }
        ++state.warningCount;
        const std::string_view name = table.names[i];
        const std::string text = joined({"WARN: Unused ", kind, " \"", name, "\"!"});
        if (state.warningsEnabled) {
            reporter.consoleLine(text);
        }
        if (record != nullptr) {
            record->symbolDiagnostic(Severity::warning, pass.unusedCode, constant, i,
                                     std::string_view(text).substr(6), text);
        }
        reporter.logLine([&] {
            return joined({"WARN: Unused ", kind, " \"", name, "\" with ID ", std::to_string(i),
                           " and value ", formatValue(table.values[i], '0')});
        });
    }
    return !undefined;
}

}  // namespace

bool resolveConstantReferences(AssemblyState& state, Reporter& reporter) {
    reporter.consoleLine(kConstantPass.consoleBanner);
    reporter.logLine(kConstantPass.logBanner);
    // The two halves grow together, so this guards an invariant rather than an input.
    if (state.constantRefs.names.size() != state.constantRefs.addresses.size()) {
        reporter.consoleLine(
            "ERROR: Number of constant name tokens is different from constant address tokens!");
        reporter.logLine([&] {
            return "Constant name tokens " + std::to_string(state.constantRefs.names.size()) +
                   " is different from constant address tokens " +
                   std::to_string(state.constantRefs.addresses.size());
        });
        return false;
    }
    return resolve(kConstantPass, state.constantRefs, state.constants, state, reporter);
}

bool resolveLabelReferences(AssemblyState& state, Reporter& reporter) {
    reporter.consoleLine(kLabelPass.consoleBanner);
    reporter.logLine(kLabelPass.logBanner);
    return resolve(kLabelPass, state.labelRefs, state.labels, state, reporter);
}

}  // namespace zoltas
