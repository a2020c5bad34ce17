// The owners of handles and the guards: each closes what it owns, once, and nothing else.

#include "common/UniqueHandle.h"

#include <gtest/gtest.h>

namespace {

bool IsOpenHandle(HANDLE h)
{
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesWhatItOwnsOnceAndHandsItOverByMove)
{
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueFile first(raw);
        UniqueFile second(std::move(first));
        EXPECT_FALSE(first);
        UniqueFile third;
        third = std::move(second);
        third = std::move(third); // self-move keeps the handle
        EXPECT_EQ(third.Get(), raw);
        EXPECT_TRUE(IsOpenHandle(raw));
    }
    EXPECT_FALSE(IsOpenHandle(raw)) << "closed when its owner ends";

    raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueFile owner(raw);
        EXPECT_EQ(owner.Release(), raw);
        EXPECT_FALSE(owner);
    }
    EXPECT_TRUE(IsOpenHandle(raw)) << "released: given up without closing";
    CloseHandle(raw);

    EXPECT_FALSE(UniqueFile(INVALID_HANDLE_VALUE));
    UniqueFindHandle find;
    WIN32_FIND_DATAW data;
    find.Reset(FindFirstFileW(L"C:\\no such folder\\*", &data));
    EXPECT_FALSE(find);
}

TEST(Guards, PutBackWhatTheyChanged)
{
    // The default window procedure keeps a window's redraw state in its WS_VISIBLE bit.
    HWND hwnd =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    {
        RedrawGuard guard(hwnd);
        EXPECT_FALSE(IsWindowVisible(hwnd)) << "redrawing is off";
    }
    EXPECT_TRUE(IsWindowVisible(hwnd));
    DestroyWindow(hwnd);

    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ before = GetCurrentObject(hdc, OBJ_BRUSH);
    UniqueHBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    {
        SelectObjectGuard guard(hdc, brush.Get());
        EXPECT_EQ(GetCurrentObject(hdc, OBJ_BRUSH), brush.Get());
    }
    EXPECT_EQ(GetCurrentObject(hdc, OBJ_BRUSH), before);
    DeleteDC(hdc);
}

} // namespace
