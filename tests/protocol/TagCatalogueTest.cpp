#include "protocol/TagCatalogue.h"
#include "IncomingDump.h"
#include "protocol/TLVMessage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The value this test sends for a tag, in the form the terminal would read it.
Bytes sampleValue(const STagInfo& info) {
    switch (info.kind) {
    case ETagKind::Number:
        return numberLE(info.tag * 100000u + 7u);
    case ETagKind::Byte:
        return numberLE(info.tag + 128u);
    case ETagKind::Binary:
        return {0, 0xFF, static_cast<unsigned char>(info.tag), 0};
    case ETagKind::Text:
    case ETagKind::File:
        return textBytes(std::string("\xC0\xE1 ") + info.name); // CP1251 letters pass untouched
    }
    return {};
}

// What a terminal does with our outgoing dump: reads it big-endian and answers
// with the same values in its own order, adding the first half of a file.
Bytes answerInTerminalOrder(const Bytes& outgoing, unsigned fileTag, const Bytes& fileContent) {
    Bytes answer;
    for (size_t offset = 0; offset < outgoing.size();) {
        unsigned type = 0, length = 0;
        vela::binToNumR(const_cast<unsigned char*>(&outgoing[offset]), type);
        vela::binToNumR(const_cast<unsigned char*>(&outgoing[offset + 4]), length);
        Bytes value(outgoing.begin() + offset + 8, outgoing.begin() + offset + 8 + length);
        offset += 8 + length;
        const STagInfo* info = findTagInfo(type);
        if (info != nullptr && (info->kind == ETagKind::Number || info->kind == ETagKind::Byte))
            value = Bytes(value.rbegin(), value.rend());
        answer = concat({answer, element(type, value)});
    }
    size_t half = fileContent.size() / 2;
    return concat(
        {answer, filePart(fileTag, 1, 2, {fileContent.begin(), fileContent.begin() + half})});
}

// Fills a message with every non-file tag of the catalogue as this system
// writes it: numbers and bytes through setValue(unsigned), text and binary
// as bytes.
void addEveryTag(CTLVMessage& msg) {
    for (const STagInfo& info : kTagCatalogue) {
        Bytes value = sampleValue(info);
        switch (info.kind) {
        case ETagKind::Number:
        case ETagKind::Byte: {
            unsigned n = 0;
            vela::binToNum(value.data(), n);
            msg.addTag(new CTLVTag(info.tag, n));
            break;
        }
        case ETagKind::Text: {
            std::string text(value.begin(), value.end());
            msg.addTag(new CTLVTag(info.tag, &text[0]));
            break;
        }
        case ETagKind::Binary:
            msg.addTag(new CTLVTag(info.tag, value.data(), value.size()));
            break;
        case ETagKind::File:
            break; // files only travel from the terminal, see below
        }
    }
}

void expectReadBack(CTLVMessage& msg, const STagInfo& info) {
    SCOPED_TRACE(info.name);
    const Bytes expected = sampleValue(info);
    switch (info.kind) {
    case ETagKind::Number:
    case ETagKind::Byte: {
        unsigned want = 0, got = 0;
        vela::binToNum(const_cast<unsigned char*>(expected.data()), want);
        ASSERT_EQ(TLVC_OK, msg.getTagNumValue(info.tag, got));
        if (info.kind == ETagKind::Byte)
            EXPECT_EQ(want & 0xFF, got & 0xFF);
        else
            EXPECT_EQ(want, got);
        break;
    }
    case ETagKind::Text:
    case ETagKind::Binary:
    case ETagKind::File: {
        CTLVTag* tag = nullptr;
        ASSERT_EQ(TLVC_OK, msg.getTag(tag, info.tag));
        Bytes got(expected.size() + 1, 0xAA);
        unsigned length = 0;
        ASSERT_EQ(TLVC_OK, tag->getValue(got.data(), got.size(), length));
        EXPECT_EQ(expected, Bytes(got.begin(), got.begin() + length));
        EXPECT_EQ(0, got.back()) << "room after the value is zeroed";
        break;
    }
    }
}

TEST(TagCatalogue, EveryTagKindSurvivesTheRoundTripThroughTheTerminal) {
    CTLVMessage request;
    addEveryTag(request);
    unsigned length = 0;
    ASSERT_EQ(TLVC_OK, request.getDumpLength(length));
    Bytes outgoing(length);
    ASSERT_EQ(TLVC_OK, request.buildDump(outgoing.data(), length, length));

    for (const STagInfo& info : kTagCatalogue) {
        if (info.kind != ETagKind::File)
            continue;
        const Bytes content = sampleValue(info);
        Bytes first = answerInTerminalOrder(outgoing, info.tag, content);
        CTLVMessage answer;
        ASSERT_EQ(TLVC_OK, answer.parseDump(first.data(), first.size()));
        EXPECT_FALSE(answer.isFileBufferEnd());
        for (const STagInfo& other : kTagCatalogue)
            if (other.kind != ETagKind::File)
                expectReadBack(answer, other);

        Bytes rest =
            filePart(info.tag, 2, 2, {content.begin() + content.size() / 2, content.end()});
        ASSERT_EQ(TLVC_OK, answer.parseDump(rest.data(), rest.size()));
        EXPECT_TRUE(answer.isFileBufferEnd());
        expectReadBack(answer, info);
    }
}

TEST(TagCatalogue, KindsAgreeWithTheMessageAndUnusedNumbersAreAbsent) {
    CTLVMessage msg;
    for (const STagInfo& info : kTagCatalogue) {
        EXPECT_EQ(&info, findTagInfo(info.tag));
        EXPECT_EQ(info.kind == ETagKind::File, msg.isFileTag(info.tag)) << info.name;
    }
    for (unsigned unused : {0u, 7u, 19u, 20u, 21u, 22u, 28u, 88u})
        EXPECT_EQ(nullptr, findTagInfo(unused)) << unused;
    EXPECT_STREQ("DisplayData", findTagInfo(ETag_DisplayData)->name);
    EXPECT_STREQ("binary", tagKindName(findTagInfo(ETag_DisplayData)->kind));
}

} // namespace
