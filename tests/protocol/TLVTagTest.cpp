#include "protocol/TLVTag.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct NumberCase {
    unsigned value;
    unsigned char bigEndian[4];
};

TEST(TLVNumbers, ByteOrdersOfAllHelpers) {
    const NumberCase cases[] = {
        {0, {0, 0, 0, 0}},
        {11, {0, 0, 0, 0x0B}},
        {0x01020304, {1, 2, 3, 4}},
        {0x80000001, {0x80, 0, 0, 1}},
        {0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.value);
        unsigned char member[4] = {};
        unsigned char freeFn[4] = {};
        CTLVTag::numToBin(member, c.value);
        vela::numToBin(freeFn, c.value);
        EXPECT_EQ(0, std::memcmp(member, c.bigEndian, 4));
        EXPECT_EQ(0, std::memcmp(freeFn, c.bigEndian, 4));

        unsigned char littleEndian[4] = {c.bigEndian[3], c.bigEndian[2], c.bigEndian[1],
                                         c.bigEndian[0]};
        unsigned v1 = 0, v2 = 0, v3 = 0, v4 = 0;
        CTLVTag::binToNumR(member, v1);
        vela::binToNumR(member, v2);
        CTLVTag::binToNum(littleEndian, v3);
        vela::binToNum(littleEndian, v4);
        EXPECT_EQ(c.value, v1);
        EXPECT_EQ(c.value, v2);
        EXPECT_EQ(c.value, v3);
        EXPECT_EQ(c.value, v4);
    }
}

TEST(TLVTag, NumberIsStoredBigEndianAndDumpsWithBigEndianHeader) {
    CTLVTag tag(1, 11u);
    unsigned char dump[16];
    std::memset(dump, 0xAA, sizeof dump);
    unsigned size = 0;
    ASSERT_EQ(TLVC_OK, tag.getBinData(dump, sizeof dump, size));
    const unsigned char expected[16] = {0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0x0B, 0, 0, 0, 0};
    EXPECT_EQ(12u, size);
    EXPECT_EQ(0, std::memcmp(dump, expected, 16)) << "value then zero-filled capacity";

    unsigned n = 0;
    EXPECT_EQ(TLVC_OK, tag.getValueR(n));
    EXPECT_EQ(11u, n);
    EXPECT_EQ(TLVC_OK, tag.getValue(n));
    EXPECT_EQ(184549376u, n); // 0B000000h: read in the terminal's order

    EXPECT_EQ(TLVC_SMALLBUFFER, tag.getBinData(dump, 11, size));
    EXPECT_EQ(TLVC_INVALIDARG, tag.getBinData(nullptr, 12, size));
}

TEST(TLVTag, TextReadIntoBufferOfExactOrSmallerSize) {
    char text5[] = "ABCDE";
    char text6[] = "ABCDEF";
    CTLVTag five(15, text5);
    CTLVTag six(15, text6);

    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    ASSERT_EQ(TLVC_OK, five.getValue(buf, 5));
    EXPECT_EQ(0, std::memcmp(buf, "ABCDEx", 6)) << "exactly 5 bytes, no terminator";

    std::memset(buf, 'x', sizeof buf);
    ASSERT_EQ(TLVC_OK, five.getValue(buf, 8));
    EXPECT_STREQ("ABCDE", buf) << "the rest of the capacity is zeroed";

    EXPECT_EQ(TLVC_SMALLBUFFER, six.getValue(buf, 5));

    unsigned char bin[6];
    unsigned length = 0;
    ASSERT_EQ(TLVC_OK, six.getValue(bin, sizeof bin, length));
    EXPECT_EQ(6u, length);
}

TEST(TLVTag, MissingOrMisshapenValues) {
    char empty[] = "";
    CTLVTag emptyText(18, empty);
    CTLVTag noValue(18);
    unsigned char two[] = {1, 2};
    CTLVTag twoBytes(3, two, 2);
    CTLVTag nullData(3, nullptr, 4);

    for (CTLVTag* tag : {&emptyText, &noValue, &nullData}) {
        unsigned length = 99, size = 99, n = 99;
        char buf[4];
        EXPECT_EQ(TLVC_OK, tag->getLength(length));
        EXPECT_EQ(0u, length);
        EXPECT_EQ(TLVC_NOVALUE, tag->getValue(buf, sizeof buf));
        EXPECT_EQ(TLVC_NOVALUE, tag->getValue(n));
        EXPECT_EQ(TLVC_NOVALUE, tag->getBinLength(size));
        EXPECT_EQ(99u, size);
    }

    unsigned n = 7;
    EXPECT_EQ(TLVC_INVALIDOP, twoBytes.getValue(n));
    EXPECT_EQ(TLVC_INVALIDOP, twoBytes.getValueR(n));
    EXPECT_EQ(7u, n);

    EXPECT_EQ(TLVC_INVALIDARG, twoBytes.setValue(static_cast<unsigned char*>(nullptr), 4));
    EXPECT_EQ(TLVC_INVALIDARG, twoBytes.setValue(static_cast<char*>(nullptr)));
    unsigned length = 0;
    twoBytes.getLength(length);
    EXPECT_EQ(2u, length) << "a refused value leaves the old one";
}

TEST(TLVTag, AllocAndClearValue) {
    CTLVTag tag(57);
    tag.allocValue(3);
    unsigned char buf[3] = {9, 9, 9};
    unsigned length = 0;
    ASSERT_EQ(TLVC_OK, tag.getValue(buf, 3, length));
    EXPECT_EQ(3u, length);
    EXPECT_EQ((std::string(3, '\0')), std::string(buf, buf + 3));
    tag.clearValue();
    tag.getLength(length);
    EXPECT_EQ(0u, length);
}

TEST(TLVTag, CopyIsIndependent) {
    char text[] = "1234";
    CTLVTag source(18, text);
    CTLVTag target(5);
    ASSERT_EQ(TLVC_OK, target.copy(source));
    char other[] = "xy";
    source.setValue(other);

    unsigned type = 0;
    char buf[5];
    target.getType(type);
    EXPECT_EQ(18u, type);
    ASSERT_EQ(TLVC_OK, target.getValue(buf, sizeof buf));
    EXPECT_STREQ("1234", buf);

    EXPECT_EQ(TLVC_OK, target.copy(target)) << "copying onto itself keeps the value";
    ASSERT_EQ(TLVC_OK, target.getValue(buf, sizeof buf));
    EXPECT_STREQ("1234", buf);

    CTLVTag empty(9);
    EXPECT_EQ(TLVC_INVALIDARG, target.copy(empty));
    unsigned length = 1;
    target.getLength(length);
    target.getType(type);
    EXPECT_EQ(0u, length);
    EXPECT_EQ(9u, type);
}

TEST(TLVErrors, TableDescribesCodes201To207) {
    EXPECT_STREQ("General Error.", aTLVErrors[TLVC_ERROR - 201]);
    EXPECT_STREQ("Too small buffer.", aTLVErrors[TLVC_SMALLBUFFER - 201]);
    EXPECT_STREQ("Message Format Broken.", aTLVErrors[TLVC_FORMATBROKEN - 201]);
}

} // namespace
