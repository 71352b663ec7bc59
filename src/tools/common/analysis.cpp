#include "tools/common/analysis.h"

#include <algorithm>
#include <array>
#include <memory>
#include <sstream>
#include <utility>

namespace zoltas {

namespace {

// The source served from bytes already read, so the passes see exactly the text the tool shows;
// every other name goes to the files underneath. The source keeps its real identity, so an output
// that would be the source is still recognised as such.
class SourceOverlay : public FileSystem {
  public:
    SourceOverlay(FileSystem& base, std::string name, const std::string& text, FileKey key)
        : base_(base), name_(std::move(name)), text_(text), key_(key) {}

    std::unique_ptr<InputFile> openForReading(const std::string& name) override {
        if (name == name_) {
            return std::make_unique<TextFile>(text_, key_);
        }
        return base_.openForReading(name);
    }
    std::unique_ptr<OutputFile> openForWriting(const std::string& name, FileMode mode,
                                               bool create) override {
        return base_.openForWriting(name, mode, create);
    }
    bool exists(const std::string& name) override { return name == name_ || base_.exists(name); }
    bool writeFileAtomically(const std::string& name, std::string_view bytes) override {
        return base_.writeFileAtomically(name, bytes);
    }

  private:
    // Reads the bytes where they are, without a copy.
    class TextBuffer : public std::streambuf {
      public:
        explicit TextBuffer(const std::string& text) {
            char* begin = const_cast<char*>(text.data());
            setg(begin, begin, begin + text.size());
        }
    };
    class TextFile : private TextBuffer, public InputFile {
      public:
        TextFile(const std::string& text, FileKey key)
            : TextBuffer(text), InputFile(static_cast<TextBuffer*>(this)), key_(key) {}
        [[nodiscard]] FileKey key() const override { return key_; }

      private:
        FileKey key_;
    };

    FileSystem& base_;
    std::string name_;
    const std::string& text_;
    FileKey key_;
};

}  // namespace

Analysis analyzeSource(FileSystem& files, const std::string& name, bool continueAfterErrors,
                       std::optional<std::string> text) {
    Analysis analysis;
    analysis.name = name;
    analysis.record.continueAfterErrors = continueAfterErrors;
    // An unsaved buffer stands for no file on disk: it cannot be any output's file either.
    FileKey key{~std::uint64_t{0}, ~std::uint64_t{0}};
    if (text) {
        analysis.text = std::move(*text);
        analysis.readable = true;
        if (const auto file = files.openForReading(name)) {
            key = file->key();
        }
    } else if (const auto file = files.openForReading(name)) {
        key = file->key();
        std::array<char, 1 << 16> buffer;
        while (file->read(buffer.data(), buffer.size()) || file->gcount() > 0) {
            analysis.text.append(buffer.data(), static_cast<std::size_t>(file->gcount()));
        }
        analysis.readable = !file->bad();
    }
    if (!analysis.readable) {
        // The passes meet the same failure and report it as zoltas does.
        analysis.run = runPassesForTool(files, name, &analysis.record);
        return analysis;
    }
    // Every line, and at most one symbol, reference and number a line, without regrowing.
    const auto lines =
        static_cast<std::size_t>(std::count(analysis.text.begin(), analysis.text.end(), '\n') + 1);
    analysis.record.lines.reserve(lines);
    analysis.record.labels.reserve(lines + 1);
    analysis.record.constants.reserve(lines + 1);
    analysis.record.labelReferences.reserve(lines);
    analysis.record.constantReferences.reserve(lines);
    analysis.record.numbers.reserve(lines);
    SourceOverlay overlay(files, name, analysis.text, key);
    analysis.run = runPassesForTool(overlay, name, &analysis.record);
    return analysis;
}

std::string_view lineText(const Analysis& analysis, const LineRecord& line) {
    return std::string_view(analysis.text).substr(line.offset, line.length);
}

std::string_view symbolName(const Analysis& analysis, const SymbolRecord& symbol) {
    const LineRecord* line = findLine(analysis.record, symbol.line);
    if (line == nullptr) {
        return "AssembleAddress";
    }
    return lineText(analysis, *line).substr(symbol.span.begin, symbol.span.end - symbol.span.begin);
}

const LineRecord* findLine(const AssemblyRecord& record, std::int64_t number) {
    // Every line of the source is recorded in order, the first being line 1.
    if (number < 1 || static_cast<std::size_t>(number) > record.lines.size()) {
        return nullptr;
    }
    return &record.lines[static_cast<std::size_t>(number - 1)];
}

}  // namespace zoltas
