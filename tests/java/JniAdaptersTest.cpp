// The native methods of ua.vela.ecr.VELALib, called as the JVM calls them,
// over a recording client and a JNI environment without a JVM.
#include "FakeClient.h"
#include "FakeJniEnv.h"
#include "ua_vela_ecr_VELALib.h"
#include "velaecr.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

#define NATIVE(name) Java_ua_vela_ecr_VELALib_##name

// "Привіт №1" and its CP1251 bytes.
const char* const kUtf8 = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD1\x96\xD1\x82 \xE2\x84\x96"
                          "1";
const std::string kCp1251 = "\xCF\xF0\xE8\xE2\xB3\xF2 \xB9"
                            "1";

class JniAdapters : public ::testing::Test {
protected:
    void SetUp() override { glVELALib = &client; }
    void TearDown() override { glVELALib = nullptr; }

    FakeClient client;
    FakeJniEnv jni;
    JNIEnv* env = jni.env();
};

// Every native method that takes text, called with the text s.
struct TextCommand {
    const char* name;
    std::function<jint(JNIEnv*, jstring)> call;
};

// clang-format off
std::vector<TextCommand> textCommands() {
    return {
        {"CommOpen",          [](JNIEnv* e, jstring s) { return NATIVE(CommOpen)(e, nullptr, s, 9600); }},
        {"UseMac",            [](JNIEnv* e, jstring s) { return NATIVE(UseMac)(e, nullptr, 1, s); }},
        {"useLogging",        [](JNIEnv* e, jstring s) { return NATIVE(useLogging)(e, nullptr, 1, s); }},
        {"Refund",            [](JNIEnv* e, jstring s) { return NATIVE(Refund)(e, nullptr, 1, 0, 0, s); }},
        {"PurchaseService",   [](JNIEnv* e, jstring s) { return NATIVE(PurchaseService)(e, nullptr, 0, 1, s); }},
        {"IdentifyCard",      [](JNIEnv* e, jstring s) { return NATIVE(IdentifyCard)(e, nullptr, 0, s, 0); }},
        {"SetLine",           [](JNIEnv* e, jstring s) { return NATIVE(SetLine)(e, nullptr, 0, 0, s, 0); }},
        {"Completion",        [](JNIEnv* e, jstring s) { return NATIVE(Completion)(e, nullptr, 0, 1, s, 2); }},
        {"Balance",           [](JNIEnv* e, jstring s) { return NATIVE(Balance)(e, nullptr, 0, s, 0); }},
        {"Deposit",           [](JNIEnv* e, jstring s) { return NATIVE(Deposit)(e, nullptr, 0, 1, s, 0); }},
        {"SelectApp",         [](JNIEnv* e, jstring s) { return NATIVE(SelectApp)(e, nullptr, s, 1); }},
        {"StartScenario",     [](JNIEnv* e, jstring s) { return NATIVE(StartScenario)(e, nullptr, 1, s); }},
        {"SetExtraPrintData", [](JNIEnv* e, jstring s) { return NATIVE(SetExtraPrintData)(e, nullptr, s); }},
        {"SetExtraXmlData",   [](JNIEnv* e, jstring s) { return NATIVE(SetExtraXmlData)(e, nullptr, s); }},
        {"SendFile",          [](JNIEnv* e, jstring s) { return NATIVE(SendFile)(e, nullptr, s, 1, 2); }},
        {"CashAdvance",       [](JNIEnv* e, jstring s) { return NATIVE(CashAdvance)(e, nullptr, 0, 1, s, 0); }},
    };
}
// clang-format on

TEST_F(JniAdapters, WithoutInstanceAnswerOneOrNullAndTouchNothing) {
    glVELALib = nullptr;
    EXPECT_EQ(NATIVE(Purchase)(env, nullptr, 100, 0, 0), 1);
    EXPECT_EQ(NATIVE(LastResult)(env, nullptr), 1);
    EXPECT_EQ(NATIVE(Amount)(env, nullptr), 1);
    EXPECT_EQ(NATIVE(RRN)(env, nullptr), nullptr);
    EXPECT_EQ(NATIVE(DataFileBinary)(env, nullptr), nullptr);
    for (const TextCommand& command : textCommands())
        EXPECT_EQ(command.call(env, FakeJniEnv::javaString(kUtf8)), 1) << command.name;
    EXPECT_EQ(NATIVE(UninitializeVELA)(env, nullptr), 0);
    EXPECT_EQ(jni.acquired, 0);
    EXPECT_TRUE(client.called.empty());
}

TEST_F(JniAdapters, TextArgumentsReachTheClientAsCp1251AndAreReleased) {
    client.rc = 5; // the release must not depend on the client's answer
    for (const TextCommand& command : textCommands()) {
        client.texts.clear();
        EXPECT_EQ(command.call(env, FakeJniEnv::javaString(kUtf8)), 5) << command.name;
        EXPECT_EQ(client.texts, std::vector<std::string>{kCp1251}) << command.name;
        EXPECT_EQ(client.called.back(), command.name);
    }
    EXPECT_EQ(NATIVE(CommOpenTCP)(env, nullptr, FakeJniEnv::javaString("10.0.0.1"),
                                  FakeJniEnv::javaString("2000")),
              5);
    EXPECT_EQ(client.texts.back(), "2000");
    EXPECT_EQ(jni.acquired, static_cast<int>(textCommands().size()) + 2);
    EXPECT_EQ(jni.released, jni.acquired);
}

TEST_F(JniAdapters, NullOrUnobtainableTextFailsWithoutCallingTheClient) {
    for (const TextCommand& command : textCommands())
        EXPECT_EQ(command.call(env, nullptr), 1) << command.name;
    EXPECT_EQ(NATIVE(CommOpenTCP)(env, nullptr, FakeJniEnv::javaString("10.0.0.1"), nullptr), 1);
    jni.refuseStrings = true;
    for (const TextCommand& command : textCommands())
        EXPECT_EQ(command.call(env, FakeJniEnv::javaString("x")), 1) << command.name;
    EXPECT_TRUE(client.called.empty());
    EXPECT_EQ(jni.released, jni.acquired);
}

TEST_F(JniAdapters, NumbersAndBytesPassThroughAsTheClientTakesThem) {
    client.rc = 7;
    EXPECT_EQ(NATIVE(Purchase)(env, nullptr, -1, 5, 0x1FF), 7);
    EXPECT_EQ(client.numbers, (std::vector<unsigned long>{4294967295UL, 5, 0xFF}));
    client.numbers.clear();
    client.rc = 0;
    EXPECT_EQ(NATIVE(SetControlMode)(env, nullptr, JNI_TRUE), 0);
    EXPECT_EQ(client.numbers, std::vector<unsigned long>{1});
}

TEST_F(JniAdapters, ValueResultsGiveTheValueOrTheCode) {
    client.byteValue = 200;
    client.numberValue = 0x80000000u;
    EXPECT_EQ(NATIVE(LastResult)(env, nullptr), 200);
    EXPECT_EQ(NATIVE(CompletionInvoiceNum)(env, nullptr), INT_MIN);
    EXPECT_EQ(client.called.back(), "get_CompletionInvoiceNum");
    client.rc = 8;
    EXPECT_EQ(NATIVE(TxnType)(env, nullptr), 8);
    EXPECT_EQ(NATIVE(Amount)(env, nullptr), 8);
}

TEST_F(JniAdapters, TextResultsAskWithTheirCapacityAndDecodeCp1251) {
    struct TextResult {
        jstring (*call)(JNIEnv*, jclass);
        const char* accessor;
        int capacity;
    };
    const TextResult results[] = {
        {NATIVE(RRN), "get_RRN", 128},
        {NATIVE(IssueName), "get_IssuerName", 128},
        {NATIVE(LibraryVersion), "get_LibraryVersion", 128},
        {NATIVE(Receipt), "get_Receipt", 4096},
        {NATIVE(AddData), "get_AddData", 999},
        {NATIVE(TerminalInfo), "get_TeminalInfo", 1200},
        {NATIVE(ExtraCardData), "get_ExtraCardData", 300},
        {NATIVE(DataFile), "get_DataFile", 204800},
    };
    client.textValue = kCp1251;
    for (const TextResult& r : results) {
        jstring text = r.call(env, nullptr);
        ASSERT_NE(text, nullptr) << r.accessor;
        EXPECT_EQ(*FakeJniEnv::text(text), kUtf8) << r.accessor;
        EXPECT_EQ(client.called.back(), r.accessor);
        EXPECT_EQ(client.capacities.back(), r.capacity) << r.accessor;
    }
    client.rc = 8;
    EXPECT_EQ(NATIVE(PAN)(env, nullptr), nullptr);
}

TEST_F(JniAdapters, TextResultsComeBackWhole) {
    client.textValue = std::string(4096, '\xE0'); // 4096 x Cyrillic "а"
    jstring receipt = NATIVE(Receipt)(env, nullptr);
    ASSERT_NE(receipt, nullptr);
    std::string expected;
    for (int i = 0; i < 4096; ++i)
        expected += "\xD0\xB0";
    EXPECT_EQ(*FakeJniEnv::text(receipt), expected);

    // Signs of three UTF-8 bytes each, more than twice the CP1251 length.
    client.textValue = "\xB9\xB9\x88";
    jstring signs = NATIVE(DateTime)(env, nullptr);
    ASSERT_NE(signs, nullptr);
    EXPECT_EQ(*FakeJniEnv::text(signs), "№№€");
}

TEST_F(JniAdapters, DataFileBinaryGivesExactlyTheFileBytes) {
    client.binaryValue = std::string("\x00\x01\xFF"
                                     "abc",
                                     6) +
                         std::string(204794, 'z');
    jbyteArray file = NATIVE(DataFileBinary)(env, nullptr);
    ASSERT_NE(file, nullptr);
    const std::vector<jbyte>& bytes = *FakeJniEnv::bytes(file);
    ASSERT_EQ(bytes.size(), 204800u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), client.binaryValue);
    EXPECT_EQ(client.capacities.back(), 204800);

    client.binaryValue = "abc";
    file = NATIVE(DataFileBinary)(env, nullptr);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(FakeJniEnv::bytes(file)->size(), 3u);
}

TEST_F(JniAdapters, DataFileBinaryFailsAsNull) {
    client.binaryValue = "abc";
    jni.refuseArrays = true;
    EXPECT_EQ(NATIVE(DataFileBinary)(env, nullptr), nullptr);
    jni.refuseArrays = false;
    for (int badLength : {-1, 204801}) {
        client.binaryLength = badLength;
        EXPECT_EQ(NATIVE(DataFileBinary)(env, nullptr), nullptr) << badLength;
    }
    client.binaryLength = FakeClient::kActualSize;
    client.rc = 8;
    EXPECT_EQ(NATIVE(DataFileBinary)(env, nullptr), nullptr);
}

} // namespace
