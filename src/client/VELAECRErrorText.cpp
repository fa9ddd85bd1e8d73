// The description of the last error: the terminal's own text when it
// declined, otherwise a fixed text for the connection failure in the chosen
// language (CP1251 for Ukrainian and Russian, like the terminal's texts).
#include "client/VELAECRClient.h"

#include "diagnostics/ErrorDescription.h"
#include "diagnostics/VELALogger.h"
#include "protocol/TagCatalogue.h"

#include <cstring>

namespace {
// Error kind of a code that is its own number rather than a connection failure.
const std::uint32_t kOwnNumberKind = 4;
} // namespace

int CVELAECRClient::get_LastErrorDescription(char* buffer, int size) {
    VELALogger::WriteDetailed("call get_LastErrorDescription()");
    if (buffer != nullptr && size > 0)
        buffer[0] = '\0';
    unsigned responseCode = 0;
    bool declined = getNumValue(responseCode, ETag_ResponseCode) == ECRC_OK && responseCode != 0;
    if (declined || m_lastCode == 0 || m_errorKind == kOwnNumberKind)
        return getStrValue(buffer, size, ETag_ResponseText);

    unsigned char language;
    unsigned char commType;
    {
        MutexLock lock(m_pMutex);
        language = m_errorLang;
        commType = m_commType;
    }
    std::string text =
        ErrorDescription::Describe(language, commType, static_cast<unsigned char>(m_errorCode));
    if (size < 0 || text.size() > static_cast<std::size_t>(size))
        return ECRC_SMALLBUFFER;
    if (buffer == nullptr)
        return ECRC_ERROR;
    std::memset(buffer, 0, static_cast<std::size_t>(size));
    std::memcpy(buffer, text.data(), text.size());
    return ECRC_OK;
}
