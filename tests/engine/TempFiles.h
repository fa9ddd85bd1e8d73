#pragma once

// Files in a private temporary directory, removed with it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

class TempFiles {
public:
    TempFiles() {
        char pattern[] = "/tmp/vela_engine_XXXXXX";
        const char* dir = mkdtemp(pattern);
        EXPECT_NE(dir, nullptr);
        m_dir = dir != nullptr ? dir : "/tmp";
    }
    ~TempFiles() {
        for (const std::string& path : m_paths)
            unlink(path.c_str());
        rmdir(m_dir.c_str());
    }
    TempFiles(const TempFiles&) = delete;
    TempFiles& operator=(const TempFiles&) = delete;

    // A file holding bytes.
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) {
        std::string path = pathOf(name);
        std::FILE* file = std::fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr) << path;
        if (file != nullptr) {
            if (!bytes.empty())
                std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        return path;
    }
    // A file of size zero bytes, made without writing them.
    std::string sized(const std::string& name, long size) {
        std::string path = write(name, {});
        EXPECT_EQ(truncate(path.c_str(), size), 0);
        return path;
    }
    std::string pathOf(const std::string& name) {
        std::string path = m_dir + "/" + name;
        m_paths.push_back(path);
        return path;
    }

private:
    std::string m_dir;
    std::vector<std::string> m_paths;
};

// size bytes of a pattern that shows shifted or lost bytes.
inline std::vector<unsigned char> patternBytes(std::size_t size) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(i % 251);
    return bytes;
}
