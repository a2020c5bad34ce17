// The reader's file access on the build machine (the host build of the lister, the tests and
// the fuzzer): plain stdio files, no removable drives, code pages 437 and 1252.
#include "catalogue/archive/ArcFile.h"

#include <cstdio>
#include <sys/stat.h>

namespace {

// The reader keeps names with "\" separators, as Windows writes them.
std::string NativePath(const std::wstring& name)
{
    std::wstring path = name;
    for (wchar_t& c : path)
        if (c == L'\\')
            c = L'/';
    return EncodeUtf8(path);
}

class StdioFile : public TArcFile {
public:
    StdioFile(std::FILE* file, uint64_t size) : m_file(file), m_size(size) {}
    ~StdioFile() override { std::fclose(m_file); }
    StdioFile(const StdioFile&) = delete;
    StdioFile& operator=(const StdioFile&) = delete;

    uint64_t Size() const override { return m_size; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t n) override
    {
        if (offset >= m_size || n == 0)
            return 0;
        if (offset != m_position && fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) != 0)
            return 0;
        const size_t got = std::fread(buffer, 1, n, m_file);
        m_position = offset + got;
        if (got < n)
            m_position = ~0ULL; // unknown after a short read or error: seek next time
        return got;
    }

private:
    std::FILE* m_file;
    uint64_t m_size;
    uint64_t m_position = 0;
};

class PosixFileSystem : public TArcFileSystem {
public:
    std::unique_ptr<TArcFile> Open(const std::wstring& name) override
    {
        const std::string path = NativePath(name);
        struct stat st {};
        if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return nullptr;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file)
            return nullptr;
        return std::make_unique<StdioFile>(file, static_cast<uint64_t>(st.st_size));
    }
    bool ModifiedTime(const std::wstring& name, int64_t& unixTime) override
    {
        struct stat st {};
        if (stat(NativePath(name).c_str(), &st) != 0)
            return false;
        unixTime = static_cast<int64_t>(st.st_mtime);
        return true;
    }
    bool IsRemovable(const std::wstring&) override { return false; }
    bool HasSpannedSetLabel(const std::wstring&) override { return false; }
};

} // namespace

TArcFileSystem& SystemFileSystem()
{
    static PosixFileSystem fileSystem;
    return fileSystem;
}

std::wstring DecodeOem(const uint8_t* bytes, size_t n)
{
    return DecodeCp437(bytes, n);
}

std::wstring DecodeAnsi(const uint8_t* bytes, size_t n)
{
    return DecodeCp1252(bytes, n);
}
