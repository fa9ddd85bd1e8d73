#include "communication/ICommunication.h"

#include "communication/SerialRS232.h"
#include "communication/TcpIpNative.h"

namespace Communication {

ICommunication* createCommIns(int type) {
    if (type == ECommType_TCP)
        return new CSeralTCPIP_native();
    return new CSerialRS232(false);
}

void destroyCommIns(ICommunication* communication) {
    delete communication;
}

} // namespace Communication
