#include "disassembler/annotations.h"

#include "driver/reporter.h"
#include "output/image_files.h"
#include "source/line_reader.h"
#include "source/syntax.h"

namespace zoltas {

namespace {

// Why zoltas could not define `name` as a label (or a constant) that a reference reaches; nothing
// when it can.
std::optional<std::string> unusableName(const std::string& name, bool constant) {
    const std::string token = (constant ? "\\" : "/") + name;
    if (referenceName(token) != name) {
        return "\"" + name + "\" cannot be referred to: a reference ends at a blank or TAB, or " +
               "after a \";\"";
    }
    if (constant && name.find('=') != std::string::npos) {
        return "a constant name cannot hold \"=\": \"" + name + "\"";
    }
    if (!constant && name.find(':') != std::string::npos) {
        return "a label name cannot hold \":\": \"" + name + "\"";
    }
    if (!constant && !name.empty() && (name[0] == ';' || name[0] == '.')) {
        return "a label line cannot start with \";\" or \".\": \"" + name + "\"";
    }
    return std::nullopt;
}

// The built-in name, which every reference reaches before any name of a file.
bool isBuiltIn(std::string_view name) {
    static const SymbolTable builtIn = [] {
        SymbolTable table;
        table.defineAssembleAddress();
        return table;
    }();
    return builtIn.find(name) == 0;
}

std::string alreadyNamed(std::string_view kind, std::string_view name, std::string_view where) {
    return joined({"the ", kind, " \"", name, "\" is already named at ", where});
}

std::string lineError(const std::string& where, std::string_view text) {
    return joined({where, ": error: ", text});
}

std::string place(const std::string& file, std::int64_t line) {
    return file + ":" + std::to_string(line);
}

bool isHexDigits(std::string_view digits) {
    return digits.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

// The fields of an info file line, apart by blanks and TABs, up to a field that starts with ";".
std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        if (line[at] == ' ' || line[at] == '\t') {
            ++at;
            continue;
        }
        if (line[at] == ';') {
            break;
        }
        std::size_t end = line.find_first_of(" \t", at);
        end = end == std::string_view::npos ? line.size() : end;
        fields.push_back(line.substr(at, end - at));
        at = end;
    }
    return fields;
}

}  // namespace

Annotations::Annotations() = default;

std::optional<std::string> Annotations::addLabel(NamedAddress label, const std::string& where) {
    if (const auto why = unusableName(label.name, false)) {
        return why;
    }
    if (isBuiltIn(label.name)) {
        return std::nullopt;  // nothing can reach another AssembleAddress
    }
    if (const auto found = labelIndex_.find(label.name)) {
        if (labels[*found].address == label.address) {
            return std::nullopt;
        }
        return alreadyNamed("label", label.name, labelWhere_[*found]);
    }
    labelIndex_.define(label.name, 0);
    labelWhere_.push_back(where);
    labels.push_back(std::move(label));
    return std::nullopt;
}

std::optional<std::string> Annotations::addConstant(NamedValue constant, const std::string& where) {
    if (const auto why = unusableName(constant.name, true)) {
        return why;
    }
    if (isBuiltIn(constant.name)) {
        return std::nullopt;
    }
    if (const auto found = constantIndex_.find(constant.name)) {
        if (constants[*found].value == constant.value) {
            return std::nullopt;
        }
        return alreadyNamed("constant", constant.name, constantWhere_[*found]);
    }
    constantIndex_.define(constant.name, 0);
    constantWhere_.push_back(where);
    constants.push_back(std::move(constant));
    return std::nullopt;
}

std::optional<std::string> Annotations::addRange(AddressRange range, const std::string& where) {
    if (range.last < range.first) {
        return std::string("the range ends before it starts");
    }
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        if (range.first <= ranges[k].last && ranges[k].first <= range.last) {
            return "the range overlaps the one at " + rangeWhere_[k];
        }
    }
    ranges.push_back(range);
    rangeWhere_.push_back(where);
    return std::nullopt;
}

std::optional<std::uint16_t> readWholeAddress(std::string_view text) {
    const bool prefixed = !text.empty() && (text[0] == '$' || text[0] == '%');
    const std::string_view digits = prefixed ? text.substr(1) : text;
    const char* allowed = text.empty()     ? ""
                          : text[0] == '$' ? "0123456789abcdefABCDEF"
                          : text[0] == '%' ? "01"
                                           : "0123456789";
    if (digits.empty() || digits.find_first_not_of(allowed) != std::string_view::npos) {
        return std::nullopt;
    }
    const auto value = readNumber(text);
    if (!value || *value < 0 || *value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*value);
}

namespace {

bool readSymbolLines(std::istream& file, const std::string& name, Annotations& into,
                     std::ostream& errors) {
    // " = $" and four digits end every entry; the name before them is taken whole.
    constexpr std::string_view kAssignment = " = $";
    constexpr std::size_t kTail = kAssignment.size() + 4;
    LineReader reader(file);
    std::string_view line;
    std::int64_t lineNumber = 0;
    while (reader.next(line)) {
        ++lineNumber;
        if (line.empty() || line[0] == ';') {
            continue;
        }
        const std::string where = place(name, lineNumber);
        const std::string_view tail =
            line.size() >= kTail ? line.substr(line.size() - kTail) : std::string_view();
        if (tail.substr(0, kAssignment.size()) != kAssignment ||
            !isHexDigits(tail.substr(kAssignment.size()))) {
            errors << lineError(where, "expected NAME = $hhhh or \\NAME = $hhhh") << '\n';
            return false;
        }
        const auto value = static_cast<std::uint16_t>(
            std::stoul(std::string(tail.substr(kAssignment.size())), nullptr, 16));
        const std::string_view symbol = line.substr(0, line.size() - kTail);
        const bool constant = !symbol.empty() && symbol[0] == '\\';
        const auto failure = constant
                                 ? into.addConstant({value, std::string(symbol.substr(1))}, where)
                                 : into.addLabel({value, std::string(symbol)}, where);
        if (failure) {
            errors << lineError(where, *failure) << '\n';
            return false;
        }
    }
    return true;
}

bool readInfoLines(std::istream& file, const std::string& name, Annotations& into,
                   std::ostream& errors) {
    LineReader reader(file);
    std::string_view line;
    std::int64_t lineNumber = 0;
    const auto fail = [&](const std::string& text) {
        errors << lineError(place(name, lineNumber), text) << '\n';
        return false;
    };
    while (reader.next(line)) {
        ++lineNumber;
        const std::vector<std::string_view> fields = fieldsOf(line);
        if (fields.empty()) {
            continue;
        }
        const std::string_view keyword = fields[0];
        const bool isLabel = equalFolded(keyword, "label");
        RangeKind kind = RangeKind::automatic;
        if (equalFolded(keyword, "code")) {
            kind = RangeKind::code;
        } else if (equalFolded(keyword, "data")) {
            kind = RangeKind::data;
        } else if (equalFolded(keyword, "text")) {
            kind = RangeKind::text;
        } else if (!isLabel) {
            return fail(
                joined({"unknown entry \"", keyword, "\"; expected label, code, data or text"}));
        }
        if (fields.size() != 3) {
            return fail(isLabel ? std::string("expected label ADDRESS NAME")
                                : joined({"expected ", keyword, " FIRST LAST"}));
        }
        const auto first = readWholeAddress(fields[1]);
        const auto second = isLabel ? std::optional<std::uint16_t>(0) : readWholeAddress(fields[2]);
        if (!first || !second) {
            return fail(joined(
                {"\"", first ? fields[2] : fields[1], "\" is not an address from 0 to 65535"}));
        }
        const std::string where = place(name, lineNumber);
        const auto failure = isLabel ? into.addLabel({*first, std::string(fields[2])}, where)
                                     : into.addRange({*first, *second, kind}, where);
        if (failure) {
            return fail(*failure);
        }
    }
    return true;
}

// Reads with `read`; a read error is a message, running out of memory goes on to the caller.
template <typename Read>
bool readAnnotationFile(std::istream& file, const std::string& name, Annotations& into,
                        std::ostream& errors, Read read) {
    try {
        const ThrowingReads throwing(file);
        return read(file, name, into, errors);
    } catch (const std::ios_base::failure&) {
        errors << cannotBeReadText(name) << '\n';
        return false;
    }
}

}  // namespace

bool readSymbolFile(std::istream& file, const std::string& name, Annotations& into,
                    std::ostream& errors) {
    return readAnnotationFile(file, name, into, errors, readSymbolLines);
}

bool readInfoFile(std::istream& file, const std::string& name, Annotations& into,
                  std::ostream& errors) {
    return readAnnotationFile(file, name, into, errors, readInfoLines);
}

}  // namespace zoltas
