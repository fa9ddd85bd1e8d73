#include "communication/Udev.h"

#include "communication/SerialRS232.h"

#include <cstring>
#include <dlfcn.h>

extern "C" {
struct udev* (*udev_new)(void) = nullptr;
struct udev* (*udev_ref)(struct udev*) = nullptr;
struct udev* (*udev_unref)(struct udev*) = nullptr;
struct udev_enumerate* (*udev_enumerate_new)(struct udev*) = nullptr;
struct udev_enumerate* (*udev_enumerate_ref)(struct udev_enumerate*) = nullptr;
struct udev_enumerate* (*udev_enumerate_unref)(struct udev_enumerate*) = nullptr;
int (*udev_enumerate_add_match_subsystem)(struct udev_enumerate*, const char*) = nullptr;
int (*udev_enumerate_scan_devices)(struct udev_enumerate*) = nullptr;
struct udev_list_entry* (*udev_enumerate_get_list_entry)(struct udev_enumerate*) = nullptr;
struct udev_list_entry* (*udev_list_entry_get_next)(struct udev_list_entry*) = nullptr;
const char* (*udev_list_entry_get_name)(struct udev_list_entry*) = nullptr;
struct udev_device* (*udev_device_new_from_syspath)(struct udev*, const char*) = nullptr;
struct udev_device* (*udev_device_unref)(struct udev_device*) = nullptr;
const char* (*udev_device_get_syspath)(struct udev_device*) = nullptr;
const char* (*udev_device_get_devnode)(struct udev_device*) = nullptr;
const char* (*udev_device_get_action)(struct udev_device*) = nullptr;
int (*udev_monitor_filter_add_match_subsystem_devtype)(struct udev_monitor*, const char*,
                                                       const char*) = nullptr;
int (*udev_monitor_enable_receiving)(struct udev_monitor*) = nullptr;
int (*udev_monitor_get_fd)(struct udev_monitor*) = nullptr;
struct udev_monitor* (*udev_monitor_new_from_netlink)(struct udev*, const char*) = nullptr;
struct udev_device* (*udev_monitor_receive_device)(struct udev_monitor*) = nullptr;
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VELA_SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
#define VELA_SANITIZED_BUILD 1
#endif
#endif

namespace Communication {
namespace {

// Stock systems ship only the versioned name; the plain name comes with the
// development files.
const char* const kUdevLibraryNames[] = {"libudev.so.1", "libudev.so"};

// The monitor's destructor is not among the exported pointers; it is held
// here so that each monitor thread gives its netlink socket back.
struct udev_monitor* (*monitorUnref)(struct udev_monitor*) = nullptr;

struct Binding {
    const char* name;
    void** target;
};

template <class F> Binding bind(const char* name, F*& pointer) {
    return Binding{name, reinterpret_cast<void**>(&pointer)};
}

// The exported pointers carry the names of the library's own functions, and
// libudev calls some of them internally. Binding the library to itself first
// keeps those calls out of the pointers when this library is in the
// process's global scope. Sanitizer runtimes refuse that binding mode; there
// the library is left unloaded if the pointers would capture its calls.
#ifdef VELA_SANITIZED_BUILD
const int kOpenFlags = RTLD_LAZY;
bool pointersWouldCaptureLibrary() {
    return dlsym(RTLD_DEFAULT, "udev_device_unref") == reinterpret_cast<void*>(&udev_device_unref);
}
#else
const int kOpenFlags = RTLD_LAZY | RTLD_DEEPBIND;
bool pointersWouldCaptureLibrary() {
    return false;
}
#endif

int resolveAll(void* library) {
    const Binding bindings[] = {
        bind("udev_new", udev_new),
        bind("udev_ref", udev_ref),
        bind("udev_unref", udev_unref),
        bind("udev_enumerate_new", udev_enumerate_new),
        bind("udev_enumerate_ref", udev_enumerate_ref),
        bind("udev_enumerate_unref", udev_enumerate_unref),
        bind("udev_enumerate_add_match_subsystem", udev_enumerate_add_match_subsystem),
        bind("udev_enumerate_scan_devices", udev_enumerate_scan_devices),
        bind("udev_enumerate_get_list_entry", udev_enumerate_get_list_entry),
        bind("udev_list_entry_get_next", udev_list_entry_get_next),
        bind("udev_list_entry_get_name", udev_list_entry_get_name),
        bind("udev_device_new_from_syspath", udev_device_new_from_syspath),
        bind("udev_device_unref", udev_device_unref),
        bind("udev_device_get_syspath", udev_device_get_syspath),
        bind("udev_device_get_devnode", udev_device_get_devnode),
        bind("udev_device_get_action", udev_device_get_action),
        bind("udev_monitor_filter_add_match_subsystem_devtype",
             udev_monitor_filter_add_match_subsystem_devtype),
        bind("udev_monitor_enable_receiving", udev_monitor_enable_receiving),
        bind("udev_monitor_get_fd", udev_monitor_get_fd),
        bind("udev_monitor_new_from_netlink", udev_monitor_new_from_netlink),
        bind("udev_monitor_receive_device", udev_monitor_receive_device),
    };
    dlerror();
    for (const Binding& binding : bindings) {
        *binding.target = dlsym(library, binding.name);
        if (*binding.target == nullptr)
            return COMM_UDEVSYMBOL;
    }
    *reinterpret_cast<void**>(&monitorUnref) = dlsym(library, "udev_monitor_unref");
    return COMM_OK;
}

void* openFirst(const char* const* names, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (void* library = dlopen(names[i], kOpenFlags))
            return library;
    }
    return nullptr;
}

} // namespace

int loadUdevLibrary(const char* const* names, std::size_t count) {
    CSerialRS232::m_isUdevLoaded = false;
    if (pointersWouldCaptureLibrary())
        return COMM_OK;
    // The handle is never closed: transports of any engine may use the
    // pointers for the rest of the process's life.
    void* library = openFirst(names, count);
    if (library == nullptr)
        return COMM_OK;
    int rc = resolveAll(library);
    CSerialRS232::m_isUdevLoaded = rc == COMM_OK;
    return rc;
}

void releaseUdevMonitor(struct udev_monitor* monitor) {
    if (monitor != nullptr && monitorUnref != nullptr)
        monitorUnref(monitor);
}

bool isRemovalOfPort(const char* action, const char* eventNode, const char* eventSysPath,
                     const char* portPath, const char* portSysPath) {
    if (action == nullptr || std::strcmp(action, "remove") != 0 || portPath == nullptr)
        return false;
    if (eventNode != nullptr && std::strcmp(eventNode, portPath) == 0)
        return true;
    if (eventSysPath == nullptr || portSysPath == nullptr || *eventSysPath == '\0')
        return false;
    std::size_t length = std::strlen(eventSysPath);
    if (std::strncmp(portSysPath, eventSysPath, length) != 0)
        return false;
    char next = portSysPath[length];
    return next == '\0' || next == '/';
}

bool hasParentDevice(const char* sysPath) {
    static const char kVirtual[] = "/sys/devices/virtual/";
    return sysPath != nullptr && std::strncmp(sysPath, kVirtual, sizeof kVirtual - 1) != 0;
}

bool CSerialRS232::m_isUdevLoaded = false;
void* CSerialRS232::m_gpUdevLib = nullptr;

int CSerialRS232::loadUdev() {
    return loadUdevLibrary(kUdevLibraryNames,
                           sizeof kUdevLibraryNames / sizeof kUdevLibraryNames[0]);
}

int CSerialRS232::unloadUdev() {
    if (m_gpUdevLib == nullptr)
        return COMM_OK;
    return dlclose(m_gpUdevLib) == 0 ? COMM_OK : COMM_ERROR;
}

} // namespace Communication
