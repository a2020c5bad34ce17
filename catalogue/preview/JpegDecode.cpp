#include "JpegDecode.h"

#include "common/Log.h"
#include "common/UniqueHandle.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared before it
#include <new>
#include <vector>

// libjpeg-turbo's Windows jconfig.h makes boolean an unsigned char, as rpcndr.h does, so the
// two headers agree on it.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg ends a fatal error by calling error_exit, which must not return. Ours jumps back to
// the setjmp of the function that made the call. longjmp skips destructors, so the functions
// that call libjpeg (ReadHeader, ReadRows) hold only plain data between setjmp and their last
// libjpeg call; everything with a destructor lives in their caller.
struct Decoder {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
};

Decoder& DecoderOf(j_common_ptr info)
{
    return *static_cast<Decoder*>(info->client_data);
}

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    std::longjmp(DecoderOf(info).jump, 1);
}

// Warnings go nowhere (the default writes to stderr), except the one for data that ends early:
// libjpeg then inserts an end marker and fills the rest grey, but a picture cut short is
// refused like a corrupt one, so that the viewer does not show half a picture as if whole.
void OnMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        JumpOnError(info);
}

// A progressive file of a few kilobytes can hold thousands of tiny scans, each a pass over the
// whole picture: minutes of work for nothing. No real encoder writes more than a few dozen.
constexpr int kMaxScans = 1000;

void OnProgress(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans)
        JumpOnError(info);
}

// Sets the decoder up, reads the header and chooses the output colour space. False when the
// bytes are no JPEG. d starts zeroed, so that jpeg_destroy_decompress is safe whatever fails.
bool ReadHeader(Decoder& d, const uint8_t* data, size_t size)
{
    d.info.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = JumpOnError;
    d.errors.emit_message = OnMessage;
    d.info.client_data = &d;
    if (setjmp(d.jump))
        return false;
    jpeg_create_decompress(&d.info); // keeps err and client_data
    d.progress.progress_monitor = OnProgress;
    d.info.progress = &d.progress;
    // Bounds the buffers of a progressive file (its coefficients take twice the bytes of the
    // pixels for a full-resolution colour picture); beyond it libjpeg ends with an error.
    d.info.mem->max_memory_to_use = static_cast<long>(kMaxPictureBytes);
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK)
        return false;
    // Grey, YCbCr and RGB convert to the DIB's blue-green-red order in libjpeg; CMYK and YCCK
    // (Adobe's printing files) come out as CMYK, which ConvertCmykRow turns into BGR.
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&d.info);
    return true;
}

// Adobe's encoders write CMYK inverted (0 = full ink); others plainly.
void ConvertCmykRow(const uint8_t* cmyk, uint8_t* bgr, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned ink = inverted ? cmyk[2 - channel] : 255u - cmyk[2 - channel];
            bgr[channel] = static_cast<uint8_t>((ink * k + 127) / 255);
        }
    }
}

// Decodes every row into picture, whose pixels are allocated to its size; cmykRow holds one
// row of CMYK output where the file has it. False on any error.
bool ReadRows(Decoder& d, Dib24& picture, uint8_t* cmykRow)
{
    if (setjmp(d.jump))
        return false;
    jpeg_start_decompress(&d.info);
    const bool inverted = d.info.saw_Adobe_marker;
    while (d.info.output_scanline < d.info.output_height) {
        // libjpeg delivers the top row first; the DIB keeps the bottom row first.
        uint8_t* row = picture.Row(picture.height - 1 - static_cast<int>(d.info.output_scanline));
        JSAMPROW target = cmykRow ? cmykRow : row;
        if (jpeg_read_scanlines(&d.info, &target, 1) != 1)
            return false;
        if (cmykRow)
            ConvertCmykRow(cmykRow, row, d.info.output_width, inverted);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

// Frees what libjpeg allocated for the decoder, also after an error.
class DecoderScope {
public:
    explicit DecoderScope(Decoder& d) : m_d(d) {}
    ~DecoderScope() { jpeg_destroy_decompress(&m_d.info); }
    DecoderScope(const DecoderScope&) = delete;
    DecoderScope& operator=(const DecoderScope&) = delete;

private:
    Decoder& m_d;
};

bool Refuse(Dib24& picture)
{
    picture = Dib24();
    return false;
}

} // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, Dib24& picture)
{
    picture = Dib24();
    // jpeg_mem_src takes an unsigned long, 32 bits on Windows.
    if (!data || size == 0 || size > 0xFFFFFFFFu)
        return false;
    Decoder d{};
    DecoderScope scope(d);
    if (!ReadHeader(d, data, size))
        return Refuse(picture);
    const uint64_t width = d.info.output_width;
    const uint64_t height = d.info.output_height;
    if (width == 0 || height == 0 || width * height * 3 > kMaxPictureBytes)
        return Refuse(picture);
    std::vector<uint8_t> cmykRow;
    try {
        picture.width = static_cast<int>(width);
        picture.height = static_cast<int>(height);
        picture.pixels.assign(picture.Stride() * picture.height, 0);
        if (d.info.out_color_space == JCS_CMYK)
            cmykRow.resize(width * 4);
    } catch (const std::bad_alloc&) {
        Log::Write(LogLevel::Warning, L"preview", L"no memory for a JPEG picture of %u x %u", unsigned(width),
                   unsigned(height));
        return Refuse(picture);
    }
    if (!ReadRows(d, picture, cmykRow.empty() ? nullptr : cmykRow.data()))
        return Refuse(picture);
    return true;
}

bool DecodeJpegFile(const std::wstring& path, Dib24& picture)
{
    picture = Dib24();
    // Larger files are no pictures the preview shows, and reading one whole would waste a
    // quarter of a 32-bit process's address space.
    constexpr LONGLONG kMaxFileBytes = LONGLONG(256) << 20;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return Log::LastError(L"preview", L"CreateFileW");
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size))
        return Log::LastError(L"preview", L"GetFileSizeEx");
    if (size.QuadPart <= 0 || size.QuadPart > kMaxFileBytes)
        return false;
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr))
            return Log::LastError(L"preview", L"ReadFile");
        if (read == 0)
            break; // the file became shorter since its size was asked
        done += read;
    }
    return DecodeJpeg(bytes.data(), done, picture);
}
