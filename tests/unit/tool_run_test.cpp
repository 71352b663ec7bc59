// The tools assemble through runPassesForTool: the image it gives must be the one zoltas writes,
// and its status zoltas's whenever the output can be written.
#include "driver/tool_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "case_file.h"
#include "in_memory_run.h"

namespace zoltas {
namespace {

TEST(ToolRun, GivesTheImageConsoleAndStatusOfZoltas) {
    const std::vector<std::string> sources = {
        e2e::readFile(ZOLTAS_SOURCE_DIR "/examples/countdown.asm"),
        e2e::readFile(ZOLTAS_SOURCE_DIR "/examples/message.asm"),
        "",
        ".org $fff0\n.start\n\tlda /x\nx:\n.s 'wraps'\n; end\n",
        ".lim 4\n\tnop\n\tnop\n\tnop\n\tnop\n",
        "\tjmp /nowhere\n",
        "\tfoo\n",
    };
    for (const std::string& source : sources) {
        MemoryFileSystem files;
        files.files["prog.asm"] = source;
        const ToolRun run = runPassesForTool(files, "prog.asm");
        const test::InMemoryRun zoltas =
            test::runZoltas({{"prog.asm", source}}, {"prog.asm", "out", "rom"});
        EXPECT_EQ(run.status, zoltas.status) << source;
        // zoltas prints its banner first, and pass 4 after what the tool run printed.
        EXPECT_TRUE(zoltas.console.starts_with("Vanta Zolt Assembler v0.76\n" + run.console))
            << source;
        if (run.status == 0) {
            std::istringstream written(zoltas.files.files.at("out"));
            std::ostringstream errors;
            const auto image = readCromImage(written, "out", errors);
            ASSERT_TRUE(image.has_value()) << errors.str();
            const MemoryImage mine = outputImage(run.state);
            EXPECT_EQ(mine.start, image->start) << source;
            EXPECT_EQ(mine.words, image->words) << source;
        }
    }
}

TEST(ToolRun, KeepsTheOutputNameAndFormatTheSourceChose) {
    MemoryFileSystem files;
    files.files["prog.asm"] = ".binary\n.out other.bin\n\tnop\n";
    const ToolRun run = runPassesForTool(files, "prog.asm");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.state.outputName, "other.bin");
    EXPECT_EQ(run.state.outputFormat, OutputFormat::bin);
    EXPECT_EQ(runPassesForTool(files, "missing.asm").console,
              "Load error: No such file \"missing.asm\" exists!\n");
}

}  // namespace
}  // namespace zoltas
