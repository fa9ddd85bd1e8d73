#include "protocol/TLVMessage.h"
#include "IncomingDump.h"
#include "protocol/TagCatalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The value of a stored element as a byte string; "<absent>" or "<empty>".
std::string valueOf(CTLVMessage& msg, unsigned type) {
    CTLVTag* tag = nullptr;
    if (msg.getTag(tag, type) != TLVC_OK)
        return "<absent>";
    unsigned length = 0;
    tag->getLength(length);
    if (length == 0)
        return "<empty>";
    std::string out(length, '\0');
    tag->getValue(reinterpret_cast<unsigned char*>(&out[0]), length, length);
    return out;
}

int parse(CTLVMessage& msg, Bytes dump) {
    return msg.parseDump(dump.data(), dump.size());
}

size_t tagCount(CTLVMessage& msg) {
    std::vector<CTLVTag*> tags;
    msg.getAllTags(tags);
    return tags.size();
}

TEST(TLVMessage, OutgoingDumpIsInAscendingTagOrder) {
    CTLVMessage msg;
    msg.addTag(new CTLVTag(ETag_MerchIdx, 2u));
    msg.addTag(new CTLVTag(ETag_MsgType, 1u));
    msg.addTag(new CTLVTag(ETag_Amount, 0x0102u));

    unsigned length = 0;
    ASSERT_EQ(TLVC_OK, msg.getDumpLength(length));
    EXPECT_EQ(36u, length);
    Bytes dump(40, 0xAA);
    unsigned size = 0;
    ASSERT_EQ(TLVC_OK, msg.buildDump(dump.data(), dump.size(), size));
    EXPECT_EQ(36u, size);
    const Bytes expected = {0, 0, 0, 1,  0, 0, 0, 4, 0, 0, 0, 1, // MsgType
                            0, 0, 0, 3,  0, 0, 0, 4, 0, 0, 1, 2, // Amount
                            0, 0, 0, 33, 0, 0, 0, 4, 0, 0, 0, 2, // MerchIdx
                            0, 0, 0, 0};
    EXPECT_EQ(expected, dump);

    EXPECT_EQ(TLVC_SMALLBUFFER, msg.buildDump(dump.data(), 35, size));
    EXPECT_EQ(TLVC_INVALIDARG, msg.buildDump(nullptr, 40, size));

    std::vector<CTLVTag*> tags;
    msg.getAllTags(tags);
    ASSERT_EQ(3u, tags.size());
    unsigned type = 0;
    tags[2]->getType(type);
    EXPECT_EQ(33u, type);
}

TEST(TLVMessage, ElementWithoutValueCannotBeDumped) {
    CTLVMessage msg;
    char empty[] = "";
    msg.addTag(new CTLVTag(ETag_MsgType, 1u));
    msg.addTag(new CTLVTag(ETag_RRN, empty));
    msg.addTag(new CTLVTag(ETag_MerchIdx, 1u));
    unsigned size = 99;
    EXPECT_EQ(TLVC_NOVALUE, msg.getDumpLength(size));
    EXPECT_EQ(12u, size) << "sum of the elements before the empty one";
    Bytes dump(64);
    EXPECT_EQ(TLVC_NOVALUE, msg.buildDump(dump.data(), dump.size(), size));
}

TEST(TLVMessage, AddTagReplacesAndOwns) {
    CTLVMessage msg;
    EXPECT_EQ(TLVC_INVALIDARG, msg.addTag(nullptr));
    CTLVTag* first = new CTLVTag(ETag_Amount, 1u);
    msg.addTag(first);
    EXPECT_EQ(TLVC_OK, msg.addTag(first)) << "re-adding the stored element keeps it alive";
    msg.addTag(new CTLVTag(ETag_Amount, 2u));
    unsigned n = 0;
    CTLVTag* stored = nullptr;
    ASSERT_EQ(TLVC_OK, msg.getTag(stored, ETag_Amount));
    stored->getValueR(n);
    EXPECT_EQ(2u, n);
    EXPECT_EQ(1u, tagCount(msg));
}

TEST(TLVMessage, PingDumpInBothByteOrders) {
    CTLVMessage msg;
    ASSERT_EQ(TLVC_OK, parse(msg, {1, 0, 0, 0, 4, 0, 0, 0, 0x0B, 0, 0, 0}));
    unsigned n = 0;
    ASSERT_EQ(TLVC_OK, msg.getTagNumValue(ETag_MsgType, n));
    EXPECT_EQ(11u, n);

    // Our own outgoing dump does not parse: its length reads as 67108864.
    CTLVMessage ping;
    ping.addTag(new CTLVTag(ETag_MsgType, 11u));
    Bytes out(12);
    unsigned size = 0;
    ASSERT_EQ(TLVC_OK, ping.buildDump(out.data(), out.size(), size));
    EXPECT_EQ(TLVC_INVALIDSEQ, parse(msg, out));
    EXPECT_EQ(0u, tagCount(msg));
}

TEST(TLVMessage, MalformedDumpsAreRejectedAndLeaveMessageEmpty) {
    const Bytes good = element(ETag_MsgType, numberLE(12));
    const struct {
        const char* name;
        Bytes dump;
    } cases[] = {
        {"4 bytes", {1, 0, 0, 0}},
        {"7 bytes", {1, 0, 0, 0, 4, 0, 0}},
        {"value longer than the rest", {1, 0, 0, 0, 5, 0, 0, 0, 1, 2, 3, 4}},
        {"truncated header after an element", concat({good, {3, 0, 0}})},
        {"last element overshoots", concat({good, {3, 0, 0, 0, 9, 0, 0, 0, 1}})},
        {"length FFFFFFFF", concat({good, {3, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2}})},
        {"length wraps to the start", concat({good, {3, 0, 0, 0, 0xF8, 0xFF, 0xFF, 0xFF}})},
        {"length wraps past the start", concat({good, {3, 0, 0, 0, 0xEC, 0xFF, 0xFF, 0xFF}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTLVMessage msg;
        msg.addTag(new CTLVTag(ETag_Amount, 5u));
        EXPECT_EQ(TLVC_INVALIDSEQ, parse(msg, c.dump));
        EXPECT_EQ(0u, tagCount(msg));
    }
}

TEST(TLVMessage, ParseEdgeCases) {
    CTLVMessage msg;
    msg.addTag(new CTLVTag(ETag_Amount, 5u));
    unsigned char byte = 0;
    EXPECT_EQ(TLVC_INVALIDARG, msg.parseDump(nullptr, 12));
    EXPECT_EQ(1u, tagCount(msg)) << "a null dump changes nothing";
    EXPECT_EQ(TLVC_OK, msg.parseDump(&byte, 0));
    EXPECT_EQ(0u, tagCount(msg));

    // Later duplicates win; a zero-length value is stored without value.
    ASSERT_EQ(TLVC_OK,
              parse(msg, concat({element(ETag_RRN, textBytes("first")), element(ETag_PAN, {}),
                                 element(ETag_RRN, textBytes("second"))})));
    EXPECT_EQ("second", valueOf(msg, ETag_RRN));
    EXPECT_EQ("<empty>", valueOf(msg, ETag_PAN));
    EXPECT_EQ(2u, tagCount(msg));

    unsigned n = 42;
    EXPECT_EQ(TLVC_ERROR, msg.getTagNumValue(ETag_Amount, n));
    ASSERT_EQ(TLVC_OK, parse(msg, element(ETag_Amount, {1, 2})));
    EXPECT_EQ(TLVC_INVALIDOP, msg.getTagNumValue(ETag_Amount, n));
    EXPECT_EQ(42u, n);
}

class FileAssembly : public ::testing::TestWithParam<unsigned> {};

TEST_P(FileAssembly, PartsJoinAcrossDumps) {
    const unsigned fileTag = GetParam();
    CTLVMessage msg;
    ASSERT_EQ(TLVC_OK, parse(msg, concat({element(ETag_MsgType, numberLE(15)),
                                          filePart(fileTag, 1, 3, textBytes("one "))})));
    EXPECT_FALSE(msg.findTag(fileTag));
    EXPECT_TRUE(msg.findTag(ETag_MsgType));
    EXPECT_FALSE(msg.isFileBufferEnd());
    EXPECT_TRUE(msg.IsReceiptPresent());

    ASSERT_EQ(TLVC_OK, parse(msg, filePart(fileTag, 2, 3, textBytes("two "))));
    EXPECT_FALSE(msg.findTag(fileTag));
    EXPECT_FALSE(msg.findTag(ETag_MsgType)) << "each parse replaces the elements";
    EXPECT_FALSE(msg.isFileBufferEnd());

    // Elements after the completing part are not read.
    ASSERT_EQ(TLVC_OK, parse(msg, concat({filePart(fileTag, 3, 3, textBytes("three")),
                                          element(ETag_RRN, textBytes("x"))})));
    EXPECT_EQ("one two three", valueOf(msg, fileTag));
    EXPECT_FALSE(msg.findTag(ETag_RRN));
    EXPECT_TRUE(msg.isFileBufferEnd());
    EXPECT_EQ(13u, msg.getFileLength());

    msg.clear();
    EXPECT_TRUE(msg.isFileBufferEnd()) << "clear() keeps the file state";
    EXPECT_EQ(13u, msg.getFileLength());
}

INSTANTIATE_TEST_SUITE_P(ReceiptAndDataFile, FileAssembly,
                         ::testing::Values(ETag_Receipt, ETag_DataFile));

TEST(TLVMessage, PartZeroOfZeroEndsTheFile) {
    CTLVMessage empty;
    ASSERT_EQ(TLVC_OK, parse(empty, filePart(ETag_Receipt, 0, 0, textBytes("ignored"))));
    EXPECT_EQ("<empty>", valueOf(empty, ETag_Receipt));
    EXPECT_TRUE(empty.isFileBufferEnd());
    EXPECT_FALSE(empty.IsReceiptPresent());

    CTLVMessage partial;
    ASSERT_EQ(TLVC_OK, parse(partial, filePart(ETag_Receipt, 1, 5, textBytes("head"))));
    ASSERT_EQ(TLVC_OK, parse(partial, filePart(ETag_Receipt, 0, 0, {})));
    EXPECT_EQ("head", valueOf(partial, ETag_Receipt));
}

TEST(TLVMessage, RefusedFileParts) {
    const struct {
        const char* name;
        Bytes value; // the file element's whole value
    } cases[] = {
        {"part 2 of 1", concat({numberLE(2), numberLE(1), textBytes("data")})},
        {"no part header", {1, 0, 0, 0, 1, 0, 0}},
        {"empty value", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTLVMessage msg;
        EXPECT_EQ(TLVC_SMALLBUFFER, parse(msg, concat({element(ETag_MsgType, numberLE(15)),
                                                       element(ETag_Receipt, c.value)})));
        EXPECT_TRUE(msg.findTag(ETag_MsgType)) << "elements before the failure stay";
        EXPECT_FALSE(msg.findTag(ETag_Receipt));
        EXPECT_EQ(0u, msg.getFileLength());
    }
}

TEST(TLVMessage, FileBufferHolds204800BytesAndNoMore) {
    const unsigned limit = CTLVMessage::kFileBufferSize;
    const Bytes block(100000, 'r');
    for (unsigned lastPart : {limit - 200000, limit - 200000 + 1}) {
        SCOPED_TRACE(lastPart);
        CTLVMessage msg;
        ASSERT_EQ(TLVC_OK, parse(msg, filePart(ETag_DataFile, 1, 3, block)));
        ASSERT_EQ(TLVC_OK, parse(msg, filePart(ETag_DataFile, 2, 3, block)));
        int rc = parse(msg, filePart(ETag_DataFile, 3, 3, Bytes(lastPart, 'z')));
        if (lastPart + 200000 <= limit) {
            EXPECT_EQ(TLVC_OK, rc);
            EXPECT_EQ(limit, msg.getFileLength());
            EXPECT_EQ(limit, valueOf(msg, ETag_DataFile).size());
        } else {
            EXPECT_EQ(TLVC_SMALLBUFFER, rc);
            EXPECT_EQ(200000u, msg.getFileLength());
            EXPECT_FALSE(msg.isFileBufferEnd());
        }
    }
}

TEST(TLVMessage, AddToBuffNeverExceedsItsBufferWhateverCapacityIsClaimed) {
    CTLVMessage msg;
    Bytes part = concat({numberLE(1), numberLE(1), Bytes(CTLVMessage::kFileBufferSize + 1, 0)});
    EXPECT_EQ(2, msg.AddToBuff(part.data(), part.size(), 0xFFFFFFFFu));
    EXPECT_EQ(0u, msg.getFileLength());
    EXPECT_EQ(2, msg.AddToBuff(nullptr, 16, 100));
}

TEST(TLVMessage, CopyTakesElementsOnly) {
    CTLVMessage source;
    ASSERT_EQ(TLVC_OK,
              parse(source, concat({element(ETag_RRN, textBytes("123456")), element(ETag_PAN, {}),
                                    filePart(ETag_Receipt, 1, 1, textBytes("slip"))})));
    CTLVMessage target;
    target.addTag(new CTLVTag(ETag_Amount, 1u));
    ASSERT_EQ(TLVC_OK, target.copy(source));
    source.clear();

    EXPECT_EQ("123456", valueOf(target, ETag_RRN));
    EXPECT_EQ("<empty>", valueOf(target, ETag_PAN));
    EXPECT_EQ("slip", valueOf(target, ETag_Receipt));
    EXPECT_FALSE(target.findTag(ETag_Amount));
    EXPECT_FALSE(target.isFileBufferEnd());
    EXPECT_EQ(0u, target.getFileLength());

    EXPECT_EQ(TLVC_OK, target.copy(target));
    EXPECT_EQ("123456", valueOf(target, ETag_RRN)) << "copying onto itself keeps the elements";
}

} // namespace
