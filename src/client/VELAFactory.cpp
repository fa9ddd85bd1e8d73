// Placeholder until the facade is built: no instance can be made yet.
#include "velaecr_client.h"

CVELAClient* VELAFactory::createVELAIns() { return nullptr; }

void VELAFactory::destroyVELAIns(CVELAClient* instance) { delete instance; }

extern "C" CVELAClient* create() { return nullptr; }

extern "C" void destroy(CVELAClient* instance) { delete instance; }
