// Placeholder until the TLV message is built: every operation fails.
#include "protocol/TLVMessage.h"

CTLVMessage::CTLVMessage() {}
CTLVMessage::~CTLVMessage() { clear(); }
int CTLVMessage::addTag(CTLVTag* tag) {
    delete tag;
    return TLVC_ERROR;
}
int CTLVMessage::getTag(CTLVTag*&, unsigned) { return TLVC_ERROR; }
bool CTLVMessage::findTag(unsigned) { return false; }
int CTLVMessage::getTagNumValue(int, unsigned&) { return TLVC_ERROR; }
int CTLVMessage::getAllTags(std::vector<CTLVTag*>& out) {
    out.clear();
    return TLVC_OK;
}
void CTLVMessage::clear() {}
int CTLVMessage::copy(CTLVMessage&) { return TLVC_ERROR; }
int CTLVMessage::getDumpLength(unsigned& size) {
    size = 0;
    return TLVC_OK;
}
int CTLVMessage::buildDump(unsigned char*, unsigned, unsigned&) { return TLVC_ERROR; }
int CTLVMessage::parseDump(unsigned char*, unsigned) { return TLVC_ERROR; }
bool CTLVMessage::IsReceiptPresent() { return false; }
bool CTLVMessage::isFileBufferEnd() { return false; }
bool CTLVMessage::isFileTag(int) { return false; }
int CTLVMessage::AddToBuff(unsigned char*, unsigned, unsigned) { return 2; }
