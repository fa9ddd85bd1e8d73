// Files to and from the terminal: a local file sent in numbered blocks, and
// a receipt or data file fetched in parts that the receiving message joins.
#include "engine/ECRClient.h"
#include "engine/File.h"
#include "engine/RequestBuilder.h"

#include "protocol/TagCatalogue.h"

#include <cstdio>
#include <cstring>

namespace {
const std::uint8_t kBitmapDataType = 2;
// File header (14 bytes) and information header (40 bytes) of a bitmap.
const std::size_t kBitmapHeadersSize = 54;
const std::size_t kBitmapWidthOffset = 18;
const std::size_t kBitmapHeightOffset = 22;

std::uint32_t le32At(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void putLe32(unsigned char* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(value >> (8 * i));
}
} // namespace

int CECRClient::readBitmapGeometry(const std::string& path) {
    unsigned char headers[kBitmapHeadersSize] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return ECRC_UNKNOWN;
    // A file shorter than the headers is sent all the same; what is missing
    // reads as 0.
    std::size_t count = std::fread(headers, 1, sizeof headers, file);
    std::fclose(file);
    if (count < 2 || headers[0] != 'B' || headers[1] != 'M')
        return ECRC_UNKNOWN;
    MutexLock lock(m_pMutex);
    m_imageParams[0] = le32At(headers + kBitmapWidthOffset);
    m_imageParams[1] = le32At(headers + kBitmapHeightOffset);
    return ECRC_OK;
}

int CECRClient::sendFileBlocks(vela::CFile& file, std::uint8_t dataType, std::uint8_t command) {
    unsigned char imageParams[8];
    {
        MutexLock lock(m_pMutex);
        putLe32(imageParams, m_imageParams[0]);
        putLe32(imageParams + 4, m_imageParams[1]);
    }
    char block[vela::CFile::kBlockHeaderSize + vela::CFile::kBlockDataSize];
    CTLVMessage msg;
    for (;;) {
        std::memset(block, 0, sizeof block);
        unsigned length = 0;
        if (file.ReadBinaryFileBlock(block, length) != 0)
            return ECRC_UNKNOWN;
        RequestBuilder request(msg);
        request.num(ETag_MsgType, EMsgType_SendFileRequest);
        if (file.blockNum() == 2) {
            request.num(ETag_ECRDataType, dataType).num(ETag_ECRCommand, command);
            if (dataType == kBitmapDataType)
                request.bytes(ETag_ImageParams, imageParams, sizeof imageParams);
        }
        request.bytes(ETag_FileData, block, length);
        if (sendRequest(msg) != ECRC_OK)
            return ECRC_SENDFAILED;
        if (file.isEnd())
            return ECRC_OK;
        // A long send over a slow line must not hold up closing the
        // connection until its last block.
        if (m_isStopRequested)
            return ECRC_MSGCORRUPTED;
    }
}

int CECRClient::SendFile() {
    clearCurrentMsg();
    std::string path;
    std::uint8_t dataType;
    std::uint8_t command;
    {
        MutexLock lock(m_pMutex);
        path = m_transactData.m_fullPath;
        dataType = m_ecrDataType;
        command = m_ecrCommand;
    }
    if (dataType == kBitmapDataType && readBitmapGeometry(path) != ECRC_OK)
        return ECRC_UNKNOWN;
    int result;
    {
        vela::CFile file(path);
        if (file.Open(vela::CFile::kRead | vela::CFile::kBinary) != 0)
            return ECRC_UNKNOWN; // the reader closes what it opened
        result = sendFileBlocks(file, dataType, command);
        file.Close();
    }
    if (result != ECRC_OK)
        return result;
    CTLVMessage msg;
    int answer = awaitAnswer(msg, LoopKind::FileSend);
    if (answer != kAnswered)
        return answer;
    return ProcessFinish({EMsgType_SendFileResponse}, msg);
}

int CECRClient::ReqCurrReceipt() {
    return ReqFile(VELA_DATA_RECEIPT);
}

int CECRClient::ReqDataFile() {
    return ReqFile(VELA_DATA_DATAFILE);
}

int CECRClient::ReqFile(VELA_DATA kind) {
    clearCurrentMsg();
    m_isCheckTermSent = false;
    // One message receives every answer, so that its buffer joins the parts.
    CTLVMessage msg;
    RequestBuilder(msg).num(ETag_MsgType, EMsgType_FileRequest).num(ETag_DataKind, kind);
    int sent = sendRequest(msg);
    if (sent != ECRC_OK)
        return sent;
    return awaitFileFetch(msg);
}

int CECRClient::awaitFileFetch(CTLVMessage& msg) {
    bool watchEcho = true;
    for (;;) {
        if (watchEcho && m_isCheckTermSent && IsPingExpired())
            return ECRC_TERMNOANSWER;
        watchEcho = true;
        TrnDuringProcess();
        int rc = m_proto.recvMessage(msg);
        if (rc == ECRPC_CHECKTERMINAL) {
            m_isCheckTermSent = false;
            watchEcho = false;
            continue;
        }
        if (rc == ECRPC_OK) {
            m_lastRecvTime = std::chrono::steady_clock::now();
            unsigned type = 0;
            if (msg.getTagNumValue(ETag_MsgType, type) == TLVC_OK &&
                type == EMsgType_FileResponse) {
                {
                    MutexLock lock(m_pMutex);
                    m_currentMsg.copy(msg);
                }
                if (msg.isFileBufferEnd())
                    return CheckResult(msg) != 0 ? ECRC_ERROR : ECRC_OK;
                // The terminal ends the fetch early with the part in hand.
                if (isAddResultError(msg))
                    return ECRC_OK;
                continue;
            }
        }
        if (rc == ECRPC_OK || rc == ECRPC_RECVTIMEOUT) {
            if (m_isStopRequested)
                return rc == ECRPC_OK ? ECRC_ERROR : ECRC_MSGCORRUPTED;
            EThreadTask task = getTask();
            if (task == EThreadTask_Exit)
                return ECRC_ERROR;
            int cancelled = cancelLogic(task);
            if (cancelled == 0)
                return ECRC_ERROR;
            if (cancelled == Communication::COMM_NOTCONNECTED)
                return ECRC_DISCONNECTED;
            continue;
        }
        if (rc == ECRPC_STATUSMSG) {
            keepStatus(msg);
            if (m_isStopRequested)
                return ECRC_MSGCORRUPTED;
            continue;
        }
        return rc == Communication::COMM_NOTCONNECTED ? ECRC_DISCONNECTED : ECRC_MSGCORRUPTED;
    }
}
