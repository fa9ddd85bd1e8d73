// Placeholder until the TLV element is built: every operation fails.
#include "protocol/TLVTag.h"

CTLVTag::CTLVTag(unsigned type) : m_type(type) {}
CTLVTag::CTLVTag(unsigned type, unsigned char*, unsigned) : m_type(type) {}
CTLVTag::CTLVTag(unsigned type, char*) : m_type(type) {}
CTLVTag::CTLVTag(unsigned type, unsigned) : m_type(type) {}
CTLVTag::~CTLVTag() {}
int CTLVTag::getType(unsigned& type) {
    type = m_type;
    return TLVC_OK;
}
int CTLVTag::getLength(unsigned& length) {
    length = m_length;
    return TLVC_OK;
}
int CTLVTag::getValue(char*, unsigned) { return TLVC_NOVALUE; }
int CTLVTag::getValue(unsigned char*, unsigned, unsigned&) { return TLVC_NOVALUE; }
int CTLVTag::getValue(unsigned&) { return TLVC_NOVALUE; }
int CTLVTag::getValueR(unsigned&) { return TLVC_NOVALUE; }
int CTLVTag::getBinLength(unsigned&) { return TLVC_NOVALUE; }
int CTLVTag::getBinData(unsigned char*, unsigned, unsigned&) { return TLVC_NOVALUE; }
int CTLVTag::setValue(unsigned char*, unsigned) { return TLVC_ERROR; }
int CTLVTag::setValue(char*) { return TLVC_ERROR; }
int CTLVTag::setValue(unsigned) { return TLVC_ERROR; }
void CTLVTag::allocValue(unsigned) {}
void CTLVTag::clearValue() {}
int CTLVTag::copy(CTLVTag&) { return TLVC_ERROR; }
void CTLVTag::numToBin(unsigned char*, unsigned) {}
void CTLVTag::binToNum(unsigned char*, unsigned&) {}
void CTLVTag::binToNumR(unsigned char*, unsigned&) {}
