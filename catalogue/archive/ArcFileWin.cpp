// The reader's file access on Windows: Win32 files opened for shared reading, the drive type of
// the archive's drive, and the system's OEM and ANSI code pages for entry names.
#include "catalogue/archive/ArcFile.h"

#include <windows.h>

namespace {

class Win32File : public TArcFile {
public:
    Win32File(HANDLE file, uint64_t size) : m_file(file), m_size(size) {}
    ~Win32File() override { CloseHandle(m_file); }
    Win32File(const Win32File&) = delete;
    Win32File& operator=(const Win32File&) = delete;

    uint64_t Size() const override { return m_size; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t n) override
    {
        if (offset >= m_size || n == 0)
            return 0;
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(m_file, to, nullptr, FILE_BEGIN))
            return 0;
        DWORD got = 0;
        const DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
        if (!ReadFile(m_file, buffer, want, &got, nullptr))
            return 0;
        return got;
    }

private:
    HANDLE m_file;
    uint64_t m_size;
};

// "C:\" for "C:\x\y.zip"; the current folder's drive for a path without one; empty for UNC.
std::wstring DriveRoot(const std::wstring& name)
{
    if (name.size() >= 2 && name[1] == L':')
        return name.substr(0, 2) + L"\\";
    if (name.size() >= 2 && name[0] == L'\\' && name[1] == L'\\')
        return std::wstring();
    wchar_t current[MAX_PATH + 1] = {};
    const DWORD n = GetCurrentDirectoryW(MAX_PATH, current);
    if (n >= 2 && n < MAX_PATH && current[1] == L':')
        return std::wstring(current, 2) + L"\\";
    return std::wstring();
}

std::wstring Decode(UINT codePage, const uint8_t* bytes, size_t n)
{
    if (n == 0)
        return std::wstring();
    const int count =
        MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(n), nullptr, 0);
    std::wstring out(count > 0 ? static_cast<size_t>(count) : 0, L'\0');
    if (count > 0)
        MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(n), &out[0], count);
    return out;
}

class Win32FileSystem : public TArcFileSystem {
public:
    std::unique_ptr<TArcFile> Open(const std::wstring& name) override
    {
        HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return nullptr;
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file, &size)) {
            CloseHandle(file);
            return nullptr;
        }
        return std::make_unique<Win32File>(file, static_cast<uint64_t>(size.QuadPart));
    }
    bool ModifiedTime(const std::wstring& name, int64_t& unixTime) override
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data))
            return false;
        const uint64_t ticks =
            (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
        // FILETIME counts 100 ns from 1601; Unix time seconds from 1970.
        unixTime = static_cast<int64_t>(ticks / 10000000ULL) - 11644473600LL;
        return true;
    }
    bool IsRemovable(const std::wstring& name) override
    {
        const std::wstring root = DriveRoot(name);
        return !root.empty() && GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE;
    }
    bool HasSpannedSetLabel(const std::wstring& name) override
    {
        // PKZIP labels each disk of a spanned set "PKBACK# 001", "PKBACK# 002", ...
        const std::wstring root = DriveRoot(name);
        wchar_t label[MAX_PATH + 1] = {};
        if (root.empty() ||
            !GetVolumeInformationW(root.c_str(), label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0))
            return false;
        return std::wstring(label).compare(0, 7, L"PKBACK#") == 0;
    }
};

} // namespace

TArcFileSystem& SystemFileSystem()
{
    static Win32FileSystem fileSystem;
    return fileSystem;
}

std::wstring DecodeOem(const uint8_t* bytes, size_t n)
{
    return Decode(CP_OEMCP, bytes, n);
}

std::wstring DecodeAnsi(const uint8_t* bytes, size_t n)
{
    return Decode(CP_ACP, bytes, n);
}
