#include "common/UniqueHandle.h"

#include <commctrl.h>

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&icc);
    OleScope ole;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
