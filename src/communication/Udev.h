#pragma once

// Run-time binding to the system's device-manager library (libudev). The
// library is optional: when it cannot be loaded, serial ports work without
// device discovery and without hot-plug detection.

#include "velaecr_export.h"

#include <cstddef>

struct udev;
struct udev_device;
struct udev_enumerate;
struct udev_list_entry;
struct udev_monitor;

// The library's functions, resolved by loadUdevLibrary(). They are part of
// the library's public symbol table and carry the names of the functions they
// hold.
extern "C" {
VELA_EXPORT extern struct udev* (*udev_new)(void);
VELA_EXPORT extern struct udev* (*udev_ref)(struct udev*);
VELA_EXPORT extern struct udev* (*udev_unref)(struct udev*);
VELA_EXPORT extern struct udev_enumerate* (*udev_enumerate_new)(struct udev*);
VELA_EXPORT extern struct udev_enumerate* (*udev_enumerate_ref)(struct udev_enumerate*);
VELA_EXPORT extern struct udev_enumerate* (*udev_enumerate_unref)(struct udev_enumerate*);
VELA_EXPORT extern int (*udev_enumerate_add_match_subsystem)(struct udev_enumerate*, const char*);
VELA_EXPORT extern int (*udev_enumerate_scan_devices)(struct udev_enumerate*);
VELA_EXPORT extern struct udev_list_entry* (*udev_enumerate_get_list_entry)(struct udev_enumerate*);
VELA_EXPORT extern struct udev_list_entry* (*udev_list_entry_get_next)(struct udev_list_entry*);
VELA_EXPORT extern const char* (*udev_list_entry_get_name)(struct udev_list_entry*);
VELA_EXPORT extern struct udev_device* (*udev_device_new_from_syspath)(struct udev*, const char*);
VELA_EXPORT extern struct udev_device* (*udev_device_unref)(struct udev_device*);
VELA_EXPORT extern const char* (*udev_device_get_syspath)(struct udev_device*);
VELA_EXPORT extern const char* (*udev_device_get_devnode)(struct udev_device*);
VELA_EXPORT extern const char* (*udev_device_get_action)(struct udev_device*);
VELA_EXPORT extern int (*udev_monitor_filter_add_match_subsystem_devtype)(struct udev_monitor*,
                                                                          const char*, const char*);
VELA_EXPORT extern int (*udev_monitor_enable_receiving)(struct udev_monitor*);
VELA_EXPORT extern int (*udev_monitor_get_fd)(struct udev_monitor*);
VELA_EXPORT extern struct udev_monitor* (*udev_monitor_new_from_netlink)(struct udev*, const char*);
VELA_EXPORT extern struct udev_device* (*udev_monitor_receive_device)(struct udev_monitor*);
}

namespace Communication {

// Loads the first of the named libraries that opens and resolves every
// function above. A library that cannot be opened is not an error (0, not
// loaded); a missing function gives COMM_UDEVSYMBOL. Sets
// CSerialRS232::m_isUdevLoaded.
int loadUdevLibrary(const char* const* names, std::size_t count);

// Releases a hot-plug monitor; does nothing where the library cannot.
void releaseUdevMonitor(struct udev_monitor* monitor);

// Whether a device event removes the open port: the action is "remove" and
// the event's device is the port's node, or the device that carries the port
// (its system path is the port's or one of its ancestors). portPath is null
// while the port is closed; portSysPath is null or empty when unknown.
bool isRemovalOfPort(const char* action, const char* eventNode, const char* eventSysPath,
                     const char* portPath, const char* portSysPath);

// Whether a tty device belongs to real hardware: it has a parent device,
// i.e. its system path is not under /sys/devices/virtual/.
bool hasParentDevice(const char* sysPath);

} // namespace Communication
