// The one translation unit that includes Boost.Log. Everything else logs
// through VELALogger.
#include "diagnostics/VELALogger.h"

#include <boost/core/null_deleter.hpp>
#include <boost/log/attributes/clock.hpp>
#include <boost/log/core.hpp>
#include <boost/log/expressions.hpp>
#include <boost/log/sinks/sync_frontend.hpp>
#include <boost/log/sinks/text_file_backend.hpp>
#include <boost/log/sources/global_logger_storage.hpp>
#include <boost/log/sources/record_ostream.hpp>
#include <boost/log/sources/severity_logger.hpp>
#include <boost/log/support/date_time.hpp>
#include <boost/thread/thread.hpp>

#include <atomic>
#include <mutex>
#include <pthread.h>
#include <set>
#include <sstream>
#include <unordered_set>

namespace logging = boost::log;
namespace sinks = boost::log::sinks;
namespace expr = boost::log::expressions;
namespace keywords = boost::log::keywords;

namespace {

const char* const gpStrings[] = {"trace", "debug", "info", "warning", "error"};
const std::size_t kLevelCount = sizeof gpStrings / sizeof gpStrings[0];
const unsigned long kRotationSize = 1048576; // 1 MiB

typedef logging::sources::severity_logger_mt<ESeverityLevel> SeverityLogger;
typedef sinks::synchronous_sink<sinks::text_file_backend> FileSink;

BOOST_LOG_ATTRIBUTE_KEYWORD(severity, "Severity", ESeverityLevel)
BOOST_LOG_ATTRIBUTE_KEYWORD(timestamp, "TimeStamp", boost::posix_time::ptime)

// Set once a log file has been set up. Until then nothing is written: with no
// sink of its own the logging core would print records to the console, and
// the library never prints on its own.
std::atomic<bool> gHasFileSink{false};

SeverityLogger& SLogger() {
    static SeverityLogger logger;
    return logger;
}

std::string hexThreadId(unsigned long long handle) {
    std::ostringstream text;
    text << std::hex << std::nouppercase << handle;
    return text.str();
}

// On rotation the full file is renamed to "<path>.1" (replacing an older one)
// and a fresh file is started, so the log stays bounded on small machines.
std::string rotationTarget(const std::string& path) {
    std::string pattern;
    for (char c : path) {
        pattern += c;
        if (c == '%')
            pattern += '%'; // a literal '%' in the path, not a placeholder
    }
    return pattern + ".1";
}

int write(ESeverityLevel level, const std::string& text) {
    if (!gHasFileSink.load(std::memory_order_acquire))
        return 0;
    try {
        SeverityLogger& logger = SLogger();
        logging::record record = logger.open_record(keywords::severity = level);
        if (!record)
            return 0;
        logging::record_ostream stream(record);
        stream << CurrentThreadIDToString() << " " << text;
        stream.flush();
        logger.push_record(boost::move(record));
        return 0;
    } catch (...) {
        return 3;
    }
}

} // namespace

std::ostream& operator<<(std::ostream& out, ESeverityLevel level) {
    int value = static_cast<int>(level);
    if (value >= 0 && static_cast<std::size_t>(value) < kLevelCount)
        out << gpStrings[value];
    else
        out << value;
    return out;
}

std::istream& operator>>(std::istream& in, ESeverityLevel& level) {
    std::string word;
    if (in >> word) {
        for (std::size_t i = 0; i < kLevelCount; ++i) {
            if (word == gpStrings[i]) {
                level = static_cast<ESeverityLevel>(i);
                break;
            }
        }
    }
    return in;
}

std::string ThreadIDToString(const boost::thread::id& id) {
    if (id == boost::thread::id())
        return "{Not-any-thread}";
    if (id == boost::this_thread::get_id())
        return CurrentThreadIDToString();
    std::ostringstream text;
    text << id;
    return text.str();
}

std::string CurrentThreadIDToString() {
    return hexThreadId(static_cast<unsigned long long>(pthread_self()));
}

void gvLoggingInit(const std::string& path, ESeverityLevel level) {
    static std::mutex gl_mtLogs;
    static std::set<boost::shared_ptr<FileSink>> sink_set;
    static std::unordered_set<std::string> file_set;

    std::lock_guard<std::mutex> lock(gl_mtLogs);
    boost::shared_ptr<logging::core> core = logging::core::get();
    if (!path.empty() && file_set.count(path) == 0) {
        for (const boost::shared_ptr<FileSink>& old : sink_set)
            core->remove_sink(old);
        sink_set.clear();
        gHasFileSink.store(false, std::memory_order_release);

        boost::shared_ptr<FileSink> sink = boost::make_shared<FileSink>(
            keywords::file_name = path, keywords::target_file_name = rotationTarget(path),
            keywords::open_mode = std::ios_base::out | std::ios_base::app,
            keywords::auto_flush = true, keywords::rotation_size = kRotationSize);
        sink->set_formatter(expr::stream << expr::format_date_time(timestamp, "%d/%m/%Y %H:%M:%S")
                                         << " " << expr::smessage);
        core->add_sink(sink);
        sink_set.insert(sink);
        core->add_global_attribute("TimeStamp", logging::attributes::local_clock());
        file_set.insert(path);
        gHasFileSink.store(true, std::memory_order_release);
    }
    core->set_filter(severity >= level);
}

int VELALogger::WriteShort(const std::string& text) {
    return write(error, text);
}

int VELALogger::WriteDetailed(const std::string& text) {
    return write(warning, text);
}
