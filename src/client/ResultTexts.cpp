#include "client/ResultTexts.h"

const char* const gErrorsD[16] = {
    "No error",
    "Error",
    "Failed to open port",
    "Failed to enumerate ports",
    "Failed to connect to client",
    "Port is not opened",
    "Client not inited",
    "Another task is running",
    "No data available",
    "Message corrupted",
    "Too small buffer for data",
    "Device Disconnected",
    "Timeout recive error",
    "Can't send message",
    "Terminal connection error",
    "Unknown error",
};
