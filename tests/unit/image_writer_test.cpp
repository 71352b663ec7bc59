#include "output/image_writer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace zoltas {
namespace {

// The whole image: the loop must stop after 0xFFFF instead of wrapping to 0 and never ending.
TEST(WriteImage, WritesAllSixtyFiveThousandWordsAndStopsAtTheTop) {
    WordImage image;
    image[0x0000] = 0x1234;
    image[0x8000] = 0xFF00;
    image[0xFFFF] = 0xABCD;
    std::ostringstream console;
    Reporter reporter(console);
    MemoryFileSystem files;

    ASSERT_TRUE(writeCromFile(image, 0x0000, 0xFFFF, "all.rom", {}, reporter, files));
    const std::string text = files.files.at("all.rom");
    EXPECT_EQ(text.size(), 65536u * 11);
    EXPECT_EQ(text.substr(0, 11), "M0000=1234\n");
    EXPECT_EQ(text.substr(0x8000 * 11, 11), "M8000=ff00\n");
    EXPECT_EQ(text.substr(text.size() - 22), "Mfffe=0000\nMffff=abcd\n");

    ASSERT_TRUE(writeBinFiles(image, 0x0000, 0xFFFF, "all.bin", {}, reporter, files));
    const std::string high = files.files.at("HI_all.bin");
    const std::string low = files.files.at("LO_all.bin");
    ASSERT_EQ(high.size(), 65536u);
    ASSERT_EQ(low.size(), 65536u);
    EXPECT_EQ(static_cast<unsigned char>(high[0]), 0x12);
    EXPECT_EQ(static_cast<unsigned char>(low[0]), 0x34);
    EXPECT_EQ(static_cast<unsigned char>(high[0x8000]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(low[0x8000]), 0x00);
    EXPECT_EQ(static_cast<unsigned char>(high[0xFFFF]), 0xAB);
    EXPECT_EQ(static_cast<unsigned char>(low[0xFFFF]), 0xCD);
    EXPECT_EQ(console.str(), "");
}

}  // namespace
}  // namespace zoltas
