#include "tools/listing/list_command.h"

#include <iomanip>
#include <memory>
#include <string>
#include <vector>

#include "driver/reporter.h"
#include "tools/common/diagnostic_text.h"
#include "tools/lint/lint.h"

namespace zoltas {

namespace {

constexpr std::size_t kWordsPerRow = 4;
constexpr std::size_t kWordsWidth = 24;
constexpr std::size_t kBlock = 1 << 16;

// Markers after a word: patched by pass 2 or 3, or outside what pass 4 writes.
constexpr char kPatched = '*';
constexpr char kNotWritten = '!';

std::string hexAddress(std::uint16_t value) {
    std::string text = "$";
    text += hex4(value);
    return text;
}

class Listing {
  public:
    Listing(std::ostream& out, const Analysis& analysis)
        : out_(out), analysis_(analysis), patched_(0x10000, false) {
        for (const auto* references :
             {&analysis.record.labelReferences, &analysis.record.constantReferences}) {
            for (const ReferenceRecord& reference : *references) {
                if (reference.symbol) {
                    patched_[reference.address] = true;
                }
            }
        }
        const AssemblyState& state = analysis.run.state;
        first_ = state.startAddress;
        last_ = state.highestAddress;
    }

    void write() {
        out_ << "  line  addr  " << std::left << std::setw(static_cast<int>(kWordsWidth)) << "words"
             << "  source\n";
        for (const LineRecord& line : analysis_.record.lines) {
            writeLine(line);
        }
        out_ << buffer_;
        if (analysis_.run.status != 0) {
            out_ << "\nno output: zoltas ends with an error\n";
            return;
        }
        const std::uint32_t count = static_cast<std::uint32_t>(last_) - first_ + 1;
        out_ << "\noutput: " << hexAddress(first_) << " to " << hexAddress(last_) << ", " << count
             << (count == 1 ? " word\n" : " words\n") << "words as in the final image; " << kPatched
             << " patched by pass 2 or 3, " << kNotWritten << " not written (outside the output)\n";
    }

  private:
    // The word at `address` with its marker, in five characters.
    std::string word(std::uint16_t address) const {
        std::string text = hex4(analysis_.run.state.image[address]);
        const bool written = address >= first_ && address <= last_;
        text += patched_[address] ? kPatched : (written ? ' ' : kNotWritten);
        if (patched_[address] && !written) {
            text += kNotWritten;
        }
        return text;
    }

    // Rows are built in one buffer and written in blocks: a listing has a row a line.
    void row(std::string_view number, std::uint16_t address, const std::string& words,
             std::string_view source) {
        if (number.size() < 6) {
            buffer_.append(6 - number.size(), ' ');
        }
        buffer_ += number;
        buffer_ += "  ";
        buffer_ += hex4(address);
        buffer_ += "  ";
        // No blanks at the end of a row: the words are padded only when the source follows.
        if (source.empty()) {
            buffer_ += std::string_view(words).substr(0, words.find_last_not_of(' ') + 1);
        } else {
            buffer_ += words;
            if (words.size() < kWordsWidth) {
                buffer_.append(kWordsWidth - words.size(), ' ');
            }
            buffer_ += "  ";
            buffer_ += source;
        }
        buffer_ += '\n';
        if (buffer_.size() >= kBlock) {
            out_ << buffer_;
            buffer_.clear();
        }
    }

    void writeLine(const LineRecord& line) {
        const std::string number = std::to_string(line.number);
        const std::string_view source = lineText(analysis_, line);
        if (line.lineClass == LineClass::notRead) {
            row(number, line.addressBefore, "not read", source);
            return;
        }
        if (line.lineClass == LineClass::skipped) {
            row(number, line.addressBefore, "skipped", source);
            return;
        }
        if (line.wordsPlaced == 0) {
            row(number, line.addressBefore, line.failed ? "error" : "-", source);
            return;
        }
        for (std::uint32_t at = 0; at < line.wordsPlaced; at += kWordsPerRow) {
            std::string words;
            for (std::uint32_t k = at; k < line.wordsPlaced && k < at + kWordsPerRow; ++k) {
                words += word(static_cast<std::uint16_t>(line.addressBefore + k));
            }
            row(at == 0 ? std::string_view(number) : "",
                static_cast<std::uint16_t>(line.addressBefore + at), words, at == 0 ? source : "");
        }
    }

    std::ostream& out_;
    const Analysis& analysis_;
    std::vector<bool> patched_;
    std::uint16_t first_ = 0;
    std::uint16_t last_ = 0;
    std::string buffer_;
};

}  // namespace

void writeListing(std::ostream& out, const Analysis& analysis) {
    Listing(out, analysis).write();
}

void addListCommand(CLI::App& zolt, ToolContext& context) {
    auto file = std::make_shared<std::string>();
    CLI::App* command = zolt.add_subcommand(
        "list", "List each source line with its line number, address and the words it placed");
    command->add_option("FILE", *file, kSourceArgumentHelp)->required();
    command->callback([file, &context] {
        const Analysis analysis = analyzeSource(context.files, *file, false);
        if (analysis.readable) {
            writeListing(context.out, analysis);
        }
        context.out.flush();
        context.status = writeRunErrors(context, analysis);
    });
}

}  // namespace zoltas
