#include "case_file.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zoltas::e2e {

namespace {

std::vector<std::string> splitWords(const std::string& text, int lineNumber) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == std::string::npos) {
                throw std::runtime_error("line " + std::to_string(lineNumber) + ": unclosed quote");
            }
            word = text.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            const std::size_t end = text.find(' ', i);
            word = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
            i = end == std::string::npos ? text.size() : end;
        }
        words.push_back(word);
    }
    return words;
}

std::string fromHex(const std::vector<std::string>& lines, int lineNumber) {
    std::string bytes;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string pair;
        while (in >> pair) {
            if (pair.size() != 2 ||
                pair.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                throw std::runtime_error("section at line " + std::to_string(lineNumber) +
                                         ": bad hexadecimal byte " + pair);
            }
            bytes.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
        }
    }
    return bytes;
}

struct Section {
    std::vector<std::string> header;
    int lineNumber = 0;
    std::vector<std::string> lines;
};

// Flags follow the file name of "source" and "file", and the kind of "stdout".
bool hasFlag(const Section& section, const std::string& flag) {
    const std::size_t first =
        section.header[0] == "stdout" || section.header[0] == "stderr" ? 1 : 2;
    for (std::size_t i = first; i < section.header.size(); ++i) {
        if (section.header[i] == flag) {
            return true;
        }
    }
    return false;
}

// "\xHH" is the byte HH, "\t" a TAB and "\\" one backslash; any other backslash is an error.
std::string unescape(const std::string& line, int lineNumber) {
    std::string bytes;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            bytes += line[i];
            continue;
        }
        const auto bad = [&] {
            return std::runtime_error("line " + std::to_string(lineNumber) + ": bad escape in \"" +
                                      line + "\"");
        };
        if (i + 1 >= line.size()) {
            throw bad();
        }
        const char kind = line[++i];
        if (kind == '\\') {
            bytes += '\\';
        } else if (kind == 't') {
            bytes += '\t';
        } else if (kind == 'x' && i + 2 < line.size() &&
                   std::isxdigit(static_cast<unsigned char>(line[i + 1])) &&
                   std::isxdigit(static_cast<unsigned char>(line[i + 2]))) {
            bytes += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            throw bad();
        }
    }
    return bytes;
}

std::string textOf(const Section& section) {
    const std::string lineEnd = hasFlag(section, "crlf") ? "\r\n" : "\n";
    const bool escaped = hasFlag(section, "escaped");
    std::string text;
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        text += escaped ? unescape(section.lines[i], section.lineNumber + 1 + static_cast<int>(i))
                        : section.lines[i];
        if (i + 1 < section.lines.size() || !hasFlag(section, "noeol")) {
            text += lineEnd;
        }
    }
    return text;
}

void apply(const Section& section, CaseFile& result) {
    const std::string& kind = section.header[0];
    const auto need = [&](std::size_t words) {
        if (section.header.size() < words) {
            throw std::runtime_error("line " + std::to_string(section.lineNumber) + ": '" + kind +
                                     "' needs more words");
        }
    };
    const auto noContent = [&] {
        if (!section.lines.empty()) {
            throw std::runtime_error("line " + std::to_string(section.lineNumber) + ": '" + kind +
                                     "' takes no content lines");
        }
    };
    if (kind == "args") {
        noContent();
        result.args.assign(section.header.begin() + 1, section.header.end());
    } else if (kind == "exit") {
        need(2);
        noContent();
        result.expectedExit = std::stoi(section.header[1]);
    } else if (kind == "stdout") {
        result.expectedStdout = textOf(section);
    } else if (kind == "source") {
        need(2);
        result.sources[section.header[1]] = textOf(section);
    } else if (kind == "hexsource") {
        need(2);
        result.sources[section.header[1]] = fromHex(section.lines, section.lineNumber);
    } else if (kind == "file") {
        need(2);
        result.expectedFiles[section.header[1]] = textOf(section);
    } else if (kind == "hexfile") {
        need(2);
        result.expectedFiles[section.header[1]] = fromHex(section.lines, section.lineNumber);
    } else if (kind == "stderr") {
        result.expectedStderr = textOf(section);
    } else if (kind == "program") {
        need(2);
        noContent();
        if (section.header[1] != "zoltas" && section.header[1] != "zolt") {
            throw std::runtime_error("line " + std::to_string(section.lineNumber) +
                                     ": the program is zoltas or zolt");
        }
        result.program = section.header[1];
    } else if (kind == "hexstdout") {
        result.expectedStdout = fromHex(section.lines, section.lineNumber);
    } else if (kind == "dir") {
        need(2);
        noContent();
        result.directories[section.header[1]] =
            section.header.size() > 2 ? std::stoi(section.header[2], nullptr, 8) : 0755;
    } else if (kind == "mode") {
        need(3);
        noContent();
        result.modes[section.header[1]] = std::stoi(section.header[2], nullptr, 8);
    } else if (kind == "user") {
        need(2);
        noContent();
        if (section.header[1] != "nobody") {
            throw std::runtime_error("line " + std::to_string(section.lineNumber) +
                                     ": only 'user nobody' is known");
        }
        result.asNobody = true;
    } else if (kind == "copy") {
        need(3);
        noContent();
        result.copies[section.header[1]] = section.header[2];
    } else if (kind == "link") {
        need(3);
        noContent();
        result.links[section.header[1]] = section.header[2];
    } else {
        throw std::runtime_error("line " + std::to_string(section.lineNumber) +
                                 ": unknown section '" + kind + "'");
    }
}

}  // namespace

CaseFile parseCaseFile(const std::string& text) {
    CaseFile result;
    std::optional<Section> current;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.rfind("--- ", 0) == 0) {
            if (current) {
                apply(*current, result);
            }
            current = Section{splitWords(line.substr(4), lineNumber), lineNumber, {}};
            if (current->header.empty()) {
                throw std::runtime_error("line " + std::to_string(lineNumber) + ": empty header");
            }
        } else if (current) {
            current->lines.push_back(line);
        } else if (!line.empty() && line[0] != '#') {
            throw std::runtime_error("line " + std::to_string(lineNumber) +
                                     ": text before the first section");
        }
    }
    if (current) {
        apply(*current, result);
    }
    return result;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace zoltas::e2e
