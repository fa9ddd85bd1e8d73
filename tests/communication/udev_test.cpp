#include "communication/SerialRS232.h"
#include "communication/Udev.h"

#include "pty_pair.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <dlfcn.h>
#include <fstream>
#include <set>
#include <stdlib.h>
#include <string>
#include <thread>
#include <vector>

using namespace Communication;

namespace {

void release(std::vector<char*>& devices) {
    for (char* device : devices)
        delete[] device;
    devices.clear();
}

// The device nodes of the tty devices that have a parent device, read from
// sysfs directly.
std::set<std::string> hardwareTtyNodesFromSysfs() {
    std::set<std::string> nodes;
    DIR* directory = opendir("/sys/class/tty");
    if (directory == nullptr)
        return nodes;
    while (dirent* entry = readdir(directory)) {
        std::string link = std::string("/sys/class/tty/") + entry->d_name;
        char* real = realpath(link.c_str(), nullptr);
        if (real == nullptr)
            continue;
        std::string sysPath = real;
        free(real);
        if (sysPath.rfind("/sys/devices/virtual/", 0) == 0)
            continue;
        std::ifstream uevent(sysPath + "/uevent");
        for (std::string line; std::getline(uevent, line);) {
            if (line.rfind("DEVNAME=", 0) == 0 && line.size() > 8)
                nodes.insert("/dev/" + line.substr(8));
        }
    }
    closedir(directory);
    return nodes;
}

class WithUdev : public ::testing::Test {
protected:
    void SetUp() override {
        void* probe = dlopen("libudev.so.1", RTLD_LAZY);
        if (probe == nullptr)
            GTEST_SKIP() << "libudev.so.1 is not installed on this machine";
        dlclose(probe);
        // Only the versioned name exists on a stock system; loading must find it.
        ASSERT_EQ(COMM_OK, CSerialRS232::loadUdev());
        ASSERT_TRUE(CSerialRS232::m_isUdevLoaded);
    }
};

TEST_F(WithUdev, EnumerationListsSerialLinesOfRealDevicesOnly) {
    std::set<std::string> expected = hardwareTtyNodesFromSysfs();
    if (expected.empty())
        GTEST_SKIP() << "sysfs shows no tty device with a parent device on this machine";
    std::vector<char*> devices;
    ASSERT_EQ(COMM_OK, CSerialRS232::enumerate(devices, false));
    std::set<std::string> listed(devices.begin(), devices.end());
    EXPECT_EQ(devices.size(), listed.size());
    EXPECT_EQ(expected, listed);
    EXPECT_EQ(0u, listed.count("/dev/tty"));
    EXPECT_EQ(0u, listed.count("/dev/tty0"));

    size_t first = devices.size();
    release(devices);
    devices.push_back(nullptr); // a stale entry is dropped, not released
    ASSERT_EQ(COMM_OK, CSerialRS232::enumerate(devices, false));
    EXPECT_EQ(first, devices.size());
    release(devices);
}

TEST(UdevMissing, WithoutTheLibraryNothingIsListedAndPortsStillOpen) {
    PtyPair pty;
    SKIP_WITHOUT_PTY(pty);
    const char* const absent[] = {"libvela-absent-udev.so.0"};
    EXPECT_EQ(COMM_OK, loadUdevLibrary(absent, 1));
    EXPECT_FALSE(CSerialRS232::m_isUdevLoaded);

    std::vector<char*> devices(3, nullptr);
    EXPECT_EQ(COMM_OK, CSerialRS232::enumerate(devices, false));
    EXPECT_TRUE(devices.empty());

    CSerialRS232 port(false);
    EXPECT_EQ(COMM_OK, port.threadFunc()); // the monitor ends at once
    ASSERT_EQ(COMM_OK, port.commOpen(pty.path().c_str(), 9600, false));
    EXPECT_EQ(COMM_OK, port.isConnected());
    char sysPath[255];
    ASSERT_EQ(COMM_OK, port.getOpenedSysPath(sysPath, sizeof sysPath));
    EXPECT_STREQ("", sysPath);
    EXPECT_EQ(COMM_OK, port.commClose());
    CSerialRS232::loadUdev();
}

TEST(UdevMissing, ALibraryWithoutTheFunctionsIsNotUsed) {
    const char* const wrong[] = {"libc.so.6"};
    EXPECT_EQ(COMM_UDEVSYMBOL, loadUdevLibrary(wrong, 1));
    EXPECT_FALSE(CSerialRS232::m_isUdevLoaded);
    std::vector<char*> devices;
    EXPECT_EQ(COMM_OK, CSerialRS232::enumerate(devices, false));
    EXPECT_TRUE(devices.empty());
    CSerialRS232::loadUdev();
}

TEST(UdevMissing, UnloadHasNothingToClose) {
    EXPECT_EQ(COMM_OK, CSerialRS232::unloadUdev());
}

struct RemovalCase {
    const char* action;
    const char* node;
    const char* sysPath;
    const char* portPath;
    const char* portSysPath;
    bool removes;
};

const char kPort[] = "/dev/ttyUSB0";
const char kPortSys[] = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0/tty/ttyUSB0";

const RemovalCase kRemovalCases[] = {
    {"remove", kPort, kPortSys, kPort, kPortSys, true},
    {"add", kPort, kPortSys, kPort, kPortSys, false},
    {nullptr, kPort, kPortSys, kPort, kPortSys, false},
    {"remove", "/dev/ttyUSB0", nullptr, kPort, nullptr, true},
    {"remove", kPort, kPortSys, nullptr, nullptr, false}, // port closed
    // the USB device that carries the adapter, above the tty
    {"remove", nullptr, "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1", kPort, kPortSys, true},
    // a neighbour whose name only begins like the carrier's
    {"remove", nullptr, "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-10", kPort,
     "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/tty/ttyUSB0", false},
    // an unrelated device, and any device while the port's system path is unknown
    {"remove", "/dev/ttyUSB1", "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2", kPort, kPortSys,
     false},
    {"remove", nullptr, "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2", kPort, "", false},
    {"remove", nullptr, "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2", kPort, nullptr, false},
    {"remove", nullptr, "", kPort, kPortSys, false},
};

TEST(HotPlug, RemovalEventsThatConcernTheOpenPort) {
    for (const RemovalCase& c : kRemovalCases) {
        EXPECT_EQ(c.removes,
                  isRemovalOfPort(c.action, c.node, c.sysPath, c.portPath, c.portSysPath))
            << (c.action ? c.action : "-") << " " << (c.node ? c.node : "-") << " "
            << (c.sysPath ? c.sysPath : "-") << " " << (c.portSysPath ? c.portSysPath : "-");
    }
    EXPECT_TRUE(hasParentDevice("/sys/devices/pnp0/00:00/00:00:0/00:00:0.0/tty/ttyS0"));
    EXPECT_FALSE(hasParentDevice("/sys/devices/virtual/tty/tty3"));
    EXPECT_FALSE(hasParentDevice(nullptr));
}

// Open, switch modes and close repeatedly while the monitor thread runs; the
// thread must wake and end on every switch-off, and give back its
// descriptors.
TEST(HotPlugMonitor, StartsAndStopsWithThePort) {
    CSerialRS232::loadUdev();
    PtyPair pty;
    SKIP_WITHOUT_PTY(pty);
    CSerialRS232 port(false);
    auto openDescriptors = [] {
        int count = 0;
        DIR* directory = opendir("/proc/self/fd");
        while (readdir(directory) != nullptr)
            ++count;
        closedir(directory);
        return count;
    };
    ASSERT_EQ(COMM_OK, port.commOpen(pty.path().c_str(), 9600, false));
    ASSERT_EQ(COMM_OK, port.commClose());
    const int before = openDescriptors();
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(COMM_OK, port.commOpen(pty.path().c_str(), 9600, false));
        int mode = -1;
        port.getStateMonitoring(mode);
        EXPECT_EQ(1, mode);
        EXPECT_EQ(COMM_OK, port.isConnected());
        ASSERT_EQ(COMM_OK, port.setStateMonitoring(2)); // the thread keeps running
        ASSERT_EQ(COMM_OK, port.setStateMonitoring(0)); // and is stopped here
        EXPECT_EQ(COMM_ERROR, port.isConnected());
        ASSERT_EQ(COMM_OK, port.setStateMonitoring(1));
        ASSERT_EQ(COMM_OK, port.commClose());
    }
    EXPECT_EQ(before, openDescriptors());
}

// The monitor thread clears the connected flag while the worker reads and
// writes; the flag and paths are shared under the transport's mutex.
TEST(HotPlugMonitor, UnplugSeenByTheWorker) {
    CSerialRS232::loadUdev();
    PtyPair pty;
    SKIP_WITHOUT_PTY(pty);
    CSerialRS232 port(false);
    ASSERT_EQ(COMM_OK, port.commOpen(pty.path().c_str(), 9600, false));
    const unsigned char ack = 0x06;
    unsigned int count = 0;
    ASSERT_EQ(COMM_OK, port.commWrite(&ack, 1, count));
    ASSERT_EQ(1u, pty.readMaster(1).size());
    std::thread unplug([&port] { port.onDisconnect(); });
    unplug.join();
    unsigned char buffer[4];
    EXPECT_EQ(COMM_NOTCONNECTED, port.isConnected());
    EXPECT_EQ(COMM_NOTCONNECTED, port.commWrite(&ack, 1, count));
    EXPECT_EQ(COMM_NOTCONNECTED, port.commRead(buffer, sizeof buffer, count));
    port.commClose();
    EXPECT_EQ(COMM_NOTOPENED, port.isConnected());
}

} // namespace
