#pragma once
// How the archive reader reaches files and the machine: an interface so that the reader stays
// portable, the tests and the fuzzer can hand it bytes from memory, and the Windows build can
// answer the drive questions. Portable.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One file opened for reading.
class TArcFile {
public:
    virtual ~TArcFile() = default;
    virtual uint64_t Size() const = 0;
    // Reads up to n bytes at offset; returns how many were read (0 at or past the end, or on error).
    virtual size_t ReadAt(uint64_t offset, void* buffer, size_t n) = 0;
};

class TArcFileSystem {
public:
    virtual ~TArcFileSystem() = default;
    // Opens for reading, sharing the file with writers; nullptr when it cannot be opened.
    virtual std::unique_ptr<TArcFile> Open(const std::wstring& name) = 0;
    // The file's modification time as Unix time; false when unknown.
    virtual bool ModifiedTime(const std::wstring& name, int64_t& unixTime) = 0;
    // Whether the drive of the path (or of the current folder for a path without drive) is a
    // removable one. Spanned ZIP sets live on such disks only.
    virtual bool IsRemovable(const std::wstring& name) = 0;
    // Whether that removable disk carries the volume label of a spanned set ("PKBACK# nnn").
    virtual bool HasSpannedSetLabel(const std::wstring& name) = 0;
};

// The machine's own files: plain files natively, the Win32 file and drive functions on Windows.
TArcFileSystem& SystemFileSystem();

// Files kept in memory under a name (tests, the fuzzer). Never removable.
class TMemoryFileSystem : public TArcFileSystem {
public:
    void Add(const std::wstring& name, std::vector<uint8_t> bytes, int64_t unixTime = 0);
    std::unique_ptr<TArcFile> Open(const std::wstring& name) override;
    bool ModifiedTime(const std::wstring& name, int64_t& unixTime) override;
    bool IsRemovable(const std::wstring&) override { return m_removable; }
    bool HasSpannedSetLabel(const std::wstring&) override { return m_spannedLabel; }
    // For tests of the removable-disk branches.
    void SetRemovable(bool removable, bool spannedLabel)
    {
        m_removable = removable;
        m_spannedLabel = spannedLabel;
    }

private:
    struct Entry {
        std::shared_ptr<const std::vector<uint8_t>> bytes;
        int64_t unixTime = 0;
    };
    std::map<std::wstring, Entry> m_files;
    bool m_removable = false;
    bool m_spannedLabel = false;
};

// Text of entry names. The OEM and ANSI code pages are the system's on Windows; natively they
// are code page 437 and Windows-1252 (what an English Windows uses).
std::wstring DecodeOem(const uint8_t* bytes, size_t n);
std::wstring DecodeAnsi(const uint8_t* bytes, size_t n);
std::wstring DecodeCp437(const uint8_t* bytes, size_t n);
std::wstring DecodeCp1252(const uint8_t* bytes, size_t n);
std::wstring DecodeLatin1(const uint8_t* bytes, size_t n);
// Invalid sequences become U+FFFD; code points beyond U+FFFF become surrogate pairs where
// wchar_t has 16 bits.
std::wstring DecodeUtf8(const uint8_t* bytes, size_t n);
std::string EncodeUtf8(const std::wstring& text);
