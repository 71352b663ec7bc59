// The Language Server Protocol's base layer: messages framed by a Content-Length header.
//   Content-Length: 52\r\n
//   \r\n
//   {"jsonrpc":"2.0","id":1,"method":"initialize",...}
// Other headers (Content-Type) are read and passed over.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace zoltas {

struct FramedMessage {
    std::string body;
    // Set when the frame is broken (no or a bad Content-Length, a body cut short); `body` is then
    // empty, and the reader has skipped to where the next frame can begin.
    std::string error;
};

// The next message, or nothing at the end of the input.
[[nodiscard]] std::optional<FramedMessage> readFramedMessage(std::istream& in);

// Writes one message with its header and flushes; false when the output failed.
bool writeFramedMessage(std::ostream& out, std::string_view body);

}  // namespace zoltas
