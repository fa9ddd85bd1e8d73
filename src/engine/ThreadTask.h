#pragma once

#include <cstdint>

// The worker's current task. The facade sets an operation's task, the worker
// runs it and sets the task back to idle when it ends. Values 37 and 40 are
// unassigned; the worker treats them and every value above 41 like idle.
enum EThreadTask : std::int32_t {
    EThreadTask_None = 0, // before the worker first runs; treated as idle
    EThreadTask_Idle = 1,
    EThreadTask_Exit = 2,
    EThreadTask_Ping = 3,
    EThreadTask_Init = 4,
    EThreadTask_Confirm = 5,
    EThreadTask_Cancel = 6,
    EThreadTask_Purchase = 7,
    EThreadTask_Refund = 8,
    EThreadTask_Void = 9,
    EThreadTask_Settlement = 10,
    EThreadTask_PrintBatchTotals = 11,
    EThreadTask_PurchaseService = 12,
    EThreadTask_IdentifyCard = 13,
    EThreadTask_GetTxnNum = 14,
    EThreadTask_GetTxnDataByOrder = 15,
    EThreadTask_GetTxnDataByInv = 16,
    EThreadTask_GetBatchTotals = 17,
    EThreadTask_CheckConnection = 18,
    EThreadTask_ReqCurrReceipt = 19,
    EThreadTask_PrintLastSettleCopy = 20,
    EThreadTask_PrintBatchJournal = 21,
    EThreadTask_ReqReceiptByInv = 22,
    EThreadTask_SetControlMode = 23,
    EThreadTask_ReadKey = 24,
    EThreadTask_DisplayText = 25,
    EThreadTask_ExchangeStatuses = 26,
    EThreadTask_Completion = 27,
    EThreadTask_ReadCard = 28,
    EThreadTask_Balance = 29,
    EThreadTask_Deposit = 30,
    EThreadTask_POSGetInfo = 31,
    EThreadTask_POSExTransaction = 32,
    EThreadTask_SelectApp = 33,
    EThreadTask_CloseApp = 34,
    EThreadTask_StartScenario = 35,
    EThreadTask_SendFile = 36,
    EThreadTask_CashAdvance = 38,
    EThreadTask_ReadBankCard = 39,
    EThreadTask_ReqDataFile = 41,
};
