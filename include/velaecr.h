#ifndef VELAECR_H
#define VELAECR_H

/*
 * velaecr: the C interface through which cash-register software drives a
 * bank-card payment terminal over a serial line or TCP.
 *
 * Model
 *   One library instance, made by VELALib_InitializeVELA() and freed by
 *   VELALib_UninitializeVELA(). Every operation call returns at once: the
 *   work runs on the library's worker thread. Poll VELALib_LastResult()
 *   until it is no longer 2, then read VELALib_LastErrorCode() (and on
 *   failure VELALib_LastErrorDescription()), then the result fields.
 *   Only the connection calls, VELALib_CommClose() and
 *   VELALib_UninitializeVELA() block.
 *
 * Return values
 *   -1   no instance (VELALib_InitializeVELA() not called), or code 1
 *    0   success (commands and text results)
 *   <0   minus a result code:
 *          1 error                      9 message corrupted
 *          2 failed to open port       10 buffer too small for the data
 *          3 failed to enumerate ports 11 device disconnected
 *          4 failed to connect         12 receive time-out
 *          5 port is not opened        13 cannot send the message
 *          6 client not initialised    14 terminal connection error
 *          7 another task is running   15 unknown error
 *          8 no data available         17 terminal does not answer
 *
 * Threads
 *   VELALib_InitializeVELA() and VELALib_UninitializeVELA() must not overlap
 *   any other call. Every other function may be called from any thread, also
 *   while an operation runs.
 *
 * Texts
 *   Terminal texts are CP1251 inside the library and reach the caller as
 *   UTF-8. Text results are written into the caller's buffer, which must hold
 *   2 x C + 1 bytes for a value of C bytes (see each function): 257 bytes for
 *   the 128-byte family, 8193 for the receipt, 1999 for the 999-byte family,
 *   2401 for the terminal information, 601 for the extra card data and 409601
 *   for the data file. No buffer size is passed; the library trusts these.
 *   When the system cannot convert CP1251 to UTF-8 (no iconv converter), a
 *   text function returns -1 and leaves the caller's buffer cleared (empty
 *   and terminated). A null buffer gives -1 and nothing is asked.
 */

#include "velaecr_export.h"

#ifdef __cplusplus
#include <cstdbool>
extern "C" {
#else
#include <stdbool.h>
#endif

/* ---- Life cycle --------------------------------------------------------- */

/* Creates the library instance (a second call first closes and frees the
 * earlier one). Returns 0, or 1 when no instance could be made. */
VELA_EXPORT int VELALib_InitializeVELA(void);
/* Closes the connection, stops the worker thread and frees the instance.
 * Blocks until the worker has ended. Returns 0, also without an instance. */
VELA_EXPORT int VELALib_UninitializeVELA(void);

/* ---- Connection and control (blocking where said) ----------------------- */

/* Opens the serial port (e.g. "/dev/ttyUSB0") at the line speed (1200..115200)
 * and initialises the terminal session. Blocks. 0, or -2 port not opened,
 * or the initialisation's code negated. */
VELA_EXPORT int VELALib_CommOpen(const char* port, unsigned int baudRate);
/* Connects over TCP to the terminal's IPv4 address and port (as text) and
 * initialises the session. Blocks (connect budget about 3 s). 0, -2, -6. */
VELA_EXPORT int VELALib_CommOpenTCP(const char* address, const char* port);
/* Tries every serial port of the host (needs libudev) with a ping and keeps
 * the first that answers. Blocks. 0, -3 enumeration failed, -2 none answered. */
VELA_EXPORT int VELALib_CommOpenAuto(unsigned int baudRate);
/* Stops the worker and closes the connection. Blocks until the worker ends.
 * Always 0. */
VELA_EXPORT int VELALib_CommClose(void);
/* Accepted for compatibility; ignores its arguments. Returns 0. */
VELA_EXPORT int VELALib_UseMac(unsigned char flag, const char* text);
/* Starts the confirmation of the last transaction. 0, -5, -7. */
VELA_EXPORT int VELALib_Confirm(void);
/* Asks the terminal to abort the running operation (or sends an abort while
 * idle). Does not wait. 0, -5. */
VELA_EXPORT int VELALib_Cancel(void);
/* Starts a ping of the terminal. 0, -5, -7. */
VELA_EXPORT int VELALib_Ping(void);
/* Asks the worker to check during the running exchange that the terminal
 * still answers (it ends with 17 after about 2 s of silence). Always 0. */
VELA_EXPORT int VELALib_CheckTerminal(void);
/* Language of error descriptions: 0 English, 1 Ukrainian, 2 Russian.
 * 0, or -1 for another value (language unchanged). */
VELA_EXPORT int VELALib_SetErrorLang(unsigned char language);
/* Log level 0 off, 1 short, 2 detailed (the characters '1' and '2' too) into
 * the file at path (appended, rotated at 1 MiB). 0, or -1 for a null path or
 * when the file cannot be set up. */
VELA_EXPORT int VELALib_useLogging(unsigned char level, const char* path);

/* ---- Operations ----------------------------------------------------------
 * Each returns at once: 0 when the operation was started, -5 without an open
 * and initialised connection, -7 while another operation runs, -1 for a
 * refused argument. Then poll VELALib_LastResult(). Amounts are in minor
 * units. Texts are passed to the terminal unchanged (CP1251 expected). */

VELA_EXPORT int VELALib_Purchase(unsigned int amount, unsigned int addAmount,
                                 unsigned char merchIdx);
VELA_EXPORT int VELALib_Refund(unsigned int amount, unsigned int addAmount, unsigned char merchIdx,
                               char* rrn);
VELA_EXPORT int VELALib_Void(unsigned int invoiceNum, unsigned char merchIdx);
VELA_EXPORT int VELALib_Settlement(unsigned char merchIdx);
VELA_EXPORT int VELALib_PrintBatchTotals(unsigned char merchIdx);
VELA_EXPORT int VELALib_PurchaseService(unsigned char merchIdx, unsigned int amount,
                                        char* serviceParams);
VELA_EXPORT int VELALib_IdentifyCard(unsigned char merchIdx, char* currCode,
                                     unsigned char accNumber);
VELA_EXPORT int VELALib_GetTxnNum(void);
VELA_EXPORT int VELALib_GetTxnDataByOrder(unsigned int orderNum);
VELA_EXPORT int VELALib_GetTxnDataByInv(unsigned int invoiceNum, unsigned char merchIdx);
VELA_EXPORT int VELALib_GetBatchTotals(unsigned char merchIdx);
VELA_EXPORT int VELALib_CheckConnection(unsigned char merchIdx);
VELA_EXPORT int VELALib_ReqCurrReceipt(void);
VELA_EXPORT int VELALib_PrintLastSettleCopy(unsigned char merchIdx);
VELA_EXPORT int VELALib_PrintBatchJournal(unsigned char merchIdx);
VELA_EXPORT int VELALib_ReqReceiptByInv(unsigned int invoiceNum, unsigned char merchIdx);
VELA_EXPORT int VELALib_SetControlMode(bool mode);
VELA_EXPORT int VELALib_ReadKey(unsigned char timeOut);
VELA_EXPORT int VELALib_DisplayText(unsigned char beep);
VELA_EXPORT int VELALib_SetLine(unsigned char row, unsigned char col, const char* text,
                                unsigned char invert);
VELA_EXPORT int VELALib_ExchangeStatuses(unsigned char ecrStatus);
VELA_EXPORT int VELALib_Completion(unsigned char merchIdx, unsigned int amount, const char* rrn,
                                   unsigned int invoiceNum);
VELA_EXPORT int VELALib_ReadCard(void);
VELA_EXPORT int VELALib_Balance(unsigned char merchIdx, const char* currCode,
                                unsigned char accNumber);
VELA_EXPORT int VELALib_Deposit(unsigned char merchIdx, unsigned int amount, const char* currCode,
                                unsigned char accNumber);
VELA_EXPORT int VELALib_POSGetInfo(void);
VELA_EXPORT int VELALib_POSExTransaction(void);
VELA_EXPORT int VELALib_SelectApp(const char* appName, unsigned int appIdx);
VELA_EXPORT int VELALib_CloseApp(void);
VELA_EXPORT int VELALib_StartScenario(unsigned int scenarioID, const char* scenarioData);
VELA_EXPORT int VELALib_SetExtraPrintData(const char* data);
VELA_EXPORT int VELALib_SetExtraXmlData(const char* data);
VELA_EXPORT int VELALib_SendFile(const char* path, unsigned char dataType, unsigned char command);
VELA_EXPORT int VELALib_SetScreen(unsigned int screenNumber);
VELA_EXPORT int VELALib_CorrectTransaction(unsigned int amount, unsigned int addAmount);
VELA_EXPORT int VELALib_CashAdvance(unsigned char merchIdx, unsigned int amount,
                                    const char* currCode, unsigned char accNumber);
VELA_EXPORT int VELALib_ReadBankCard(void);
VELA_EXPORT int VELALib_ReqDataFile(void);

/* ---- Byte results: the value 0..255, or minus a code -------------------- */

/* 0 the last operation succeeded (or none ran), 1 it failed, 2 running. */
VELA_EXPORT int VELALib_LastResult(void);
/* Kind of the last error: 0 none, 1 port failed to open, 2 no open and
 * initialised connection, 3 library or connection failure, 4 other code. */
VELA_EXPORT int VELALib_LastErrorCode(void);
VELA_EXPORT int VELALib_TxnType(void);
VELA_EXPORT int VELALib_LastStatMsgCode(void);
VELA_EXPORT int VELALib_SignVerif(void);
VELA_EXPORT int VELALib_EntryMode(void);
VELA_EXPORT int VELALib_TermStatus(void);
VELA_EXPORT int VELALib_Key(void);
VELA_EXPORT int VELALib_TrnStatus(void);
VELA_EXPORT int VELALib_SlipPrinted(void);

/* ---- Number results: the unsigned value as int, or minus a code --------
 * Values of 2147483648 and more come back negative. -8: no such field. */

VELA_EXPORT int VELALib_ResponseCode(void);
VELA_EXPORT int VELALib_InvoiceNum(void);
VELA_EXPORT int VELALib_TotalsDebitAmt(void);
VELA_EXPORT int VELALib_TotalsDebitNum(void);
VELA_EXPORT int VELALib_TotalsCreditAmt(void);
VELA_EXPORT int VELALib_TotalsCreditNum(void);
VELA_EXPORT int VELALib_TotalsCancelledAmt(void);
VELA_EXPORT int VELALib_TotalsCancelledNum(void);
VELA_EXPORT int VELALib_TxnNum(void);
VELA_EXPORT int VELALib_Amount(void);
VELA_EXPORT int VELALib_AddAmount(void);
VELA_EXPORT int VELALib_TrnBatchNum(void);
VELA_EXPORT int VELALib_DiscountAttribute(void);
VELA_EXPORT int VELALib_FlagAcquirer(void);

/* ---- Text results: 0 and UTF-8 text in buffer, or minus a code ----------
 * Value capacity C in bytes; the buffer must hold 2 x C + 1 bytes. */

/* C = 128 (buffer of at least 257 bytes). */
VELA_EXPORT int VELALib_DateTime(char* buffer);
VELA_EXPORT int VELALib_RRN(char* buffer);
VELA_EXPORT int VELALib_TerminalID(char* buffer);
VELA_EXPORT int VELALib_MerchantID(char* buffer);
VELA_EXPORT int VELALib_AuthCode(char* buffer);
VELA_EXPORT int VELALib_LastErrorDescription(char* buffer);
VELA_EXPORT int VELALib_LastStatMsgDescription(char* buffer);
/* Clears the first 20 bytes of buffer first. */
VELA_EXPORT int VELALib_PAN(char* buffer);
/* Clears the first 5 bytes of buffer first. */
VELA_EXPORT int VELALib_ExpDate(char* buffer);
VELA_EXPORT int VELALib_CardHolder(char* buffer);
VELA_EXPORT int VELALib_IssueName(char* buffer);
VELA_EXPORT int VELALib_emvAID(char* buffer);
VELA_EXPORT int VELALib_Track3(char* buffer);
VELA_EXPORT int VELALib_Currency(char* buffer);
VELA_EXPORT int VELALib_RNK(char* buffer);
VELA_EXPORT int VELALib_CurrencyCode(char* buffer);
VELA_EXPORT int VELALib_DiscountName(char* buffer);
VELA_EXPORT int VELALib_ECRDataTM(char* buffer);
/* Writes "1.5.20". */
VELA_EXPORT int VELALib_LibraryVersion(char* buffer);
VELA_EXPORT int VELALib_PanHash(char* buffer);
/* C = 4096 (buffer of at least 8193 bytes, the first 4096 cleared first). */
VELA_EXPORT int VELALib_Receipt(char* buffer);
/* C = 999 (buffer of at least 1999 bytes, the first 999 cleared first). */
VELA_EXPORT int VELALib_AddData(char* buffer);
/* C = 1200 (buffer of at least 2401 bytes, the first 1200 cleared first). */
VELA_EXPORT int VELALib_TerminalInfo(char* buffer);
/* C = 999 (buffer of at least 1999 bytes, the first 999 cleared first). */
VELA_EXPORT int VELALib_ScenarioData(char* buffer);
/* C = 999 (buffer of at least 1999 bytes, the first 999 cleared first). */
VELA_EXPORT int VELALib_CryptedData(char* buffer);
/* C = 300 (buffer of at least 601 bytes, the first 300 cleared first). */
VELA_EXPORT int VELALib_ExtraCardData(char* buffer);
/* C = 204800 (buffer of at least 409601 bytes, the first 204800 cleared). */
VELA_EXPORT int VELALib_DataFile(char* buffer);

/* ---- Binary result ------------------------------------------------------ */

/* Copies the fetched data file (at most 204800 bytes, unconverted) into
 * buffer and its length into *length. On failure returns minus the code and
 * leaves *length unchanged; -1 for a null pointer. */
VELA_EXPORT int VELALib_DataFileBinary(char* buffer, int* length);

/* ---- Text conversion ---------------------------------------------------- */

/* Converts the NUL-terminated CP1251 text source into UTF-8 in target (the
 * name is historical). Offers 2 x strlen(source) bytes of room and writes no
 * terminator: clear target first. Does nothing when either pointer is null. */
VELA_EXPORT void Utf8ToCp1251(char* source, char* target);

/* ---- Exported variables ------------------------------------------------- */

/* The library instance: null until initialised (opaque to C callers). */
#ifdef __cplusplus
}
class CVELAClient;
extern "C" {
VELA_EXPORT extern CVELAClient* glVELALib;
#else
VELA_EXPORT extern void* glVELALib;
#endif
/* Reserved; never read or written by the library. */
VELA_EXPORT extern void* creatVELAInstance;
VELA_EXPORT extern void* destroyVELAInstance;

#ifdef __cplusplus
}
#endif

#endif
