// The native methods of the Java class ua.vela.ecr.VELALib: thin adapters
// over this library's one client instance. Unlike the C functions they return
// the client's codes as they are (1 without an instance), hand texts out as
// Java strings and take Java strings as CP1251 text.
#include "ua_vela_ecr_VELALib.h"

#include "api/java/JavaText.h"
#include "client/TextConversion.h"
#include "velaecr.h"
#include "velaecr_client.h"

#include <cstring>
#include <vector>

CVELAClient* glVELALib = nullptr;
void* creatVELAInstance = nullptr;
void* destroyVELAInstance = nullptr;

#define VELA_JNI(result, name) extern "C" JNIEXPORT result JNICALL Java_ua_vela_ecr_VELALib_##name

namespace {

// ECRC_ERROR: no instance, a null text argument, or a failure inside the
// adapter itself.
const jint kFailed = 1;

const int kShortText = 128;
const int kReceipt = 4096;
const int kLongText = 999;
const int kTerminalInfo = 1200;
const int kExtraCardData = 300;
const int kDataFile = 204800;

unsigned char lowByte(jint value) {
    return static_cast<unsigned char>(value & 0xFF);
}
unsigned int asUnsigned(jint value) {
    return static_cast<unsigned int>(value);
}

template <typename Call> jint command(Call call) {
    CVELAClient* client = glVELALib;
    if (client == nullptr)
        return kFailed;
    try {
        return call(*client);
    } catch (...) {
        return kFailed;
    }
}

// A command with one text argument: the client never sees a null text.
template <typename Call> jint commandWithText(JNIEnv* env, jstring text, Call call) {
    return command([&](CVELAClient& client) {
        JavaText cp1251(env, text);
        return cp1251.valid() ? call(client, cp1251.data()) : kFailed;
    });
}

jint byteResult(int (CVELAClient::*getter)(unsigned char&)) {
    return command([getter](CVELAClient& client) {
        unsigned char value = 0;
        int rc = (client.*getter)(value);
        return rc != 0 ? rc : static_cast<jint>(value);
    });
}

// Values of 2^31 and more come back negative: Java has no unsigned int.
jint numberResult(int (CVELAClient::*getter)(unsigned int&)) {
    return command([getter](CVELAClient& client) {
        unsigned int value = 0;
        int rc = (client.*getter)(value);
        return rc != 0 ? rc : static_cast<jint>(value);
    });
}

// Asks the client for a CP1251 text of at most `capacity` bytes and hands it
// out as a Java string; null on any failure. The buffers live on the heap:
// the data file's would not fit a Java thread's stack.
jstring textResult(JNIEnv* env, int (CVELAClient::*getter)(char*, int), int capacity) {
    CVELAClient* client = glVELALib;
    if (client == nullptr)
        return nullptr;
    try {
        std::vector<char> value(capacity + 1, '\0');
        if ((client->*getter)(value.data(), capacity) != 0)
            return nullptr;
        std::size_t length = std::strlen(value.data());
        // A CP1251 character takes at most three UTF-8 bytes (e.g. the
        // numero sign), so the whole text always fits.
        std::vector<char> utf8(3 * length + 1, '\0');
        if (!cp1251ToUtf8(value.data(), length, utf8.data(), 3 * length))
            return nullptr;
        return env->NewStringUTF(utf8.data());
    } catch (...) {
        return nullptr;
    }
}

jbyteArray binaryResult(JNIEnv* env) {
    CVELAClient* client = glVELALib;
    if (client == nullptr)
        return nullptr;
    try {
        std::vector<char> data(kDataFile + 1, '\0');
        int count = 0;
        if (client->get_DataFileBinary(data.data(), count, kDataFile) != 0)
            return nullptr;
        if (count < 0 || count > kDataFile)
            return nullptr;
        jbyteArray array = env->NewByteArray(count);
        if (array == nullptr)
            return nullptr;
        env->SetByteArrayRegion(array, 0, count, reinterpret_cast<const jbyte*>(data.data()));
        return array;
    } catch (...) {
        return nullptr;
    }
}

} // namespace

// ---- Life cycle -------------------------------------------------------------

// A second call closes and frees the earlier instance before making a new one.
VELA_JNI(jint, InitializeVELA)(JNIEnv*, jclass) {
    CVELAClient* earlier = glVELALib;
    glVELALib = nullptr;
    destroy(earlier);
    try {
        glVELALib = create();
    } catch (...) {
        glVELALib = nullptr;
    }
    return glVELALib != nullptr ? 0 : kFailed;
}

VELA_JNI(jint, UninitializeVELA)(JNIEnv*, jclass) {
    CVELAClient* instance = glVELALib;
    glVELALib = nullptr;
    destroy(instance);
    return 0;
}

// ---- Connection and control -------------------------------------------------

VELA_JNI(jint, CommOpen)(JNIEnv* env, jclass, jstring port, jint baudRate) {
    return commandWithText(env, port, [&](CVELAClient& c, char* text) {
        return c.CommOpen(text, asUnsigned(baudRate));
    });
}

VELA_JNI(jint, CommOpenTCP)(JNIEnv* env, jclass, jstring address, jstring port) {
    return command([&](CVELAClient& c) {
        JavaText addressText(env, address);
        JavaText portText(env, port);
        if (!addressText.valid() || !portText.valid())
            return kFailed;
        return c.CommOpenTCP(addressText.data(), portText.data());
    });
}

VELA_JNI(jint, CommOpenAuto)(JNIEnv*, jclass, jint baudRate) {
    return command([&](CVELAClient& c) { return c.CommOpenAuto(asUnsigned(baudRate)); });
}

VELA_JNI(jint, CommClose)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.CommClose(); });
}

VELA_JNI(jint, UseMac)(JNIEnv* env, jclass, jint flag, jstring text) {
    return commandWithText(
        env, text, [&](CVELAClient& c, char* cp1251) { return c.UseMac(lowByte(flag), cp1251); });
}

VELA_JNI(jint, Confirm)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.Confirm(); });
}

VELA_JNI(jint, Cancel)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.Cancel(); });
}

VELA_JNI(jint, Ping)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.Ping(); });
}

VELA_JNI(jint, CheckTerminal)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.CheckTerminal(); });
}

VELA_JNI(jint, SetErrorLang)(JNIEnv*, jclass, jint language) {
    return command([&](CVELAClient& c) { return c.SetErrorLang(lowByte(language)); });
}

VELA_JNI(jint, useLogging)(JNIEnv* env, jclass, jint level, jstring path) {
    return commandWithText(
        env, path, [&](CVELAClient& c, char* text) { return c.useLogging(lowByte(level), text); });
}

// ---- Operations -------------------------------------------------------------

VELA_JNI(jint, Purchase)(JNIEnv*, jclass, jint amount, jint addAmount, jint merchIdx) {
    return command([&](CVELAClient& c) {
        return c.Purchase(asUnsigned(amount), asUnsigned(addAmount), lowByte(merchIdx));
    });
}

VELA_JNI(jint, Refund)
(JNIEnv* env, jclass, jint amount, jint addAmount, jint merchIdx, jstring rrn) {
    return commandWithText(env, rrn, [&](CVELAClient& c, char* text) {
        return c.Refund(asUnsigned(amount), asUnsigned(addAmount), lowByte(merchIdx), text);
    });
}

VELA_JNI(jint, Void)(JNIEnv*, jclass, jint invoiceNum, jint merchIdx) {
    return command(
        [&](CVELAClient& c) { return c.Void(asUnsigned(invoiceNum), lowByte(merchIdx)); });
}

VELA_JNI(jint, Settlement)(JNIEnv*, jclass, jint merchIdx) {
    return command([&](CVELAClient& c) { return c.Settlement(lowByte(merchIdx)); });
}

VELA_JNI(jint, PrintBatchTotals)(JNIEnv*, jclass, jint merchIdx) {
    return command([&](CVELAClient& c) { return c.PrintBatchTotals(lowByte(merchIdx)); });
}

VELA_JNI(jint, PurchaseService)
(JNIEnv* env, jclass, jint merchIdx, jint amount, jstring serviceParams) {
    return commandWithText(env, serviceParams, [&](CVELAClient& c, char* text) {
        return c.PurchaseService(lowByte(merchIdx), asUnsigned(amount), text);
    });
}

VELA_JNI(jint, IdentifyCard)
(JNIEnv* env, jclass, jint merchIdx, jstring currCode, jint accNumber) {
    return commandWithText(env, currCode, [&](CVELAClient& c, char* text) {
        return c.IdentifyCard(lowByte(merchIdx), text, lowByte(accNumber));
    });
}

VELA_JNI(jint, GetTxnNum)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.GetTxnNum(); });
}

VELA_JNI(jint, GetTxnDataByOrder)(JNIEnv*, jclass, jint orderNum) {
    return command([&](CVELAClient& c) { return c.GetTxnDataByOrder(asUnsigned(orderNum)); });
}

VELA_JNI(jint, GetTxnDataByInv)(JNIEnv*, jclass, jint invoiceNum, jint merchIdx) {
    return command([&](CVELAClient& c) {
        return c.GetTxnDataByInv(asUnsigned(invoiceNum), lowByte(merchIdx));
    });
}

VELA_JNI(jint, GetBatchTotals)(JNIEnv*, jclass, jint merchIdx) {
    return command([&](CVELAClient& c) { return c.GetBatchTotals(lowByte(merchIdx)); });
}

VELA_JNI(jint, CheckConnection)(JNIEnv*, jclass, jint merchIdx) {
    return command([&](CVELAClient& c) { return c.CheckConnection(lowByte(merchIdx)); });
}

VELA_JNI(jint, ReqCurrReceipt)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.ReqCurrReceipt(); });
}

VELA_JNI(jint, PrintLastSettleCopy)(JNIEnv*, jclass, jint merchIdx) {
    return command([&](CVELAClient& c) { return c.PrintLastSettleCopy(lowByte(merchIdx)); });
}

VELA_JNI(jint, PrintBatchJournal)(JNIEnv*, jclass, jint merchIdx) {
    return command([&](CVELAClient& c) { return c.PrintBatchJournal(lowByte(merchIdx)); });
}

VELA_JNI(jint, ReqReceiptByInv)(JNIEnv*, jclass, jint invoiceNum, jint merchIdx) {
    return command([&](CVELAClient& c) {
        return c.ReqReceiptByInv(asUnsigned(invoiceNum), lowByte(merchIdx));
    });
}

VELA_JNI(jint, SetControlMode)(JNIEnv*, jclass, jboolean mode) {
    return command([&](CVELAClient& c) { return c.SetControlMode(mode != JNI_FALSE); });
}

VELA_JNI(jint, ReadKey)(JNIEnv*, jclass, jint timeOut) {
    return command([&](CVELAClient& c) { return c.ReadKey(lowByte(timeOut)); });
}

VELA_JNI(jint, DisplayText)(JNIEnv*, jclass, jint beep) {
    return command([&](CVELAClient& c) { return c.DisplayText(lowByte(beep)); });
}

VELA_JNI(jint, SetLine)(JNIEnv* env, jclass, jint row, jint col, jstring text, jint invert) {
    return commandWithText(env, text, [&](CVELAClient& c, char* cp1251) {
        return c.SetLine(lowByte(row), lowByte(col), cp1251, lowByte(invert));
    });
}

VELA_JNI(jint, ExchangeStatuses)(JNIEnv*, jclass, jint ecrStatus) {
    return command([&](CVELAClient& c) { return c.ExchangeStatuses(lowByte(ecrStatus)); });
}

VELA_JNI(jint, Completion)
(JNIEnv* env, jclass, jint merchIdx, jint amount, jstring rrn, jint invoiceNum) {
    return commandWithText(env, rrn, [&](CVELAClient& c, char* text) {
        return c.Completion(lowByte(merchIdx), asUnsigned(amount), text, asUnsigned(invoiceNum));
    });
}

VELA_JNI(jint, ReadCard)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.ReadCard(); });
}

VELA_JNI(jint, Balance)(JNIEnv* env, jclass, jint merchIdx, jstring currCode, jint accNumber) {
    return commandWithText(env, currCode, [&](CVELAClient& c, char* text) {
        return c.Balance(lowByte(merchIdx), text, lowByte(accNumber));
    });
}

VELA_JNI(jint, Deposit)
(JNIEnv* env, jclass, jint merchIdx, jint amount, jstring currCode, jint accNumber) {
    return commandWithText(env, currCode, [&](CVELAClient& c, char* text) {
        return c.Deposit(lowByte(merchIdx), asUnsigned(amount), text, lowByte(accNumber));
    });
}

VELA_JNI(jint, POSGetInfo)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.POSGetInfo(); });
}

VELA_JNI(jint, POSExTransaction)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.POSExTransaction(); });
}

VELA_JNI(jint, SelectApp)(JNIEnv* env, jclass, jstring appName, jint appIdx) {
    return commandWithText(env, appName, [&](CVELAClient& c, char* text) {
        return c.SelectApp(text, asUnsigned(appIdx));
    });
}

VELA_JNI(jint, CloseApp)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.CloseApp(); });
}

VELA_JNI(jint, StartScenario)(JNIEnv* env, jclass, jint scenarioID, jstring scenarioData) {
    return commandWithText(env, scenarioData, [&](CVELAClient& c, char* text) {
        return c.StartScenario(asUnsigned(scenarioID), text);
    });
}

VELA_JNI(jint, SetExtraPrintData)(JNIEnv* env, jclass, jstring data) {
    return commandWithText(env, data,
                           [](CVELAClient& c, char* text) { return c.SetExtraPrintData(text); });
}

VELA_JNI(jint, SetExtraXmlData)(JNIEnv* env, jclass, jstring data) {
    return commandWithText(env, data,
                           [](CVELAClient& c, char* text) { return c.SetExtraXmlData(text); });
}

VELA_JNI(jint, SendFile)(JNIEnv* env, jclass, jstring path, jint dataType, jint cmd) {
    return commandWithText(env, path, [&](CVELAClient& c, char* text) {
        return c.SendFile(text, lowByte(dataType), lowByte(cmd));
    });
}

VELA_JNI(jint, SetScreen)(JNIEnv*, jclass, jint screenNumber) {
    return command([&](CVELAClient& c) { return c.SetScreen(asUnsigned(screenNumber)); });
}

VELA_JNI(jint, CorrectTransaction)(JNIEnv*, jclass, jint amount, jint addAmount) {
    return command([&](CVELAClient& c) {
        return c.CorrectTransaction(asUnsigned(amount), asUnsigned(addAmount));
    });
}

VELA_JNI(jint, CashAdvance)
(JNIEnv* env, jclass, jint merchIdx, jint amount, jstring currCode, jint accNumber) {
    return commandWithText(env, currCode, [&](CVELAClient& c, char* text) {
        return c.CashAdvance(lowByte(merchIdx), asUnsigned(amount), text, lowByte(accNumber));
    });
}

VELA_JNI(jint, ReadBankCard)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.ReadBankCard(); });
}

VELA_JNI(jint, ReqDataFile)(JNIEnv*, jclass) {
    return command([](CVELAClient& c) { return c.ReqDataFile(); });
}

// ---- Byte results -----------------------------------------------------------

VELA_JNI(jint, LastResult)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_LastResult);
}
VELA_JNI(jint, LastErrorCode)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_LastErrorCode);
}
VELA_JNI(jint, TxnType)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_TxnType);
}
VELA_JNI(jint, LastStatMsgCode)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_LastStatMsgCode);
}
VELA_JNI(jint, SignVerif)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_SignVerif);
}
VELA_JNI(jint, EntryMode)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_EntryMode);
}
VELA_JNI(jint, TermStatus)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_TermStatus);
}
VELA_JNI(jint, Key)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_Key);
}
VELA_JNI(jint, TrnStatus)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_TrnStatus);
}
VELA_JNI(jint, SlipPrinted)(JNIEnv*, jclass) {
    return byteResult(&CVELAClient::get_SlipPrinted);
}

// ---- Number results ---------------------------------------------------------

VELA_JNI(jint, ResponseCode)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_ResponseCode);
}
VELA_JNI(jint, InvoiceNum)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_InvoiceNum);
}
VELA_JNI(jint, CompletionInvoiceNum)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_CompletionInvoiceNum);
}
VELA_JNI(jint, TotalsDebitAmt)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_TotalsDebitAmt);
}
VELA_JNI(jint, TotalsDebitNum)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_TotalsDebitNum);
}
VELA_JNI(jint, TotalsCreditAmt)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_TotalsCreditAmt);
}
VELA_JNI(jint, TotalsCreditNum)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_TotalsCreditNum);
}
VELA_JNI(jint, TotalsCancelledAmt)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_TotalsCancelledAmt);
}
VELA_JNI(jint, TotalsCancelledNum)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_TotalsCancelledNum);
}
VELA_JNI(jint, TxnNum)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_TxnNum);
}
VELA_JNI(jint, Amount)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_Amount);
}
VELA_JNI(jint, AddAmount)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_AddAmount);
}
VELA_JNI(jint, TrnBatchNum)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_TrnBatchNum);
}
VELA_JNI(jint, DiscountAttribute)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_DiscountAttribute);
}
VELA_JNI(jint, FlagAcquirer)(JNIEnv*, jclass) {
    return numberResult(&CVELAClient::get_FlagAcquirer);
}

// ---- Text results -----------------------------------------------------------

#define VELA_JNI_TEXT(name, getter, capacity)                                                      \
    VELA_JNI(jstring, name)(JNIEnv * env, jclass) {                                                \
        return textResult(env, &CVELAClient::getter, capacity);                                    \
    }

VELA_JNI_TEXT(DateTime, get_DateTime, kShortText)
VELA_JNI_TEXT(RRN, get_RRN, kShortText)
VELA_JNI_TEXT(TerminalID, get_TerminalID, kShortText)
VELA_JNI_TEXT(MerchantID, get_MerchantID, kShortText)
VELA_JNI_TEXT(AuthCode, get_AuthCode, kShortText)
VELA_JNI_TEXT(LastErrorDescription, get_LastErrorDescription, kShortText)
VELA_JNI_TEXT(LastStatMsgDescription, get_LastStatMsgDescription, kShortText)
VELA_JNI_TEXT(PAN, get_PAN, kShortText)
VELA_JNI_TEXT(ExpDate, get_ExpDate, kShortText)
VELA_JNI_TEXT(CardHolder, get_CardHolder, kShortText)
VELA_JNI_TEXT(IssueName, get_IssuerName, kShortText)
VELA_JNI_TEXT(emvAID, get_emvAID, kShortText)
VELA_JNI_TEXT(Track3, get_Track3, kShortText)
VELA_JNI_TEXT(Currency, get_Currency, kShortText)
VELA_JNI_TEXT(RNK, get_RNK, kShortText)
VELA_JNI_TEXT(CurrencyCode, get_CurrencyCode, kShortText)
VELA_JNI_TEXT(DiscountName, get_DiscountName, kShortText)
VELA_JNI_TEXT(ECRDataTM, get_ECRDataTM, kShortText)
VELA_JNI_TEXT(LibraryVersion, get_LibraryVersion, kShortText)
VELA_JNI_TEXT(PanHash, get_PanHash, kShortText)
VELA_JNI_TEXT(Receipt, get_Receipt, kReceipt)
VELA_JNI_TEXT(AddData, get_AddData, kLongText)
VELA_JNI_TEXT(ScenarioData, get_ScenarioData, kLongText)
VELA_JNI_TEXT(CryptedData, get_CryptedData, kLongText)
VELA_JNI_TEXT(TerminalInfo, get_TeminalInfo, kTerminalInfo)
VELA_JNI_TEXT(ExtraCardData, get_ExtraCardData, kExtraCardData)
VELA_JNI_TEXT(DataFile, get_DataFile, kDataFile)

// ---- Binary result ----------------------------------------------------------

VELA_JNI(jbyteArray, DataFileBinary)(JNIEnv* env, jclass) {
    return binaryResult(env);
}
