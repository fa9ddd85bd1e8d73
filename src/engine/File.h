#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vela {

// Reads one local file in numbered blocks for sending to the terminal. Each
// block starts with its number (from 1) and the block count of the whole
// file, both big-endian, followed by up to kBlockDataSize data bytes.
class CFile {
public:
    static constexpr unsigned kBlockDataSize = 512;
    static constexpr unsigned kBlockHeaderSize = 8;
    // Files of this size or larger are refused.
    static constexpr std::uint32_t kSizeLimit = 2097152;

    // Open flags; the engine opens with kRead | kBinary.
    enum EOpenFlag : unsigned char {
        kRead = 1,
        kWrite = 2,
        kAppend = 4,
        kBinary = 8,
        kUpdate = 16,
    };

    explicit CFile(std::string path);
    // Closes a file still open.
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // 0 opened; 6 no read, write or append flag; 1 the file cannot be
    // opened; 5 it is 2 MiB or larger (it stays open, Close() releases it).
    int Open(unsigned char flags);
    // Writes the next block to block (room for header and a full block) and
    // its length to length. 0 done (also, writing nothing, once the last
    // block has been read); 6 no buffer or no open file; 3 short read.
    int ReadBinaryFileBlock(char* block, unsigned& length);
    // 0 closed; 2 nothing open or fclose failed (the stream is released
    // either way).
    int Close();

    bool isOpened() const { return m_isOpened; }
    bool isEnd() const { return m_isEnd; }
    std::uint32_t blockNum() const { return m_blockNum; }
    std::uint32_t blockCount() const { return m_blockCount; }
    std::uint32_t fileSize() const { return m_fileSize; }

private:
    std::string m_path;
    std::FILE* m_file = nullptr;
    bool m_isOpened = false;
    bool m_isEnd = false;
    std::uint32_t m_readPos = 0;
    std::uint32_t m_blockNum = 1;
    std::uint32_t m_blockCount = 0;
    std::uint32_t m_fileSize = 0;
};

} // namespace vela
