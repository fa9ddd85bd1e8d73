#include "communication/LineSettings.h"
#include "communication/SerialRS232.h"

#include "pty_pair.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

using namespace Communication;

namespace {

class SerialOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_WITHOUT_PTY(pty);
        CSerialRS232::loadUdev();
    }
    int open(unsigned int baud = 9600) { return port.commOpen(pty.path().c_str(), baud, false); }

    PtyPair pty;
    CSerialRS232 port{false};
};

TEST_F(SerialOnPty, OpenPutsTheLineIntoRawEightNoneOne) {
    ASSERT_EQ(COMM_OK, open(9600));
    termios t = pty.lineSettings();
    EXPECT_EQ(0u, t.c_iflag & (IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                               IXOFF | IXANY | INPCK));
    EXPECT_EQ(0u, t.c_oflag & OPOST);
    EXPECT_EQ(0u, t.c_lflag & (ICANON | ECHO | ECHOE | ECHONL | ISIG | NOFLSH | TOSTOP));
    EXPECT_EQ(tcflag_t(IEXTEN), t.c_lflag & IEXTEN);
    EXPECT_EQ(tcflag_t(CS8), t.c_cflag & CSIZE);
    EXPECT_EQ(0u, t.c_cflag & (PARENB | CSTOPB | CRTSCTS));
    EXPECT_EQ(tcflag_t(CREAD | CLOCAL), t.c_cflag & (CREAD | CLOCAL));
    EXPECT_EQ(0, t.c_cc[VMIN]);
    EXPECT_EQ(0, t.c_cc[VTIME]);
    EXPECT_EQ(speed_t(B9600), cfgetospeed(&t));
    EXPECT_EQ(COMM_OK, port.isConnected());
    char path[255];
    ASSERT_EQ(COMM_OK, port.getOpenedPortPath(path, sizeof path));
    EXPECT_EQ(pty.path(), path);
}

TEST_F(SerialOnPty, BaudTableAndUnsupportedRate) {
    const struct {
        unsigned int rate;
        speed_t speed;
    } table[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
                 {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const auto& row : table) {
        ASSERT_EQ(COMM_OK, open(row.rate)) << row.rate;
        termios t = pty.lineSettings();
        EXPECT_EQ(row.speed, cfgetispeed(&t)) << row.rate;
        EXPECT_EQ(row.speed, cfgetospeed(&t)) << row.rate;
    }
    // An unsupported rate fails after the device was opened: it stays open
    // with monitoring off until closed.
    EXPECT_EQ(COMM_ERROR, open(14400));
    EXPECT_EQ(COMM_ERROR, port.isConnected());
    EXPECT_EQ(COMM_OK, port.commClose());
    EXPECT_EQ(COMM_NOTOPENED, port.isConnected());
}

TEST_F(SerialOnPty, CharacterSizeAndParityArguments) {
    EXPECT_EQ(COMM_NOTOPENED, port.setCharacterSize(8));
    EXPECT_EQ(COMM_NOTOPENED, port.setParity(0));
    EXPECT_EQ(COMM_NOTOPENED, port.setBaudRate(9600));
    EXPECT_EQ(COMM_NOTOPENED, port.set_Options());
    EXPECT_EQ(COMM_NOTOPENED, port.setReadTimeouts(0, 250));
    EXPECT_EQ(COMM_NOTOPENED, port.flush());
    ASSERT_EQ(COMM_OK, open());
    EXPECT_EQ(COMM_INVALIDARG, port.setCharacterSize(4));
    EXPECT_EQ(COMM_INVALIDARG, port.setCharacterSize(9));
    EXPECT_EQ(COMM_INVALIDARG, port.setParity(3));
    EXPECT_EQ(COMM_INVALIDARG, port.setParity(-1));
    EXPECT_EQ(COMM_OK, port.setParity(0));
}

// A pseudo-terminal keeps 8N1 whatever it is asked, so the character-size
// and parity flags are checked on the attribute record itself.
TEST(SerialLineSettings, CharacterSizeAndParityFlags) {
    const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    for (int bits = 5; bits <= 8; ++bits) {
        termios t = {};
        t.c_cflag = CS8 | PARENB;
        setCharacterBits(t, bits);
        EXPECT_EQ(sizes[bits - 5] | PARENB | CLOCAL | CREAD, t.c_cflag) << bits;
    }
    const struct {
        int parity;
        tcflag_t flags;
    } parities[] = {{0, CS8}, {1, CS7 | PARENB | PARODD}, {2, CS7 | PARENB}};
    for (const auto& row : parities) {
        termios t = {};
        t.c_cflag = CS6 | CSTOPB | PARODD | HUPCL;
        setParityBits(t, row.parity);
        EXPECT_EQ(row.flags | HUPCL | CLOCAL | CREAD, t.c_cflag) << row.parity;
    }
    speed_t speed = B0;
    EXPECT_FALSE(speedOfRate(14400, speed));
    EXPECT_FALSE(speedOfRate(0, speed));
}

// The read timer counts tenths of a second: the link protocol's waits of
// 250, 1500 and 6000 ms must become 0.3, 1.5 and 6 seconds.
TEST_F(SerialOnPty, ReadTimeoutIsSetInTenthsOfASecond) {
    ASSERT_EQ(COMM_OK, open());
    const struct {
        unsigned int ms;
        int tenths;
    } table[] = {{0, 0},     {1, 1},       {100, 1},     {250, 3},          {1500, 15},
                 {6000, 60}, {25500, 255}, {30000, 255}, {4294967295u, 255}};
    for (const auto& row : table) {
        ASSERT_EQ(COMM_OK, port.setReadTimeouts(7, row.ms));
        termios t = pty.lineSettings();
        EXPECT_EQ(row.tenths, t.c_cc[VTIME]) << row.ms;
        EXPECT_EQ(0, t.c_cc[VMIN]) << row.ms;
    }
}

TEST_F(SerialOnPty, ReadsAndWritesBytesBothWays) {
    unsigned char buffer[16];
    unsigned int count = 99;
    EXPECT_EQ(COMM_NOTOPENED, port.commRead(buffer, sizeof buffer, count));
    unsigned int written = 0;
    EXPECT_EQ(COMM_NOTOPENED, port.commWrite(buffer, 1, written));
    ASSERT_EQ(COMM_OK, open());
    EXPECT_EQ(COMM_INVALIDARG, port.commRead(buffer, 0, count));

    count = 99;
    EXPECT_EQ(COMM_READTIMEOUT, port.commRead(buffer, sizeof buffer, count)); // VTIME 0
    EXPECT_EQ(0u, count);
    ASSERT_EQ(COMM_OK, port.setReadTimeouts(0, 100));
    EXPECT_EQ(COMM_READTIMEOUT, port.commRead(buffer, sizeof buffer, count));

    const unsigned char frame[] = {0x02, 0x00, 0x03, 0x0A, 0x0D, 0xFF, 0x11};
    ASSERT_EQ(COMM_OK, port.commWrite(frame, sizeof frame, written));
    EXPECT_EQ(sizeof frame, written);
    EXPECT_EQ(std::vector<unsigned char>(frame, frame + sizeof frame),
              pty.readMaster(sizeof frame));

    ASSERT_EQ(ssize_t(sizeof frame), write(pty.master(), frame, sizeof frame));
    ASSERT_EQ(COMM_OK, port.setReadTimeouts(0, 5000));
    std::vector<unsigned char> got;
    while (got.size() < sizeof frame) {
        ASSERT_EQ(COMM_OK, port.commRead(buffer, sizeof buffer, count));
        got.insert(got.end(), buffer, buffer + count);
    }
    EXPECT_EQ(std::vector<unsigned char>(frame, frame + sizeof frame), got);

    ASSERT_EQ(1, write(pty.master(), frame, 1));
    ASSERT_TRUE(pty.waitLineReadable());
    EXPECT_EQ(COMM_OK, port.flush());
    ASSERT_EQ(COMM_OK, port.setReadTimeouts(0, 0));
    EXPECT_EQ(COMM_READTIMEOUT, port.commRead(buffer, sizeof buffer, count));
}

// A line that fills up (non-blocking descriptor) is written until every byte
// is out, and the count reports all of them.
TEST(SerialWrite, WritesEveryByteOfALargeBlock) {
    PtyPair pty;
    SKIP_WITHOUT_PTY(pty);
    CSerialRS232 port(true);
    ASSERT_EQ(COMM_OK, port.commOpen(pty.path().c_str(), 115200, false));
    std::vector<unsigned char> block(256 * 1024);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<unsigned char>(i * 7);
    std::vector<unsigned char> received;
    std::thread device([&] { received = pty.readMaster(block.size()); });
    unsigned int written = 0;
    EXPECT_EQ(COMM_OK, port.commWrite(block.data(), block.size(), written));
    device.join();
    EXPECT_EQ(block.size(), written);
    EXPECT_TRUE(block == received);
}

TEST(SerialWrite, FailedWriteIsReportedAsAnError) {
    // /dev/full opens but is no terminal: the open fails at the line settings
    // and leaves the device open, and every write to it fails (ENOSPC).
    CSerialRS232 port(false);
    ASSERT_EQ(COMM_ERROR, port.commOpen("/dev/full", 9600, false));
    const unsigned char byte = 0x06;
    unsigned int written = 99;
    EXPECT_EQ(COMM_ERROR, port.commWrite(&byte, 1, written));
    EXPECT_EQ(0u, written);
}

// The device end gone (a pty whose master closed, an adapter pulled without a
// device manager): reads and writes report the device as not connected
// instead of time-outs, so the engine stops polling it.
TEST_F(SerialOnPty, HangUpMarksThePortUnplugged) {
    ASSERT_EQ(COMM_OK, open());
    ASSERT_EQ(COMM_OK, port.setReadTimeouts(0, 1500));
    pty.closeMaster();
    unsigned char buffer[8];
    unsigned int count = 5;
    EXPECT_EQ(COMM_NOTCONNECTED, port.commRead(buffer, sizeof buffer, count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(COMM_NOTCONNECTED, port.isConnected());
    EXPECT_EQ(COMM_NOTCONNECTED, port.commWrite(buffer, 1, count));
    EXPECT_EQ(COMM_NOTCONNECTED, port.commRead(buffer, sizeof buffer, count));
}

TEST_F(SerialOnPty, HangUpIsSeenByAWriteFirst) {
    ASSERT_EQ(COMM_OK, open());
    pty.closeMaster();
    const unsigned char frame[] = {0x02, 0x00};
    unsigned int count = 0;
    EXPECT_EQ(COMM_NOTCONNECTED, port.commWrite(frame, sizeof frame, count));
    EXPECT_EQ(COMM_NOTCONNECTED, port.isConnected());
}

TEST(SerialPaths, LengthRules) {
    CSerialRS232 port(false);
    char out[300];
    EXPECT_EQ(COMM_NOTOPENED, port.getOpenedPortPath(out, sizeof out));
    std::string longest(250, 'p');
    ASSERT_EQ(COMM_OK, port.setPortPath(longest.c_str()));
    EXPECT_EQ(COMM_SMALLBUFFER, port.setPortPath(std::string(251, 'q').c_str()));
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(COMM_SMALLBUFFER, port.getPortPath(out, 250));
    EXPECT_EQ('x', out[0]);
    ASSERT_EQ(COMM_OK, port.getPortPath(out, 251));
    EXPECT_EQ(longest, out);

    ASSERT_EQ(COMM_OK, port.setSysPath("/sys/devices/x"));
    EXPECT_EQ(COMM_SMALLBUFFER, port.getSysPath(out, 14));
    ASSERT_EQ(COMM_OK, port.getSysPath(out, 15));
    EXPECT_STREQ("/sys/devices/x", out);
    EXPECT_EQ(COMM_NOTOPENED, port.getOpenedSysPath(out, sizeof out));
}

TEST_F(SerialOnPty, OpenFailsOnAMissingDevice) {
    EXPECT_EQ(COMM_PORTUNAVAILABLE, port.commOpen("/dev/vela-no-such-tty", 9600, false));
    EXPECT_EQ(COMM_NOTOPENED, port.isConnected());
    EXPECT_EQ(COMM_NOTOPENED, port.setStateMonitoring(1));
    ASSERT_EQ(COMM_OK, open());
    EXPECT_EQ(COMM_INVALIDARG, port.setStateMonitoring(3));
}

TEST_F(SerialOnPty, TraceModeEchoesBytesOnStandardOutput) {
    ASSERT_EQ(COMM_OK, open());
    ASSERT_EQ(COMM_OK, port.setTraceOpt(true));
    const unsigned char frame[] = {0x02, 0xAB, 0x0F};
    unsigned int count = 0;
    testing::internal::CaptureStdout();
    ASSERT_EQ(COMM_OK, port.commWrite(frame, sizeof frame, count));
    ASSERT_EQ(3u, pty.readMaster(3).size());
    ASSERT_EQ(2, write(pty.master(), frame, 2));
    ASSERT_EQ(COMM_OK, port.setReadTimeouts(0, 5000));
    unsigned char buffer[2];
    int rc = port.commRead(buffer, sizeof buffer, count);
    std::string echoed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(COMM_OK, rc);
    EXPECT_EQ(2u, count);
    EXPECT_EQ("Writing to the port:\n02 AB 0F \nReaded from the port:\n02 AB \n", echoed);
}

} // namespace
