// Frame exchange of the link protocol over an in-memory transport.

#include "MemoryTransport.h"
#include "TerminalWire.h"
#include "communication/SerialRS232.h"
#include "protocol/ECRProto.h"

#include "ByteSequences.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Communication;
using velaemu::buildFrame;
using velaemu::frameHeader;
using velatest::Bytes;
using velatest::MemoryTransport;

namespace {
const Bytes kPingDump = {0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0x0B};
const Bytes kPingFrame = {0x02, 0x00, 0x0C, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0x0B, 0x0E};
const Bytes kSomeBody = {0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00};

using velatest::operator+;
using velatest::repeat;

class ProtoFraming : public ::testing::Test {
protected:
    void SetUp() override {
        m_transport = new MemoryTransport(&m_destroyed);
        ASSERT_EQ(ECRPC_OK, m_proto.setCommunication(m_transport));
    }

    int sendPing(int attempts = 3) {
        Bytes body = kPingDump;
        return m_proto.ecrSend(body.data(), static_cast<unsigned>(body.size()), 0x0E, attempts);
    }

    // Receives one frame; the body, if handed out, lands in m_body.
    int receive(int attempts = 3) {
        unsigned char* body = nullptr;
        unsigned length = 0;
        int rc = m_proto.ecrRecv(body, length, attempts);
        std::unique_ptr<unsigned char[]> owned(body);
        m_body = body != nullptr ? Bytes(body, body + length) : Bytes();
        return rc;
    }

    bool m_destroyed = false;
    MemoryTransport* m_transport = nullptr;
    CECRProto m_proto;
    Bytes m_body;
};

TEST_F(ProtoFraming, PingGoesOutAsSixteenBytesAndAckEndsTheSend) {
    m_transport->feed({0x06});
    EXPECT_EQ(ECRPC_OK, sendPing());
    EXPECT_EQ(kPingFrame, m_transport->written);
    EXPECT_EQ(1u, m_transport->writes.size());
    EXPECT_EQ(1, m_transport->flushCalls);
    EXPECT_EQ(std::vector<unsigned>{6000}, m_transport->timeoutsSet);
}

struct AnswerCase {
    const char* name;
    Bytes answers;
    int rc;
    int framesWritten;
    Bytes writtenAfter;
};
void PrintTo(const AnswerCase& c, std::ostream* out) {
    *out << c.name;
}

class ProtoSendAnswers : public ProtoFraming, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ProtoSendAnswers, AnswerByteDecidesTheSend) {
    const AnswerCase& c = GetParam();
    m_transport->feedEachByte(c.answers);
    EXPECT_EQ(c.rc, sendPing());
    EXPECT_EQ(repeat(kPingFrame, c.framesWritten) + c.writtenAfter, m_transport->written);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProtoSendAnswers,
    ::testing::Values(AnswerCase{"Ack", {0x06}, ECRPC_OK, 1, {}},
                      AnswerCase{"NakThenAck", {0x15, 0x06}, ECRPC_OK, 2, {}},
                      AnswerCase{"ThreeNaks", {0x15, 0x15, 0x15}, ECRPC_NOATTEMPTS, 3, {}},
                      AnswerCase{"Eot", {0x04}, ECRPC_EOTRECEIVED, 1, {0x04}},
                      AnswerCase{"UnknownByte", {0x00}, ECRPC_UNKNOWNACK, 1, {0x04}},
                      AnswerCase{"NakThenEot", {0x15, 0x04}, ECRPC_EOTRECEIVED, 2, {0x04}},
                      AnswerCase{"Silence", {}, ECRPC_NOACK, 1, {}}),
    [](const ::testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

TEST_F(ProtoFraming, FailedAnswerReadIsNoAck) {
    m_transport->feedFailure(COMM_NOTCONNECTED);
    EXPECT_EQ(ECRPC_NOACK, sendPing());
}

TEST_F(ProtoFraming, PartialWritesAreContinuedUntilTheFrameIsOut) {
    m_transport->writeResults = {{COMM_PARTIALWRITE, 5}, {COMM_PARTIALWRITE, 4}};
    m_transport->feed({0x06});
    EXPECT_EQ(ECRPC_OK, sendPing());
    EXPECT_EQ(kPingFrame, m_transport->written);
    EXPECT_EQ(3u, m_transport->writes.size());
}

// Each of these failures costs one attempt: with two attempts the second one
// succeeds, with one attempt the send gives up.
struct AttemptCase {
    const char* name;
    void (*inject)(MemoryTransport&);
    int framesWritten; // over both attempts
};
void PrintTo(const AttemptCase& c, std::ostream* out) {
    *out << c.name;
}

class ProtoSendAttempts : public ProtoFraming, public ::testing::WithParamInterface<AttemptCase> {};

TEST_P(ProtoSendAttempts, FailureCostsOneAttempt) {
    GetParam().inject(*m_transport);
    m_transport->feed({0x06});
    EXPECT_EQ(ECRPC_OK, sendPing(2));
    EXPECT_EQ(repeat(kPingFrame, GetParam().framesWritten), m_transport->written);
}

TEST_P(ProtoSendAttempts, LastAttemptFailingIsNoAttempts) {
    GetParam().inject(*m_transport);
    m_transport->feed({0x06});
    EXPECT_EQ(ECRPC_NOATTEMPTS, sendPing(1));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProtoSendAttempts,
    ::testing::Values(
        AttemptCase{"Flush", [](MemoryTransport& t) { t.flushResults = {COMM_NOTOPENED}; }, 1},
        AttemptCase{"Write",
                    [](MemoryTransport& t) {
                        t.writeResults = {{COMM_SENDFAILED, 0}};
                    },
                    1},
        AttemptCase{"StalledPartialWrite",
                    [](MemoryTransport& t) {
                        t.writeResults = {{COMM_PARTIALWRITE, 0}};
                    },
                    1},
        AttemptCase{"ReadTimeout",
                    [](MemoryTransport& t) { t.timeoutResults = {COMM_NOTCONNECTED}; }, 2}),
    [](const ::testing::TestParamInfo<AttemptCase>& info) { return info.param.name; });

TEST_F(ProtoFraming, SendRefusesWithoutWritingWhenNothingCanGoOut) {
    Bytes tooBig(65536, 0x11);
    EXPECT_EQ(ECRPC_MAXSIZE, m_proto.ecrSend(tooBig.data(), 65536, 0, 3));
    EXPECT_EQ(ECRPC_NOATTEMPTS, sendPing(0));
    EXPECT_EQ(ECRPC_EMPTYMSG, m_proto.ecrSend(tooBig.data(), 0, 0, 3));
    EXPECT_TRUE(m_transport->written.empty());
    EXPECT_EQ(0, m_transport->flushCalls);
}

TEST_F(ProtoFraming, LargestBodyFillsTheLengthField) {
    Bytes body(65535, 0x5A);
    m_transport->feed({0x06});
    EXPECT_EQ(ECRPC_OK, m_proto.ecrSend(body.data(), 65535, 0x5A, 3));
    ASSERT_EQ(65539u, m_transport->written.size());
    EXPECT_EQ(Bytes({0x02, 0xFF, 0xFF}),
              Bytes(m_transport->written.begin(), m_transport->written.begin() + 3));
    EXPECT_EQ(0x5A, m_transport->written.back());
}

struct RecvCase {
    const char* name;
    void (*feed)(MemoryTransport&);
    int rc;
    Bytes answered;
    Bytes body;
};
void PrintTo(const RecvCase& c, std::ostream* out) {
    *out << c.name;
}

const Bytes kBody = {1, 0, 0, 0, 4, 0, 0, 0, 12, 0, 0, 0};

class ProtoRecv : public ProtoFraming, public ::testing::WithParamInterface<RecvCase> {};

TEST_P(ProtoRecv, IncomingBytesDecideTheReceive) {
    const RecvCase& c = GetParam();
    c.feed(*m_transport);
    EXPECT_EQ(c.rc, receive());
    EXPECT_EQ(c.answered, m_transport->written);
    EXPECT_EQ(c.body, m_body);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProtoRecv,
    ::testing::Values(
        RecvCase{"Nothing", [](MemoryTransport&) {}, ECRPC_RECVTIMEOUT, {}, {}},
        RecvCase{
            "CheckByte", [](MemoryTransport& t) { t.feed({0x07}); }, ECRPC_CHECKTERMINAL, {}, {}},
        RecvCase{"Eot", [](MemoryTransport& t) { t.feed({0x04}); }, ECRPC_EOTRECEIVED, {}, {}},
        RecvCase{
            "UnknownLead", [](MemoryTransport& t) { t.feed({0x41}); }, ECRPC_UNKNOWNSTX, {}, {}},
        RecvCase{"DataFrame",
                 [](MemoryTransport& t) { t.feed(buildFrame(kBody)); },
                 ECRPC_OK,
                 {0x06},
                 kBody},
        RecvCase{"DataFrameByteByByte",
                 [](MemoryTransport& t) { t.feedEachByte(buildFrame(kBody)); },
                 ECRPC_OK,
                 {0x06},
                 kBody},
        RecvCase{"StatusFrame",
                 [](MemoryTransport& t) { t.feed(buildFrame(kBody, 0x12)); },
                 ECRPC_STATUSMSG,
                 {0x06},
                 kBody},
        RecvCase{"BrokenStatusFrame",
                 [](MemoryTransport& t) { t.feed(buildFrame(kBody, 0x12, 0xFF)); },
                 ECRPC_BROKENSTATUS,
                 {0x15},
                 {}},
        RecvCase{"BadChecksumThenRepeat",
                 [](MemoryTransport& t) {
                     t.feed(buildFrame(kBody, 0x02, 0x01));
                     t.feed(buildFrame(kBody));
                 },
                 ECRPC_OK,
                 {0x15, 0x06},
                 kBody},
        RecvCase{"ThreeBadCopies",
                 [](MemoryTransport& t) {
                     for (int i = 0; i < 3; ++i)
                         t.feed(buildFrame(kBody, 0x02, 0x01));
                 },
                 ECRPC_NOATTEMPTS,
                 {0x15, 0x15, 0x15},
                 {}},
        RecvCase{"LargestBody",
                 [](MemoryTransport& t) { t.feed(buildFrame(Bytes(4096, 0x33))); },
                 ECRPC_OK,
                 {0x06},
                 Bytes(4096, 0x33)},
        RecvCase{"BodyTooLong",
                 [](MemoryTransport& t) { t.feed(frameHeader(4097)); },
                 ECRPC_MAXSIZE,
                 {0x04},
                 {}},
        RecvCase{"EmptyBody",
                 [](MemoryTransport& t) { t.feed(frameHeader(0)); },
                 ECRPC_EMPTYMSG,
                 {0x04},
                 {}},
        RecvCase{"LengthCutShort",
                 [](MemoryTransport& t) {
                     t.feed({0x02, 0x00});
                 },
                 COMM_READTIMEOUT,
                 {},
                 {}},
        RecvCase{"LengthReadFails",
                 [](MemoryTransport& t) {
                     t.feed({0x02});
                     t.feedFailure(COMM_NOTCONNECTED);
                 },
                 COMM_NOTCONNECTED,
                 {},
                 {}},
        RecvCase{"LengthReadBringsNothing",
                 [](MemoryTransport& t) {
                     t.feed({0x02});
                     t.feedNothing();
                 },
                 COMM_READTIMEOUT,
                 {},
                 {}},
        RecvCase{"BodyCutShort",
                 [](MemoryTransport& t) {
                     t.feed({0x02, 0x00, 0x05, 1, 2});
                 },
                 COMM_READTIMEOUT,
                 {0x04},
                 {}},
        RecvCase{"BodyReadBringsNothing",
                 [](MemoryTransport& t) {
                     t.feed({0x02, 0x00, 0x05, 1, 2});
                     t.feedNothing();
                 },
                 COMM_READTIMEOUT,
                 {0x04},
                 {}},
        RecvCase{"BodyOverDelivered",
                 [](MemoryTransport& t) {
                     t.feed({0x02, 0x00, 0x02});
                     t.feedOverlong({1, 2, 3});
                 },
                 ECRPC_WRONGLENGTH,
                 {},
                 {}},
        RecvCase{"NoChecksum",
                 [](MemoryTransport& t) {
                     t.feed({0x02, 0x00, 0x01, 0x55});
                 },
                 ECRPC_NOCRC,
                 {},
                 {}}),
    [](const ::testing::TestParamInfo<RecvCase>& info) { return info.param.name; });

TEST_F(ProtoFraming, RepeatedFrameIsAwaitedWithTheFrameTimeout) {
    m_transport->feed(buildFrame(kBody, 0x02, 0x01));
    m_transport->feed(buildFrame(kBody));
    EXPECT_EQ(ECRPC_OK, receive());
    EXPECT_EQ(std::vector<unsigned>({250, 1500, 1500}), m_transport->timeoutsSet);
}

TEST_F(ProtoFraming, NoAttemptsReceivesNothing) {
    m_transport->feed(buildFrame(kBody));
    EXPECT_EQ(ECRPC_NOATTEMPTS, receive(0));
    EXPECT_TRUE(m_transport->written.empty());
}

TEST_F(ProtoFraming, ReadNBytesGathersPiecesAndRefusesOverDelivery) {
    Bytes buffer(5, 0);
    m_transport->feedEachByte({1, 2, 3, 4, 5});
    EXPECT_EQ(ECRPC_OK, m_proto.readNBytes(buffer.data(), 5));
    EXPECT_EQ(Bytes({1, 2, 3, 4, 5}), buffer);

    m_transport->feedOverlong({9, 9, 9, 9, 9, 9});
    EXPECT_EQ(ECRPC_WRONGLENGTH, m_proto.readNBytes(buffer.data(), 5));
}

TEST_F(ProtoFraming, ControlBytesGoOutOnlyOnAUsableConnection) {
    EXPECT_EQ(ECRPC_OK, m_proto.sendByte(0x07));
    EXPECT_EQ(ECRPC_OK, m_proto.sendAbort());
    EXPECT_EQ(Bytes({0x07, 0x04}), m_transport->written);

    m_transport->connectedResult = COMM_NOTCONNECTED;
    EXPECT_EQ(COMM_NOTCONNECTED, m_proto.sendByte(0x07));
    EXPECT_EQ(COMM_NOTCONNECTED, m_proto.sendAbort());
    EXPECT_EQ(2u, m_transport->written.size());
}

TEST_F(ProtoFraming, OwnsTheTransportUntilReplaced) {
    EXPECT_EQ(ECRPC_OK, m_proto.open(true));
    EXPECT_TRUE(m_transport->m_isTraceOn);
    EXPECT_EQ(ECRPC_BADCOMM, m_proto.setCommunication(nullptr));
    EXPECT_FALSE(m_destroyed);
    EXPECT_EQ(ECRPC_OK, m_proto.setCommunication(m_transport));
    EXPECT_FALSE(m_destroyed);
    EXPECT_EQ(ECRPC_OK, m_proto.setCommunication(new MemoryTransport()));
    EXPECT_TRUE(m_destroyed);
}

TEST_F(ProtoFraming, OpenPassesTheTransportFailureOn) {
    m_transport->openResult = COMM_PORTUNAVAILABLE;
    EXPECT_EQ(COMM_PORTUNAVAILABLE, m_proto.open(false));
}

TEST(ProtoWithoutTransport, EveryOperationButOpenReportsBadComm) {
    CECRProto proto;
    CTLVMessage message;
    unsigned char buffer[4] = {0};
    unsigned char* body = nullptr;
    unsigned length = 0;
    EXPECT_EQ(COMM_ERROR, proto.open(false));
    EXPECT_EQ(ECRPC_BADCOMM, proto.close());
    EXPECT_EQ(ECRPC_BADCOMM, proto.isOpened());
    EXPECT_EQ(ECRPC_BADCOMM, proto.sendByte(0x07));
    EXPECT_EQ(ECRPC_BADCOMM, proto.sendAbort());
    EXPECT_EQ(ECRPC_BADCOMM, proto.ecrSend(buffer, 4, 0, 3));
    EXPECT_EQ(ECRPC_BADCOMM, proto.sendMessage(message));
    EXPECT_EQ(ECRPC_BADCOMM, proto.readNBytes(buffer, 4));
    EXPECT_EQ(ECRPC_BADCOMM, proto.ecrRecv(body, length, 3));
    EXPECT_EQ(ECRPC_BADCOMM, proto.recvMessage(message));
    EXPECT_EQ(nullptr, body);
}

TEST(ProtoDevices, EnumerationNeedsTheDeviceManager) {
    CECRProto proto;
    bool loaded = CSerialRS232::m_isUdevLoaded;
    CSerialRS232::m_isUdevLoaded = false;
    std::vector<char*> devices;
    EXPECT_EQ(ECRPC_NOUDEV, proto.enumerate(devices));
    CSerialRS232::m_isUdevLoaded = loaded;
}

TEST(ProtoErrorTexts, StoredInTheirHistoricalOrder) {
    EXPECT_STREQ("General Error.", aECRPErrors[0]);
    EXPECT_STREQ("Broken status message received", aECRPErrors[9]);
    EXPECT_STREQ("Empty Message.", aECRPErrors[10]);
    EXPECT_STREQ("Status Message received", aECRPErrors[11]);
}
} // namespace
