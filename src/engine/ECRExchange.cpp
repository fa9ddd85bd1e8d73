// One exchange with the terminal: the request goes out, status messages are
// kept as they come, cancel, stop, correction and check-terminal requests are
// served between receives, and the final answer is judged.
#include "engine/ECRClient.h"
#include "engine/RequestBuilder.h"

#include "diagnostics/Trace.h"
#include "diagnostics/VELALogger.h"
#include "diagnostics/common.h"
#include "protocol/TagCatalogue.h"

namespace {
const unsigned kAckWaitMs = 6000;
} // namespace

void CECRClient::clearCurrentMsg() {
    MutexLock lock(m_pMutex);
    m_currentMsg.clear();
}

CTransactData CECRClient::takeParameters() {
    MutexLock lock(m_pMutex);
    return m_transactData;
}

int CECRClient::sendRequest(CTLVMessage& msg) {
    m_proto.setTimeouts(0, kAckWaitMs);
    if (m_proto.sendMessage(msg) != 0)
        return ECRC_SENDFAILED;
    msg.clear();
    return ECRC_OK;
}

void CECRClient::keepStatus(CTLVMessage& msg) {
    MutexLock lock(m_pMutex);
    m_lastRecvTime = std::chrono::steady_clock::now();
    m_currentMsg.copy(msg);
}

int CECRClient::onReceiveTimeout(bool stopEndsWait) {
    if (stopEndsWait && m_isStopRequested)
        return ECRC_MSGCORRUPTED;
    EThreadTask task = getTask();
    if (task == EThreadTask_Exit)
        return ECRC_ERROR;
    // A sent abort does not end the wait: the terminal's answer to it does.
    if (cancelLogic(task) == Communication::COMM_NOTCONNECTED)
        return ECRC_DISCONNECTED;
    return kKeepWaiting;
}

int CECRClient::awaitAnswer(CTLVMessage& msg, LoopKind kind) {
    bool watchEcho = true;
    for (;;) {
        if (watchEcho && m_isCheckTermSent && IsPingExpired())
            return ECRC_TERMNOANSWER;
        watchEcho = true;
        if (kind != LoopKind::FileSend)
            TrnDuringProcess(); // a byte that cannot be sent arms no watch
        if (kind == LoopKind::Purchase) {
            int corrected = correctTransaction(msg);
            if (corrected != 0)
                return corrected;
            if (m_isStopRequested)
                return kAnswered; // judged on the message in hand: no answer
        }
        int rc = m_proto.recvMessage(msg);
        switch (rc) {
        case ECRPC_OK:
            if (kind == LoopKind::Purchase)
                m_lastRecvTime = std::chrono::steady_clock::now();
            return kAnswered;
        case ECRPC_STATUSMSG:
            keepStatus(msg);
            // A terminal that never pauses must not keep a stop waiting.
            if (kind != LoopKind::Purchase && m_isStopRequested)
                return ECRC_MSGCORRUPTED;
            break;
        case ECRPC_CHECKTERMINAL:
            m_isCheckTermSent = false;
            watchEcho = false;
            break;
        case ECRPC_RECVTIMEOUT: {
            int next = onReceiveTimeout(kind != LoopKind::Purchase);
            if (next != kKeepWaiting)
                return next;
            break;
        }
        case Communication::COMM_NOTCONNECTED:
            return ECRC_DISCONNECTED;
        default:
            if (kind == LoopKind::Purchase)
                CTrace::Write("CECRClient::Purchase | (rc != ECRPC_RECVTIMEOUT)" + ToString(rc));
            return ECRC_MSGCORRUPTED;
        }
    }
}

int CECRClient::Run(CTLVMessage& msg) {
    int sent = sendRequest(msg);
    if (sent != ECRC_OK)
        return sent;
    int answer = awaitAnswer(msg, LoopKind::Generic);
    return answer == kAnswered ? ECRC_OK : answer;
}

int CECRClient::ProcessFinish(const MsgTypeSet& types, CTLVMessage& msg) {
    CTrace::Write("CECRClient::ProcessFinish | start");
    unsigned type = 0;
    if (msg.getTagNumValue(ETag_MsgType, type) == TLVC_OK && types.count(type) != 0) {
        {
            MutexLock lock(m_pMutex);
            m_currentMsg.copy(msg);
        }
        if (CheckResult(msg) == 0) {
            CTrace::Write("CECRClient::ProcessFinish | OK!");
            VELALogger::WriteShort("operation is completed OK!");
            return ECRC_OK;
        }
    }
    CTrace::Write("CECRClient::ProcessFinish | FAIL!");
    return ECRC_ERROR;
}

int CECRClient::CheckResult(CTLVMessage& msg) {
    unsigned status = 0;
    if (msg.getTagNumValue(ETag_AddResult, status) != TLVC_OK)
        status = 0;
    bool succeeded = status != 2;
    if (status == 0 && msg.findTag(ETag_ResponseCode)) {
        // A response code that cannot be read is no approval.
        unsigned code = 0;
        succeeded = msg.getTagNumValue(ETag_ResponseCode, code) == TLVC_OK && code == 0;
    }
    if (succeeded)
        return ECRC_OK;
    // The failure shows in the error kind at once. The last result stays 2
    // until the task ends: a caller that saw 1 now would read the previous
    // task's code as this one's.
    m_errorKind = 4;
    return ECRC_ERROR;
}

bool CECRClient::isAddResultError(CTLVMessage& msg) {
    unsigned status = 0;
    return msg.getTagNumValue(ETag_AddResult, status) == TLVC_OK && status == 2;
}

int CECRClient::Confirm() {
    clearCurrentMsg();
    CTLVMessage msg;
    RequestBuilder(msg).num(ETag_MsgType, EMsgType_ConfirmRequest);
    int sent = sendRequest(msg);
    if (sent != ECRC_OK)
        return sent;
    int answer = awaitAnswer(msg, LoopKind::Generic);
    if (answer != kAnswered)
        return answer;
    unsigned type = 0;
    if (msg.getTagNumValue(ETag_MsgType, type) != TLVC_OK || type != EMsgType_ConfirmResponse)
        return ECRC_ERROR;
    MutexLock lock(m_pMutex);
    m_currentMsg.copy(msg);
    return ECRC_OK;
}

int SendPurchase(CTLVMessage& msg, CECRProto& proto, CTransactData& data, unsigned) {
    RequestBuilder(msg)
        .num(ETag_MsgType, EMsgType_TxnRequest)
        .num(ETag_TxnType, ETxnType_Purchase)
        .num(ETag_Amount, data.m_amount)
        .num(ETag_AddAmount, data.m_addAmount)
        .num(ETag_MerchIdx, data.m_merchIdx)
        .textIfSet(ETag_ExtraPrintData, data.m_extraPrintData)
        .textIfSet(ETag_ExtraXmlData, data.m_extraXmlData);
    proto.setTimeouts(0, kAckWaitMs);
    if (proto.sendMessage(msg) != 0)
        return ECRC_SENDFAILED;
    msg.clear();
    return ECRC_OK;
}

int CECRClient::correctTransaction(CTLVMessage& msg) {
    std::uint32_t amount;
    std::uint32_t addAmount;
    {
        MutexLock lock(m_pMutex);
        if (!m_isCorrectionRequested)
            return ECRC_OK;
        m_isCorrectionRequested = false;
        amount = m_transactData.m_amount;
        addAmount = m_transactData.m_addAmount;
    }
    msg.clear();
    RequestBuilder(msg)
        .num(ETag_MsgType, EMsgType_TxnRequest)
        .num(ETag_TxnType, ETxnType_Correction)
        .num(ETag_Amount, amount)
        .num(ETag_AddAmount, addAmount);
    return sendRequest(msg);
}

int CECRClient::runPurchaseLoop(CTLVMessage& msg, const MsgTypeSet& types) {
    int answer = awaitAnswer(msg, LoopKind::Purchase);
    if (answer != kAnswered)
        return answer;
    return ProcessFinish(types, msg);
}

int CECRClient::Purchase() {
    CTrace::Write("CECRClient::Purchase | start");
    {
        MutexLock lock(m_pMutex);
        m_currentMsg.clear();
        m_isCheckTermSent = false;
    }
    CTransactData params = takeParameters();
    CTLVMessage msg;
    if (SendPurchase(msg, m_proto, params, 0) != ECRC_OK) {
        CTrace::Write("CECRClient::Purchase | SendPurchase() FAILED!");
        return ECRC_SENDFAILED;
    }
    CTrace::Write("Purchase() | SendPurchase() OK!");
    return runPurchaseLoop(msg, {EMsgType_TxnResponse});
}

int CECRClient::StartScenario() {
    clearCurrentMsg();
    CTransactData params = takeParameters();
    CTLVMessage msg;
    RequestBuilder(msg)
        .num(ETag_MsgType, EMsgType_ServiceRequest)
        .num(ETag_ServiceOp, EServiceOp_StartScenario)
        .text(ETag_TerminalInfo, params.m_scenarioData)
        .num(ETag_ScenarioID, params.m_scenarioID);
    int sent = sendRequest(msg);
    if (sent != ECRC_OK)
        return sent;
    return runPurchaseLoop(msg, {EMsgType_ServiceResponse});
}
