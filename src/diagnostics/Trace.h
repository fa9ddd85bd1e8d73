#pragma once

#include <string>

// Trace hook written beside some log lines. It deliberately writes nothing:
// the library never prints on its own.
class CTrace {
public:
    virtual ~CTrace() {}
    static void Write(const std::string&) {}
};
