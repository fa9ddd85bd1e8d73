#include "communication/TraceEcho.h"

#include "diagnostics/common.h"

#include <cstdio>

namespace Communication {
namespace {
void printHexByte(unsigned char value) {
    char digits[3] = {0, 0, 0};
    byte2hex(value, digits);
    std::fputs(digits, stdout);
    std::fputc(' ', stdout);
}
} // namespace

void traceWritten(const unsigned char* data, unsigned int length) {
    std::fputs("Writing to the port:\n", stdout);
    for (unsigned int i = 0; i < length; ++i)
        printHexByte(data[i]);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void traceReadByte(unsigned int index, unsigned char value) {
    if (index == 0)
        std::fputs("Readed from the port:\n", stdout);
    printHexByte(value);
    std::fflush(stdout);
}

void traceReadEnd() {
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace Communication
