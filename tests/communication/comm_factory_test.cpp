#include "communication/ICommunication.h"
#include "communication/SerialRS232.h"
#include "communication/TcpIpNative.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Communication;

namespace {

TEST(CommFactory, TypeTwoIsTcpEveryOtherTypeIsSerial) {
    for (int type : {0, 1, 2, 3, -1, 99}) {
        ICommunication* transport = createCommIns(type);
        ASSERT_NE(nullptr, transport);
        bool isTcp = dynamic_cast<CSeralTCPIP_native*>(transport) != nullptr;
        bool isSerial = dynamic_cast<CSerialRS232*>(transport) != nullptr;
        EXPECT_EQ(type == ECommType_TCP, isTcp) << type;
        EXPECT_EQ(type != ECommType_TCP, isSerial) << type;
        EXPECT_FALSE(transport->m_isTraceOn);
        EXPECT_EQ(COMM_NOTOPENED, transport->isConnected()) << type;
        destroyCommIns(transport);
    }
    destroyCommIns(nullptr);
}

TEST(CommErrors, DescriptionsOfTheTransportCodes) {
    char text[64];
    EXPECT_EQ(COMM_OK, CSerialRS232::getErrorDescription(COMM_OK, text));
    EXPECT_STREQ("Success code", text);
    EXPECT_EQ(COMM_OK, CSerialRS232::getErrorDescription(COMM_SMALLBUFFER, text));
    EXPECT_STREQ("Too small buffer", text);
    EXPECT_EQ(COMM_OK, CSerialRS232::getErrorDescription(COMM_PORTUNAVAILABLE, text));
    EXPECT_STREQ("Port in available", text);
    for (int code = COMM_ERROR; code <= COMM_SMALLBUFFER; ++code) {
        ASSERT_EQ(COMM_OK, CSerialRS232::getErrorDescription(code, text));
        EXPECT_STREQ(aRSErrors[code - COMM_ERROR], text);
        EXPECT_LE(std::strlen(text), 44u); // callers provide 45 bytes
    }
    for (int code : {-1, 1, 100, 110, 111, 113, 116}) {
        std::strcpy(text, "untouched");
        EXPECT_EQ(COMM_ERROR, CSerialRS232::getErrorDescription(code, text)) << code;
        EXPECT_STREQ("untouched", text);
    }
}

} // namespace
