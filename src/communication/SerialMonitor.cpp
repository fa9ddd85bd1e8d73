// Monitoring modes of the serial transport and its hot-plug monitor thread.
#include "communication/SerialRS232.h"

#include "communication/Udev.h"
#include "platform/Fabric.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace Communication {
namespace {
const unsigned int kMonitorPathSize = 250;
}

int CSerialRS232::setStateMon(int mode) {
    int previous = 0;
    {
        MutexLock lock(m_mutex);
        previous = m_stateMon;
        m_stateMon = mode;
    }
    if (previous == 0 && mode == 1 && m_monitorThread == nullptr)
        startMonitor();
    else if (mode == 0 && m_monitorThread != nullptr)
        stopMonitor();
    return COMM_OK;
}

int CSerialRS232::setStateMonitoring(int mode) {
    if (!isOpen())
        return COMM_NOTOPENED;
    if (mode < 0 || mode > 2)
        return COMM_INVALIDARG;
    return setStateMon(mode);
}

int CSerialRS232::getStateMon(int& mode) {
    MutexLock lock(m_mutex);
    mode = m_stateMon;
    return COMM_OK;
}

int CSerialRS232::getStateMonitoring(int& mode) {
    return getStateMon(mode);
}

// Without a wake-up descriptor the thread could not be stopped promptly, so
// monitoring then goes on without a thread.
void CSerialRS232::startMonitor() {
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0)
        return;
    m_monitorThread = ThreadFabric::createObject(stateMonitor, this);
    if (m_monitorThread == nullptr) {
        close(m_wakeFd);
        m_wakeFd = -1;
    }
}

void CSerialRS232::stopMonitor() {
    std::uint64_t one = 1;
    while (write(m_wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
    m_monitorThread->join();
    delete m_monitorThread;
    m_monitorThread = nullptr;
    close(m_wakeFd);
    m_wakeFd = -1;
}

void* CSerialRS232::stateMonitor(void* object) {
    static_cast<CSerialRS232*>(object)->threadFunc();
    return nullptr;
}

int CSerialRS232::threadFunc() {
    if (!m_isUdevLoaded)
        return COMM_OK;
    struct udev* context = udev_new();
    if (context == nullptr)
        return COMM_UDEVFAILED;
    struct udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (monitor != nullptr) {
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr);
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "usb", "usb_device");
        udev_monitor_enable_receiving(monitor);
    }
    watchForRemoval(monitor);
    releaseUdevMonitor(monitor);
    udev_unref(context);
    return COMM_OK;
}

// Sleeps in poll() until a device event arrives or setStateMon() signals the
// wake-up descriptor, so an idle monitor costs no CPU time.
void CSerialRS232::watchForRemoval(struct udev_monitor* monitor) {
    int monitorFd = monitor != nullptr ? udev_monitor_get_fd(monitor) : -1;
    int mode = 1;
    while (getStateMonitoring(mode) == COMM_OK && mode != 0) {
        pollfd watched[2] = {{m_wakeFd, POLLIN, 0}, {monitorFd, POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (watched[0].revents != 0) {
            std::uint64_t signals = 0;
            if (read(m_wakeFd, &signals, sizeof signals) < 0 && errno != EAGAIN)
                return;
        }
        if ((watched[1].revents & (POLLIN | POLLERR)) != 0) {
            struct udev_device* device = udev_monitor_receive_device(monitor);
            if (device != nullptr) {
                handleDeviceEvent(device);
                udev_device_unref(device);
            }
        }
        if ((watched[1].revents & (POLLHUP | POLLNVAL)) != 0)
            monitorFd = -1; // a broken monitor is no longer watched
    }
}

void CSerialRS232::handleDeviceEvent(struct udev_device* device) {
    char portPath[kMonitorPathSize];
    char sysPath[kMonitorPathSize];
    bool portOpen = getOpenedPortPath(portPath, sizeof portPath) == COMM_OK;
    bool sysPathKnown = getOpenedSysPath(sysPath, sizeof sysPath) == COMM_OK;
    if (isRemovalOfPort(udev_device_get_action(device), udev_device_get_devnode(device),
                        udev_device_get_syspath(device), portOpen ? portPath : nullptr,
                        sysPathKnown ? sysPath : nullptr))
        onDisconnect();
}

} // namespace Communication
