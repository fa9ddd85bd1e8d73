// Messages through the link protocol over an in-memory transport: what is
// refused before anything is written, and how receive failures are told
// apart from a lost connection.

#include "MemoryTransport.h"
#include "TerminalWire.h"
#include "protocol/ECRProto.h"
#include "protocol/TagCatalogue.h"

#include <gtest/gtest.h>

using namespace Communication;
using velatest::Bytes;
using velatest::MemoryTransport;

namespace {

class ProtoMessages : public ::testing::Test {
protected:
    void SetUp() override {
        m_transport = new MemoryTransport();
        ASSERT_EQ(ECRPC_OK, m_proto.setCommunication(m_transport));
    }

    MemoryTransport* m_transport = nullptr;
    CECRProto m_proto;
};

// A message of one binary element whose dump is `dumpSize` bytes long.
void fillMessage(CTLVMessage& message, unsigned dumpSize) {
    Bytes value(dumpSize - 8, 0x20);
    message.addTag(new CTLVTag(ETag_AddData, value.data(), static_cast<unsigned>(value.size())));
}

TEST_F(ProtoMessages, DumpAboveTheLengthFieldIsRefusedBeforeWriting) {
    CTLVMessage tooBig;
    fillMessage(tooBig, 65536);
    EXPECT_EQ(ECRPC_MAXSIZE, m_proto.sendMessage(tooBig));
    EXPECT_TRUE(m_transport->written.empty());

    CTLVMessage largest;
    fillMessage(largest, 65535);
    m_transport->feed({0x06});
    EXPECT_EQ(ECRPC_OK, m_proto.sendMessage(largest));
    EXPECT_EQ(65539u, m_transport->written.size());
}

TEST_F(ProtoMessages, UnusableConnectionIsReportedBeforeWriting) {
    CTLVMessage ping;
    ping.addTag(new CTLVTag(ETag_MsgType, 11u));
    m_transport->connectedResult = COMM_NOTOPENED;
    EXPECT_EQ(COMM_NOTOPENED, m_proto.sendMessage(ping));
    EXPECT_TRUE(m_transport->written.empty());
}

struct LossCase {
    const char* name;
    void (*feed)(MemoryTransport&);
    int connected;
    int rc;
};
void PrintTo(const LossCase& c, std::ostream* out) {
    *out << c.name;
}

class ProtoConnectionLoss : public ProtoMessages, public ::testing::WithParamInterface<LossCase> {};

TEST_P(ProtoConnectionLoss, ReceiveFailureIsCheckedAgainstTheConnection) {
    GetParam().feed(*m_transport);
    m_transport->connectedResult = GetParam().connected;
    CTLVMessage message;
    EXPECT_EQ(GetParam().rc, m_proto.recvMessage(message));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProtoConnectionLoss,
    ::testing::Values(LossCase{"NothingYet", [](MemoryTransport&) {}, COMM_OK, ECRPC_RECVTIMEOUT},
                      LossCase{"NothingAndLost", [](MemoryTransport&) {}, COMM_NOTCONNECTED,
                               COMM_NOTCONNECTED},
                      LossCase{"CutShortAndLost",
                               [](MemoryTransport& t) {
                                   t.feed({0x02, 0x00});
                               },
                               COMM_NOTCONNECTED, COMM_NOTCONNECTED},
                      LossCase{"CheckByteWhileLost", [](MemoryTransport& t) { t.feed({0x07}); },
                               COMM_NOTCONNECTED, ECRPC_CHECKTERMINAL},
                      LossCase{"UnknownLead", [](MemoryTransport& t) { t.feed({0x41}); }, COMM_OK,
                               ECRPC_UNKNOWNSTX}),
    [](const ::testing::TestParamInfo<LossCase>& info) { return info.param.name; });

TEST_F(ProtoMessages, BrokenStatusBodyIsReportedWithoutAMessage) {
    m_transport->feed(velaemu::buildFrame({1, 2, 3, 4}, 0x12));
    CTLVMessage message;
    EXPECT_EQ(TLVC_INVALIDSEQ, m_proto.recvMessage(message));
    EXPECT_EQ(Bytes{0x06}, m_transport->written);
}

} // namespace
