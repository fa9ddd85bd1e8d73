// The facade's life, result state, guard and control calls.
#include "client/VELAECRClient.h"

#include "client/ResultTexts.h"
#include "diagnostics/VELALogger.h"
#include "diagnostics/common.h"

#include <algorithm>
#include <cstring>

namespace {
// Above the highest severity: nothing is written.
const ESeverityLevel kLoggingOff = static_cast<ESeverityLevel>(5);
} // namespace

CVELAECRClient::CVELAECRClient() : m_version("1.5.20") {
    try {
        gvLoggingInit("", kLoggingOff);
    } catch (...) {
        // Logging stays as it was; the instance works without it.
    }
}

CVELAECRClient::~CVELAECRClient() {
    CommClose();
}

int CVELAECRClient::ret(int code) {
    switch (code) {
    case ECRC_OK:
        m_errorKind = 0;
        m_errorCode = 0;
        break;
    case ECRC_OPENPORTFAILED:
        m_lastResult = 1;
        m_errorKind = 1;
        m_errorCode = 1;
        break;
    case ECRC_PORTNOTOPENED:
        m_lastResult = 1;
        m_errorKind = 2;
        m_errorCode = 2;
        break;
    case ECRC_ENUMPORTSFAILED:
    case ECRC_CONNECTFAILED:
    case ECRC_NOTINITED:
    case ECRC_TASKRUNNING:
    case ECRC_MSGCORRUPTED:
    case ECRC_SMALLBUFFER:
    case ECRC_DISCONNECTED:
    case ECRC_RECVTIMEOUT:
    case ECRC_SENDFAILED:
    case ECRC_TERMCONNERROR:
    case ECRC_TERMNOANSWER:
        m_errorKind = 3;
        m_errorCode = 3;
        break;
    default: // 1, 8, 15, 16, above 17, negative: the code is its own number
        m_errorKind = 4;
        m_errorCode = static_cast<std::uint32_t>(code);
        break;
    }
    m_lastCode = static_cast<std::uint32_t>(code);
    return code;
}

bool CVELAECRClient::IsOpenedAndInited(int& code) {
    code = m_proto.isOpened();
    if (code != 0)
        return false;
    MutexLock lock(m_pMutex);
    if (!m_isInited) {
        code = ECRC_NOTINITED;
        return false;
    }
    // A running task keeps its 2: a call refused with 7 must not make it look
    // finished to a caller polling the last result.
    if (m_lastResult != 2)
        m_lastResult = 0;
    return true;
}

int CVELAECRClient::startOperation(EThreadTask task) {
    return startOperation(task, [] {});
}

int CVELAECRClient::Confirm() {
    VELALogger::WriteShort("call Confirm()");
    return startOperation(EThreadTask_Confirm);
}

int CVELAECRClient::Ping() {
    VELALogger::WriteShort("call Ping()");
    return startOperation(EThreadTask_Ping);
}

int CVELAECRClient::Cancel() {
    VELALogger::WriteShort("call Cancel()");
    int code = ECRC_OK;
    if (!IsOpenedAndInited(code))
        return ret(ECRC_PORTNOTOPENED);
    {
        MutexLock lock(m_pMutex);
        startTask(EThreadTask_Cancel);
    }
    return ret(ECRC_OK);
}

int CVELAECRClient::CheckTerminal() {
    VELALogger::WriteShort("call CheckTerminal() ");
    MutexLock lock(m_pMutex);
    m_isCheckTermRequested = true;
    return ECRC_OK;
}

int CVELAECRClient::UseMac(unsigned char, const char*) {
    VELALogger::WriteShort("call UseMac()");
    return ret(ECRC_OK);
}

int CVELAECRClient::useLogging(unsigned char level, const char* path) {
    if (path == nullptr)
        return ECRC_ERROR;
    ESeverityLevel threshold = kLoggingOff;
    if (level == 1 || level == '1')
        threshold = error; // short messages
    else if (level == 2 || level == '2')
        threshold = warning; // short and detailed messages
    try {
        gvLoggingInit(path, threshold);
    } catch (...) {
        return ECRC_ERROR;
    }
    VELALogger::WriteShort("call useLogging() in version: " + m_version);
    VELALogger::WriteShort(std::string("FilePath: ") + path);
    VELALogger::WriteShort("Logging level: " + ToString(level));
    return ret(ECRC_OK);
}

int CVELAECRClient::SetErrorLang(unsigned char language) {
    static const char* const kLanguages[] = {"English", "Ukrainian", "Russian"};
    MutexLock lock(m_pMutex);
    VELALogger::WriteShort("call SetErrorLang()");
    if (language > 2) {
        VELALogger::WriteShort("Error Language: Unknown language");
        return ECRC_ERROR;
    }
    m_errorLang = language;
    VELALogger::WriteShort(std::string("Error Language: ") + kLanguages[language]);
    return ECRC_OK;
}

int CVELAECRClient::get_LastResult(unsigned char& value) {
    MutexLock lock(m_pMutex);
    VELALogger::WriteDetailed("call get_LastResult()");
    value = m_lastResult;
    if (value == 1 && m_taskResult != 0)
        m_lastCode = m_taskResult.load();
    return ECRC_OK;
}

int CVELAECRClient::get_LastErrorCode(unsigned char& value) {
    MutexLock lock(m_pMutex);
    VELALogger::WriteDetailed("call get_LastErrorCode()");
    value = static_cast<unsigned char>(m_errorKind & 0xFF);
    return ECRC_OK;
}

int CVELAECRClient::get_LibraryVersion(char* buffer, int size) {
    VELALogger::WriteDetailed("call get_LibraryVersions() ");
    if (buffer == nullptr || size < 0 || static_cast<std::size_t>(size) < m_version.size())
        return ECRC_ERROR;
    std::memset(buffer, 0, static_cast<std::size_t>(size));
    std::memcpy(buffer, m_version.data(), m_version.size());
    return ECRC_OK;
}

int CVELAECRClient::getECRCDescription(int code, char* buffer, int size) {
    if (buffer == nullptr || size <= 0)
        return ECRC_OK;
    const char* text = code >= 0 && code <= ECRC_UNKNOWN ? gErrorsD[code] : gErrorsD[ECRC_UNKNOWN];
    std::memset(buffer, 0, static_cast<std::size_t>(size));
    std::size_t length = std::min(std::strlen(text), static_cast<std::size_t>(size));
    std::memcpy(buffer, text, length);
    return ECRC_OK;
}
