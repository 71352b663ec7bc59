#include "tools/lsp/transport.h"

#include <cctype>
#include <charconv>

namespace zoltas {

namespace {

// A header line without its CR LF (a bare LF ends one too); nothing at the end of the input.
std::optional<std::string> readHeaderLine(std::istream& in) {
    std::string line;
    if (!std::getline(in, line)) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Bodies of more than this are refused: no editor sends a source of a gigabyte, and a wrong
// header must not make the server allocate one.
constexpr std::size_t kLongestBody = std::size_t{1} << 30;

}  // namespace

std::optional<FramedMessage> readFramedMessage(std::istream& in) {
    std::optional<std::size_t> length;
    bool badLength = false;
    bool anyHeader = false;
    for (;;) {
        const auto line = readHeaderLine(in);
        if (!line) {
            if (anyHeader) {
                return FramedMessage{{}, "the input ended inside a message's header"};
            }
            return std::nullopt;
        }
        if (line->empty()) {
            if (!anyHeader) {
                continue;  // blank lines between messages
            }
            break;
        }
        anyHeader = true;
        const std::size_t colon = line->find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string_view name = std::string_view(*line).substr(0, colon);
        std::string_view value = std::string_view(*line).substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
            value.remove_prefix(1);
        }
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) {
            value.remove_suffix(1);
        }
        if (equalNoCase(name, "Content-Length")) {
            std::size_t parsed = 0;
            const auto [end, ec] =
                std::from_chars(value.data(), value.data() + value.size(), parsed);
            if (ec != std::errc() || end != value.data() + value.size() || parsed > kLongestBody) {
                badLength = true;
            } else {
                length = parsed;
            }
        }
    }
    if (badLength || !length) {
        return FramedMessage{{}, badLength ? "a bad Content-Length" : "no Content-Length"};
    }
    FramedMessage message;
    message.body.resize(*length);
    in.read(message.body.data(), static_cast<std::streamsize>(*length));
    if (static_cast<std::size_t>(in.gcount()) != *length) {
        return FramedMessage{{}, "the input ended inside a message's body"};
    }
    return message;
}

bool writeFramedMessage(std::ostream& out, std::string_view body) {
    out << "Content-Length: " << body.size() << "\r\n\r\n" << body << std::flush;
    return static_cast<bool>(out);
}

}  // namespace zoltas
