// The real library instance through the exported C functions: life cycle,
// the codes without a connection, the version, and a second initialisation.
#include "velaecr.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

class Lifecycle : public ::testing::Test {
protected:
    void TearDown() override { VELALib_UninitializeVELA(); }
};

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(Lifecycle, WithoutConnectionOperationsFailWithFiveAndRecordIt) {
    ASSERT_EQ(VELALib_InitializeVELA(), 0);
    EXPECT_EQ(VELALib_LastResult(), 0);
    EXPECT_EQ(VELALib_LastErrorCode(), 0);

    EXPECT_EQ(VELALib_Ping(), -5);
    EXPECT_EQ(VELALib_LastResult(), 1);
    EXPECT_EQ(VELALib_LastErrorCode(), 2);

    EXPECT_EQ(VELALib_UseMac(1, "anything"), 0); // a success clears the error kind
    EXPECT_EQ(VELALib_LastErrorCode(), 0);
    EXPECT_EQ(VELALib_LastResult(), 1);

    EXPECT_EQ(VELALib_Purchase(100, 0, 0), -5);
    EXPECT_EQ(VELALib_Cancel(), -5);
    EXPECT_EQ(VELALib_CheckTerminal(), 0);
    EXPECT_EQ(VELALib_CommClose(), 0);
    EXPECT_EQ(VELALib_CommClose(), 0);
    EXPECT_EQ(VELALib_Amount(), -8);

    EXPECT_EQ(VELALib_UninitializeVELA(), 0);
    EXPECT_EQ(VELALib_LastResult(), -1);
    EXPECT_EQ(VELALib_Ping(), -1);
}

TEST_F(Lifecycle, LibraryVersion) {
    ASSERT_EQ(VELALib_InitializeVELA(), 0);
    char buffer[257];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_EQ(VELALib_LibraryVersion(buffer), 0);
    EXPECT_STREQ(buffer, "1.5.20");
}

TEST_F(Lifecycle, ConnectionCallsFailAsAPortThatCannotOpen) {
    ASSERT_EQ(VELALib_InitializeVELA(), 0);
    EXPECT_EQ(VELALib_CommOpen("/dev/IOS", 115200), -2);
    EXPECT_EQ(VELALib_LastResult(), 1);
    EXPECT_EQ(VELALib_LastErrorCode(), 1);
    EXPECT_EQ(VELALib_CommOpen(nullptr, 9600), -2);
    EXPECT_EQ(VELALib_CommOpenTCP(nullptr, nullptr), -2);
    EXPECT_EQ(VELALib_Ping(), -5); // the failed transport never counts as open
}

TEST_F(Lifecycle, SecondInitialisationClosesAndFreesTheEarlierInstance) {
    char path[] = "/tmp/velaecr-reinit-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_NE(fd, -1);
    close(fd);
    std::remove(path);

    ASSERT_EQ(VELALib_InitializeVELA(), 0);
    ASSERT_EQ(VELALib_useLogging(1, path), 0);
    EXPECT_EQ(VELALib_Ping(), -5);
    ASSERT_EQ(VELALib_InitializeVELA(), 0);

    // The earlier instance was closed (its close is logged before the new
    // instance switches logging off), and the new one starts fresh. Under
    // AddressSanitizer a leaked earlier instance fails the run as well.
    EXPECT_NE(readFile(path).find("call CommClose()"), std::string::npos);
    EXPECT_EQ(VELALib_LastResult(), 0);
    EXPECT_EQ(VELALib_LastErrorCode(), 0);
    std::remove(path);
}

TEST_F(Lifecycle, ErrorLanguage) {
    ASSERT_EQ(VELALib_InitializeVELA(), 0);
    EXPECT_EQ(VELALib_SetErrorLang(2), 0);
    EXPECT_EQ(VELALib_SetErrorLang(3), -1);
    EXPECT_EQ(VELALib_useLogging(1, nullptr), -1);
}

} // namespace
