#include "IconViewer.h"

#include "../../common/Controls.h"
#include "PreviewIds.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace {
// More icons than any file holds; a count beyond it is taken as this many.
constexpr UINT kMostIcons = 4096;
} // namespace

bool IconViewer::Create(PreviewHost& host)
{
    m_host = &host;
    m_list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_ICON | LVS_SHAREIMAGELISTS, 0, 0, 0, 0, host.Pane(),
                             ControlId(IDC_PREVIEW_ICONS), GetModuleHandleW(nullptr), nullptr);
    if (!m_list)
        return false;
    m_images.Reset(ImageList_Create(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), ILC_COLOR32 | ILC_MASK,
                                    8, 8));
    ListView_SetImageList(m_list, m_images.Get(), LVSIL_NORMAL);
    return true;
}

void IconViewer::Layout()
{
    const RECT area = m_host->ViewArea();
    MoveWindow(m_list, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void IconViewer::Reset()
{
    ShowWindow(m_list, SW_HIDE);
}

void IconViewer::Show(const std::wstring& path, const std::wstring& /*ext*/, uint64_t /*size*/)
{
    Layout();
    ShowWindow(m_list, SW_SHOW);
    RedrawGuard redraw(m_list);
    ListView_DeleteAllItems(m_list);
    ImageList_RemoveAll(m_images.Get());
    const UINT found = ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0);
    if (found == 0 || found == static_cast<UINT>(-1))
        return;
    const UINT count = std::min(found, kMostIcons);
    std::vector<HICON> icons(count);
    const UINT extracted = std::min(ExtractIconExW(path.c_str(), 0, icons.data(), nullptr, count), count);
    for (UINT k = 0; k < extracted; ++k) {
        if (!icons[k])
            continue;
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = static_cast<int>(k);
        item.iImage = ImageList_AddIcon(m_images.Get(), icons[k]);
        ListView_InsertItem(m_list, &item);
        DestroyIcon(icons[k]); // the image list keeps its own copy
    }
}
