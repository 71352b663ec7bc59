// libFuzzer entry for zolt lsp: the input is what an editor could send on standard input. The
// server must neither crash nor hang, and must write nothing but framed protocol messages.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "driver/file_system.h"
#include "tools/lsp/language_server.h"
#include "tools/lsp/transport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input opens with a valid initialize and a document, so that mutations reach the
    // features; the rest is the fuzzer's.
    static const std::string prelude = [] {
        std::string text;
        for (
            const std::string body :
            {std::string(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{}})"),
             std::string(
                 R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"untitled:f","version":1,"text":".c K=5\nloop:\n\tlda \\K\n\tjmp /loop\n"}}})")}) {
            text += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        }
        return text;
    }();
    std::istringstream in(prelude + std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream out;
    zoltas::MemoryFileSystem files;
    const int status = zoltas::serveLanguage(in, out, files);
    if (status != 0 && status != 1) {
        std::abort();
    }
    // Everything written reads back as frames, each a JSON object.
    std::istringstream written(out.str());
    while (const auto frame = zoltas::readFramedMessage(written)) {
        if (!frame->error.empty() || frame->body.empty() || frame->body[0] != '{') {
            std::abort();
        }
    }
    return 0;
}
