#ifndef VELAECR_H
#define VELAECR_H

/*
 * velaecr: the C interface through which cash-register software drives a
 * bank-card payment terminal over a serial line or TCP.
 *
 * Model
 *   One library instance, made by VELALib_InitializeVELA() and freed by
 *   VELALib_UninitializeVELA(). Connect with VELALib_CommOpenTCP(),
 *   VELALib_CommOpen() or VELALib_CommOpenAuto(). Every operation call
 *   (VELALib_Purchase() and the like) returns at once: the library's worker
 *   thread talks to the terminal. Poll VELALib_LastResult() until it is no
 *   longer 2, then read VELALib_LastErrorCode() and, on failure,
 *   VELALib_LastErrorDescription(), then the result fields. While the
 *   operation runs, VELALib_LastStatMsgCode() and
 *   VELALib_LastStatMsgDescription() show the terminal's latest status
 *   message.
 *
 * Blocking
 *   Only the connection calls, VELALib_CommClose() and
 *   VELALib_UninitializeVELA() wait (for the terminal or for the worker
 *   thread). Every other function returns without waiting for the terminal.
 *
 * Return values
 *   -1   no instance (VELALib_InitializeVELA() not called), or code 1
 *    0   success (commands and text results)
 *   <0   minus a result code:
 *          1 error, refused argument    9 message corrupted
 *          2 failed to open port       10 buffer too small for the data
 *          3 failed to enumerate ports 11 device disconnected
 *          4 failed to connect         12 receive time-out
 *          5 port is not opened        13 cannot send the message
 *          6 client not initialised    14 terminal connection error
 *          7 another task is running   15 unknown error
 *          8 no data available         17 terminal does not answer
 *        A connection call or a finished operation may also report a
 *        transport code (101..116), a message code (201..207) or a
 *        link-protocol code (301..317).
 *   Byte and number results return the value itself (>= 0) on success.
 *
 * Result state
 *   Every call records its code: reading a result field successfully clears
 *   the error kind of a failed operation (VELALib_LastResult() keeps 1). So
 *   read VELALib_LastErrorCode() and VELALib_LastErrorDescription() first.
 *   VELALib_PAN(), VELALib_ResponseCode(), VELALib_LastStatMsgCode(),
 *   VELALib_LastStatMsgDescription() and VELALib_LastErrorDescription()
 *   leave the recorded state alone.
 *
 * Threads
 *   VELALib_InitializeVELA() and VELALib_UninitializeVELA() must not overlap
 *   any other call. Every other function may be called from any thread, also
 *   while an operation runs; the library serialises what the calls and the
 *   worker share. One operation runs at a time: a start while another runs
 *   is refused with -7 and the running one goes on.
 *
 * Texts
 *   Texts passed in go to the terminal unchanged (the terminal expects
 *   CP1251). Texts from the terminal are CP1251 inside the library and reach
 *   the caller as UTF-8. No buffer size is passed: a text result of value
 *   capacity C needs a caller buffer of at least 2 x C + 1 bytes (UTF-8
 *   takes up to two bytes per CP1251 letter), as each function says. A
 *   failed text result leaves the buffer as the function's note says
 *   (untouched unless a part is cleared first). When the system cannot
 *   convert CP1251 to UTF-8 (no iconv converter) a text function returns -1
 *   and leaves the buffer cleared. A null buffer gives -1.
 */

#include "velaecr_export.h"

#ifdef __cplusplus
#include <cstdbool>
extern "C" {
#else
#include <stdbool.h>
#endif

/* ---- Life cycle (must not overlap any other call) ----------------------- */

/* Creates the library instance; a second call first closes and frees the
 * earlier one. Connects nothing and starts no thread.
 * Returns 0, or 1 when no instance could be made. */
VELA_EXPORT int VELALib_InitializeVELA(void);

/* Closes the connection, stops the worker thread and frees the instance
 * with all its results. Blocks until the worker has ended.
 * Returns 0, also without an instance. */
VELA_EXPORT int VELALib_UninitializeVELA(void);

/* ---- Connection (blocking) ----------------------------------------------
 * Each connection call opens the transport, starts the worker thread and
 * waits until the terminal session is initialised. A connection call while
 * connected closes the earlier connection first. */

/* Opens the serial device port (e.g. "/dev/ttyUSB0") at baudRate (1200 to
 * 115200; 8 data bits, no parity, one stop bit).
 * Returns 0; -2 the port cannot be opened; otherwise minus the code with
 * which the initialisation ended. */
VELA_EXPORT int VELALib_CommOpen(const char* port, unsigned int baudRate);

/* Connects to the terminal at the IPv4 address (dotted text) and port (the
 * number as text, e.g. "2000"). Tries for about 3 s.
 * Returns 0; -2 no connection; -6 no transport; otherwise minus the code
 * with which the initialisation ended. */
VELA_EXPORT int VELALib_CommOpenTCP(const char* address, const char* port);

/* Tries the host's serial devices in turn (needs libudev) and keeps the
 * first that answers a ping at baudRate. Blocks for the pings.
 * Returns 0; -3 the devices cannot be listed; -2 none answered. */
VELA_EXPORT int VELALib_CommOpenAuto(unsigned int baudRate);

/* Stops the worker thread (waits for it) and closes the transport; the
 * result fields are dropped. Returns 0, also when not connected. */
VELA_EXPORT int VELALib_CommClose(void);

/* ---- Control (return at once) ------------------------------------------- */

/* Accepted for compatibility: ignores both arguments. Returns 0. */
VELA_EXPORT int VELALib_UseMac(unsigned char flag, const char* text);

/* Starts the confirmation of the last transaction (poll for its end).
 * Returns 0 started; -5 not connected; -7 another operation runs. */
VELA_EXPORT int VELALib_Confirm(void);

/* Asks the worker to abort: the running operation is cancelled on the
 * terminal and then ends with its own result; while idle an abort is sent
 * anyway and VELALib_LastResult() reads 2 until it has gone out.
 * Returns 0; -5 not connected. */
VELA_EXPORT int VELALib_Cancel(void);

/* Starts a ping of the terminal. Returns 0 started; -5; -7. */
VELA_EXPORT int VELALib_Ping(void);

/* Asks the worker to check, during the running exchange, that the terminal
 * still answers; the operation ends with 17 after about 2 s of silence.
 * Needs no connection. Returns 0. */
VELA_EXPORT int VELALib_CheckTerminal(void);

/* Language of VELALib_LastErrorDescription(): 0 English, 1 Ukrainian,
 * 2 Russian. Returns 0; -1 for another value (the language is kept). */
VELA_EXPORT int VELALib_SetErrorLang(unsigned char language);

/* Log file: level 0 off, 1 calls and errors, 2 also the result reads (the
 * characters '1' and '2' are accepted too); path of the file (appended,
 * rotated at 1 MiB). Returns 0; -1 for a null path or a file that cannot
 * be set up. */
VELA_EXPORT int VELALib_useLogging(unsigned char level, const char* path);

/* ---- Operations (return at once) ----------------------------------------
 * Each checks the connection and the worker and starts the operation:
 *   0  started: poll VELALib_LastResult() until it is no longer 2;
 *  -5  no open and initialised connection (nothing is started);
 *  -7  another operation runs (nothing is stored; it goes on);
 *  -1  a refused null text, where the function says so.
 * Amounts are in minor units (12550 = 125.50). merchIdx selects the
 * merchant (0 the default). Numbers are not range-checked. */

/* Purchase of amount with the additional amount addAmount. */
VELA_EXPORT int VELALib_Purchase(unsigned int amount, unsigned int addAmount,
                                 unsigned char merchIdx);
/* Refund of an earlier purchase identified by its RRN (at most 1023
 * characters are used). A null rrn gives -1. */
VELA_EXPORT int VELALib_Refund(unsigned int amount, unsigned int addAmount, unsigned char merchIdx,
                               char* rrn);
/* Void of the transaction with invoice number invoiceNum. */
VELA_EXPORT int VELALib_Void(unsigned int invoiceNum, unsigned char merchIdx);
/* Settlement (closing the day) of the merchant. */
VELA_EXPORT int VELALib_Settlement(unsigned char merchIdx);
/* Prints the batch totals on the terminal and returns them. */
VELA_EXPORT int VELALib_PrintBatchTotals(unsigned char merchIdx);
/* Purchase of a service described by serviceParams. A null text gives -1. */
VELA_EXPORT int VELALib_PurchaseService(unsigned char merchIdx, unsigned int amount,
                                        char* serviceParams);
/* Card identification in the currency currCode (three characters, e.g.
 * "980"; longer texts are cut to three) for account accNumber. A null
 * currCode gives -1. */
VELA_EXPORT int VELALib_IdentifyCard(unsigned char merchIdx, char* currCode,
                                     unsigned char accNumber);
/* Asks for the number of transactions in the batch (VELALib_TxnNum()). */
VELA_EXPORT int VELALib_GetTxnNum(void);
/* Transaction data by its order number in the batch (0: none sent). */
VELA_EXPORT int VELALib_GetTxnDataByOrder(unsigned int orderNum);
/* Transaction data by invoice number (0: none sent). */
VELA_EXPORT int VELALib_GetTxnDataByInv(unsigned int invoiceNum, unsigned char merchIdx);
/* Batch totals without printing (VELALib_TotalsDebitAmt() and the like). */
VELA_EXPORT int VELALib_GetBatchTotals(unsigned char merchIdx);
/* Checks the terminal's connection to the bank. */
VELA_EXPORT int VELALib_CheckConnection(unsigned char merchIdx);
/* Fetches the current receipt (VELALib_Receipt()). */
VELA_EXPORT int VELALib_ReqCurrReceipt(void);
/* Prints a copy of the last settlement. */
VELA_EXPORT int VELALib_PrintLastSettleCopy(unsigned char merchIdx);
/* Prints the batch journal. */
VELA_EXPORT int VELALib_PrintBatchJournal(unsigned char merchIdx);
/* The receipt of the transaction with invoice number invoiceNum. */
VELA_EXPORT int VELALib_ReqReceiptByInv(unsigned int invoiceNum, unsigned char merchIdx);
/* Switches the terminal's control mode (true: the cash register controls
 * screen and keypad). */
VELA_EXPORT int VELALib_SetControlMode(bool mode);
/* Waits up to timeOut seconds for a key on the terminal (VELALib_Key()). */
VELA_EXPORT int VELALib_ReadKey(unsigned char timeOut);
/* Shows the screen built with VELALib_SetLine() (with the screen number of
 * VELALib_SetScreen()); beep non-zero sounds the beeper. The next
 * VELALib_SetLine() starts a new screen, also after a -7. */
VELA_EXPORT int VELALib_DisplayText(unsigned char beep);
/* Adds a line to the screen for VELALib_DisplayText(): at row and col, text
 * (null: empty), invert non-zero for inverted text. Starts no operation.
 * The screen holds 239 bytes, 4 per line plus its text; a line that does
 * not fit is left out whole, and 0 is still returned. */
VELA_EXPORT int VELALib_SetLine(unsigned char row, unsigned char col, const char* text,
                                unsigned char invert);
/* Exchanges statuses: sends the cash register's status ecrStatus and
 * returns the terminal's (VELALib_TermStatus()). */
VELA_EXPORT int VELALib_ExchangeStatuses(unsigned char ecrStatus);
/* Completion of a pre-authorisation with the final amount; rrn (null:
 * empty, at most 1023 characters used) and invoiceNum identify it. */
VELA_EXPORT int VELALib_Completion(unsigned char merchIdx, unsigned int amount, const char* rrn,
                                   unsigned int invoiceNum);
/* Reads a card (any card) on the terminal. */
VELA_EXPORT int VELALib_ReadCard(void);
/* Balance enquiry in currCode (three characters; null: none) for account
 * accNumber. */
VELA_EXPORT int VELALib_Balance(unsigned char merchIdx, const char* currCode,
                                unsigned char accNumber);
/* Deposit of amount in currCode (three characters; null: none). */
VELA_EXPORT int VELALib_Deposit(unsigned char merchIdx, unsigned int amount, const char* currCode,
                                unsigned char accNumber);
/* Terminal information (VELALib_TerminalInfo()). */
VELA_EXPORT int VELALib_POSGetInfo(void);
/* The terminal's extended transaction service operation. */
VELA_EXPORT int VELALib_POSExTransaction(void);
/* Selects the terminal application appName with index appIdx. A null
 * appName gives -1. */
VELA_EXPORT int VELALib_SelectApp(const char* appName, unsigned int appIdx);
/* Closes the selected terminal application. */
VELA_EXPORT int VELALib_CloseApp(void);
/* Starts scenario scenarioID with scenarioData on the terminal; during it
 * VELALib_CorrectTransaction() may change the amounts. A null scenarioData
 * gives -1. */
VELA_EXPORT int VELALib_StartScenario(unsigned int scenarioID, const char* scenarioData);
/* Text printed with every later transaction (not card identification)
 * until replaced; null or "" stops it. Starts nothing and may be called
 * while an operation runs (it goes with the next request).
 * Returns 0; -5 not connected. */
VELA_EXPORT int VELALib_SetExtraPrintData(const char* data);
/* XML data sent like VELALib_SetExtraPrintData(), with the same rules. */
VELA_EXPORT int VELALib_SetExtraXmlData(const char* data);
/* Sends the file at path (smaller than 2 MiB) to the terminal with its data
 * type (2: a bitmap image) and command. The file is read when it is sent;
 * an unreadable file ends the operation with 15. A null path gives -1. */
VELA_EXPORT int VELALib_SendFile(const char* path, unsigned char dataType, unsigned char command);
/* Screen number for every later VELALib_DisplayText(). Starts nothing.
 * Returns 0; -5; -7 (the number is kept). */
VELA_EXPORT int VELALib_SetScreen(unsigned int screenNumber);
/* Corrects the amounts of the running purchase or scenario; the worker
 * sends the correction at its next chance. Needs no connection and leaves
 * the result state alone. Returns 0. */
VELA_EXPORT int VELALib_CorrectTransaction(unsigned int amount, unsigned int addAmount);
/* Cash advance of amount in currCode (three characters; null: none). */
VELA_EXPORT int VELALib_CashAdvance(unsigned char merchIdx, unsigned int amount,
                                    const char* currCode, unsigned char accNumber);
/* Reads a bank card on the terminal. */
VELA_EXPORT int VELALib_ReadBankCard(void);
/* Fetches a data file from the terminal (VELALib_DataFile(),
 * VELALib_DataFileBinary()). */
VELA_EXPORT int VELALib_ReqDataFile(void);

/* ---- Byte results: the value 0..255, or minus a code --------------------
 * -8: the field is not in the last message; -9: the terminal sent it in a
 * wrong size. Return at once. */

/* 0 the last operation succeeded (or none ran), 1 it failed, 2 running. */
VELA_EXPORT int VELALib_LastResult(void);
/* Kind of the last error: 0 none, 1 the port failed to open, 2 no open and
 * initialised connection, 3 a library or connection failure, 4 another code
 * (a refusal, a terminal's decline: read VELALib_LastErrorDescription()). */
VELA_EXPORT int VELALib_LastErrorCode(void);
/* Transaction type reported by the terminal. */
VELA_EXPORT int VELALib_TxnType(void);
/* Code of the terminal's latest status message (also while running). */
VELA_EXPORT int VELALib_LastStatMsgCode(void);
/* Signature-verification flag. */
VELA_EXPORT int VELALib_SignVerif(void);
/* Card entry mode. */
VELA_EXPORT int VELALib_EntryMode(void);
/* The terminal's status (after VELALib_ExchangeStatuses()). */
VELA_EXPORT int VELALib_TermStatus(void);
/* Key pressed on the terminal (after VELALib_ReadKey()). */
VELA_EXPORT int VELALib_Key(void);
/* Transaction status. */
VELA_EXPORT int VELALib_TrnStatus(void);
/* Whether the terminal printed the slip. */
VELA_EXPORT int VELALib_SlipPrinted(void);

/* ---- Number results: the unsigned value as int, or minus a code --------
 * Values of 2147483648 and more come back negative (indistinguishable from
 * a failure). -8: no such field; -9: wrong size. Return at once. */

/* The terminal's response code (0 approved); after VELALib_Confirm() the
 * code the confirmation ended with. */
VELA_EXPORT int VELALib_ResponseCode(void);
/* Invoice number of the transaction. */
VELA_EXPORT int VELALib_InvoiceNum(void);
/* Batch totals: debit amount, debit count, credit amount, credit count,
 * cancelled amount, cancelled count. */
VELA_EXPORT int VELALib_TotalsDebitAmt(void);
VELA_EXPORT int VELALib_TotalsDebitNum(void);
VELA_EXPORT int VELALib_TotalsCreditAmt(void);
VELA_EXPORT int VELALib_TotalsCreditNum(void);
VELA_EXPORT int VELALib_TotalsCancelledAmt(void);
VELA_EXPORT int VELALib_TotalsCancelledNum(void);
/* Number of transactions (after VELALib_GetTxnNum()). */
VELA_EXPORT int VELALib_TxnNum(void);
/* Amount and additional amount of the transaction, in minor units. */
VELA_EXPORT int VELALib_Amount(void);
VELA_EXPORT int VELALib_AddAmount(void);
/* Batch number. */
VELA_EXPORT int VELALib_TrnBatchNum(void);
/* Discount attribute. */
VELA_EXPORT int VELALib_DiscountAttribute(void);
/* Acquirer flag. */
VELA_EXPORT int VELALib_FlagAcquirer(void);

/* ---- Text results: 0 and a UTF-8 text in buffer, or minus a code --------
 * The value capacity C and the least buffer size are given per group.
 * -8: no such field; -10: the terminal's value is longer than C. On failure
 * the buffer is left as the group's note says. Return at once. */

/* C = 128: buffer of at least 257 bytes; untouched on failure unless noted. */
/* Date and time of the transaction: twelve digits, YYMMDDhhmmss. */
VELA_EXPORT int VELALib_DateTime(char* buffer);
/* Retrieval reference number. */
VELA_EXPORT int VELALib_RRN(char* buffer);
/* Terminal identifier. */
VELA_EXPORT int VELALib_TerminalID(char* buffer);
/* Merchant identifier. */
VELA_EXPORT int VELALib_MerchantID(char* buffer);
/* Authorisation code. */
VELA_EXPORT int VELALib_AuthCode(char* buffer);
/* What went wrong: the terminal's own text when it declined; for a
 * connection failure a fixed text in the language of
 * VELALib_SetErrorLang(); -8 when there is neither (e.g. after success). */
VELA_EXPORT int VELALib_LastErrorDescription(char* buffer);
/* Text of the terminal's latest status message (also while running). */
VELA_EXPORT int VELALib_LastStatMsgDescription(char* buffer);
/* Card number as the terminal sends it (usually masked). The first 20
 * bytes of buffer are cleared first, also on failure. */
VELA_EXPORT int VELALib_PAN(char* buffer);
/* Card expiry date: four digits, YYMM. The first 5 bytes of buffer are
 * cleared first, also on failure. */
VELA_EXPORT int VELALib_ExpDate(char* buffer);
/* Card holder name. */
VELA_EXPORT int VELALib_CardHolder(char* buffer);
/* Card issuer name. */
VELA_EXPORT int VELALib_IssueName(char* buffer);
/* EMV application identifier. */
VELA_EXPORT int VELALib_emvAID(char* buffer);
/* Track 3 data. */
VELA_EXPORT int VELALib_Track3(char* buffer);
/* Currency. */
VELA_EXPORT int VELALib_Currency(char* buffer);
/* Text the terminal returns as RNK. */
VELA_EXPORT int VELALib_RNK(char* buffer);
/* Currency code. */
VELA_EXPORT int VELALib_CurrencyCode(char* buffer);
/* Discount name. */
VELA_EXPORT int VELALib_DiscountName(char* buffer);
/* Text the terminal returns as ECRDataTM. */
VELA_EXPORT int VELALib_ECRDataTM(char* buffer);
/* The library version, "1.5.20". */
VELA_EXPORT int VELALib_LibraryVersion(char* buffer);
/* Hash of the card number. */
VELA_EXPORT int VELALib_PanHash(char* buffer);

/* C = 4096: buffer of at least 8193 bytes, the first 4096 cleared first.
 * The receipt text, lines separated as the terminal sends them. */
VELA_EXPORT int VELALib_Receipt(char* buffer);
/* C = 999: buffer of at least 1999 bytes, the first 999 cleared first. */
/* Additional data. */
VELA_EXPORT int VELALib_AddData(char* buffer);
/* C = 1200: buffer of at least 2401 bytes, the first 1200 cleared first.
 * Terminal information (after VELALib_POSGetInfo()). */
VELA_EXPORT int VELALib_TerminalInfo(char* buffer);
/* C = 999: buffer of at least 1999 bytes, the first 999 cleared first.
 * Scenario data returned by the terminal. */
VELA_EXPORT int VELALib_ScenarioData(char* buffer);
/* C = 999: buffer of at least 1999 bytes, the first 999 cleared first.
 * Enciphered card data, as the terminal sends it. */
VELA_EXPORT int VELALib_CryptedData(char* buffer);
/* C = 300: buffer of at least 601 bytes, the first 300 cleared first.
 * Extra card data. */
VELA_EXPORT int VELALib_ExtraCardData(char* buffer);
/* C = 204800: buffer of at least 409601 bytes, the first 204800 cleared
 * first. The fetched data file as text (after VELALib_ReqDataFile()). */
VELA_EXPORT int VELALib_DataFile(char* buffer);

/* ---- Binary result ------------------------------------------------------ */

/* The fetched data file as raw bytes (no conversion, no terminator):
 * buffer must hold 204800 bytes; *length receives the byte count. Returns
 * 0; -8 no data file; -1 for a null pointer; on failure *length is left
 * unchanged. Returns at once. */
VELA_EXPORT int VELALib_DataFileBinary(char* buffer, int* length);

/* ---- Text conversion ---------------------------------------------------- */

/* Converts the NUL-terminated CP1251 text source into UTF-8 in target (the
 * name is historical). Offers 2 x strlen(source) bytes of room and writes no
 * terminator: clear target first. Does nothing when either pointer is null.
 * Safe from any thread. */
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
