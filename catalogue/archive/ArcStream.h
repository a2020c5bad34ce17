#pragma once
// Bounds-checked access to an archive's bytes for the reader's probes and walks. Portable.

#include "catalogue/archive/ArcFile.h"

#include <cstring>

// Little-endian fields of a byte range whose length the caller has checked; a field that would
// reach past the range reads as 0, so a slip can never read outside the buffer.
class TByteView {
public:
    TByteView() = default;
    TByteView(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    const uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    bool Has(size_t offset, size_t n) const { return offset <= m_size && n <= m_size - offset; }
    uint8_t U8(size_t offset) const { return Has(offset, 1) ? m_data[offset] : 0; }
    uint16_t U16(size_t offset) const
    {
        return Has(offset, 2) ? static_cast<uint16_t>(m_data[offset] | (m_data[offset + 1] << 8)) : 0;
    }
    uint32_t U32(size_t offset) const
    {
        return Has(offset, 4)
                   ? static_cast<uint32_t>(m_data[offset]) | (static_cast<uint32_t>(m_data[offset + 1]) << 8) |
                         (static_cast<uint32_t>(m_data[offset + 2]) << 16) |
                         (static_cast<uint32_t>(m_data[offset + 3]) << 24)
                   : 0;
    }
    uint64_t U64(size_t offset) const
    {
        return Has(offset, 8) ? static_cast<uint64_t>(U32(offset)) | (static_cast<uint64_t>(U32(offset + 4)) << 32) : 0;
    }
    bool Matches(size_t offset, const char* text, size_t n) const
    {
        return Has(offset, n) && std::memcmp(m_data + offset, text, n) == 0;
    }

private:
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
};

// A file read through a window cache: a walk over a central directory of 100,000 records costs
// a few dozen reads instead of 100,000 seeks.
class TArcStream {
public:
    // Larger requests than this are refused: no header of any format the reader lists needs more,
    // and a corrupt length field must not make the reader allocate what the file says.
    static constexpr size_t kMaxPeek = 1u << 20;

    explicit TArcStream(TArcFile& file) : m_file(file), m_size(file.Size()) {}
    uint64_t Size() const { return m_size; }

    // Exactly n bytes at offset, or an empty view when they are not all in the file.
    TByteView Peek(uint64_t offset, size_t n)
    {
        if (n > kMaxPeek || offset > m_size || n > m_size - offset)
            return TByteView();
        if (offset < m_cacheStart || offset + n > m_cacheStart + m_cacheLength) {
            size_t want = n < kWindow ? kWindow : n;
            if (want > m_size - offset)
                want = static_cast<size_t>(m_size - offset);
            if (m_cache.size() < want)
                m_cache.resize(want);
            m_cacheStart = offset;
            m_cacheLength = ReadFully(offset, m_cache.data(), want);
            if (m_cacheLength < n)
                return TByteView();
        }
        return TByteView(m_cache.data() + (offset - m_cacheStart), n);
    }

    // Up to n bytes at offset into buffer; returns how many.
    size_t ReadUpTo(uint64_t offset, uint8_t* buffer, size_t n)
    {
        if (offset >= m_size)
            return 0;
        if (n > m_size - offset)
            n = static_cast<size_t>(m_size - offset);
        return ReadFully(offset, buffer, n);
    }

private:
    static constexpr size_t kWindow = 64 * 1024;

    size_t ReadFully(uint64_t offset, uint8_t* buffer, size_t n)
    {
        size_t done = 0;
        while (done < n) {
            const size_t got = m_file.ReadAt(offset + done, buffer + done, n - done);
            if (got == 0)
                break;
            done += got;
        }
        return done;
    }

    TArcFile& m_file;
    uint64_t m_size;
    std::vector<uint8_t> m_cache;
    uint64_t m_cacheStart = 0;
    size_t m_cacheLength = 0;
};
