// Discovery of serial devices and of the opened device's system path.
#include "communication/SerialRS232.h"

#include "communication/Udev.h"

#include <cstring>

namespace Communication {
namespace {

// Calls visit(node, sysPath) for every device of the "tty" subsystem that
// has a device node, in the device manager's order.
template <class Visit> void forEachTtyDevice(struct udev* context, Visit visit) {
    struct udev_enumerate* scan = udev_enumerate_new(context);
    if (scan == nullptr)
        return;
    udev_enumerate_add_match_subsystem(scan, "tty");
    udev_enumerate_scan_devices(scan);
    for (struct udev_list_entry* entry = udev_enumerate_get_list_entry(scan); entry != nullptr;
         entry = udev_list_entry_get_next(entry)) {
        const char* name = udev_list_entry_get_name(entry);
        struct udev_device* device =
            name != nullptr ? udev_device_new_from_syspath(context, name) : nullptr;
        if (device == nullptr)
            continue;
        const char* node = udev_device_get_devnode(device);
        if (node != nullptr)
            visit(node, udev_device_get_syspath(device));
        udev_device_unref(device);
    }
    udev_enumerate_unref(scan);
}

bool isSerialNode(const char* node) {
    static const char kPrefix[] = "/dev/tty";
    return std::strncmp(node, kPrefix, sizeof kPrefix - 1) == 0 && node[sizeof kPrefix - 1] != '\0';
}

char* copyOf(const char* text) {
    std::size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

} // namespace

// Lists the nodes of serial lines that belong to a device (built-in ports,
// USB adapters). Virtual consoles are left out: probing them would write
// frames onto the consoles and wait for each one's answer.
int CSerialRS232::enumerate(std::vector<char*>& devices, bool) {
    devices.clear();
    if (!m_isUdevLoaded)
        return COMM_OK;
    struct udev* context = udev_new();
    if (context == nullptr)
        return COMM_UDEVFAILED;
    forEachTtyDevice(context, [&devices](const char* node, const char* sysPath) {
        if (isSerialNode(node) && hasParentDevice(sysPath))
            devices.push_back(copyOf(node));
    });
    udev_unref(context);
    return COMM_OK;
}

void CSerialRS232::findOpenedSysPath() {
    char portPath[250];
    if (getPortPath(portPath, sizeof portPath) != COMM_OK || !m_isUdevLoaded)
        return;
    struct udev* context = udev_new();
    if (context == nullptr)
        return;
    forEachTtyDevice(context, [this, &portPath](const char* node, const char* sysPath) {
        if (sysPath != nullptr && std::strcmp(node, portPath) == 0)
            setSysPath(sysPath);
    });
    udev_unref(context);
}

} // namespace Communication
