#include "common/UniqueHandle.h"

#include <gtest/gtest.h>

namespace {

bool IsOpenHandle(HANDLE h)
{
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesWhatItOwns)
{
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(IsOpenHandle(raw));
    {
        UniqueFile owner(raw);
        EXPECT_TRUE(owner);
        EXPECT_EQ(owner.Get(), raw);
    }
    EXPECT_FALSE(IsOpenHandle(raw));
}

TEST(UniqueHandle, MoveHandsOverOwnershipOnce)
{
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    UniqueFile first(raw);
    UniqueFile second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), raw);
    UniqueFile third;
    third = std::move(second);
    EXPECT_EQ(third.Get(), raw);
    third = std::move(third); // self-move keeps the handle
    EXPECT_TRUE(IsOpenHandle(raw));
    third.Reset();
    EXPECT_FALSE(IsOpenHandle(raw));
}

TEST(UniqueHandle, ReleaseGivesUpWithoutClosing)
{
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueFile owner(raw);
        EXPECT_EQ(owner.Release(), raw);
        EXPECT_FALSE(owner);
    }
    EXPECT_TRUE(IsOpenHandle(raw));
    CloseHandle(raw);
}

TEST(UniqueHandle, PutStoresTheOutParameter)
{
    UniqueHKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
    EXPECT_TRUE(key);
    DWORD subkeys = 0;
    EXPECT_EQ(RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(UniqueHandle, InvalidHandleValueIsNotOwned)
{
    UniqueFile none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);
    UniqueFindHandle find;
    WIN32_FIND_DATAW data;
    find.Reset(FindFirstFileW(L"C:\\no such folder\\*", &data));
    EXPECT_FALSE(find);
}

TEST(SelectObjectGuard, PutsTheOldObjectBack)
{
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
