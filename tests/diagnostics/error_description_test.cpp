#include "diagnostics/ErrorDescription.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string toCp1251(const std::string& utf8) {
    iconv_t cd = iconv_open("CP1251", "UTF-8");
    std::string out(utf8.size() * 2, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* dst = &out[0];
    size_t inLeft = utf8.size(), outLeft = out.size();
    iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

struct DescriptionCase {
    unsigned char language;
    unsigned char type;
    unsigned char number;
    std::string utf8;
};

class DescriptionTexts : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(DescriptionTexts, LanguageAndConnectionChooseTheText) {
    const DescriptionCase& c = GetParam();
    ErrorDescription list;
    ASSERT_EQ(0, list.SetErrorLanguage(c.language, c.type));
    std::string expected = c.language == ErrorDescription::kEnglish ? c.utf8 : toCp1251(c.utf8);
    EXPECT_EQ(expected, list.GetErrorDescription(c.number));
}

INSTANTIATE_TEST_SUITE_P(
    AllGroups, DescriptionTexts,
    ::testing::Values(DescriptionCase{0, 0, 1, "Com port error"},
                      DescriptionCase{0, 0, 2, "Com port was not opened"},
                      DescriptionCase{0, 1, 1, "connection not established"},
                      DescriptionCase{0, 1, 2, "connection to host is required"},
                      DescriptionCase{0, 1, 3, "Terminal connection error"},
                      DescriptionCase{2, 0, 1, "Ошибка COM-порта"},
                      DescriptionCase{1, 1, 2, "Необхідно встановити з'єднання з терміналом"},
                      DescriptionCase{1, 0, 4, "Помилка відкриття COM-порту"},
                      DescriptionCase{2, 1, 4, "Ошибка открытия TCP-порта"}));

TEST(ErrorDescription, RefusesUnknownLanguageOrTypeAndKeepsTheList) {
    ErrorDescription list;
    ASSERT_EQ(0, list.SetErrorLanguage(0, 0));
    EXPECT_EQ(1, list.SetErrorLanguage(3, 0));
    EXPECT_EQ(1, list.SetErrorLanguage(0, 2));
    EXPECT_EQ("Com port error", list.GetErrorDescription(1));
}

TEST(ErrorDescription, NumbersOutsideTheListAreReported) {
    ErrorDescription list;
    EXPECT_EQ("not correct error number", list.GetErrorDescription(1)); // nothing loaded
    list.SetErrorLanguage(0, 1);
    EXPECT_EQ("not correct error number", list.GetErrorDescription(0));
    EXPECT_EQ("not correct error number", list.GetErrorDescription(5));
    EXPECT_EQ("connection not established", list.GetErrorDescription(1));
}

TEST(ErrorDescription, ReloadsOnlyWhenLanguageOrTypeChanges) {
    ErrorDescription list;
    list.SetErrorLanguage(0, 0);
    list.SetErrorLanguage(0, 0);
    EXPECT_EQ(1u, list.loadCount());
    list.SetErrorLanguage(2, 0);
    list.SetErrorLanguage(2, 0);
    EXPECT_EQ(2u, list.loadCount());
}

TEST(ErrorDescription, TablesAreZeroPadded) {
    for (const auto* table : {arrErrEN, arrErrRU, arrErrUA})
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ('\0', table[i][127]);
}

// Many threads asking for descriptions in alternating languages each get a
// text of the language they asked for.
TEST(ErrorDescription, SharedInstanceIsSafeAcrossThreads) {
    std::vector<std::thread> threads;
    std::vector<int> wrong(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &wrong] {
            unsigned char language = static_cast<unsigned char>(t % 3);
            std::string expected =
                language == 0 ? std::string("Com port error")
                              : toCp1251(language == 1 ? "Помилка COM-порту" : "Ошибка COM-порта");
            for (int i = 0; i < 200; ++i)
                if (ErrorDescription::Describe(language, 0, 1) != expected)
                    ++wrong[t];
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int count : wrong)
        EXPECT_EQ(0, count);
}

} // namespace
