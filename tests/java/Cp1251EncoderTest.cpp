#include "api/java/Cp1251Encoder.h"
#include "client/TextConversion.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* name;
    std::string utf8;
    std::string cp1251;
};

TEST(Cp1251Encoder, ConvertsTextAndMarksWhatCp1251CannotHold) {
    const Case cases[] = {
        {"ascii", "Amount 100.00 UAH", "Amount 100.00 UAH"},
        {"ukrainian", "Ґава їжак Є", "\xA5\xE0\xE2\xE0 \xBF\xE6\xE0\xEA \xAA"},
        {"russian", "Ёлка ЪЫЭ", "\xA8\xEB\xEA\xE0 \xDA\xDB\xDD"},
        {"signs", "Чек №5 — 10€",
         "\xD7\xE5\xEA \xB9"
         "5 \x97 10\x88"},
        {"no cp1251 form", "a漢b", "a?b"},
        {"four-byte utf-8", "x\xF0\x9F\x98\x80y", "x?y"},
        {"surrogate pair of modified utf-8", "x\xED\xA0\xBD\xED\xB8\x80y", "x?y"},
        {"nul of modified utf-8", "a\xC0\x80z", "a?z"},
        {"stray continuation byte", "a\x80z", "a?z"},
        {"truncated sequence at the end", "ab\xD0", "ab?"},
        {"truncated sequence before ascii", "\xE2\x84z", "?z"},
        {"lone surrogate", "\xED\xA0\xBDz", "?z"},
        {"empty", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8ToCp1251(c.utf8.c_str()), c.cp1251) << c.name;
}

// Every CP1251 byte that the system's converter decodes comes back as the
// same byte: the table agrees with iconv's.
TEST(Cp1251Encoder, InvertsTheSystemDecoderForEveryByte) {
    int mapped = 0;
    for (int byte = 0x01; byte <= 0xFF; ++byte) {
        char in[2] = {static_cast<char>(byte), 0};
        char out[8] = {};
        ASSERT_TRUE(cp1251ToUtf8(in, 1, out, sizeof out - 1));
        if (out[0] == 0)
            continue; // no character in CP1251 (98h)
        ++mapped;
        EXPECT_EQ(utf8ToCp1251(out), std::string(in)) << "byte " << byte;
    }
    EXPECT_EQ(mapped, 254);
}

} // namespace
