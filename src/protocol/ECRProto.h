#pragma once

#include "communication/ICommunication.h"
#include "protocol/TLVMessage.h"
#include "velaecr_export.h"

#include <vector>

// Result codes of the link protocol.
enum EECRProtoCode {
    ECRPC_OK = 0,
    ECRPC_ERROR = 301,
    ECRPC_RECVTIMEOUT = 302,
    ECRPC_NOATTEMPTS = 303,
    ECRPC_EOTRECEIVED = 304,
    ECRPC_NOCRC = 305,
    ECRPC_NOACK = 306,
    ECRPC_UNKNOWNACK = 307,
    ECRPC_UNKNOWNSTX = 308,
    ECRPC_MAXSIZE = 309,
    ECRPC_EMPTYMSG = 310,
    ECRPC_BROKENSTATUS = 311,
    ECRPC_STATUSMSG = 312,
    ECRPC_BADCOMM = 314,
    ECRPC_CHECKTERMINAL = 315,
    ECRPC_NOUDEV = 316,
    ECRPC_WRONGLENGTH = 317,
};

// Texts for the codes 301..312, entry i for code 301 + i. Entries 9 and 10
// keep their historical order (the empty-message text comes after the
// broken-status text); callers that print them rely on the stored order.
extern "C" VELA_EXPORT const char* aECRPErrors[12];

// Carries TLV messages to and from the terminal in framed exchanges over one
// owned transport.
//
// Frame: lead byte (02h data, 12h status from the terminal), 16-bit
// big-endian body length, body, XOR checksum of the body. Every frame is
// answered with ACK (06h) or NAK (15h); EOT (04h) aborts; 07h alone is the
// check-terminal signal.
class CECRProto {
public:
    // Largest body the length field can carry, and the largest body taken in.
    static const unsigned kMaxSendBody = 65535;
    static const unsigned kMaxRecvBody = 4096;

    CECRProto();
    ~CECRProto();
    CECRProto(const CECRProto&) = delete;
    CECRProto& operator=(const CECRProto&) = delete;

    int setCommunication(Communication::ICommunication* communication);
    int open(bool trace);
    int close();
    int isOpened();
    void setTimeouts(unsigned first, unsigned second);
    int enumerate(std::vector<char*>& devices);
    int sendByte(unsigned char byte);
    int sendAbort();
    int ecrSend(unsigned char* body, unsigned length, unsigned char checksum, int attempts);
    int sendMessage(CTLVMessage& message);
    int readNBytes(unsigned char* buffer, unsigned count);
    // On 0 and ECRPC_STATUSMSG the caller owns body (release with delete[]);
    // on every other result body is left untouched.
    int ecrRecv(unsigned char*& body, unsigned& length, int attempts);
    int recvMessage(CTLVMessage& message);

private:
    int writeByte(unsigned char byte);
    int writeFrame(const unsigned char* frame, unsigned size);
    bool sendAttempt(const std::vector<unsigned char>& frame, int& rc);
    bool recvAttempt(unsigned char*& body, unsigned& length, int& rc);
    int readFrame(bool isStatus, unsigned char*& body, unsigned& length);
    int readLength(unsigned& length);

    Communication::ICommunication* m_pCommunication = nullptr;
    unsigned m_firstTimeout = 100;
    unsigned m_secondTimeout = 100;
};
