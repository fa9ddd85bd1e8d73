#include "engine/File.h"

#include "protocol/TLVTag.h"

#include <utility>

namespace vela {

namespace {
// The fopen mode of a set of open flags; empty when no base mode is given.
std::string modeOf(unsigned char flags) {
    std::string mode;
    if (flags & CFile::kRead)
        mode = "r";
    else if (flags & CFile::kWrite)
        mode = "w";
    else if (flags & CFile::kAppend)
        mode = "a";
    else
        return mode;
    if (flags & CFile::kBinary)
        mode += 'b';
    if (flags & (CFile::kWrite | CFile::kAppend | CFile::kUpdate))
        mode += '+';
    return mode;
}
} // namespace

CFile::CFile(std::string path) : m_path(std::move(path)) {}

CFile::~CFile() {
    if (m_isOpened)
        Close();
}

int CFile::Open(unsigned char flags) {
    std::string mode = modeOf(flags);
    if (mode.empty())
        return 6;
    if (m_isOpened)
        Close();
    m_file = std::fopen(m_path.c_str(), mode.c_str());
    if (m_file == nullptr)
        return 1;
    m_isOpened = true;
    // A size that does not fit the limit (or cannot be taken) is refused.
    long size = -1;
    if (std::fseek(m_file, 0, SEEK_END) == 0)
        size = std::ftell(m_file);
    if (size < 0 || static_cast<unsigned long>(size) >= kSizeLimit)
        return 5;
    m_fileSize = static_cast<std::uint32_t>(size);
    m_blockNum = 1;
    m_blockCount = m_fileSize / kBlockDataSize + (m_fileSize % kBlockDataSize != 0 ? 1 : 0);
    std::rewind(m_file);
    m_isEnd = false;
    m_readPos = 0;
    return 0;
}

int CFile::ReadBinaryFileBlock(char* block, unsigned& length) {
    if (block == nullptr || m_file == nullptr)
        return 6;
    if (m_isEnd)
        return 0;
    unsigned char* header = reinterpret_cast<unsigned char*>(block);
    numToBin(header, m_blockNum);
    numToBin(header + 4, m_blockCount);
    std::uint32_t count = m_fileSize - m_readPos;
    if (count > kBlockDataSize)
        count = kBlockDataSize;
    if (std::fread(block + kBlockHeaderSize, 1, count, m_file) != count)
        return 3;
    m_readPos += count;
    m_blockNum += 1;
    length = count + kBlockHeaderSize;
    if (m_readPos == m_fileSize)
        m_isEnd = true;
    return 0;
}

int CFile::Close() {
    if (m_file == nullptr)
        return 2;
    // The stream is gone even when fclose reports a failure: it must not be
    // closed a second time.
    int rc = std::fclose(m_file);
    m_file = nullptr;
    m_isOpened = false;
    return rc == 0 ? 0 : 2;
}

} // namespace vela
