// Files sent to the terminal in blocks and fetched from it in parts.
#include "TempFiles.h"
#include "TerminalHarness.h"

namespace enginetest {
namespace {

Bytes blockOf(std::uint32_t number, std::uint32_t count, const std::vector<unsigned char>& data,
              std::size_t from, std::size_t length) {
    Bytes block = N(number);
    Bytes countBytes = N(count);
    block.insert(block.end(), countBytes.begin(), countBytes.end());
    block.insert(block.end(), data.begin() + from, data.begin() + from + length);
    return block;
}

class FileTransfer : public EngineOnTerminal {
protected:
    int sendFile(const std::string& path, std::uint8_t type, std::uint8_t command) {
        m_engine.setFileToSend(path, type, command);
        return run(EThreadTask_SendFile);
    }

    TempFiles m_files;
};

TEST_F(FileTransfer, BlocksCarryNumberCountAndDataFirstBlockTheKind) {
    struct Case {
        std::size_t size;
        std::vector<std::size_t> blockSizes;
    };
    for (const Case& c : {Case{512, {512}}, Case{513, {512, 1}}, Case{0, {0}}}) {
        m_terminal.clearRecords();
        std::vector<unsigned char> content = patternBytes(c.size);
        ASSERT_EQ(sendFile(m_files.write("f" + std::to_string(c.size), content), 5, 6), 0);
        std::vector<Request> requests = m_terminal.requests();
        ASSERT_EQ(requests.size(), c.blockSizes.size()) << c.size;
        std::uint32_t count = static_cast<std::uint32_t>(c.size == 0 ? 0 : c.blockSizes.size());
        std::size_t offset = 0;
        for (std::size_t i = 0; i < requests.size(); ++i) {
            Elements expected = {{1, N(18)}};
            expected.push_back({77, blockOf(static_cast<std::uint32_t>(i + 1), count, content,
                                            offset, c.blockSizes[i])});
            if (i == 0) {
                expected.push_back({78, N(5)});
                expected.push_back({79, N(6)});
            }
            EXPECT_EQ(requests[i].elements, expected) << c.size << " block " << i + 1;
            offset += c.blockSizes[i];
        }
    }
}

TEST_F(FileTransfer, BitmapSendsWidthThenHeight) {
    std::vector<unsigned char> bitmap = patternBytes(100);
    bitmap[0] = 'B';
    bitmap[1] = 'M';
    const unsigned char width[4] = {0x40, 0x01, 0, 0}; // 320
    const unsigned char height[4] = {0xF0, 0, 0, 0};   // 240
    std::copy(width, width + 4, bitmap.begin() + 18);
    std::copy(height, height + 4, bitmap.begin() + 22);
    ASSERT_EQ(sendFile(m_files.write("image.bmp", bitmap), 2, 1), 0);
    std::vector<Request> requests = m_terminal.requests();
    ASSERT_EQ(requests.size(), 1u);
    const Bytes* params = requests[0].value(80);
    ASSERT_NE(params, nullptr);
    EXPECT_EQ(*params, (Bytes{0x40, 0x01, 0, 0, 0xF0, 0, 0, 0}));
}

TEST_F(FileTransfer, RefusedFilesSendNothing) {
    std::vector<unsigned char> notBitmap = patternBytes(100);
    notBitmap[0] = 'P';
    EXPECT_EQ(sendFile(m_files.write("image.png", notBitmap), 2, 1), 15);
    EXPECT_EQ(sendFile(m_files.pathOf("missing"), 2, 1), 15);
    EXPECT_EQ(sendFile(m_files.pathOf("missing"), 5, 1), 15);
    EXPECT_EQ(sendFile(m_files.sized("too_large", 2097152), 5, 1), 15);
    EXPECT_TRUE(m_terminal.received().empty()) << hex(m_terminal.received());
}

TEST_F(FileTransfer, LargestFileGoesOutInFullBlocks) {
    ASSERT_EQ(sendFile(m_files.sized("largest", 2097151), 5, 1), 0);
    std::vector<Request> requests = m_terminal.requests();
    ASSERT_EQ(requests.size(), 4096u);
    const Bytes* last = requests.back().value(77);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->size(), 8u + 511u);
    EXPECT_EQ(Bytes(last->begin(), last->begin() + 8), blockOf(4096, 4096, {}, 0, 0));
}

TEST_F(FileTransfer, StopDuringALongSendEndsItBetweenBlocks) {
    m_engine.setFileToSend(m_files.sized("largest", 2097151), 5, 1);
    ASSERT_TRUE(m_engine.start(EThreadTask_SendFile));
    ASSERT_TRUE(m_terminal.waitForRequests(1, kWaitMs));
    m_engine.stopThread();
    EXPECT_EQ(m_engine.m_taskResult, 9u);
    EXPECT_LT(m_terminal.requests().size(), 4096u);
}

LeMessage filePart(std::uint32_t part, std::uint32_t count, const std::string& data) {
    return LeMessage()
        .num(1, 15)
        .num(14, 0)
        .text(15, "part " + std::to_string(part))
        .filePart(44, part, count, data);
}

TEST_F(FileTransfer, FetchJoinsThePartsAndShowsEachMessage) {
    m_terminal.queueReply({Step::frame(filePart(1, 3, "first "))});
    ASSERT_TRUE(m_engine.start(EThreadTask_ReqCurrReceipt));
    ASSERT_TRUE(eventually([&] { return m_engine.currentText(15) == "part 1"; }));
    EXPECT_FALSE(m_engine.currentHas(44));
    m_terminal.push({Step::frame(filePart(2, 3, "second "))});
    ASSERT_TRUE(eventually([&] { return m_engine.currentText(15) == "part 2"; }));
    EXPECT_FALSE(m_engine.currentHas(44));
    EXPECT_FALSE(m_engine.anyResultPending());
    m_terminal.push({Step::frame(filePart(3, 3, "third"))});
    EXPECT_EQ(m_engine.waitResult(), 0);
    EXPECT_EQ(m_engine.currentText(44), "first second third");
    EXPECT_EQ(m_terminal.requests()[0].elements, (Elements{{1, N(14)}, {48, N(1)}}));
}

TEST_F(FileTransfer, FetchEndsEarlyOnAPartMarkedFailed) {
    m_terminal.queueReply({Step::frame(filePart(1, 3, "first").num(49, 2))});
    EXPECT_EQ(run(EThreadTask_ReqDataFile), 0);
    EXPECT_EQ(m_engine.currentNumber(49), 2u);
}

TEST_F(FileTransfer, CompleteFileJudgedFailedEndsWithOne) {
    m_terminal.queueReply({Step::frame(filePart(1, 1, "whole").num(14, 5))});
    EXPECT_EQ(run(EThreadTask_ReqCurrReceipt), 1);
    EXPECT_EQ(m_engine.currentText(44), "whole");
}

} // namespace
} // namespace enginetest
