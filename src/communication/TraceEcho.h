#pragma once

// Echo of the bytes a transport writes and reads, printed on standard output
// while a transport's trace mode is on (a debugging aid for integrators).

#include "communication/ICommunication.h"

namespace Communication {

void traceWritten(const unsigned char* data, unsigned int length);

// Reads up to size bytes one at a time with readOne(byte) (0 when a byte
// arrived, else the code of the empty read), echoing each byte and calling
// afterRead() after every attempt. Returns 0 when at least one byte was
// read, else the code of the first empty read.
template <class ReadOne, class AfterRead>
int traceRead(unsigned char* buffer, unsigned int size, unsigned int& count, ReadOne readOne,
              AfterRead afterRead);

void traceReadByte(unsigned int index, unsigned char value);
void traceReadEnd();

template <class ReadOne, class AfterRead>
int traceRead(unsigned char* buffer, unsigned int size, unsigned int& count, ReadOne readOne,
              AfterRead afterRead) {
    int rc = COMM_OK;
    while (count < size) {
        rc = readOne(buffer[count]);
        if (rc == COMM_OK)
            traceReadByte(count, buffer[count]);
        afterRead();
        if (rc != COMM_OK)
            break;
        ++count;
    }
    if (count == 0)
        return rc;
    traceReadEnd();
    return COMM_OK;
}

} // namespace Communication
