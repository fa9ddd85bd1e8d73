#include "communication/LineSettings.h"

namespace Communication {
namespace {

struct BaudEntry {
    unsigned int rate;
    speed_t speed;
};

const BaudEntry kBaudTable[] = {{1200, B1200},   {2400, B2400},    {4800, B4800},
                                {9600, B9600},   {19200, B19200},  {38400, B38400},
                                {57600, B57600}, {115200, B115200}};

} // namespace

void makeRaw(termios& t) {
    t.c_iflag &= ~(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR | ICRNL |
                   IUCLC | IXON | IXANY | IXOFF | IMAXBEL);
    t.c_oflag &= ~(OPOST | OLCUC | ONLCR | OCRNL | ONOCR | ONLRET | OFILL | OFDEL);
    t.c_lflag &=
        ~(ISIG | ICANON | XCASE | ECHO | ECHOE | ECHOK | ECHONL | NOFLSH | TOSTOP | ECHOPRT);
    t.c_lflag |= ECHOCTL | ECHOKE | IEXTEN;
    t.c_cflag &= ~(CSTOPB | CRTSCTS);
    t.c_cflag |= CREAD | HUPCL | CLOCAL;
}

bool speedOfRate(unsigned int rate, speed_t& speed) {
    for (const BaudEntry& entry : kBaudTable) {
        if (entry.rate == rate) {
            speed = entry.speed;
            return true;
        }
    }
    return false;
}

void setCharacterBits(termios& t, int bits) {
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag = (t.c_cflag & ~CSIZE) | sizes[bits - 5] | CLOCAL | CREAD;
}

void setParityBits(termios& t, int parity) {
    t.c_cflag &= ~(CSTOPB | CSIZE | PARENB | PARODD);
    if (parity == 0)
        t.c_cflag |= CS8;
    else
        t.c_cflag |= CS7 | PARENB | (parity == 1 ? PARODD : 0);
    t.c_cflag |= CLOCAL | CREAD;
}

void setReadTimer(termios& t, cc_t tenths) {
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = tenths;
    t.c_cflag |= CLOCAL | CREAD;
}

cc_t tenthsOfSecond(unsigned int milliseconds) {
    if (milliseconds == 0)
        return 0;
    unsigned int tenths = milliseconds / 100 + (milliseconds % 100 != 0 ? 1 : 0);
    return static_cast<cc_t>(tenths > 255 ? 255 : tenths);
}

} // namespace Communication
