#include "ScanProgressDialog.h"

#include "../../common/MessagePump.h"
#include "../../common/UniqueHandle.h"
#include "../../common/Program.h"
#include "EnglishTexts.h"
#include "resource.h"

#include <algorithm>
#include <string>

ScanProgressDialog::ScanProgressDialog(Program& program) : Dialog(IDD_SCAN_PROGRESS), m_program(program)
{
}

bool ScanProgressDialog::OnInit()
{
    if (m_program.English())
        ApplyTexts(EnglishTexts::kScanProgressDialog);
    return true;
}

void ScanProgressDialog::SetPercent(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent == m_percent)
        return;
    m_percent = percent;
    InvalidateRect(Item(IDC_SCAN_GAUGE), nullptr, FALSE);
}

void ScanProgressDialog::OnCancel()
{
    m_program.CancelFlag() = 1;
    MessagePump::ProcessMessages();
    m_program.EndApplication();
}

bool ScanProgressDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    if (msg == WM_DRAWITEM && wParam == IDC_SCAN_GAUGE) {
        DrawGauge(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    return false;
}

void ScanProgressDialog::DrawGauge(const DRAWITEMSTRUCT& item) const
{
    // Blue ground, red fill, the percentage in the middle.
    const RECT& rc = item.rcItem;
    HDC hdc = item.hDC;
    UniqueHBrush blue(CreateSolidBrush(RGB(0, 0, 160)));
    UniqueHBrush red(CreateSolidBrush(RGB(200, 0, 0)));
    FillRect(hdc, &rc, blue.Get());
    RECT fill = rc;
    fill.right = rc.left + (rc.right - rc.left) * m_percent / 100;
    FillRect(hdc, &fill, red.Get());
    FrameRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    std::wstring text = std::to_wstring(m_percent) + L"%";
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    SelectObjectGuard font(hdc, reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0)));
    RECT textRect = rc;
    DrawTextW(hdc, text.c_str(), -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
