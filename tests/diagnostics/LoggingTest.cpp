// The log file as set up through useLogging: levels, line format, the rule
// for paths used before, and rotation.
#include "client/VELAECRClient.h"
#include "diagnostics/VELALogger.h"
#include "diagnostics/common.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class Logging : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/velaecr-log-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_directory = pattern;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + m_directory + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    std::string path(const char* name) const { return m_directory + "/" + name; }

    CVELAECRClient m_client; // made first: its construction switches logging off
    std::string m_directory;
};

std::vector<std::string> lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> result;
    std::string line;
    while (std::getline(in, line))
        result.push_back(line);
    return result;
}

bool contains(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Splits "dd/mm/yyyy hh:mm:ss <hex thread id> <text>"; false when the line
// does not have that shape.
bool splitLine(const std::string& line, std::string& threadId, std::string& text) {
    const std::string shape = "00/00/0000 00:00:00 ";
    if (line.size() <= shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        bool digit = line[i] >= '0' && line[i] <= '9';
        if (shape[i] == '0' ? !digit : line[i] != shape[i])
            return false;
    }
    std::size_t space = line.find(' ', shape.size());
    if (space == std::string::npos)
        return false;
    threadId = line.substr(shape.size(), space - shape.size());
    text = line.substr(space + 1);
    return !threadId.empty() && threadId.find_first_not_of("0123456789abcdef") == std::string::npos;
}

long fileSize(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : -1;
}

TEST_F(Logging, LevelOneWritesShortLinesOnlyInTheLineFormat) {
    std::string file = path("short.log");
    ASSERT_EQ(m_client.useLogging(1, file.c_str()), 0);
    EXPECT_EQ(VELALogger::WriteShort("short marker"), 0);
    EXPECT_EQ(VELALogger::WriteDetailed("detailed marker"), 0);

    std::vector<std::string> text = lines(file);
    ASSERT_EQ(text.size(), 4u);
    EXPECT_TRUE(contains(text, " call useLogging() in version: 1.5.20"));
    EXPECT_TRUE(contains(text, " FilePath: " + file));
    EXPECT_TRUE(contains(text, " Logging level: 1"));
    EXPECT_TRUE(contains(text, " short marker"));

    std::string threadId, message;
    ASSERT_TRUE(splitLine(text[3], threadId, message)) << text[3];
    EXPECT_EQ(threadId, CurrentThreadIDToString());
    EXPECT_EQ(message, "short marker");
}

TEST_F(Logging, LevelTwoWritesBothKindsAndTheCharacterForm) {
    std::string file = path("detailed.log");
    ASSERT_EQ(m_client.useLogging('2', file.c_str()), 0);
    VELALogger::WriteShort("short marker");
    VELALogger::WriteDetailed("detailed marker");
    std::vector<std::string> text = lines(file);
    EXPECT_TRUE(contains(text, " Logging level: 50"));
    EXPECT_TRUE(contains(text, " short marker"));
    EXPECT_TRUE(contains(text, " detailed marker"));
}

TEST_F(Logging, LevelZeroCreatesNoFile) {
    std::string file = path("off.log");
    EXPECT_EQ(VELALogger::WriteShort("before any set-up"), 0);
    ASSERT_EQ(m_client.useLogging(0, file.c_str()), 0);
    EXPECT_EQ(VELALogger::WriteShort("short marker"), 0);
    EXPECT_FALSE(exists(file));
    EXPECT_EQ(m_client.useLogging(1, nullptr), 1);
}

TEST_F(Logging, APathUsedBeforeOnlyChangesTheLevel) {
    std::string first = path("a.log");
    std::string second = path("b.log");
    ASSERT_EQ(m_client.useLogging(1, first.c_str()), 0);
    ASSERT_EQ(m_client.useLogging(1, second.c_str()), 0);
    ASSERT_EQ(m_client.useLogging(2, first.c_str()), 0);
    VELALogger::WriteDetailed("detailed after switching back");
    EXPECT_TRUE(contains(lines(second), "detailed after switching back"));
    EXPECT_FALSE(contains(lines(first), "detailed after switching back"));
}

TEST_F(Logging, FullFileIsRotatedToDotOne) {
    const long kLimit = 1048576;
    std::string file = path("rotating.log");
    ASSERT_EQ(m_client.useLogging(1, file.c_str()), 0);
    std::string record(1000, 'r');
    for (int i = 0; i < 1200; ++i) // about 1.2 MB in total
        VELALogger::WriteShort(record);
    VELALogger::WriteShort("last marker");

    long rotated = fileSize(file + ".1");
    EXPECT_GT(rotated, kLimit - 2000);
    EXPECT_LE(rotated, kLimit);
    EXPECT_LT(fileSize(file), kLimit);
    std::vector<std::string> fresh = lines(file);
    ASSERT_FALSE(fresh.empty());
    EXPECT_TRUE(contains({fresh.back()}, "last marker"));
}

TEST(TextHelpers, NumbersAndHex) {
    EXPECT_EQ(ToString(-5), "-5");
    char out[3] = {};
    byte2hex(0xAB, out);
    EXPECT_STREQ(out, "AB");
    const unsigned char bytes[] = {0x00, 0x7F, 0xFF};
    EXPECT_EQ(hexify(bytes, 3), "007FFF");
    EXPECT_EQ(GetNumFilledZero(7), "07");
}

} // namespace

namespace {
// Before any log file is set up, and with only a level and no path, nothing
// reaches the console: the library never prints on its own.
TEST(LoggingOff, NothingIsPrintedWithoutALogFile) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(0, VELALogger::WriteShort("short before setup"));
    gvLoggingInit("", error);
    EXPECT_EQ(0, VELALogger::WriteShort("short with a level only"));
    EXPECT_EQ(0, VELALogger::WriteDetailed("detailed with a level only"));
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
}
} // namespace
