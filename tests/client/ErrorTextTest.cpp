// The description of the last error through the facade: the terminal's own
// text when it declined, fixed texts by failure kind, connection type and
// language (CP1251 for Ukrainian and Russian), and the shared description
// list used from several threads.
#include "FacadeTestClient.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <iconv.h>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string le(unsigned value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    return bytes;
}

std::string toCp1251(const std::string& utf8) {
    iconv_t cd = iconv_open("CP1251", "UTF-8");
    std::string out(utf8.size(), '\0');
    char* in = const_cast<char*>(utf8.data());
    char* dst = &out[0];
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string describe(CVELAECRClient& client, int* code = nullptr) {
    char buffer[128];
    std::memset(buffer, 'x', sizeof buffer);
    int rc = client.get_LastErrorDescription(buffer, sizeof buffer - 1);
    if (code != nullptr)
        *code = rc;
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

struct FixedText {
    int failure; // the code the failed call recorded
    unsigned char commType;
    unsigned char language;
    std::string utf8;
};

TEST(ErrorText, ConnectionFailuresGetTheFixedTextOfTheirKind) {
    const FixedText cases[] = {
        {2, 0, 0, "Com port error"},
        {5, 0, 0, "Com port was not opened"},
        {7, 0, 0, "Terminal connection error"},
        {2, 1, 0, "connection not established"},
        {5, 1, 0, "connection to host is required"},
        {12, 1, 0, "Terminal connection error"},
        {2, 0, 2, "Ошибка COM-порта"},
        {5, 0, 1, "COM-порт не відкритий"},
        {17, 0, 2, "Ошибка соединения"},
        {2, 1, 1, "З'єднання не встановлно"},
        {5, 1, 1, "Необхідно встановити з'єднання з терміналом"},
        {5, 1, 2, "Необходимо подключиться к терминалу"},
    };
    for (const FixedText& c : cases) {
        FacadeTestClient client;
        client.m_commType = c.commType;
        ASSERT_EQ(client.SetErrorLang(c.language), 0);
        client.ret(c.failure);
        int code = -1;
        std::string expected = c.language == 0 ? c.utf8 : toCp1251(c.utf8);
        EXPECT_EQ(describe(client, &code), expected) << c.utf8;
        EXPECT_EQ(code, 0) << c.utf8;
        EXPECT_EQ(client.m_lastCode, static_cast<unsigned>(c.failure)) << "not recorded";
    }
}

TEST(ErrorText, TheTerminalsOwnTextWhenItDeclined) {
    FacadeTestClient client;
    ASSERT_EQ(client.SetErrorLang(1), 0);
    const std::string text = toCp1251("Відмова: недостатньо коштів");
    client.setResult({{1, le(2)}, {14, le(5)}, {15, text}});
    client.ret(5); // even after a connection failure, the terminal's answer wins
    EXPECT_EQ(describe(client), text);
}

TEST(ErrorText, OwnNumberCodesAndSuccessUseTheTerminalTextOnly) {
    FacadeTestClient client;
    int code = 0;
    client.ret(0);
    EXPECT_EQ(describe(client, &code), "");
    EXPECT_EQ(code, 8);
    client.ret(302);
    EXPECT_EQ(describe(client, &code), "");
    EXPECT_EQ(code, 8);
    client.setResult({{14, le(0)}, {15, "APPROVED"}});
    EXPECT_EQ(describe(client, &code), "APPROVED");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(client.m_lastCode, 302u);
}

TEST(ErrorText, LanguageRulesAndSmallBuffers) {
    FacadeTestClient client;
    EXPECT_EQ(client.SetErrorLang(2), 0);
    EXPECT_EQ(client.SetErrorLang(3), 1);
    EXPECT_EQ(client.m_errorLang, 2);
    client.ret(5);
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(client.get_LastErrorDescription(buffer, sizeof buffer), 10);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(std::string(buffer + 1, 7), std::string(7, 'x'));
}

TEST(ErrorText, SeveralThreadsAskInDifferentLanguages) {
    const int kRounds = 300;
    // Language and connection type of each thread, and its text.
    const FixedText perThread[] = {
        {5, 0, 0, "Com port was not opened"},
        {5, 0, 1, toCp1251("COM-порт не відкритий")},
        {5, 0, 2, toCp1251("COM-порт не открыт")},
        {5, 1, 0, "connection to host is required"},
    };
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (const FixedText& c : perThread) {
        threads.emplace_back([&c, &wrong] {
            FacadeTestClient client;
            client.m_commType = c.commType;
            client.SetErrorLang(c.language);
            client.ret(c.failure);
            for (int i = 0; i < kRounds; ++i)
                if (describe(client) != c.utf8)
                    ++wrong;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}

} // namespace
