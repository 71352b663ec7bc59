#include "tools/export/export_command.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/reporter.h"
#include "driver/tool_run.h"
#include "output/image_files.h"
#include "tools/export/formats.h"

namespace zoltas {

namespace {

// The command line as given; numbers are read once the subcommand runs, so that each gets this
// program's own message.
struct ExportArguments {
    std::string format;
    std::string output;
    std::string chip;
    std::string endian;
    std::string size;
    std::string fill;
    std::string offset;
    std::string depth;
    std::string start;
    std::vector<std::string> inputs;
};

// A whole number in decimal, hexadecimal after "$" or "0x", or binary after "%": the forms of the
// assembler's numbers and the shell's. Nothing when anything else is in the text.
std::optional<std::uint32_t> wholeNumber(std::string_view text) {
    int base = 10;
    if (text.starts_with("$")) {
        text.remove_prefix(1);
        base = 16;
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    } else if (text.starts_with("%")) {
        text.remove_prefix(1);
        base = 2;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Error stream: Error: Invalid --fill "<text>": give a whole number from 0 to 255
std::optional<std::uint32_t> boundedNumber(std::string_view option, const std::string& text,
                                           std::uint32_t lowest, std::uint32_t highest,
                                           std::ostream& err) {
    const auto value = wholeNumber(text);
    if (!value || *value < lowest || *value > highest) {
        err << "Error: Invalid " << option << " \"" << text << "\": give a whole number from "
            << lowest << " to " << highest << '\n';
        return std::nullopt;
    }
    return value;
}

// Programmers name a chip by its part number; its size in bytes is what the file must have.
struct Part {
    std::string_view name;
    std::uint32_t bytes;
};
constexpr Part kParts[] = {
    {"2716", 2048},      {"2732", 4096},       {"2764", 8192},       {"27128", 16384},
    {"27256", 32768},    {"27512", 65536},     {"27C16", 2048},      {"27C32", 4096},
    {"27C64", 8192},     {"27C128", 16384},    {"27C256", 32768},    {"27C512", 65536},
    {"27C010", 131072},  {"27C020", 262144},   {"27C040", 524288},   {"27C080", 1048576},
    {"27C1024", 131072}, {"27C2048", 262144},  {"27C4096", 524288},  {"2816", 2048},
    {"2864", 8192},      {"28C16", 2048},      {"28C17", 2048},      {"28C64", 8192},
    {"28C256", 32768},   {"28C010", 131072},   {"28C040", 524288},   {"29C256", 32768},
    {"29C512", 65536},   {"29C010", 131072},   {"39SF010", 131072},  {"39SF020", 262144},
    {"39SF040", 524288}, {"39SF010A", 131072}, {"39SF020A", 262144}, {"39SF040A", 524288},
};

// A part number with or without the maker's letters in front (AT28C256, SST39SF010A), in any
// letter case.
std::optional<std::uint32_t> partBytes(std::string_view name) {
    const std::size_t digit = name.find_first_of("0123456789");
    if (digit == std::string_view::npos) {
        return std::nullopt;
    }
    name.remove_prefix(digit);
    for (const Part& part : kParts) {
        const bool same =
            part.name.size() == name.size() &&
            std::equal(name.begin(), name.end(), part.name.begin(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) == b;
            });
        if (same) {
            return part.bytes;
        }
    }
    return std::nullopt;
}

constexpr std::uint32_t kLargestChip = 16u << 20;

// Error stream: Error: --chip applies to bin, ihex and srec only
void reportNotApplicable(std::string_view option, std::string_view where, std::ostream& err) {
    err << "Error: " << option << " applies to " << where << " only\n";
}

// The options checked against each other and read as numbers; nothing after the first error.
std::optional<ExportRequest> readRequest(const ExportArguments& args, std::ostream& err) {
    ExportRequest request;
    for (const ExportFormatName& known : kExportFormatNames) {
        if (known.name == args.format) {
            request.format = known.format;
        }
    }
    const ExportFormat format = request.format;
    const bool bin = format == ExportFormat::bin;
    if (!args.chip.empty()) {
        if (!bin && format != ExportFormat::ihex && format != ExportFormat::srec) {
            reportNotApplicable("--chip", "bin, ihex and srec", err);
            return std::nullopt;
        }
        request.chip = args.chip == "high" ? Chip::high : Chip::low;
    }
    if (!args.endian.empty()) {
        if (!bin || request.chip != Chip::words) {
            reportNotApplicable("--endian", "bin without --chip", err);
            return std::nullopt;
        }
        request.endian = args.endian == "little" ? Endian::little : Endian::big;
    }
    if (!bin && (!args.size.empty() || !args.fill.empty())) {
        reportNotApplicable(args.size.empty() ? "--fill" : "--size", "bin", err);
        return std::nullopt;
    }
    if (!args.depth.empty() && format != ExportFormat::mif && format != ExportFormat::coe) {
        reportNotApplicable("--depth", "mif and coe", err);
        return std::nullopt;
    }
    if (!args.size.empty()) {
        request.sizeBytes = partBytes(args.size);
        if (!request.sizeBytes) {
            request.sizeBytes = wholeNumber(args.size);
        }
        if (!request.sizeBytes || *request.sizeBytes == 0 || *request.sizeBytes > kLargestChip) {
            err << "Error: Invalid --size \"" << args.size
                << "\": give a number of bytes up to 16 MiB or a part such as 2764, 27C256, 28C64, "
                   "28C256\n";
            return std::nullopt;
        }
    }
    if (!args.fill.empty()) {
        const auto fill = boundedNumber("--fill", args.fill, 0, 0xFF, err);
        if (!fill) {
            return std::nullopt;
        }
        request.fill = static_cast<std::uint8_t>(*fill);
    }
    if (!args.offset.empty()) {
        request.offset = boundedNumber("--offset", args.offset, 0, 0xFFFF, err);
        if (!request.offset) {
            return std::nullopt;
        }
    }
    if (!args.depth.empty()) {
        request.depth = boundedNumber("--depth", args.depth, 1, 0x10000, err);
        if (!request.depth) {
            return std::nullopt;
        }
    }
    return request;
}

bool isHexDigits(std::string_view text) {
    return text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

// A CROM file is told by its first line, "M", four hexadecimal digits, "=" and four more, as
// zoltas writes it; a file whose first line is anything else is a source. (Such a line in a
// source would define one odd label and place nothing.)
bool startsAsCrom(InputFile& file) {
    char head[12];
    file.read(head, sizeof head);
    std::string_view line(head, static_cast<std::size_t>(file.gcount()));
    const std::size_t end = line.find('\n');
    if (end == std::string_view::npos && line.size() == sizeof head) {
        return false;
    }
    line = line.substr(0, end);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line.size() == 10 && line[0] == 'M' && line[5] == '=' &&
           isHexDigits(line.substr(1, 4)) && isHexDigits(line.substr(6, 4));
}

// The image of the inputs: a HI_/LO_ pair from --start, a CROM file, or a source assembled as
// zoltas would, writing nothing. Errors are the ones zoltas and zoltdis print for the same files.
std::optional<MemoryImage> readImage(const ExportArguments& args, FileSystem& files,
                                     std::ostream& err) {
    if (args.inputs.size() == 2) {
        std::uint32_t start = 0;
        if (!args.start.empty()) {
            const auto value = boundedNumber("--start", args.start, 0, 0xFFFF, err);
            if (!value) {
                return std::nullopt;
            }
            start = *value;
        }
        return readBinPair(files, args.inputs[0], args.inputs[1], static_cast<std::uint16_t>(start),
                           err);
    }
    if (!args.start.empty()) {
        reportNotApplicable("--start", "a HI_/LO_ pair", err);
        return std::nullopt;
    }
    const std::string& name = args.inputs[0];
    bool crom = false;
    {
        const auto file = files.openForReading(name);
        if (!file) {
            err << noSuchFileText(name) << '\n';
            return std::nullopt;
        }
        crom = startsAsCrom(*file);
    }
    if (crom) {
        return readCromFile(files, name, err);
    }
    const ToolRun run = runPassesForTool(files, name);
    if (run.status != 0) {
        // The error ends the run, so it is the last line zoltas printed.
        std::string_view console = run.console;
        if (console.ends_with('\n')) {
            console.remove_suffix(1);
        }
        const std::size_t lineEnd = console.rfind('\n');
        err << console.substr(lineEnd == std::string_view::npos ? 0 : lineEnd + 1) << '\n';
        return std::nullopt;
    }
    return outputImage(run.state);
}

// Standard output for the text formats without -o; otherwise the whole file at once, so an
// existing file is replaced only by a complete one.
bool writeOutput(const ExportArguments& args, const std::string& bytes, ToolContext& context) {
    if (args.output.empty()) {
        // zolt itself reports standard output that cannot be written, for every subcommand.
        context.out << bytes;
        return true;
    }
    const auto normal = [](const std::string& name) {
        return std::filesystem::path(name).lexically_normal();
    };
    for (const std::string& input : args.inputs) {
        if (normal(input) == normal(args.output)) {
            context.err << "Write error: Won't replace the input file \"" << args.output << "\"\n";
            return false;
        }
    }
    if (!context.files.writeFileAtomically(args.output, bytes)) {
        context.err << "Write error: \"" << args.output
                    << "\" could not be written; an existing file is left as it was\n";
        return false;
    }
    return true;
}

int runExport(const ExportArguments& args, ToolContext& context) {
    std::ostream& err = context.err;
    const auto request = readRequest(args, err);
    if (!request) {
        return 1;
    }
    if (request->format == ExportFormat::bin && args.output.empty()) {
        err << "Error: bin is binary and needs -o FILE\n";
        return 1;
    }
    const auto image = readImage(args, context.files, err);
    if (!image) {
        return 1;
    }
    std::string whyNot;
    const auto placement = placeImage(*image, *request, whyNot);
    if (!placement) {
        err << whyNot << '\n';
        return 1;
    }
    return writeOutput(args, exportBytes(*image, *placement), context) ? 0 : 1;
}

}  // namespace

void addExportCommand(CLI::App& zolt, ToolContext& context) {
    auto args = std::make_shared<ExportArguments>();
    CLI::App* command = zolt.add_subcommand(
        "export",
        "Write the image in a format that EEPROM programmers, simulators and FPGA tools load");
    std::vector<std::string> formats;
    for (const ExportFormatName& known : kExportFormatNames) {
        formats.emplace_back(known.name);
    }
    command->add_option("-f,--format", args->format, "The file format")
        ->type_name("FORMAT")
        ->required()
        ->check(CLI::IsMember(formats));
    command
        ->add_option("-o,--output", args->output,
                     "The file to write; without it a text format goes to standard output")
        ->type_name("FILE");
    command->add_option("--chip", args->chip, "bin, ihex, srec: one 8-bit half of every word")
        ->type_name("CHIP")
        ->check(CLI::IsMember({"high", "low"}));
    command->add_option("--endian", args->endian, "bin: the byte order of whole words (big)")
        ->type_name("ORDER")
        ->check(CLI::IsMember({"big", "little"}));
    command
        ->add_option("--size", args->size,
                     "bin: the chip's size in bytes or its part name (2764, 28C256, ...)")
        ->type_name("N|PART");
    command->add_option("--fill", args->fill, "bin: the byte of the chip beyond the image ($ff)")
        ->type_name("N");
    command
        ->add_option("--offset", args->offset,
                     "The address of the image's first word in the output (its start)")
        ->type_name("N");
    command
        ->add_option("--depth", args->depth,
                     "mif, coe: the memory's size in words (up to the image's end)")
        ->type_name("N");
    command->add_option("--start", args->start, "The start address of a HI_/LO_ pair (0)")
        ->type_name("N");
    command->add_option("INPUT", args->inputs, "A source, a CROM file, or a HI_ and a LO_ file")
        ->type_name("FILE")
        ->required()
        ->expected(1, 2);
    command->callback([args, &context] { context.status = runExport(*args, context); });
}

}  // namespace zoltas
