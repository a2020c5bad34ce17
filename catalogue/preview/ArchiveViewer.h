#pragma once
// The archive viewer: the entries of an archive (name, date, packed and unpacked size, method)
// in a virtual five-column list filling the pane below its title strip. The archive's directory
// is read in one walk; the next press in the file list stops it.

#include "../archive/ArcReader.h"
#include "Viewer.h"

#include <functional>
#include <vector>

class ArchiveViewer : public Viewer {
public:
    // status shows a text in the status bar part of the preview.
    explicit ArchiveViewer(std::function<void(const std::wstring&)> status) : m_status(std::move(status)) {}

    bool Create(PreviewHost& host) override;
    void Show(const std::wstring& path, const std::wstring& ext, uint64_t size) override;
    void Reset() override;
    void Layout() override;
    void ApplyTexts() override;
    bool Busy() const override { return m_listing; }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::wstring Cell(const TArcEntry& entry, int column) const;

    std::function<void(const std::wstring&)> m_status;
    PreviewHost* m_host = nullptr;
    HWND m_list = nullptr;
    TArcReader m_reader;
    std::vector<TArcEntry> m_rows;
    bool m_listing = false;
};
