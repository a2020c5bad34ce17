#pragma once
// The text viewer: a read-only rich text view filling the pane below its title strip. A file
// is first offered to the office text converters registered for its extension, which show a
// document formatted; failing them, a file in rich text format is shown formatted, any other as
// plain text in MS Sans Serif, 8 points. A plain text of more than kLongPlainBytes goes to a
// view of its own that lays out only the lines on screen: the rich text view takes seconds to
// format megabytes. Only the first 16 MB of a file are loaded, with a line saying the rest is
// left out.

#include "ConverterList.h"
#include "PlainTextView.h"
#include "Viewer.h"

class TextViewer : public Viewer {
public:
    bool Create(PreviewHost& host) override;
    void Show(const std::wstring& path, const std::wstring& ext, uint64_t size) override;
    void Reset() override;
    void Layout() override;
    HWND Hwnd() const { return m_edit; }
    const PlainTextView& LongView() const { return m_long; }

    // A converter may pump messages (a progress or password box): a press in the file list
    // meanwhile waits until the conversion has unwound.
    bool Busy() const override { return m_converting; }

    // The filter text of the converters registered at start.
    const std::wstring& Filter() const { return m_filter; }
    // Offers the file at path to each converter of filter whose patterns hold ext, in turn;
    // true when one of them filled the view.
    bool GetFilterIndex(const std::wstring& ext, const std::wstring& filter, const std::wstring& path);
    // Converts the file at path into the view with the converter at index: 1 on success; 0 on
    // failure, leaving the error text in the view.
    int TextFilter(const std::wstring& path, int index);

    // The most of a file the view loads.
    static constexpr uint64_t kMaxBytes = 16u << 20;
    // Plain texts larger than this are shown in the view of long texts.
    static constexpr size_t kLongPlainBytes = 256 * 1024;

private:
    // (Re)creates the rich edit view, empty and hidden.
    bool MakeView();
    void SetPlainFont();
    // Texts longer than this many characters are not emptied but thrown away with their view.
    static constexpr int kLongText = 256 * 1024;
    void StreamIn(const char* data, size_t size, WPARAM format);
    void ShowLong(const std::string& bytes, bool cut);

    PreviewHost* m_host = nullptr;
    HWND m_edit = nullptr;
    PlainTextView m_long;
    ConverterList m_converters;
    std::wstring m_filter;
    bool m_converting = false;
};
