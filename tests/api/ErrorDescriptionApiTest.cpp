// Error descriptions as a C caller reads them: the fixed texts of a port
// that failed to open and of a call without a connection, for a serial line
// and for TCP, in English, Ukrainian and Russian, all in UTF-8.
#include "velaecr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string description() {
    char buffer[257];
    std::memset(buffer, 'x', sizeof buffer);
    if (VELALib_LastErrorDescription(buffer) != 0)
        return "<failed>";
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

struct Expected {
    const char* failedOpen;
    const char* notConnected;
};

// The texts of the three languages, in the order of their codes.
void expectDescriptions(int (*failOpen)(), const Expected (&texts)[3]) {
    ASSERT_EQ(VELALib_InitializeVELA(), 0);
    for (unsigned char language = 0; language < 3; ++language) {
        ASSERT_EQ(VELALib_SetErrorLang(language), 0);
        ASSERT_EQ(failOpen(), -2);
        EXPECT_EQ(description(), texts[language].failedOpen) << int(language);
        EXPECT_EQ(VELALib_LastErrorCode(), 1);
        ASSERT_EQ(VELALib_Purchase(100, 0, 0), -5);
        EXPECT_EQ(description(), texts[language].notConnected) << int(language);
        EXPECT_EQ(VELALib_LastErrorCode(), 2); // reading it changed nothing
    }
    EXPECT_EQ(VELALib_SetErrorLang(3), -1);
    EXPECT_EQ(description(), texts[2].notConnected);
    EXPECT_EQ(VELALib_UninitializeVELA(), 0);
}

TEST(ErrorDescriptionApi, SerialLine) {
    const Expected texts[3] = {
        {"Com port error", "Com port was not opened"},
        {"Помилка COM-порту", "COM-порт не відкритий"},
        {"Ошибка COM-порта", "COM-порт не открыт"},
    };
    expectDescriptions([] { return VELALib_CommOpen("/dev/velaecr-no-such-port", 9600); }, texts);
}

TEST(ErrorDescriptionApi, Tcp) {
    const Expected texts[3] = {
        {"connection not established", "connection to host is required"},
        {"З'єднання не встановлно", "Необхідно встановити з'єднання з терміналом"},
        {"Соединение не установлено", "Необходимо подключиться к терминалу"},
    };
    expectDescriptions([] { return VELALib_CommOpenTCP("no-such-address", "2000"); }, texts);
}

TEST(ErrorDescriptionApi, NothingToDescribeAfterSuccess) {
    ASSERT_EQ(VELALib_InitializeVELA(), 0);
    char buffer[257];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(VELALib_LastErrorDescription(buffer), -8);
    EXPECT_EQ(buffer[0], 'x'); // a failed short text leaves the buffer alone
    EXPECT_EQ(VELALib_UninitializeVELA(), 0);
}

} // namespace
