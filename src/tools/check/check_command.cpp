#include "tools/check/check_command.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "driver/run.h"
#include "tools/common/analysis.h"
#include "tools/common/diagnostic_text.h"
#include "tools/lint/lint.h"

namespace zoltas {

namespace {

struct CheckOptions {
    std::vector<std::string> files;
    std::string format = "text";
    bool werror = false;
    bool listWarnings = false;
    LintOptions lint;
};

struct Checked {
    Analysis analysis;
    std::vector<Diagnostic> diagnostics;
    int errors = 0;
    int warnings = 0;
};

nlohmann::ordered_json place(const Analysis& analysis, std::int64_t line, Span span) {
    nlohmann::ordered_json where = {{"line", line > 0 ? line : 1},
                                    {"column", line > 0 ? span.begin + 1 : 1}};
    where["endColumn"] = line > 0 ? std::max(span.end, span.begin + 1) + 1 : 1;
    (void)analysis;
    return where;
}

// One object per file: the schema is in the README ("zolt check --format=json").
nlohmann::ordered_json jsonReport(const std::vector<Checked>& checked) {
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    for (const Checked& file : checked) {
        nlohmann::ordered_json diagnostics = nlohmann::ordered_json::array();
        for (const Diagnostic& d : file.diagnostics) {
            nlohmann::ordered_json entry = place(file.analysis, d.line, d.span);
            entry["severity"] = severityWord(d.severity);
            entry["code"] = d.code;
            entry["message"] = d.message;
            entry["zoltasText"] =
                d.text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(d.text);
            entry["afterFirstError"] = d.afterFirstError;
            entry["related"] = nlohmann::ordered_json::array();
            if (d.relatedLine > 0) {
                nlohmann::ordered_json related = place(file.analysis, d.relatedLine, d.relatedSpan);
                related["message"] = d.relatedMessage;
                entry["related"].push_back(related);
            }
            diagnostics.push_back(entry);
        }
        files.push_back({{"file", file.analysis.name},
                         {"errors", file.errors},
                         {"warnings", file.warnings},
                         {"diagnostics", diagnostics}});
    }
    return {{"version", 1}, {"tool", std::string("zolt ") + kVersion}, {"files", files}};
}

// SARIF 2.1.0: one run of the tool "zolt", its rules the catalogue of diagnostics, columns in
// Unicode code points of the lines read as UTF-8.
nlohmann::ordered_json sarifReport(const std::vector<Checked>& checked) {
    nlohmann::ordered_json rules = nlohmann::ordered_json::array();
    for (const DiagnosticRule& rule : diagnosticRules()) {
        rules.push_back({{"id", rule.name},
                         {"shortDescription", {{"text", rule.summary}}},
                         {"defaultConfiguration",
                          {{"level", rule.severity == Severity::error ? "error" : "warning"}}}});
    }
    const auto location = [](const Analysis& analysis, std::int64_t line, Span span) {
        nlohmann::ordered_json region = {{"startLine", line > 0 ? line : 1}};
        const LineRecord* record = line > 0 ? findLine(analysis.record, line) : nullptr;
        if (record != nullptr) {
            const std::string_view text = lineText(analysis, *record);
            region["startColumn"] = codePointColumn(text, span.begin) + 1;
            region["endColumn"] = codePointColumn(text, std::max(span.end, span.begin + 1)) + 1;
        }
        return nlohmann::ordered_json{
            {"physicalLocation",
             {{"artifactLocation", {{"uri", analysis.name}}}, {"region", region}}}};
    };
    nlohmann::ordered_json results = nlohmann::ordered_json::array();
    for (const Checked& file : checked) {
        for (const Diagnostic& d : file.diagnostics) {
            nlohmann::ordered_json result = {
                {"ruleId", d.code},
                {"level", d.severity == Severity::error ? "error" : "warning"},
                {"message", {{"text", shownMessage(d)}}},
                {"locations",
                 nlohmann::ordered_json::array({location(file.analysis, d.line, d.span)})}};
            if (d.relatedLine > 0) {
                nlohmann::ordered_json related =
                    location(file.analysis, d.relatedLine, d.relatedSpan);
                related["id"] = 0;
                related["message"] = {{"text", d.relatedMessage}};
                result["relatedLocations"] = nlohmann::ordered_json::array({related});
            }
            results.push_back(result);
        }
    }
    return {
        {"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
        {"version", "2.1.0"},
        {"runs",
         nlohmann::ordered_json::array(
             {{{"tool", {{"driver", {{"name", "zolt"}, {"version", kVersion}, {"rules", rules}}}}},
               {"columnKind", "unicodeCodePoints"},
               {"results", results}}})}};
}

void listWarnings(std::ostream& out) {
    for (const DiagnosticRule& rule : diagnosticRules()) {
        if (rule.severity == Severity::warning) {
            out << rule.name << "\t" << rule.summary << (rule.fromZoltas ? " (zoltas)" : "")
                << '\n';
        }
    }
}

int check(const CheckOptions& options, ToolContext& context) {
    if (options.listWarnings) {
        listWarnings(context.out);
        return 0;
    }
    if (options.files.empty()) {
        context.err << "Error: zolt check needs at least one FILE\n";
        return 1;
    }
    std::vector<Checked> checked;
    bool failed = false;
    for (const std::string& name : options.files) {
        Checked file{analyzeSource(context.files, name, true), {}, 0, 0};
        file.diagnostics = diagnoseSource(file.analysis, options.lint);
        for (const Diagnostic& d : file.diagnostics) {
            (d.severity == Severity::error ? file.errors : file.warnings) += 1;
        }
        failed = failed || file.errors > 0 || (options.werror && file.warnings > 0);
        checked.push_back(std::move(file));
    }
    if (options.format == "json") {
        context.out << jsonReport(checked).dump(2) << '\n';
    } else if (options.format == "sarif") {
        context.out << sarifReport(checked).dump(2) << '\n';
    } else {
        const TextStyle style = textStyleFor(context, context.outIsTerminal);
        int errors = 0;
        int warnings = 0;
        for (const Checked& file : checked) {
            writeDiagnostics(context.out, file.analysis, file.diagnostics, style);
            errors += file.errors;
            warnings += file.warnings;
        }
        if (context.outIsTerminal && errors + warnings > 0) {
            context.out << errors << (errors == 1 ? " error" : " errors") << " and " << warnings
                        << (warnings == 1 ? " warning" : " warnings") << ".\n";
        }
    }
    context.out.flush();
    return failed ? 1 : 0;
}

}  // namespace

void addCheckCommand(CLI::App& zolt, ToolContext& context) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* command = zolt.add_subcommand(
        "check", "Report every error and warning of each source, as zoltas would assemble it");
    command->add_option("FILE", options->files, "Zolt sources to check");
    command->add_option("--format", options->format, "text (the default), json or sarif")
        ->check(CLI::IsMember({"text", "json", "sarif"}));
    command->add_flag("--werror", options->werror, "Exit with status 1 on warnings too");
    command->add_flag("--list-warnings", options->listWarnings,
                      "List every warning with its name, and exit");
    command->footer(
        "  -Wno-NAME         Switch off the warning NAME (see --list-warnings)\n"
        "  -WNAME            Switch it on again\n\n"
        "A comment line \"; zolt-ignore NAME[,NAME...]\" silences those warnings on the line\n"
        "after it; \"; zolt-ignore\" alone silences all of them.");
    command->allow_extras();
    command->callback([options, command, &context] {
        for (const std::string& extra : command->remaining()) {
            const bool off = extra.starts_with("-Wno-");
            const std::string name = extra.substr(off ? 5 : 2);
            if (!extra.starts_with("-W") || !isWarningName(name)) {
                context.err << "Error: Unknown option or warning \"" << extra
                            << "\" (zolt check --list-warnings lists the warnings)\n";
                context.status = 1;
                return;
            }
            if (off) {
                options->lint.disabled.insert(name);
            } else {
                options->lint.disabled.erase(name);
            }
        }
        context.status = check(*options, context);
    });
}

}  // namespace zoltas
