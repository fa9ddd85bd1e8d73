#pragma once

#include <istream>
#include <ostream>
#include <string>

// The library's log. Everything outside Logger.cpp logs through these calls.
class VELALogger {
public:
    // Short log: calls, arguments, protocol events, errors (levels 1 and 2).
    // Returns 0; 3 when writing failed (the failure is swallowed).
    static int WriteShort(const std::string& text);
    // Detailed log: accessor calls and connection steps (level 2 only).
    static int WriteDetailed(const std::string& text);
};

enum ESeverityLevel { trace = 0, debug = 1, info = 2, warning = 3, error = 4 };

// Writes the level's name for 0..4 and the number otherwise.
std::ostream& operator<<(std::ostream& out, ESeverityLevel level);
// Reads one word and sets the level whose name matches exactly; leaves the
// target unchanged when none does.
std::istream& operator>>(std::istream& in, ESeverityLevel& level);

// Sets up the log file and the severity threshold (records below it are
// dropped; 5 drops everything). A path used before in this process, or an
// empty path, only changes the threshold. May throw.
void gvLoggingInit(const std::string& path, ESeverityLevel level);

// The calling thread's identifier as written in log lines: the native handle
// in lower-case hexadecimal.
std::string CurrentThreadIDToString();
