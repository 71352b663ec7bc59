#include "disassembler/command_line.h"

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "disassembler/annotations.h"
#include "disassembler/disassembler.h"
#include "driver/reporter.h"
#include "output/image_files.h"

namespace zoltas {

namespace {

constexpr std::string_view kUsage =
    "Usage:\n"
    "\tzoltdis [options] crom-file\n"
    "\tzoltdis [options] [--start address] hi-file lo-file\n"
    "Options:\n"
    "\t--start ADDRESS  the address of a BIN pair's first word (default 0)\n"
    "\t--symbols FILE   name addresses and values as in FILE (NAME = $hhhh, \\NAME = $hhhh)\n"
    "\t--info FILE      ranges of code, data and text, and labels, as in FILE\n"
    "\t--plain          one line per word: no labels, gaps, strings or data ranges\n"
    "\t-h, --help       print this text\n";

struct Arguments {
    std::vector<std::string> files;
    std::optional<std::string> start;
    std::optional<std::string> symbols;
    std::optional<std::string> info;
    bool plain = false;
    bool help = false;
};

// The arguments, or the text of what is wrong with them. Options may stand anywhere; after
// "--" every argument is a file.
std::optional<Arguments> readArguments(const std::vector<std::string>& args, std::string& wrong) {
    Arguments parsed;
    bool filesOnly = false;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (filesOnly || arg.empty() || arg[0] != '-' || arg == "-") {
            parsed.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            filesOnly = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            parsed.help = true;
            continue;
        }
        if (arg == "--plain") {
            parsed.plain = true;
            continue;
        }
        std::optional<std::string>* value = arg == "--start"     ? &parsed.start
                                            : arg == "--symbols" ? &parsed.symbols
                                            : arg == "--info"    ? &parsed.info
                                                                 : nullptr;
        if (value == nullptr) {
            wrong = "Unknown option \"" + arg + "\"";
            return std::nullopt;
        }
        if (k + 1 == args.size()) {
            wrong = arg + " needs a value after it";
            return std::nullopt;
        }
        if (value->has_value()) {
            wrong = arg + " is given twice";
            return std::nullopt;
        }
        *value = args[++k];
    }
    if (parsed.help) {
        return parsed;
    }
    if (parsed.files.empty()) {
        wrong = "No image file given: a CROM file, or the HI_ and LO_ files of a BIN pair";
    } else if (parsed.files.size() > 2) {
        wrong = "Too many files: \"" + parsed.files[2] +
                "\" follows a BIN pair; an image is one CROM file or two BIN files";
    } else if (parsed.start && parsed.files.size() == 1) {
        wrong = "--start is for a BIN pair; a CROM file carries its own addresses";
    }
    return wrong.empty() ? std::optional<Arguments>(parsed) : std::nullopt;
}

// Reads a symbol or an info file into `annotations`; false after an error.
template <typename Read>
bool readAnnotations(FileSystem& files, const std::string& name, Annotations& annotations,
                     std::ostream& errors, Read read) {
    const auto file = openInputFile(files, name, errors);
    return file && read(*file, name, annotations, errors);
}

// Writes `text` to standard output; 1 after a write error, which it reports.
int writeOut(std::string_view text, std::ostream& out, std::ostream& errors) {
    out << text << std::flush;
    if (!out) {
        errors << "Write error: Couldn't write to standard output\n";
        return 1;
    }
    return 0;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& errors,
        FileSystem& files) {
    std::string wrong;
    const auto parsed = readArguments(args, wrong);
    if (!parsed) {
        errors << "Error: " << wrong << "\n" << kUsage;
        return 1;
    }
    if (parsed->help) {
        return writeOut(kUsage, out, errors);
    }
    std::uint16_t start = 0;
    if (parsed->start) {
        const auto value = readWholeAddress(*parsed->start);
        if (!value) {
            errors << "Error: Invalid start address \"" << *parsed->start << "\"\n";
            return 1;
        }
        start = *value;
    }

    Annotations annotations;
    if (parsed->symbols &&
        !readAnnotations(files, *parsed->symbols, annotations, errors, readSymbolFile)) {
        return 1;
    }
    if (parsed->info && !readAnnotations(files, *parsed->info, annotations, errors, readInfoFile)) {
        return 1;
    }

    const bool crom = parsed->files.size() == 1;
    const std::optional<MemoryImage> image =
        crom ? readCromFile(files, parsed->files[0], errors)
             : readBinPair(files, parsed->files[0], parsed->files[1], start, errors);
    if (!image) {
        return 1;
    }
    const std::string origin =
        crom ? parsed->files[0] : parsed->files[0] + " and " + parsed->files[1];

    DisassemblyOptions options;
    options.readable = !parsed->plain;
    options.annotations = &annotations;
    std::string whyNot;
    const auto result = disassemble(*image, origin, crom, options, whyNot);
    if (!result) {
        errors << "Error: No source can make zoltas write exactly this image: " << whyNot << "\n";
        return 1;
    }
    if (result->fellBack) {
        errors << "Note: the readable source would not assemble into this image, so it is written "
                  "one line per word; please report this image\n";
    }
    return writeOut(result->source, out, errors);
}

}  // namespace

int runDisassembler(int argc, const char* const* argv, std::ostream& out, std::ostream& errors,
                    FileSystem& files) {
    try {
        const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0),
                                            argv + (argc > 0 ? argc : 0));
        return run(args, out, errors, files);
    } catch (const std::bad_alloc&) {
        errors << kOutOfMemoryText << '\n';
        return 1;
    }
}

}  // namespace zoltas
