#pragma once

#include "communication/ICommunication.h"
#include "protocol/TLVMessage.h"

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

// Carries TLV messages to and from the terminal in framed exchanges over one
// owned transport.
class CECRProto {
public:
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
    int ecrRecv(unsigned char*& body, unsigned& length, int attempts);
    int recvMessage(CTLVMessage& message);

private:
    Communication::ICommunication* m_pCommunication = nullptr;
    unsigned m_firstTimeout = 100;
    unsigned m_secondTimeout = 100;
};
