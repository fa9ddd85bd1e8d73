// The dynamic symbol table of libvelaecr.so holds the public interface and
// nothing else: every VELALib_* function the header declares, and only names
// the version script allows (no Boost, no internals).
#include <gtest/gtest.h>

#include <cstdio>
#include <fnmatch.h>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readFile(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Defined dynamic symbols, demangled ("VELAFactory::createVELAIns()").
std::set<std::string> exportedSymbols() {
    std::set<std::string> names;
    std::string command = std::string("nm -D --defined-only -C '") + VELAECR_LIBRARY + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        // "<address> <type letter> <name>"; the name may hold spaces.
        std::string text(line);
        text.erase(text.find_last_not_of("\r\n") + 1);
        std::size_t type = text.find(' ');
        if (type != std::string::npos && text.size() > type + 3 && text[type + 2] == ' ')
            names.insert(text.substr(type + 3));
    }
    pclose(pipe);
    return names;
}

// The patterns of the version script's global section, quotes removed.
std::vector<std::string> allowedPatterns() {
    std::string script = readFile(VELAECR_VERSION_SCRIPT);
    std::size_t begin = script.find("global:");
    std::size_t end = script.find("local:");
    std::vector<std::string> patterns;
    std::istringstream lines(script.substr(begin + 7, end - begin - 7));
    std::string line;
    while (std::getline(lines, line, ';')) {
        std::size_t brace = line.find_last_of('{');
        if (brace != std::string::npos)
            line = line.substr(brace + 1);
        line.erase(0, line.find_first_not_of(" \t\r\n}"));
        line.erase(line.find_last_not_of(" \t\r\n") + 1);
        if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
            line = line.substr(1, line.size() - 2);
        if (!line.empty())
            patterns.push_back(line);
    }
    return patterns;
}

std::set<std::string> declaredFunctions() {
    std::string header = readFile(VELAECR_HEADER);
    std::set<std::string> names;
    const std::string prefix = "VELALib_";
    for (std::size_t at = header.find(prefix); at != std::string::npos;
         at = header.find(prefix, at + 1)) {
        std::size_t end = header.find_first_not_of(
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_", at);
        if (end != std::string::npos && header[end] == '(')
            names.insert(header.substr(at, end - at));
    }
    return names;
}

TEST(ExportedSymbols, EveryDeclaredFunctionIsExported) {
    std::set<std::string> declared = declaredFunctions();
    ASSERT_EQ(declared.size(), 103u);
    std::set<std::string> exported = exportedSymbols();
    ASSERT_FALSE(exported.empty()) << "nm gave no symbols";
    for (const std::string& name : declared)
        EXPECT_EQ(exported.count(name), 1u) << name;
    for (const char* name : {"create", "destroy", "Utf8ToCp1251", "glVELALib", "creatVELAInstance",
                             "destroyVELAInstance", "VELAFactory::createVELAIns()"})
        EXPECT_EQ(exported.count(name), 1u) << name;
}

TEST(ExportedSymbols, NothingOutsideTheInterfaceIsExported) {
    std::set<std::string> declared = declaredFunctions();
    std::vector<std::string> patterns = allowedPatterns();
    ASSERT_FALSE(patterns.empty());
    for (const std::string& name : exportedSymbols()) {
        if (name.rfind("VELALib_", 0) == 0) {
            EXPECT_EQ(declared.count(name), 1u) << "exported but not declared: " << name;
            continue;
        }
        bool allowed = false;
        for (const std::string& pattern : patterns)
            allowed = allowed || fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
        EXPECT_TRUE(allowed) << "exported outside the interface: " << name;
    }
}

} // namespace
