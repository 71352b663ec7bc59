// zolt lsp: a language server that runs zoltas's own passes on the editor's unsaved text.
// Every answer comes from the record of that run, never from a second reading of the source.
#pragma once

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "driver/file_system.h"
#include "tools/common/analysis.h"

namespace zoltas {

class LanguageServer {
  public:
    explicit LanguageServer(FileSystem& files) : files_(files) {}

    // Handles one message (a request, a notification or a response of the client) and gives
    // the messages to send: the reply, diagnostics. A malformed or unknown message gets the
    // protocol's error reply; the server goes on.
    [[nodiscard]] std::vector<nlohmann::json> handle(const nlohmann::json& message);

    // The reply to a frame that could not be read, or a body that is not JSON.
    [[nodiscard]] static nlohmann::json parseError(const std::string& why);

    // Whether "exit" has come, and the status the server then ends with: 0 after "shutdown".
    [[nodiscard]] bool exited() const { return exited_; }
    [[nodiscard]] int exitStatus() const { return shutdown_ ? 0 : 1; }

  private:
    struct Document {
        std::string text;
        std::int64_t version = 0;
        std::unique_ptr<Analysis> analysis;
    };

    nlohmann::json request(const std::string& method, const nlohmann::json& params);
    void notification(const std::string& method, const nlohmann::json& params,
                      std::vector<nlohmann::json>& out);
    void analyze(const std::string& uri, Document& document, std::vector<nlohmann::json>& out);
    Document& document(const nlohmann::json& params);

    FileSystem& files_;
    std::map<std::string, Document> documents_;
    bool initialized_ = false;
    bool shutdown_ = false;
    bool exited_ = false;
};

// Runs the server on `in` and `out` until "exit" or the end of the input; the exit status.
int serveLanguage(std::istream& in, std::ostream& out, FileSystem& files);

}  // namespace zoltas
