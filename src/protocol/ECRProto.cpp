// Placeholder until the link protocol is built: owns the transport and
// reports it, every exchange fails.
#include "protocol/ECRProto.h"

using namespace Communication;

CECRProto::CECRProto() {}
CECRProto::~CECRProto() { destroyCommIns(m_pCommunication); }
int CECRProto::setCommunication(ICommunication* communication) {
    if (communication == nullptr)
        return ECRPC_BADCOMM;
    destroyCommIns(m_pCommunication);
    m_pCommunication = communication;
    return ECRPC_OK;
}
int CECRProto::open(bool trace) {
    if (m_pCommunication == nullptr)
        return COMM_ERROR;
    int rc = m_pCommunication->commOpen();
    if (rc == 0)
        m_pCommunication->setTraceOpt(trace);
    return rc;
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
int CECRProto::enumerate(std::vector<char*>&) { return ECRPC_NOUDEV; }
int CECRProto::sendByte(unsigned char) { return ECRPC_BADCOMM; }
int CECRProto::sendAbort() { return ECRPC_BADCOMM; }
int CECRProto::ecrSend(unsigned char*, unsigned, unsigned char, int) { return ECRPC_BADCOMM; }
int CECRProto::sendMessage(CTLVMessage&) { return ECRPC_BADCOMM; }
int CECRProto::readNBytes(unsigned char*, unsigned) { return ECRPC_BADCOMM; }
int CECRProto::ecrRecv(unsigned char*&, unsigned&, int) { return ECRPC_BADCOMM; }
int CECRProto::recvMessage(CTLVMessage&) { return ECRPC_BADCOMM; }
