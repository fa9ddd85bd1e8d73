// The link protocol against the emulated terminal, through the real
// transports: loopback TCP and a pseudo-terminal opened as a serial port.

#include "DefaultAnswers.h"
#include "TerminalEmulator.h"
#include "TerminalTags.h"
#include "protocol/ECRProto.h"
#include "protocol/TagCatalogue.h"

#include "ByteSequences.h"

#include <gtest/gtest.h>

#include <string>

using namespace Communication;
using namespace velaemu;

namespace {
const int kWaitMs = 10000;
const Bytes kPingFrame = {0x02, 0x00, 0x0C, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0x0B, 0x0E};

enum class Link { Tcp, Pty };

void PrintTo(Link link, std::ostream* out) {
    *out << (link == Link::Tcp ? "Tcp" : "Pty");
}

std::string linkName(const ::testing::TestParamInfo<Link>& info) {
    return info.param == Link::Tcp ? "Tcp" : "Pty";
}

using velatest::operator+;
using velatest::repeat;

void addNumber(CTLVMessage& message, unsigned tag, unsigned value) {
    message.addTag(new CTLVTag(tag, value));
}

unsigned numberOf(CTLVMessage& message, unsigned tag) {
    unsigned value = 0;
    EXPECT_EQ(TLVC_OK, message.getTagNumValue(static_cast<int>(tag), value)) << "tag " << tag;
    return value;
}

std::string textOf(CTLVMessage& message, unsigned tag) {
    CTLVTag* element = nullptr;
    unsigned length = 0;
    if (message.getTag(element, tag) != TLVC_OK || element->getLength(length) != TLVC_OK)
        return std::string();
    std::string text(length, '\0');
    element->getValue(&text[0], length);
    return text;
}

LeMessage statusOf(unsigned code) {
    return DefaultAnswers::statusMessage(static_cast<int>(code));
}

class ProtoTerminal : public ::testing::TestWithParam<Link> {
protected:
    void SetUp() override {
        ICommunication* link = nullptr;
        if (GetParam() == Link::Tcp) {
            std::uint16_t port = m_terminal.startTcp();
            ASSERT_NE(0, port);
            link = createCommIns(ECommType_TCP);
            link->m_address = "127.0.0.1";
            link->m_port = std::to_string(port);
        } else {
            std::string path = m_terminal.startPty();
            if (path.empty())
                GTEST_SKIP() << "no pseudo-terminals on this machine";
            link = createCommIns(ECommType_RS232);
            link->m_port = path;
            link->m_baudRate = 115200;
        }
        ASSERT_EQ(ECRPC_OK, m_proto.setCommunication(link));
        ASSERT_EQ(ECRPC_OK, m_proto.open(false));
    }

    int sendPing() {
        CTLVMessage ping;
        addNumber(ping, ETag_MsgType, EMsgType_PingRequest);
        return m_proto.sendMessage(ping);
    }

    // Receives as the engine does: polls again while nothing has arrived.
    int poll(CTLVMessage& message) {
        int rc = ECRPC_RECVTIMEOUT;
        for (int i = 0; i < 40 && rc == ECRPC_RECVTIMEOUT; ++i)
            rc = m_proto.recvMessage(message);
        return rc;
    }

    // Has the terminal send these steps and waits until they are out.
    void pushAndWait(const Reply& reply, std::size_t bytes) {
        std::size_t before = m_terminal.sent().size();
        m_terminal.push(reply);
        ASSERT_TRUE(m_terminal.waitForSent(before + bytes, kWaitMs));
    }

    // What the cash register wrote, once the terminal has read `bytes` bytes.
    Bytes receivedAtLeast(std::size_t bytes) {
        EXPECT_TRUE(m_terminal.waitForReceived(bytes, kWaitMs));
        return m_terminal.received();
    }

    // Proves that nothing was written before: a ping exchange, after which
    // the terminal has seen exactly the ping frame and the ACK of its answer.
    void expectNothingWrittenBefore() {
        m_terminal.clearRecords();
        ASSERT_EQ(ECRPC_OK, sendPing());
        CTLVMessage answer;
        ASSERT_EQ(ECRPC_OK, poll(answer));
        EXPECT_EQ(kPingFrame + Bytes{kACK}, receivedAtLeast(kPingFrame.size() + 1));
    }

    TerminalEmulator m_terminal;
    CECRProto m_proto;
};

TEST_P(ProtoTerminal, PingIsSixteenBytesAndGetsItsAnswer) {
    ASSERT_EQ(ECRPC_OK, sendPing());
    CTLVMessage answer;
    ASSERT_EQ(ECRPC_OK, poll(answer));
    EXPECT_EQ(12u, numberOf(answer, ETag_MsgType));
    EXPECT_EQ(kPingFrame + Bytes{kACK}, receivedAtLeast(17));
    ASSERT_EQ(1u, m_terminal.requests().size());
    EXPECT_EQ(msg::PingRequest, m_terminal.requests()[0].msgType());
}

TEST_P(ProtoTerminal, NakThenAckSendsTheFrameTwice) {
    m_terminal.nakNextFrames(1);
    ASSERT_EQ(ECRPC_OK, sendPing());
    EXPECT_EQ(repeat(kPingFrame, 2), receivedAtLeast(32));
}

TEST_P(ProtoTerminal, StatusFramesAreAcknowledgedOrRefused) {
    pushAndWait({Step::status(statusOf(1))}, statusOf(1).dump().size() + 4);
    CTLVMessage status;
    EXPECT_EQ(ECRPC_STATUSMSG, poll(status));
    EXPECT_EQ(1u, numberOf(status, ETag_StatMsgCode));

    pushAndWait({Step::status(statusOf(2)).badChecksum().noAckWait()},
                statusOf(2).dump().size() + 4);
    EXPECT_EQ(ECRPC_BROKENSTATUS, poll(status));
    EXPECT_EQ(Bytes({kACK, kNAK}), receivedAtLeast(2));
}

TEST_P(ProtoTerminal, BadDataChecksumIsRefusedAndTheRepeatTaken) {
    LeMessage final = LeMessage().num(tag::MsgType, msg::PingResponse);
    pushAndWait({Step::frame(final).badChecksum(1)}, final.dump().size() + 4);
    CTLVMessage answer;
    EXPECT_EQ(ECRPC_OK, poll(answer));
    EXPECT_EQ(Bytes({kNAK, kACK}), receivedAtLeast(2));
}

struct LeadCase {
    std::uint8_t lead;
    int rc;
};

TEST_P(ProtoTerminal, SingleLeadBytesAreReportedAndNotAnswered) {
    for (LeadCase c : {LeadCase{0x07, ECRPC_CHECKTERMINAL}, LeadCase{0x04, ECRPC_EOTRECEIVED},
                       LeadCase{0x41, ECRPC_UNKNOWNSTX}}) {
        pushAndWait({Step::bytes({c.lead})}, 1);
        CTLVMessage message;
        EXPECT_EQ(c.rc, poll(message)) << int(c.lead);
    }
    expectNothingWrittenBefore();
}

TEST_P(ProtoTerminal, PurchaseIsAnsweredWithStatusesAndAnApprovedReceipt) {
    CTLVMessage request;
    addNumber(request, ETag_MsgType, EMsgType_TxnRequest);
    addNumber(request, ETag_TxnType, ETxnType_Purchase);
    addNumber(request, ETag_Amount, 1000);
    addNumber(request, ETag_MerchIdx, 1);
    addNumber(request, ETag_AddAmount, 0);
    ASSERT_EQ(ECRPC_OK, m_proto.sendMessage(request));

    CTLVMessage answer;
    EXPECT_EQ(ECRPC_STATUSMSG, poll(answer));
    EXPECT_EQ(ECRPC_STATUSMSG, poll(answer));
    ASSERT_EQ(ECRPC_OK, poll(answer));
    EXPECT_EQ(2u, numberOf(answer, ETag_MsgType));
    EXPECT_EQ(0u, numberOf(answer, ETag_ResponseCode));
    EXPECT_EQ(1000u, numberOf(answer, ETag_Amount));
    EXPECT_EQ("123456789012", textOf(answer, ETag_RRN));
    EXPECT_EQ("516875******1234", textOf(answer, ETag_PAN));
    std::string receipt = textOf(answer, ETag_Receipt);
    EXPECT_NE(std::string::npos, receipt.find("\xD1\xD3\xCC\xC0: 10.00 UAH")) << receipt;
    EXPECT_TRUE(answer.isFileBufferEnd());

    ASSERT_EQ(1u, m_terminal.requests().size());
    EXPECT_EQ(1000u, m_terminal.requests()[0].number(tag::Amount));
}

INSTANTIATE_TEST_SUITE_P(Links, ProtoTerminal, ::testing::Values(Link::Tcp, Link::Pty), linkName);

// The rest runs over TCP only: the framing is the same on both links.
class ProtoTcpTerminal : public ProtoTerminal {};

TEST_P(ProtoTcpTerminal, AnswerBytesEndTheSend) {
    struct Case {
        std::vector<int> answers;
        int rc;
        int frames;
        Bytes after;
    };
    for (const Case& c :
         {Case{{kNAK, kNAK, kNAK}, ECRPC_NOATTEMPTS, 3, {}},
          Case{{kEOT}, ECRPC_EOTRECEIVED, 1, {kEOT}}, Case{{0x00}, ECRPC_UNKNOWNACK, 1, {kEOT}}}) {
        m_terminal.clearRecords();
        m_terminal.answerNextFrames(c.answers);
        EXPECT_EQ(c.rc, sendPing());
        Bytes expected = repeat(kPingFrame, c.frames) + c.after;
        EXPECT_EQ(expected, receivedAtLeast(expected.size()));
    }
}

TEST_P(ProtoTcpTerminal, UnsendableMessagesWriteNothing) {
    CTLVMessage empty;
    EXPECT_EQ(ECRPC_EMPTYMSG, m_proto.sendMessage(empty));
    CTLVMessage noValue;
    addNumber(noValue, ETag_MsgType, EMsgType_TxnRequest);
    noValue.addTag(new CTLVTag(ETag_RRN, const_cast<char*>("")));
    EXPECT_EQ(TLVC_NOVALUE, m_proto.sendMessage(noValue));
    expectNothingWrittenBefore();
}

TEST_P(ProtoTcpTerminal, ThreeBadCopiesUseUpTheAttempts) {
    LeMessage final = LeMessage().num(tag::MsgType, msg::PingResponse);
    m_terminal.push({Step::frame(final).badChecksum(3)});
    CTLVMessage answer;
    EXPECT_EQ(ECRPC_NOATTEMPTS, poll(answer));
    EXPECT_EQ(Bytes({kNAK, kNAK, kNAK}), receivedAtLeast(3));
}

TEST_P(ProtoTcpTerminal, DataFrameOfTypeStatusIsAStatusMessage) {
    pushAndWait({Step::frame(statusOf(1))}, statusOf(1).dump().size() + 4);
    CTLVMessage message;
    EXPECT_EQ(ECRPC_STATUSMSG, poll(message));
    EXPECT_EQ(Bytes{kACK}, receivedAtLeast(1));
}

TEST_P(ProtoTcpTerminal, BodyLengthLimits) {
    // 12 bytes of message type, 8 of header and 4076 of text: 4096 in all.
    LeMessage largest =
        LeMessage().num(tag::MsgType, msg::PingResponse).text(tag::AddData, std::string(4076, 'x'));
    ASSERT_EQ(4096u, largest.dump().size());
    pushAndWait({Step::frame(largest)}, 4100);
    CTLVMessage message;
    EXPECT_EQ(ECRPC_OK, poll(message));
    EXPECT_EQ(4076u, textOf(message, ETag_AddData).size());
    EXPECT_EQ(Bytes{kACK}, receivedAtLeast(1));

    for (auto c : {std::make_pair(4097, ECRPC_MAXSIZE), std::make_pair(0, ECRPC_EMPTYMSG)}) {
        m_terminal.clearRecords();
        pushAndWait({Step::bytes(frameHeader(static_cast<std::uint16_t>(c.first)))}, 3);
        EXPECT_EQ(c.second, poll(message)) << c.first;
        EXPECT_EQ(Bytes{kEOT}, receivedAtLeast(1)) << c.first;
    }
}

TEST_P(ProtoTcpTerminal, UnparsableBodyIsAcknowledgedAndReported) {
    pushAndWait({Step::frameOf({1, 2, 3, 4})}, 8);
    CTLVMessage message;
    EXPECT_EQ(TLVC_INVALIDSEQ, poll(message));
    EXPECT_EQ(Bytes{kACK}, receivedAtLeast(1));
}

TEST_P(ProtoTcpTerminal, FrameSplitOverSeveralWritesIsReassembled) {
    LeMessage final = DefaultAnswers::statusMessage(3);
    pushAndWait({Step::status(final).split({1, 1, 5})}, final.dump().size() + 4);
    CTLVMessage message;
    EXPECT_EQ(ECRPC_STATUSMSG, poll(message));
    EXPECT_EQ(3u, numberOf(message, ETag_StatMsgCode));
}

TEST_P(ProtoTcpTerminal, CheckByteIsEchoedUnlessIgnored) {
    CTLVMessage message;
    ASSERT_EQ(ECRPC_OK, m_proto.sendByte(0x07));
    EXPECT_EQ(ECRPC_CHECKTERMINAL, poll(message));

    m_terminal.setEchoCheckByte(false);
    ASSERT_EQ(ECRPC_OK, m_proto.sendByte(0x07));
    ASSERT_TRUE(m_terminal.waitForReceived(2, kWaitMs));
    ASSERT_TRUE(m_terminal.waitIdle(kWaitMs));
    EXPECT_EQ(ECRPC_RECVTIMEOUT, m_proto.recvMessage(message));
}

TEST_P(ProtoTcpTerminal, ReceiptArrivesInFilePartsAndIsAssembled) {
    CTLVMessage request;
    addNumber(request, ETag_MsgType, EMsgType_FileRequest);
    addNumber(request, ETag_DataKind, 1);
    ASSERT_EQ(ECRPC_OK, m_proto.sendMessage(request));
    CTLVMessage answer;
    EXPECT_EQ(ECRPC_STATUSMSG, poll(answer));
    for (int part = 1; part <= 3; ++part) {
        ASSERT_EQ(ECRPC_OK, poll(answer)) << part;
        EXPECT_EQ(part == 3, answer.findTag(ETag_Receipt)) << part;
    }
    Request asked = m_terminal.requests().at(0);
    EXPECT_EQ(DefaultAnswers::receiptText(asked), textOf(answer, ETag_Receipt));
}

TEST_P(ProtoTcpTerminal, AbortDuringAnAnswerEndsItWithACancellation) {
    m_terminal.queueReply({Step::status(statusOf(1)), Step::delay(30000),
                           Step::frame(LeMessage().num(tag::MsgType, msg::TxnResponse))});
    CTLVMessage request;
    addNumber(request, ETag_MsgType, EMsgType_TxnRequest);
    addNumber(request, ETag_TxnType, ETxnType_Purchase);
    addNumber(request, ETag_Amount, 500);
    ASSERT_EQ(ECRPC_OK, m_proto.sendMessage(request));
    CTLVMessage answer;
    ASSERT_EQ(ECRPC_STATUSMSG, poll(answer));
    ASSERT_EQ(ECRPC_OK, m_proto.sendAbort());
    ASSERT_EQ(ECRPC_OK, poll(answer));
    EXPECT_EQ(2u, numberOf(answer, ETag_MsgType));
    EXPECT_EQ(2u, numberOf(answer, ETag_AddResult));
}

TEST_P(ProtoTcpTerminal, ClosedConnectionCanBeOpenedAgain) {
    m_terminal.push({Step::close()});
    ASSERT_TRUE(m_terminal.waitIdle(kWaitMs));
    EXPECT_EQ(ECRPC_OK, m_proto.close());
    ASSERT_EQ(ECRPC_OK, m_proto.open(false));
    expectNothingWrittenBefore();
    EXPECT_EQ(2, m_terminal.connections());
}

INSTANTIATE_TEST_SUITE_P(Links, ProtoTcpTerminal, ::testing::Values(Link::Tcp), linkName);
} // namespace
