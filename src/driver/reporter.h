// The one way text leaves the assembler: console lines, log lines and the log's listing prefix.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "driver/file_system.h"

namespace zoltas {

// "$", the value in lower-case hexadecimal right-aligned in four positions padded with `fill`
// (longer values in full, negative ones as 32-bit two's complement), " [", the decimal value, "]".
// The log always pads with '0'; the console pads with ' ' except at the end of assembly.
[[nodiscard]] std::string formatValue(std::int32_t value, char fill);

// Exactly four lower-case hexadecimal digits: 31 gives "001f".
[[nodiscard]] std::string hex4(std::uint16_t value);

// "L" + line number + TAB + text: the shape of line errors ("ERROR: ..."), line warnings
// ("WARN: ...") and the prompt, so the user sees which source line a message is about.
[[nodiscard]] std::string lineTagged(std::int64_t lineNumber, std::string_view text);

// The parts one after the other, built in one allocation: a message may carry a name as long as
// a line, and each copy of it would cost that much memory again.
[[nodiscard]] std::string joined(std::initializer_list<std::string_view> parts);

// What every program prints when memory runs out.
inline constexpr std::string_view kOutOfMemoryText = "Error: Out of memory";

// Load error: No such file "<name>" exists! -- a file that cannot be opened, in the words that
// zoltas and zoltdis share.
[[nodiscard]] std::string noSuchFileText(std::string_view name);

class Reporter {
  public:
    explicit Reporter(std::ostream& console) : console_(console) {}
    ~Reporter() { closeLog(); }
    Reporter(const Reporter&) = delete;
    Reporter& operator=(const Reporter&) = delete;

    // From here on log lines go to `log`, asm.log opened and emptied by the driver. Without one
    // every log line is dropped; the run goes on as if the log worked.
    void attachLog(std::unique_ptr<OutputFile> log) { log_ = std::move(log); }
    [[nodiscard]] bool logOpen() const { return log_ != nullptr; }
    void closeLog();

    // Every line ends with a line end and a flush, so a run that dies keeps what it wrote.
    void consoleLine(std::string_view text);

    // Log lines are written only while the log is open: without a log, or when it could not be
    // created, they are dropped here, so no caller tests for the log. A text that must be
    // composed is passed as a function, which runs only when the line is written.
    void logLine(std::string_view text) {
        if (log_) {
            writeLogLine(text);
        }
    }
    template <typename Compose>
    requires std::invocable<Compose&>
    void logLine(Compose&& compose) {
        if (log_) {
            writeLogLine(compose());
        }
    }

    // "A" + hex4(address) + " L" + line number + TAB, left open for the handler's log text.
    void listingPrefix(std::uint16_t address, std::int64_t lineNumber) {
        if (log_) {
            writeListingPrefix(address, lineNumber);
        }
    }

  private:
    void writeLogLine(std::string_view text);
    void writeListingPrefix(std::uint16_t address, std::int64_t lineNumber);

    std::ostream& console_;
    std::unique_ptr<OutputFile> log_;
};

}  // namespace zoltas
