#pragma once

#include "communication/ICommunication.h"
#include "platform/Mutex.h"
#include "platform/Thread.h"
#include "velaecr_export.h"

#include <vector>

struct udev_device;
struct udev_monitor;

// Texts of the transport codes 101..109, entry i for code 101 + i.
extern "C" {
VELA_EXPORT extern const char* const aRSErrors[9];
}

namespace Communication {

// A serial device (/dev/tty*) in raw mode, 8N1. While the port is open a
// monitor thread watches the device manager for the device's removal.
class CSerialRS232 : public ICommunication {
public:
    explicit CSerialRS232(bool nonBlocking);
    ~CSerialRS232() override;
    CSerialRS232(const CSerialRS232&) = delete;
    CSerialRS232& operator=(const CSerialRS232&) = delete;

    int commOpen() override;
    int commClose() override;
    int commRead(unsigned char* buffer, unsigned int size, unsigned int& count) override;
    int commWrite(const unsigned char* data, unsigned int length, unsigned int& count) override;
    int isConnected() override;
    int setReadTimeouts(unsigned int seconds, unsigned int milliseconds) override;
    int flush() override;
    int setTraceOpt(bool on) override;

    int commOpen(const char* path, unsigned int baudRate, bool nonBlocking);

    // Line settings; 104 while the port is closed.
    int set_Options();
    int setBaudRate(unsigned int rate);
    int setCharacterSize(int bits);
    int setParity(int parity);

    // Paths are at most 250 characters (longer: 109, nothing changes). The
    // getters need a buffer larger than the stored path (else 109).
    int setPortPath(const char* path);
    int getPortPath(char* out, unsigned int size);
    int getOpenedPortPath(char* out, unsigned int size);
    int setSysPath(const char* path);
    int getSysPath(char* out, unsigned int size);
    int getOpenedSysPath(char* out, unsigned int size);

    int getIsConnected(bool& out);
    int setIsConnected(bool connected);
    void onDisconnect();

    // Monitoring modes: 0 off, 1 on with the monitor thread, 2 on without.
    int setStateMon(int mode);
    int setStateMonitoring(int mode);
    int getStateMon(int& mode);
    int getStateMonitoring(int& mode);
    static void* stateMonitor(void* object);
    int threadFunc();

    // Device manager: loading, discovery, the opened device's system path.
    static int loadUdev();
    static int unloadUdev();
    static int enumerate(std::vector<char*>& devices, bool unused);
    void findOpenedSysPath();

    static int getErrorDescription(int code, char* text);

    static bool m_isUdevLoaded;
    static void* m_gpUdevLib;

private:
    static const unsigned int kPathCapacity = 255;

    int setLinePath(char* target, const char* path);
    int getLinePath(const char* source, char* out, unsigned int size);
    bool isOpen();
    int openDevice(const char* path);
    int configureLine(unsigned int baudRate);
    int readOnce(unsigned char* buffer, unsigned int size, unsigned int& count);
    int reportReadFailure(long result, int error);
    bool isUnplugged();
    void startMonitor();
    void stopMonitor();
    void watchForRemoval(struct udev_monitor* monitor);
    void handleDeviceEvent(struct udev_device* device);

    bool m_isNonBlocking;
    char m_portPath[kPathCapacity];
    char m_sysPath[kPathCapacity];
    int m_fd;
    bool m_isPortConnected;
    int m_stateMon;
    Thread* m_monitorThread;
    int m_wakeFd; // signalled to make the monitor thread look at the mode
    Mutex* m_mutex;
};

} // namespace Communication
