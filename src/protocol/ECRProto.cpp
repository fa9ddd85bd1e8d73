#include "protocol/ECRProto.h"

#include "communication/SerialRS232.h"
#include "diagnostics/Trace.h"
#include "diagnostics/VELALogger.h"
#include "diagnostics/common.h"
#include "protocol/TagCatalogue.h"

#include <cstring>
#include <memory>

using namespace Communication;

const char* aECRPErrors[12] = {
    "General Error.",
    "Timeout occurred.",
    "No Receive Attempts.",
    "EOT Received.",
    "No CRC Received.",
    "No ACK Received.",
    "Unknown ACK received.",
    "Unknown STX received.",
    "Max Message size exceeded.",
    "Broken status message received",
    "Empty Message.",
    "Status Message received",
};

namespace {
const unsigned char kSTX = 0x02;
const unsigned char kStatusLead = 0x12;
const unsigned char kACK = 0x06;
const unsigned char kNAK = 0x15;
const unsigned char kEOT = 0x04;
const unsigned char kCheckTerminal = 0x07;

const int kAttempts = 3;
const unsigned kAckWaitMs = 6000;
const unsigned kLeadWaitMs = 250;
const unsigned kFrameWaitMs = 1500;

// Internal result of readFrame: a data frame with a bad checksum was refused
// with NAK and the terminal is expected to repeat it. Never returned outside.
const int kRepeatFrame = -1;

void logShort(const std::string& text) {
    VELALogger::WriteShort(text);
}

void logBoth(const std::string& text) {
    CTrace::Write(text);
    VELALogger::WriteShort(text);
}

unsigned char xorOf(const unsigned char* data, unsigned size) {
    unsigned char sum = 0;
    for (unsigned i = 0; i < size; ++i)
        sum ^= data[i];
    return sum;
}
} // namespace

CECRProto::CECRProto() {}

CECRProto::~CECRProto() {
    destroyCommIns(m_pCommunication);
}

int CECRProto::setCommunication(ICommunication* communication) {
    if (communication == nullptr)
        return ECRPC_BADCOMM;
    if (communication != m_pCommunication)
        destroyCommIns(m_pCommunication);
    m_pCommunication = communication;
    m_firstTimeout = 100;
    m_secondTimeout = 100;
    return ECRPC_OK;
}

int CECRProto::open(bool trace) {
    if (m_pCommunication == nullptr)
        return COMM_ERROR;
    int rc = m_pCommunication->commOpen();
    if (rc != COMM_OK) {
        logShort("error: communication cannot open");
        return rc;
    }
    m_pCommunication->setTraceOpt(trace);
    return ECRPC_OK;
}

int CECRProto::close() {
    return m_pCommunication == nullptr ? ECRPC_BADCOMM : m_pCommunication->commClose();
}

int CECRProto::isOpened() {
    return m_pCommunication == nullptr ? ECRPC_BADCOMM : m_pCommunication->isConnected();
}

void CECRProto::setTimeouts(unsigned first, unsigned second) {
    m_firstTimeout = first;
    m_secondTimeout = second;
}

int CECRProto::enumerate(std::vector<char*>&) {
    return ECRPC_NOUDEV;
}

int CECRProto::writeByte(unsigned char byte) {
    unsigned count = 0;
    return m_pCommunication->commWrite(&byte, 1, count);
}

int CECRProto::sendByte(unsigned char byte) {
    if (m_pCommunication == nullptr) {
        logShort("error: bad communication");
        return ECRPC_BADCOMM;
    }
    int rc = m_pCommunication->isConnected();
    if (rc != COMM_OK)
        return rc;
    return writeByte(byte);
}

int CECRProto::sendAbort() {
    logShort("sending abort");
    return sendByte(kEOT);
}

// Writes the whole frame, continuing after partial writes. A partial write
// that reports no progress (or more than was offered) counts as a failure so
// that a misbehaving transport cannot keep the loop spinning.
int CECRProto::writeFrame(const unsigned char* frame, unsigned size) {
    unsigned written = 0;
    while (written < size) {
        unsigned count = 0;
        int rc = m_pCommunication->commWrite(frame + written, size - written, count);
        if (rc == COMM_OK)
            return COMM_OK;
        if (rc != COMM_PARTIALWRITE || count == 0 || count > size - written)
            return rc;
        written += count;
    }
    return COMM_OK;
}

int CECRProto::ecrSend(unsigned char* body, unsigned length, unsigned char checksum, int attempts) {
    if (m_pCommunication == nullptr) {
        logShort("error: bad communication");
        return ECRPC_BADCOMM;
    }
    if (length > kMaxSendBody) {
        logBoth("error: message is bigger than allowable maximum size");
        return ECRPC_MAXSIZE;
    }
    if (body == nullptr || length == 0) {
        logBoth("error: empty message");
        return ECRPC_EMPTYMSG;
    }
    std::vector<unsigned char> frame(length + 4);
    frame[0] = kSTX;
    frame[1] = static_cast<unsigned char>(length >> 8);
    frame[2] = static_cast<unsigned char>(length & 0xFF);
    std::memcpy(&frame[3], body, length);
    frame[3 + length] = checksum;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        int rc = ECRPC_OK;
        if (sendAttempt(frame, rc))
            return rc;
    }
    logBoth("Attempts is expired during send");
    return ECRPC_NOATTEMPTS;
}

// One attempt of ecrSend. Returns true when the send has ended with rc,
// false when the next attempt should follow.
bool CECRProto::sendAttempt(const std::vector<unsigned char>& frame, int& rc) {
    if (m_pCommunication->flush() != COMM_OK) {
        logBoth("error: communication flush failed");
        return false;
    }
    int writeRc = writeFrame(frame.data(), static_cast<unsigned>(frame.size()));
    if (writeRc != COMM_OK) {
        CTrace::Write("error: communication write");
        logShort("error: communication write | rc = " + ToString(writeRc));
        return false;
    }
    if (m_pCommunication->setReadTimeouts(0, kAckWaitMs) != COMM_OK) {
        logBoth("error: communication set read timeouts");
        return false;
    }
    unsigned char answer = 0;
    unsigned count = 0;
    int readRc = m_pCommunication->commRead(&answer, 1, count);
    if (readRc != COMM_OK || count == 0) {
        CTrace::Write("error: communication read ACK");
        logShort("error: communication read ACK, rc = " + ToString(readRc));
        logShort("error: ACK = " + ToString(count == 0 ? 0 : answer));
        rc = ECRPC_NOACK;
        return true;
    }
    switch (answer) {
    case kACK:
        logBoth("ACK is received");
        rc = ECRPC_OK;
        return true;
    case kNAK:
        logBoth("NAK is received");
        return false;
    case kEOT:
        logBoth("error: Abort is received");
        writeByte(kEOT);
        rc = ECRPC_EOTRECEIVED;
        return true;
    default:
        logBoth("error: Unknown byte is received");
        writeByte(kEOT);
        rc = ECRPC_UNKNOWNACK;
        return true;
    }
}

int CECRProto::sendMessage(CTLVMessage& message) {
    CTrace::Write("CECRProto::sendMessage | sending message...");
    logShort("sending message");
    if (m_pCommunication == nullptr) {
        logBoth("error: bad communication");
        return ECRPC_BADCOMM;
    }
    int rc = m_pCommunication->isConnected();
    if (rc != COMM_OK)
        return rc;
    unsigned size = 0;
    rc = message.getDumpLength(size);
    if (rc != TLVC_OK) {
        logBoth("error: when get dump length");
        return rc;
    }
    if (size == 0) {
        logBoth("error: empty message");
        return ECRPC_EMPTYMSG;
    }
    if (size > kMaxSendBody) {
        logBoth("error: message is bigger than allowable maximum size");
        return ECRPC_MAXSIZE;
    }
    std::vector<unsigned char> dump(size);
    unsigned built = 0;
    rc = message.buildDump(dump.data(), size, built);
    if (rc != TLVC_OK) {
        logBoth("error: build dump message");
        return rc;
    }
    rc = ecrSend(dump.data(), built, xorOf(dump.data(), built), kAttempts);
    if (rc != ECRPC_OK)
        return rc;
    logShort("sending message ok!");
    return ECRPC_OK;
}

// Reads exactly count bytes. A read that reports success without bringing a
// byte (possible in the transports' trace mode) is taken as a time-out, so
// that a silent terminal cannot keep this loop spinning.
int CECRProto::readNBytes(unsigned char* buffer, unsigned count) {
    if (m_pCommunication == nullptr) {
        logShort("error: bad communication");
        return ECRPC_BADCOMM;
    }
    unsigned received = 0;
    while (received < count) {
        unsigned delivered = 0;
        int rc = m_pCommunication->commRead(buffer + received, count - received, delivered);
        if (rc == COMM_OK && delivered == 0)
            rc = COMM_READTIMEOUT;
        if (rc != COMM_OK) {
            logBoth("error: communication read message");
            sendAbort();
            return rc;
        }
        if (delivered > count - received) {
            logBoth("error: wrong read message length");
            return ECRPC_WRONGLENGTH;
        }
        received += delivered;
    }
    return ECRPC_OK;
}

int CECRProto::ecrRecv(unsigned char*& body, unsigned& length, int attempts) {
    if (m_pCommunication == nullptr) {
        logBoth("error: bad communication");
        return ECRPC_BADCOMM;
    }
    // Set once per call: a repeated frame is awaited with the frame time-out
    // that the previous attempt left in force.
    m_pCommunication->setReadTimeouts(0, kLeadWaitMs);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        int rc = ECRPC_OK;
        if (recvAttempt(body, length, rc))
            return rc;
    }
    CTrace::Write("error: Attempts is expired during receive");
    logShort("Attempts is expired during receive");
    return ECRPC_NOATTEMPTS;
}

// One attempt of ecrRecv. Returns true when the receive has ended with rc,
// false when a data frame was refused and its repetition is awaited.
bool CECRProto::recvAttempt(unsigned char*& body, unsigned& length, int& rc) {
    unsigned char lead = 0;
    unsigned count = 0;
    int readRc = m_pCommunication->commRead(&lead, 1, count);
    if (readRc != COMM_OK || count == 0) {
        CTrace::Write("error: 1. communication read");
        rc = ECRPC_RECVTIMEOUT;
        return true;
    }
    switch (lead) {
    case kEOT:
        logBoth("Abort is received");
        rc = ECRPC_EOTRECEIVED;
        return true;
    case kCheckTerminal:
        logBoth("Check terminal message is received");
        rc = ECRPC_CHECKTERMINAL;
        return true;
    case kSTX:
        logBoth("STX is received");
        break;
    case kStatusLead:
        logBoth("Status message is received");
        break;
    default:
        logBoth("error: Unknown byte is received");
        rc = ECRPC_UNKNOWNSTX;
        return true;
    }
    rc = readFrame(lead == kStatusLead, body, length);
    return rc != kRepeatFrame;
}

// Reads the two length bytes, the second one separately when the first read
// brings only one. A read that reports success without the bytes counts as a
// time-out (no byte) or as an over-long delivery, never as success.
int CECRProto::readLength(unsigned& length) {
    unsigned char bytes[2] = {0, 0};
    unsigned count = 0;
    int rc = m_pCommunication->commRead(bytes, 2, count);
    if (rc == COMM_OK && count == 1) {
        unsigned second = 0;
        rc = m_pCommunication->commRead(bytes + 1, 1, second);
        if (rc != COMM_OK || second != 1) {
            CTrace::Write("error: 1. communication read length");
            logShort("error: communication read length");
            if (rc == COMM_OK)
                rc = second == 0 ? int(COMM_READTIMEOUT) : int(ECRPC_WRONGLENGTH);
            return rc;
        }
        count = 2;
    }
    if (rc != COMM_OK || count != 2) {
        CTrace::Write("error: 2. communication read length");
        CTrace::Write("error: 2. communication read length | nR = " + ToString(count));
        CTrace::Write("error: 2. communication read length | rc = " + ToString(rc));
        logShort("error: communication read length");
        if (rc == COMM_OK)
            rc = count == 0 ? int(COMM_READTIMEOUT) : int(ECRPC_WRONGLENGTH);
        return rc;
    }
    length = bytes[0] * 256u + bytes[1];
    return COMM_OK;
}

int CECRProto::readFrame(bool isStatus, unsigned char*& body, unsigned& length) {
    m_pCommunication->setReadTimeouts(0, kFrameWaitMs);
    unsigned size = 0;
    int rc = readLength(size);
    if (rc != COMM_OK)
        return rc;
    if (size > kMaxRecvBody) {
        sendAbort();
        logBoth("error: message is bigger than allowable maximum size");
        return ECRPC_MAXSIZE;
    }
    if (size == 0) {
        sendAbort();
        logBoth("error: empty message");
        return ECRPC_EMPTYMSG;
    }
    std::unique_ptr<unsigned char[]> received(new unsigned char[size]());
    rc = readNBytes(received.get(), size);
    if (rc != ECRPC_OK)
        return rc;
    unsigned char checksum = 0;
    unsigned count = 0;
    rc = m_pCommunication->commRead(&checksum, 1, count);
    if (rc != COMM_OK || count == 0) {
        logBoth("error: communication read CRC");
        return ECRPC_NOCRC;
    }
    if (checksum == xorOf(received.get(), size)) {
        writeByte(kACK);
        body = received.release();
        length = size;
        return isStatus ? ECRPC_STATUSMSG : ECRPC_OK;
    }
    writeByte(kNAK);
    if (isStatus) {
        logBoth("error: broken status message");
        return ECRPC_BROKENSTATUS;
    }
    return kRepeatFrame;
}

int CECRProto::recvMessage(CTLVMessage& message) {
    if (m_pCommunication == nullptr) {
        logShort("error: bad communication");
        return ECRPC_BADCOMM;
    }
    unsigned char* body = nullptr;
    unsigned length = 0;
    int rc = ecrRecv(body, length, kAttempts);
    if (rc == ECRPC_OK || rc == ECRPC_STATUSMSG) {
        std::unique_ptr<unsigned char[]> owned(body);
        int parseRc = message.parseDump(body, length);
        if (rc == ECRPC_STATUSMSG) {
            if (parseRc != TLVC_OK)
                return parseRc;
            logShort("status message is received");
            return ECRPC_STATUSMSG;
        }
        if (parseRc != TLVC_OK) {
            logShort("error: cannot recognize message (parsing failed) | rc = " +
                     ToString(parseRc));
            return parseRc;
        }
        unsigned type = 0;
        if (message.getTagNumValue(ETag_MsgType, type) == TLVC_OK && type == EMsgType_StatusMessage)
            return ECRPC_STATUSMSG;
        logShort("message from terminal is received");
        return ECRPC_OK;
    }
    if (rc == ECRPC_CHECKTERMINAL)
        return rc;
    if (m_pCommunication->isConnected() == COMM_NOTCONNECTED) {
        logShort("error: communication is not connected");
        return COMM_NOTCONNECTED;
    }
    return rc;
}
