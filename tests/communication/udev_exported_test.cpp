// This program exports its symbols like the shared library does, so the
// device-manager function pointers are visible to every library loaded
// later, libudev included.
#include "communication/SerialRS232.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <vector>

using namespace Communication;

namespace {

// libudev calls some of its own functions through their public names; those
// calls must reach libudev, not the exported pointers of the same names.
TEST(UdevExported, LibudevCallsItselfNotTheExportedPointers) {
    ASSERT_EQ(COMM_OK, CSerialRS232::loadUdev());
    if (!CSerialRS232::m_isUdevLoaded)
        GTEST_SKIP() << "libudev is not loaded here (not installed, or a sanitizer build "
                        "where it would bind to the exported pointers)";
    std::vector<char*> devices;
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(COMM_OK, CSerialRS232::enumerate(devices, false));
        for (char* device : devices)
            delete[] device;
    }
    devices.clear();
}

} // namespace
