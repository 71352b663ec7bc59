#include "record/assembly_record.h"

namespace zoltas {

void AssemblyRecord::startLine(std::int64_t number, std::string_view line, std::uint64_t offset,
                               std::uint16_t address, LineClass lineClass) {
    current_ = line;
    LineRecord record;
    record.number = number;
    record.offset = offset;
    record.length = static_cast<std::uint32_t>(line.size());
    record.lineClass = lineClass;
    record.addressBefore = address;
    record.addressAfter = address;
    lines.push_back(record);
}

void AssemblyRecord::endLine(std::uint16_t address) {
    lines.back().addressAfter = address;
}

Span AssemblyRecord::span(std::string_view piece) const {
    // An empty piece may point anywhere, past the line too; it stands for the whole line.
    if (piece.data() < current_.data() || piece.data() > current_.data() + current_.size()) {
        return {0, static_cast<std::uint32_t>(current_.size())};
    }
    const auto begin = static_cast<std::uint32_t>(piece.data() - current_.data());
    return {begin, begin + static_cast<std::uint32_t>(piece.size())};
}

void AssemblyRecord::number(std::string_view text, std::size_t digitsEnd,
                            std::optional<std::int32_t> value) {
    NumberRecord record;
    record.line = lines.empty() ? 0 : lines.back().number;
    record.text = span(text);
    record.digits = {record.text.begin, record.text.begin + static_cast<std::uint32_t>(digitsEnd)};
    record.value = value;
    numbers.push_back(record);
}

void AssemblyRecord::reference(bool constant, std::string_view token, std::string_view name,
                               std::uint16_t address) {
    ReferenceRecord record;
    record.line = lines.back().number;
    record.constant = constant;
    record.name = span(name);
    record.token = {span(token).begin, record.name.end};
    record.address = address;
    (constant ? constantReferences : labelReferences).push_back(std::move(record));
}

void AssemblyRecord::resolved(bool constant, std::size_t reference, std::size_t symbol) {
    (constant ? constantReferences : labelReferences)[reference].symbol =
        static_cast<std::uint32_t>(symbol);
}

void AssemblyRecord::defined(bool constant, std::string_view name, std::uint16_t value,
                             std::size_t reached) {
    SymbolRecord record;
    record.constant = constant;
    record.value = value;
    if (!lines.empty() && lines.back().lineClass != LineClass::notRead) {
        record.line = lines.back().number;
        record.span = span(name);
    }
    record.reached = static_cast<std::uint32_t>(reached);
    (constant ? constants : labels).push_back(std::move(record));
}

void AssemblyRecord::add(Severity severity, std::string_view code, std::int64_t line, Span where,
                         std::string_view message, std::string_view text) {
    Diagnostic diagnostic;
    diagnostic.severity = severity;
    diagnostic.code = code;
    diagnostic.line = line;
    diagnostic.span = where;
    diagnostic.message = message;
    diagnostic.text = text;
    if (severity == Severity::error) {
        diagnostic.afterFirstError = firstError.has_value();
        if (!firstError) {
            firstError = diagnostics.size();
        }
    }
    diagnostics.push_back(std::move(diagnostic));
}

void AssemblyRecord::lineDiagnostic(Severity severity, std::string_view code,
                                    std::string_view culprit, std::string_view message,
                                    std::string_view text) {
    if (severity == Severity::error) {
        lines.back().failed = true;
    }
    add(severity, code, lines.back().number, span(culprit), message, text);
}

void AssemblyRecord::referenceDiagnostic(Severity severity, std::string_view code, bool constant,
                                         std::size_t reference, std::string_view message,
                                         std::string_view text) {
    const ReferenceRecord& where = (constant ? constantReferences : labelReferences)[reference];
    add(severity, code, where.line, where.token, message, text);
}

void AssemblyRecord::symbolDiagnostic(Severity severity, std::string_view code, bool constant,
                                      std::size_t symbol, std::string_view message,
                                      std::string_view text) {
    const SymbolRecord& where = (constant ? constants : labels)[symbol];
    add(severity, code, where.line, where.span, message, text);
}

void AssemblyRecord::runDiagnostic(Severity severity, std::string_view code,
                                   std::string_view message, std::string_view text) {
    add(severity, code, 0, {}, message, text);
}

}  // namespace zoltas
