// Placeholder until the transports are built: a transport that never opens.
#include "communication/ICommunication.h"

namespace Communication {
namespace {
class ClosedTransport : public ICommunication {
public:
    int commOpen() override { return COMM_PORTUNAVAILABLE; }
    int commClose() override { return COMM_OK; }
    int commRead(unsigned char*, unsigned int, unsigned int& count) override {
        count = 0;
        return COMM_NOTOPENED;
    }
    int commWrite(const unsigned char*, unsigned int, unsigned int& count) override {
        count = 0;
        return COMM_NOTOPENED;
    }
    int isConnected() override { return COMM_NOTOPENED; }
    int setReadTimeouts(unsigned int, unsigned int) override { return COMM_OK; }
    int flush() override { return COMM_NOTOPENED; }
    int setTraceOpt(bool on) override {
        m_isTraceOn = on;
        return COMM_OK;
    }
};
} // namespace

ICommunication* createCommIns(int) { return new ClosedTransport(); }

void destroyCommIns(ICommunication* communication) { delete communication; }
} // namespace Communication
