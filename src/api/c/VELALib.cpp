// The exported C functions: thin adapters over the one library instance.
#include "velaecr.h"
#include "velaecr_client.h"

CVELAClient* glVELALib = nullptr;
void* creatVELAInstance = nullptr;
void* destroyVELAInstance = nullptr;
