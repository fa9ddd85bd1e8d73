// The block reader of files sent to the terminal.
#include "TempFiles.h"

#include "engine/File.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Block {
    unsigned number;
    unsigned count;
    std::vector<unsigned char> data;
};

unsigned be32(const char* p) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(p);
    return unsigned(b[0]) << 24 | unsigned(b[1]) << 16 | unsigned(b[2]) << 8 | unsigned(b[3]);
}

std::vector<Block> readAll(vela::CFile& file) {
    std::vector<Block> blocks;
    char buffer[8 + 512];
    while (!file.isEnd() && blocks.size() < 10) {
        unsigned length = 0;
        EXPECT_EQ(file.ReadBinaryFileBlock(buffer, length), 0);
        EXPECT_GE(length, 8u);
        blocks.push_back({be32(buffer), be32(buffer + 4),
                          std::vector<unsigned char>(buffer + 8, buffer + length)});
    }
    return blocks;
}

TEST(FileReader, SplitsIntoNumberedBlocksOf512) {
    struct Case {
        std::size_t size;
        std::vector<std::size_t> blockSizes;
    };
    const Case cases[] = {{0, {0}}, {1, {1}}, {512, {512}}, {513, {512, 1}}, {1024, {512, 512}}};
    for (const Case& c : cases) {
        TempFiles files;
        std::vector<unsigned char> content = patternBytes(c.size);
        vela::CFile file(files.write("f", content));
        ASSERT_EQ(file.Open(vela::CFile::kRead | vela::CFile::kBinary), 0) << c.size;
        std::vector<Block> blocks = readAll(file);
        ASSERT_EQ(blocks.size(), c.blockSizes.size()) << c.size;
        std::vector<unsigned char> joined;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i].number, i + 1) << c.size;
            EXPECT_EQ(blocks[i].count, c.size == 0 ? 0 : c.blockSizes.size()) << c.size;
            EXPECT_EQ(blocks[i].data.size(), c.blockSizes[i]) << c.size;
            joined.insert(joined.end(), blocks[i].data.begin(), blocks[i].data.end());
        }
        EXPECT_EQ(joined, content) << c.size;
        // Past the end nothing more is written.
        char untouched[8 + 512];
        std::memset(untouched, 0x5A, sizeof untouched);
        unsigned length = 77;
        EXPECT_EQ(file.ReadBinaryFileBlock(untouched, length), 0);
        EXPECT_EQ(length, 77u);
        EXPECT_EQ(untouched[0], 0x5A);
        EXPECT_EQ(file.Close(), 0);
    }
}

TEST(FileReader, SizeLimitAndFailures) {
    TempFiles files;
    vela::CFile largest(files.sized("largest", 2097151));
    EXPECT_EQ(largest.Open(vela::CFile::kRead | vela::CFile::kBinary), 0);
    EXPECT_EQ(largest.blockCount(), 4096u);

    vela::CFile tooLarge(files.sized("too_large", 2097152));
    EXPECT_EQ(tooLarge.Open(vela::CFile::kRead | vela::CFile::kBinary), 5);
    EXPECT_TRUE(tooLarge.isOpened()); // released by Close() or the destructor
    EXPECT_EQ(tooLarge.Close(), 0);

    vela::CFile missing(files.pathOf("missing"));
    EXPECT_EQ(missing.Open(vela::CFile::kRead | vela::CFile::kBinary), 1);
    EXPECT_EQ(missing.Close(), 2);
    char buffer[8 + 512];
    unsigned length = 0;
    EXPECT_EQ(missing.ReadBinaryFileBlock(buffer, length), 6);

    vela::CFile noMode(files.write("f", {1, 2, 3}));
    EXPECT_EQ(noMode.Open(vela::CFile::kBinary), 6);
}

} // namespace
