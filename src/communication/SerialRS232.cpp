#include "communication/SerialRS232.h"

#include "communication/LineSettings.h"
#include "communication/TraceEcho.h"
#include "platform/Fabric.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace Communication {
namespace {

const unsigned int kMaxPathLength = 250;
const int kWriteWaitMs = 5000; // bound on waiting for room on a non-blocking line

bool isDeviceGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

// A line whose other end is gone reads as empty at once; poll tells it apart
// from a quiet line.
bool lineHungUp(int fd) {
    pollfd line = {fd, POLLIN, 0};
    return poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// Reads the line's attributes, lets change() alter them and writes them back.
template <class Change> int changeAttributes(int fd, int optionalActions, Change change) {
    termios attributes;
    if (tcgetattr(fd, &attributes) != 0)
        return COMM_ERROR;
    change(attributes);
    return tcsetattr(fd, optionalActions, &attributes) == 0 ? COMM_OK : COMM_ERROR;
}

bool waitWritable(int fd) {
    pollfd line = {fd, POLLOUT, 0};
    return poll(&line, 1, kWriteWaitMs) > 0 && (line.revents & POLLOUT) != 0;
}

} // namespace

CSerialRS232::CSerialRS232(bool nonBlocking)
    : m_isNonBlocking(nonBlocking), m_portPath(), m_sysPath(), m_fd(-1), m_isPortConnected(false),
      m_stateMon(0), m_monitorThread(nullptr), m_wakeFd(-1), m_mutex(MutexFabric::createObject()) {
    if (m_mutex == nullptr)
        throw std::bad_alloc();
}

CSerialRS232::~CSerialRS232() {
    commClose();
    delete m_mutex;
}

int CSerialRS232::commOpen() {
    return commOpen(m_port.c_str(), m_baudRate, m_isNonBlocking);
}

int CSerialRS232::commOpen(const char* path, unsigned int baudRate, bool) {
    commClose();
    int rc = openDevice(path);
    if (rc != COMM_OK)
        return rc;
    setPortPath(path);
    setSysPath(""); // a path left from another device would match its removal
    if (m_isUdevLoaded)
        findOpenedSysPath();
    setIsConnected(true);
    rc = configureLine(baudRate);
    if (rc != COMM_OK)
        return rc;
    return setStateMonitoring(1);
}

int CSerialRS232::openDevice(const char* path) {
    int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return COMM_PORTUNAVAILABLE;
    fcntl(fd, F_SETFL, m_isNonBlocking ? O_NONBLOCK : 0);
    MutexLock lock(m_mutex);
    m_fd = fd;
    return COMM_OK;
}

int CSerialRS232::configureLine(unsigned int baudRate) {
    int rc = set_Options();
    if (rc == COMM_OK)
        rc = setBaudRate(baudRate);
    if (rc == COMM_OK)
        rc = setCharacterSize(8);
    if (rc == COMM_OK)
        rc = setParity(0);
    if (rc == COMM_OK)
        rc = setReadTimeouts(0, 0);
    return rc;
}

int CSerialRS232::commClose() {
    if (m_fd != -1) {
        {
            MutexLock lock(m_mutex);
            close(m_fd);
            m_fd = -1;
            m_isPortConnected = false;
        }
        setStateMon(0);
    }
    return COMM_OK;
}

bool CSerialRS232::isOpen() {
    MutexLock lock(m_mutex);
    return m_fd != -1;
}

int CSerialRS232::set_Options() {
    if (m_fd == -1)
        return COMM_NOTOPENED;
    return changeAttributes(m_fd, TCSANOW, [](termios& t) { makeRaw(t); });
}

int CSerialRS232::setBaudRate(unsigned int rate) {
    if (m_fd == -1)
        return COMM_NOTOPENED;
    speed_t speed = B0;
    if (!speedOfRate(rate, speed))
        return COMM_ERROR;
    return changeAttributes(m_fd, TCSANOW, [speed](termios& t) {
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
    });
}

int CSerialRS232::setCharacterSize(int bits) {
    if (m_fd == -1)
        return COMM_NOTOPENED;
    if (bits < 5 || bits > 8)
        return COMM_INVALIDARG;
    return changeAttributes(m_fd, TCSANOW, [bits](termios& t) { setCharacterBits(t, bits); });
}

int CSerialRS232::setParity(int parity) {
    if (m_fd == -1)
        return COMM_NOTOPENED;
    if (parity < 0 || parity > 2)
        return COMM_INVALIDARG;
    return changeAttributes(m_fd, TCSANOW, [parity](termios& t) { setParityBits(t, parity); });
}

int CSerialRS232::setReadTimeouts(unsigned int, unsigned int milliseconds) {
    if (m_fd == -1)
        return COMM_NOTOPENED;
    cc_t tenths = tenthsOfSecond(milliseconds);
    return changeAttributes(m_fd, TCSANOW, [tenths](termios& t) { setReadTimer(t, tenths); });
}

// Writing the attributes back with TCSAFLUSH sends pending output and drops
// unread input.
int CSerialRS232::flush() {
    if (m_fd == -1)
        return COMM_NOTOPENED;
    changeAttributes(m_fd, TCSAFLUSH, [](termios&) {});
    return COMM_OK;
}

int CSerialRS232::setTraceOpt(bool on) {
    m_isTraceOn = on;
    return COMM_OK;
}

int CSerialRS232::isConnected() {
    if (m_fd == -1)
        return COMM_NOTOPENED;
    int mode = 0;
    getStateMon(mode);
    if (mode == 0)
        return COMM_ERROR;
    bool connected = false;
    getIsConnected(connected);
    return connected ? COMM_OK : COMM_NOTCONNECTED;
}

bool CSerialRS232::isUnplugged() {
    int mode = 0;
    getStateMon(mode);
    return mode == 1 && isConnected() == COMM_NOTCONNECTED;
}

int CSerialRS232::commWrite(const unsigned char* data, unsigned int length, unsigned int& count) {
    if (m_fd == -1)
        return COMM_NOTOPENED;
    if (isUnplugged())
        return COMM_NOTCONNECTED;
    if (m_isTraceOn)
        traceWritten(data, length);
    unsigned int written = 0;
    int rc = COMM_OK;
    while (written < length && rc == COMM_OK) {
        ssize_t n = write(m_fd, data + written, length - written);
        int error = n < 0 ? errno : 0;
        if (n > 0)
            written += static_cast<unsigned int>(n);
        else if (error == EINTR)
            continue;
        else if ((error == EAGAIN || error == EWOULDBLOCK) && waitWritable(m_fd))
            continue;
        else if (isDeviceGone(error)) {
            onDisconnect();
            rc = COMM_NOTCONNECTED;
        } else
            rc = COMM_ERROR; // also a write that took nothing
    }
    count = written;
    return rc;
}

int CSerialRS232::commRead(unsigned char* buffer, unsigned int size, unsigned int& count) {
    if (m_fd == -1)
        return COMM_NOTOPENED;
    if (size == 0)
        return COMM_INVALIDARG;
    count = 0;
    if (!m_isTraceOn)
        return readOnce(buffer, size, count);
    auto readOne = [this](unsigned char& byte) {
        unsigned int got = 0;
        return readOnce(&byte, 1, got);
    };
    return traceRead(buffer, size, count, readOne, [] {});
}

int CSerialRS232::readOnce(unsigned char* buffer, unsigned int size, unsigned int& count) {
    ssize_t n = read(m_fd, buffer, size);
    if (n > 0) {
        count = static_cast<unsigned int>(n);
        return COMM_OK;
    }
    return reportReadFailure(n, errno);
}

int CSerialRS232::reportReadFailure(long result, int error) {
    if ((result < 0 && isDeviceGone(error)) || (result == 0 && lineHungUp(m_fd))) {
        onDisconnect();
        return COMM_NOTCONNECTED;
    }
    if (isUnplugged())
        return COMM_NOTCONNECTED;
    if (result == 0 || error == ETIMEDOUT)
        return COMM_READTIMEOUT;
    return COMM_ERROR;
}

int CSerialRS232::setLinePath(char* target, const char* path) {
    if (std::strlen(path) > kMaxPathLength)
        return COMM_SMALLBUFFER;
    MutexLock lock(m_mutex);
    std::memset(target, 0, kPathCapacity);
    std::strcpy(target, path);
    return COMM_OK;
}

int CSerialRS232::getLinePath(const char* source, char* out, unsigned int size) {
    MutexLock lock(m_mutex);
    std::size_t length = std::strlen(source);
    if (length >= size)
        return COMM_SMALLBUFFER;
    std::memset(out, 0, size);
    std::memcpy(out, source, length);
    return COMM_OK;
}

int CSerialRS232::setPortPath(const char* path) {
    return setLinePath(m_portPath, path);
}

int CSerialRS232::getPortPath(char* out, unsigned int size) {
    return getLinePath(m_portPath, out, size);
}

int CSerialRS232::getOpenedPortPath(char* out, unsigned int size) {
    return isOpen() ? getPortPath(out, size) : COMM_NOTOPENED;
}

int CSerialRS232::setSysPath(const char* path) {
    return setLinePath(m_sysPath, path);
}

int CSerialRS232::getSysPath(char* out, unsigned int size) {
    return getLinePath(m_sysPath, out, size);
}

int CSerialRS232::getOpenedSysPath(char* out, unsigned int size) {
    return isOpen() ? getSysPath(out, size) : COMM_NOTOPENED;
}

int CSerialRS232::getIsConnected(bool& out) {
    MutexLock lock(m_mutex);
    out = m_isPortConnected;
    return COMM_OK;
}

int CSerialRS232::setIsConnected(bool connected) {
    MutexLock lock(m_mutex);
    m_isPortConnected = connected;
    return COMM_OK;
}

void CSerialRS232::onDisconnect() {
    setIsConnected(false);
}

int CSerialRS232::getErrorDescription(int code, char* text) {
    if (code == COMM_OK) {
        std::strcpy(text, "Success code");
        return COMM_OK;
    }
    if (code < COMM_ERROR || code > COMM_SMALLBUFFER)
        return COMM_ERROR;
    std::strcpy(text, aRSErrors[code - COMM_ERROR]);
    return COMM_OK;
}

} // namespace Communication

extern "C" {
const char* const aRSErrors[9] = {"General error. Ask developer for description",
                                  "Method is not implemented",
                                  "Port in available",
                                  "Port is not opened",
                                  "Device is not connected",
                                  "Can't create udev object",
                                  "Invalid argument",
                                  "Read timeout occurred",
                                  "Too small buffer"};
}
