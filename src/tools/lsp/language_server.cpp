#include "tools/lsp/language_server.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>

#include "driver/reporter.h"
#include "driver/run.h"
#include "isa/instruction_table.h"
#include "source/control_directives.h"
#include "source/syntax.h"
#include "tools/common/diagnostic_text.h"
#include "tools/lint/lint.h"
#include "tools/lsp/directive_help.h"
#include "tools/lsp/transport.h"

namespace zoltas {

using json = nlohmann::json;

namespace {

// The protocol's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kServerNotInitialized = -32002;
constexpr int kRequestFailed = -32803;

struct ProtocolError {
    int code;
    std::string message;
};

json errorReply(const json& id, int code, const std::string& message) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

std::string hexValue(std::uint16_t value) {
    std::string text = "$";
    text += hex4(value);
    return text;
}

// A file: URI as the path the file system opens; any other URI (an unsaved buffer) as itself.
std::string nameOfUri(const std::string& uri) {
    constexpr std::string_view kFile = "file://";
    if (!std::string_view(uri).starts_with(kFile)) {
        return uri;
    }
    std::string path;
    const std::string_view rest = std::string_view(uri).substr(kFile.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() &&
            std::isxdigit(static_cast<unsigned char>(rest[i + 1])) != 0 &&
            std::isxdigit(static_cast<unsigned char>(rest[i + 2])) != 0) {
            path += static_cast<char>(std::stoi(std::string(rest.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

// What a position in a document stands on.
struct Place {
    const LineRecord* line = nullptr;
    std::uint32_t column = 0;  // in bytes
    std::string_view text;     // the line
};

bool inside(Span span, std::uint32_t column) {
    // The cursor right after a name is still on it.
    return column >= span.begin && column <= span.end && span.end > span.begin;
}

class DocumentView {
  public:
    DocumentView(const Analysis& analysis, std::string uri)
        : analysis_(analysis), record_(analysis.record), uri_(std::move(uri)) {}

    Place place(const json& position) const {
        Place place;
        place.line = findLine(record_, position.at("line").get<std::int64_t>() + 1);
        if (place.line != nullptr) {
            place.text = lineText(analysis_, *place.line);
            place.column =
                byteColumnOfUtf16(place.text, position.at("character").get<std::uint32_t>());
        }
        return place;
    }

    json range(std::int64_t lineNumber, Span span) const {
        const LineRecord* line = findLine(record_, lineNumber);
        if (line == nullptr) {
            return {{"start", {{"line", 0}, {"character", 0}}},
                    {"end", {{"line", 0}, {"character", 0}}}};
        }
        const std::string_view text = lineText(analysis_, *line);
        const auto at = [&](std::uint32_t column) {
            return json{{"line", lineNumber - 1}, {"character", utf16Column(text, column)}};
        };
        return {{"start", at(span.begin)}, {"end", at(std::max(span.end, span.begin))}};
    }

    json location(std::int64_t line, Span span) const {
        return {{"uri", uri_}, {"range", range(line, span)}};
    }

    const ReferenceRecord* referenceAt(const Place& place) const {
        if (place.line == nullptr) {
            return nullptr;
        }
        for (const auto* list : {&record_.labelReferences, &record_.constantReferences}) {
            for (const ReferenceRecord& reference : *list) {
                if (reference.line == place.line->number && inside(reference.token, place.column)) {
                    return &reference;
                }
            }
        }
        return nullptr;
    }

    // A symbol whose definition stands at the place: {constant, index}.
    std::optional<std::pair<bool, std::size_t>> definitionAt(const Place& place) const {
        if (place.line == nullptr) {
            return std::nullopt;
        }
        for (const bool constant : {false, true}) {
            const auto& table = constant ? record_.constants : record_.labels;
            for (std::size_t i = 1; i < table.size(); ++i) {
                if (table[i].line == place.line->number && inside(table[i].span, place.column)) {
                    return std::make_pair(constant, i);
                }
            }
        }
        return std::nullopt;
    }

    // The symbol at the place, by a reference to it or its definition: the entry that lookups
    // of the name reach, as zoltas resolves references.
    std::optional<std::pair<bool, std::size_t>> symbolAt(const Place& place) const {
        if (const ReferenceRecord* reference = referenceAt(place)) {
            if (!reference->symbol) {
                return std::nullopt;
            }
            return std::make_pair(reference->constant,
                                  static_cast<std::size_t>(*reference->symbol));
        }
        if (const auto definition = definitionAt(place)) {
            const auto& table = definition->first ? record_.constants : record_.labels;
            return std::make_pair(definition->first,
                                  static_cast<std::size_t>(table[definition->second].reached));
        }
        return std::nullopt;
    }

    const SymbolRecord& symbol(bool constant, std::size_t index) const {
        return (constant ? record_.constants : record_.labels)[index];
    }

    std::string_view name(const SymbolRecord& symbol) const {
        return symbolName(analysis_, symbol);
    }

    std::vector<const ReferenceRecord*> referencesTo(bool constant, std::size_t index) const {
        std::vector<const ReferenceRecord*> found;
        for (const ReferenceRecord& reference :
             constant ? record_.constantReferences : record_.labelReferences) {
            if (reference.symbol && *reference.symbol == index) {
                found.push_back(&reference);
            }
        }
        return found;
    }

    const NumberRecord* numberAt(const Place& place) const {
        if (place.line == nullptr) {
            return nullptr;
        }
        for (const NumberRecord& number : record_.numbers) {
            if (number.line == place.line->number && number.value &&
                inside(number.digits, place.column) && place.column >= number.text.begin) {
                return &number;
            }
        }
        return nullptr;
    }

    const Analysis& analysis() const { return analysis_; }
    const AssemblyRecord& record() const { return record_; }
    const std::string& uri() const { return uri_; }

  private:
    const Analysis& analysis_;
    const AssemblyRecord& record_;
    std::string uri_;
};

std::string kindWord(bool constant) {
    return constant ? "constant" : "label";
}

json markdown(const std::string& text) {
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}};
}

std::string symbolSummary(const DocumentView& view, bool constant, std::size_t index) {
    const SymbolRecord& symbol = view.symbol(constant, index);
    std::string text = kindWord(constant) + " `" + std::string(view.name(symbol)) +
                       "` = " + hexValue(symbol.value) + " (" + std::to_string(symbol.value) + ")";
    if (symbol.line == 0) {
        text += ", built in: the address at which the last line read starts";
    } else {
        text += ", defined on line " + std::to_string(symbol.line);
    }
    text += ", used " + std::to_string(symbol.uses) + (symbol.uses == 1 ? " time" : " times");
    return text;
}

json hover(const DocumentView& view, const json& params) {
    const Place place = view.place(params.at("position"));
    if (place.line == nullptr) {
        return nullptr;
    }
    const LineRecord& line = *place.line;
    if (const ReferenceRecord* reference = view.referenceAt(place)) {
        if (!reference->symbol) {
            return markdown(
                "undefined " + kindWord(reference->constant) + " `" +
                std::string(place.text.substr(reference->name.begin,
                                              reference->name.end - reference->name.begin)) +
                "`");
        }
        return markdown(symbolSummary(view, reference->constant, *reference->symbol));
    }
    if (const auto definition = view.definitionAt(place)) {
        const SymbolRecord& symbol = view.symbol(definition->first, definition->second);
        if (symbol.reached != definition->second) {
            return markdown(kindWord(definition->first) + " `" + std::string(view.name(symbol)) +
                            "` = " + hexValue(symbol.value) +
                            ": defined again; references reach the first definition, on line " +
                            std::to_string(view.symbol(definition->first, symbol.reached).line));
        }
        return markdown(symbolSummary(view, definition->first, definition->second));
    }
    if (const NumberRecord* number = view.numberAt(place)) {
        const std::int32_t value = *number->value;
        return markdown("`" +
                        std::string(place.text.substr(number->text.begin,
                                                      number->digits.end - number->text.begin)) +
                        "` = " + std::to_string(value) + " (" + formatValue(value, '0') +
                        "); as a word " + hexValue(toWord(value)));
    }
    if (line.lineClass == LineClass::instruction && inside(line.name, place.column)) {
        const std::string mnemonic(
            place.text.substr(line.name.begin, line.name.end - line.name.begin));
        if (line.remark) {
            return markdown("`" + mnemonic + "`: a remark, which places the word $0000 at " +
                            hexValue(line.addressBefore));
        }
        if (line.instructionWords == 0) {
            return markdown("`" + mnemonic + "` is no instruction");
        }
        return markdown("`" + mnemonic + "`: opcode word " + hexValue(line.opcodeWord) + ", " +
                        std::to_string(line.instructionWords) +
                        (line.instructionWords == 1 ? " word" : " words") +
                        "; this line assembles at " + hexValue(line.addressBefore));
    }
    if (line.lineClass == LineClass::directive && place.column <= line.name.end) {
        std::string name(place.text.substr(line.name.begin, line.name.end - line.name.begin));
        const auto help =
            line.directive == DirectiveKind::unknown ? std::nullopt : directiveHelp(name);
        if (!help) {
            return markdown("`." + name + "` matches no directive: the line is ignored");
        }
        return markdown("`" + std::string(help->usage) + "`: " + std::string(help->effect));
    }
    return nullptr;
}

json definition(const DocumentView& view, const json& params) {
    const auto symbol = view.symbolAt(view.place(params.at("position")));
    if (!symbol || symbol->second == 0) {
        return nullptr;
    }
    const SymbolRecord& target = view.symbol(symbol->first, symbol->second);
    return view.location(target.line, target.span);
}

json references(const DocumentView& view, const json& params) {
    const auto symbol = view.symbolAt(view.place(params.at("position")));
    json found = json::array();
    if (!symbol) {
        return found;
    }
    const SymbolRecord& target = view.symbol(symbol->first, symbol->second);
    if (params.value("/context/includeDeclaration"_json_pointer, false) && target.line > 0) {
        found.push_back(view.location(target.line, target.span));
    }
    for (const ReferenceRecord* reference : view.referencesTo(symbol->first, symbol->second)) {
        found.push_back(view.location(reference->line, reference->token));
    }
    return found;
}

json documentSymbols(const DocumentView& view) {
    json symbols = json::array();
    for (const bool constant : {false, true}) {
        const auto& table = constant ? view.record().constants : view.record().labels;
        for (std::size_t i = 1; i < table.size(); ++i) {
            const SymbolRecord& symbol = table[i];
            const std::string_view name = view.name(symbol);
            const LineRecord* line = findLine(view.record(), symbol.line);
            if (name.empty() || line == nullptr) {
                continue;  // the protocol wants a name
            }
            symbols.push_back({{"name", name},
                               {"detail", hexValue(symbol.value)},
                               {"kind", constant ? 14 : 12},
                               {"range", view.range(symbol.line, {0, line->length})},
                               {"selectionRange", view.range(symbol.line, symbol.span)}});
        }
    }
    return symbols;
}

// The text of the cursor's line before the cursor; empty past the end of the document.
std::string_view textBeforeCursor(const std::string& text, const json& params) {
    const auto lineNumber = params.at("/position/line"_json_pointer).get<std::int64_t>();
    std::size_t start = 0;
    for (std::int64_t k = 0; k < lineNumber && start != std::string::npos; ++k) {
        start = text.find('\n', start);
        start = start == std::string::npos ? start : start + 1;
    }
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = std::string_view(text).substr(start, end - start);
    return line.substr(
        0, byteColumnOfUtf16(line,
                             params.at("/position/character"_json_pointer).get<std::uint32_t>()));
}

// What the cursor is completing, by the text of its line before it.
json completion(const std::string& text, const json& params) {
    const std::string_view before = textBeforeCursor(text, params);
    json items = json::array();
    const bool inFirstToken =
        before.size() >= 1 && before.substr(1).find_first_of(" \t;") == std::string_view::npos;
    if (!before.empty() && before[0] == '\t' && inFirstToken) {
        for (const InstructionRow& row : instructionTable()) {
            items.push_back(
                {{"label", row.mnemonic},
                 {"kind", 14},
                 {"detail", hexValue(row.opcodeWord) + ", " + std::to_string(row.wordCount) +
                                (row.wordCount == 1 ? " word" : " words")}});
        }
    } else if (!before.empty() && before[0] == '.' && inFirstToken) {
        std::vector<std::string_view> names(controlDirectiveNames().begin(),
                                            controlDirectiveNames().end());
        for (const char selector : kDataSelectors) {
            names.emplace_back(&kDataSelectors[kDataSelectors.find(selector)], 1);
        }
        for (const std::string_view name : names) {
            json item = {{"label", std::string(name)}, {"kind", 14}};
            if (const auto help = directiveHelp(name)) {
                item["detail"] = help->usage;
                item["documentation"] = help->effect;
            }
            items.push_back(item);
        }
    }
    return items;
}

// After "/" or "\\": every name a reference reaches, the typed part matched with A to Z folded.
json symbolCompletion(const DocumentView& view, const std::string& text, const json& params) {
    const std::string_view before = textBeforeCursor(text, params);
    json items = json::array();
    const std::size_t token = before.find_last_of("/\\");
    if (token == std::string_view::npos ||
        before.substr(token + 1).find_first_of(" \t;") != std::string_view::npos) {
        return items;
    }
    const bool constant = before[token] == '\\';
    const std::string_view typed = before.substr(token + 1);
    const auto& table = constant ? view.record().constants : view.record().labels;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const SymbolRecord& symbol = table[i];
        const std::string_view name = view.name(symbol);
        if (symbol.reached != i || name.size() < typed.size() ||
            !equalFolded(name.substr(0, typed.size()), typed) ||
            name.find_first_of(" \t") != std::string_view::npos) {
            continue;
        }
        items.push_back({{"label", std::string(name)},
                         {"kind", constant ? 21 : 3},
                         {"detail", hexValue(symbol.value) +
                                        (symbol.line > 0 ? ", line " + std::to_string(symbol.line)
                                                         : std::string(", built in"))}});
    }
    return items;
}

// Rename a label or constant: its definition and every reference that reaches it. The new name
// must be one that references can reach and that no other symbol of its kind has.
json rename(const DocumentView& view, const json& params, bool prepare) {
    const Place place = view.place(params.at("position"));
    const auto symbol = view.symbolAt(place);
    if (!symbol || symbol->second == 0) {
        if (prepare) {
            return nullptr;
        }
        throw ProtocolError{kRequestFailed, "no label or constant to rename here"};
    }
    const auto& [constant, index] = *symbol;
    const SymbolRecord& target = view.symbol(constant, index);
    if (prepare) {
        Span span = target.span;
        std::int64_t line = target.line;
        if (const ReferenceRecord* reference = view.referenceAt(place)) {
            span = reference->name;
            line = reference->line;
        }
        return {{"range", view.range(line, span)}, {"placeholder", std::string(view.name(target))}};
    }
    const std::string newName = params.at("newName").get<std::string>();
    const bool bad = newName.empty() || newName.find_first_of(" \t;\r\n") != std::string::npos ||
                     (!constant && newName.find(':') != std::string::npos) ||
                     (constant && newName.find('=') != std::string::npos);
    if (bad) {
        throw ProtocolError{kRequestFailed,
                            "\"" + newName + "\" is no name a reference can reach (no blank, TAB " +
                                "or \";\"" + (constant ? ", no \"=\")" : ", no \":\")")};
    }
    const auto& table = constant ? view.record().constants : view.record().labels;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (i != index && table[i].reached == i && equalFolded(view.name(table[i]), newName)) {
            throw ProtocolError{
                kRequestFailed,
                "a " + kindWord(constant) + " named \"" + newName + "\" is defined already" +
                    (table[i].line > 0 ? ", on line " + std::to_string(table[i].line)
                                       : std::string(" (built in)"))};
        }
    }
    json edits =
        json::array({{{"range", view.range(target.line, target.span)}, {"newText", newName}}});
    for (const ReferenceRecord* reference : view.referencesTo(constant, index)) {
        edits.push_back(
            {{"range", view.range(reference->line, reference->name)}, {"newText", newName}});
    }
    return {{"changes", {{view.uri(), edits}}}};
}

}  // namespace

json LanguageServer::parseError(const std::string& why) {
    return errorReply(nullptr, kParseError, why);
}

LanguageServer::Document& LanguageServer::document(const json& params) {
    const std::string uri = params.at("/textDocument/uri"_json_pointer).get<std::string>();
    const auto found = documents_.find(uri);
    if (found == documents_.end() || !found->second.analysis) {
        throw ProtocolError{kInvalidParams, "no open document " + uri};
    }
    return found->second;
}

void LanguageServer::analyze(const std::string& uri, Document& document, std::vector<json>& out) {
    // The old record goes first: a large document's two records would double the memory.
    document.analysis.reset();
    document.analysis =
        std::make_unique<Analysis>(analyzeSource(files_, nameOfUri(uri), true, document.text));
    const DocumentView view(*document.analysis, uri);
    json diagnostics = json::array();
    for (const Diagnostic& d : diagnoseSource(*document.analysis, {})) {
        json entry = {{"range", view.range(d.line, d.span)},
                      {"severity", d.severity == Severity::error ? 1 : 2},
                      {"code", d.code},
                      {"source", "zolt"},
                      {"message", shownMessage(d)}};
        if (d.relatedLine > 0) {
            entry["relatedInformation"] =
                json::array({{{"location", view.location(d.relatedLine, d.relatedSpan)},
                              {"message", d.relatedMessage}}});
        }
        diagnostics.push_back(entry);
    }
    out.push_back(
        {{"jsonrpc", "2.0"},
         {"method", "textDocument/publishDiagnostics"},
         {"params", {{"uri", uri}, {"version", document.version}, {"diagnostics", diagnostics}}}});
}

namespace {

// A position as a byte offset in `text`: lines end at LF, columns count UTF-16 code units.
std::size_t offsetOf(const std::string& text, const json& position) {
    const auto line = position.at("line").get<std::int64_t>();
    std::size_t start = 0;
    for (std::int64_t k = 0; k < line; ++k) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos) {
            return text.size();
        }
        start = lf + 1;
    }
    const std::size_t end = std::min(text.find('\n', start), text.size());
    return start + byteColumnOfUtf16(std::string_view(text).substr(start, end - start),
                                     position.at("character").get<std::uint32_t>());
}

}  // namespace

void LanguageServer::notification(const std::string& method, const json& params,
                                  std::vector<json>& out) {
    if (method == "exit") {
        exited_ = true;
        return;
    }
    if (!initialized_) {
        return;  // notifications before initialize are dropped
    }
    if (method == "textDocument/didOpen") {
        const json& item = params.at("textDocument");
        const std::string uri = item.at("uri").get<std::string>();
        Document& document = documents_[uri];
        document.text = item.at("text").get<std::string>();
        document.version = item.value("version", 0);
        analyze(uri, document, out);
    } else if (method == "textDocument/didChange") {
        const std::string uri = params.at("/textDocument/uri"_json_pointer).get<std::string>();
        const auto found = documents_.find(uri);
        if (found == documents_.end()) {
            return;
        }
        Document& document = found->second;
        for (const json& change : params.at("contentChanges")) {
            if (!change.contains("range")) {
                document.text = change.at("text").get<std::string>();
                continue;
            }
            const std::size_t from =
                offsetOf(document.text, change.at("/range/start"_json_pointer));
            const std::size_t to =
                std::max(from, offsetOf(document.text, change.at("/range/end"_json_pointer)));
            document.text.replace(from, to - from, change.at("text").get<std::string>());
        }
        document.version = params.at("/textDocument/version"_json_pointer).get<std::int64_t>();
        analyze(uri, document, out);
    } else if (method == "textDocument/didClose") {
        const std::string uri = params.at("/textDocument/uri"_json_pointer).get<std::string>();
        documents_.erase(uri);
        out.push_back({{"jsonrpc", "2.0"},
                       {"method", "textDocument/publishDiagnostics"},
                       {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
    }
}

json LanguageServer::request(const std::string& method, const json& params) {
    if (method == "initialize") {
        initialized_ = true;
        return {{"capabilities",
                 {{"positionEncoding", "utf-16"},
                  {"textDocumentSync", {{"openClose", true}, {"change", 2}}},
                  {"hoverProvider", true},
                  {"definitionProvider", true},
                  {"referencesProvider", true},
                  {"documentSymbolProvider", true},
                  {"renameProvider", {{"prepareProvider", true}}},
                  {"completionProvider", {{"triggerCharacters", {"\t", ".", "/", "\\"}}}}}},
                {"serverInfo", {{"name", "zolt"}, {"version", kVersion}}}};
    }
    if (!initialized_) {
        throw ProtocolError{kServerNotInitialized, "the server is not initialized"};
    }
    if (shutdown_) {
        throw ProtocolError{kInvalidRequest, "the server is shut down"};
    }
    if (method == "shutdown") {
        shutdown_ = true;
        return nullptr;
    }
    if (method == "textDocument/hover") {
        Document& doc = document(params);
        return hover(DocumentView(*doc.analysis, params.at("/textDocument/uri"_json_pointer)),
                     params);
    }
    if (method == "textDocument/definition") {
        Document& doc = document(params);
        return definition(DocumentView(*doc.analysis, params.at("/textDocument/uri"_json_pointer)),
                          params);
    }
    if (method == "textDocument/references") {
        Document& doc = document(params);
        return references(DocumentView(*doc.analysis, params.at("/textDocument/uri"_json_pointer)),
                          params);
    }
    if (method == "textDocument/documentSymbol") {
        Document& doc = document(params);
        return documentSymbols(
            DocumentView(*doc.analysis, params.at("/textDocument/uri"_json_pointer)));
    }
    if (method == "textDocument/completion") {
        Document& doc = document(params);
        json items = completion(doc.text, params);
        if (items.empty()) {
            // After "/" or "\": the symbols a reference can reach.
            const DocumentView view(*doc.analysis, params.at("/textDocument/uri"_json_pointer));
            items = symbolCompletion(view, doc.text, params);
        }
        return items;
    }
    if (method == "textDocument/prepareRename" || method == "textDocument/rename") {
        Document& doc = document(params);
        const DocumentView view(*doc.analysis, params.at("/textDocument/uri"_json_pointer));
        return rename(view, params, method == "textDocument/prepareRename");
    }
    throw ProtocolError{kMethodNotFound, "no method " + method};
}

std::vector<json> LanguageServer::handle(const json& message) {
    std::vector<json> out;
    if (!message.is_object() || message.value("jsonrpc", "") != "2.0") {
        out.push_back(errorReply(
            message.is_object() && message.contains("id") ? message["id"] : json(nullptr),
            kInvalidRequest, "not a JSON-RPC 2.0 message"));
        return out;
    }
    const bool isRequest = message.contains("id");
    if (!message.contains("method")) {
        return out;  // a response to something the server never asks
    }
    const json id = isRequest ? message["id"] : json(nullptr);
    try {
        const std::string method = message.at("method").get<std::string>();
        const json params = message.value("params", json::object());
        if (!isRequest) {
            notification(method, params, out);
            return out;
        }
        json result = request(method, params);
        out.insert(out.begin(), json{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
    } catch (const ProtocolError& error) {
        if (isRequest) {
            out.insert(out.begin(), errorReply(id, error.code, error.message));
        }
    } catch (const json::exception& error) {
        // A parameter missing or of the wrong type.
        if (isRequest) {
            out.insert(out.begin(), errorReply(id, kInvalidParams, error.what()));
        }
    }
    return out;
}

int serveLanguage(std::istream& in, std::ostream& out, FileSystem& files) {
    LanguageServer server(files);
    while (const auto frame = readFramedMessage(in)) {
        std::vector<json> replies;
        if (!frame->error.empty()) {
            replies.push_back(LanguageServer::parseError(frame->error));
        } else {
            json message = json::parse(frame->body, nullptr, false);
            if (message.is_discarded()) {
                replies.push_back(LanguageServer::parseError("the message is no JSON"));
            } else {
                replies = server.handle(message);
            }
        }
        for (const json& reply : replies) {
            // Whatever bytes a document holds, the reply is JSON: invalid UTF-8 is replaced.
            writeFramedMessage(out, reply.dump(-1, ' ', false, json::error_handler_t::replace));
        }
        if (server.exited()) {
            return server.exitStatus();
        }
    }
    return server.exitStatus();
}

}  // namespace zoltas
