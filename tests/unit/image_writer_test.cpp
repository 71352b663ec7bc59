#include "output/image_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zoltas {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The whole image: the loop must stop after 0xFFFF instead of wrapping to 0 and never ending.
TEST(WriteImage, WritesAllSixtyFiveThousandWordsAndStopsAtTheTop) {
    const fs::path dir = fs::temp_directory_path() / "zoltas-image-writer-test";
    fs::create_directories(dir);
    WordImage image;
    image[0x0000] = 0x1234;
    image[0x8000] = 0xFF00;
    image[0xFFFF] = 0xABCD;
    std::ostringstream console;
    Reporter reporter(console);
    DiskFileSystem files(dir);

    ASSERT_TRUE(writeCromFile(image, 0x0000, 0xFFFF, "all.rom", reporter, files));
    const std::string text = readFile(dir / "all.rom");
    EXPECT_EQ(text.size(), 65536u * 11);
    EXPECT_EQ(text.substr(0, 11), "M0000=1234\n");
    EXPECT_EQ(text.substr(0x8000 * 11, 11), "M8000=ff00\n");
    EXPECT_EQ(text.substr(text.size() - 22), "Mfffe=0000\nMffff=abcd\n");

    ASSERT_TRUE(writeBinFiles(image, 0x0000, 0xFFFF, "all.bin", reporter, files));
    const std::string high = readFile(dir / "HI_all.bin");
    const std::string low = readFile(dir / "LO_all.bin");
    ASSERT_EQ(high.size(), 65536u);
    ASSERT_EQ(low.size(), 65536u);
    EXPECT_EQ(static_cast<unsigned char>(high[0]), 0x12);
    EXPECT_EQ(static_cast<unsigned char>(low[0]), 0x34);
    EXPECT_EQ(static_cast<unsigned char>(high[0x8000]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(low[0x8000]), 0x00);
    EXPECT_EQ(static_cast<unsigned char>(high[0xFFFF]), 0xAB);
    EXPECT_EQ(static_cast<unsigned char>(low[0xFFFF]), 0xCD);
    EXPECT_EQ(console.str(), "");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zoltas
