// Instances for hosts that use the class interface directly.
#include "client/VELAECRClient.h"
#include "velaecr_client.h"

namespace {
CVELAClient* makeClient() {
    try {
        return new CVELAECRClient();
    } catch (...) {
        return nullptr;
    }
}
} // namespace

CVELAClient* VELAFactory::createVELAIns() {
    return makeClient();
}

void VELAFactory::destroyVELAIns(CVELAClient* instance) {
    delete instance;
}

extern "C" CVELAClient* create() {
    return makeClient();
}

extern "C" void destroy(CVELAClient* instance) {
    delete instance;
}
