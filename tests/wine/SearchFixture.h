#pragma once
// The search dialog of the real main window, opened modeless so that a test can drive it, and
// closed the way the user closes it (the results then go into the Search category as chosen).

#include "AppFixture.h"
#include "catalogue/catalogue/CategoryTree.h"
#include "catalogue/search/SearchDialog.h"
#include "catalogue/search/SearchIds.h"

class SearchTest : public AppTest {
protected:
    void OpenDialog()
    {
        dialog = std::make_unique<SearchDialog>(*main, main->Model().Lists(), [this] { main->List().RefreshList(); });
        ASSERT_TRUE(dialog->CreateModeless(main->Hwnd()));
        WineTest::Flush(50);
    }

    // Chooses an insert option and closes the dialog.
    void CloseWith(int optionId)
    {
        for (int id : {IDC_SEARCH_INSERT_NOT, IDC_SEARCH_INSERT_APPEND, IDC_SEARCH_INSERT_REPLACE})
            CheckDlgButton(dialog->Hwnd(), id, id == optionId ? BST_CHECKED : BST_UNCHECKED);
        SendMessageW(dialog->Hwnd(), WM_COMMAND, IDCANCEL, 0);
        WineTest::Flush(50);
        EXPECT_EQ(dialog->Hwnd(), nullptr);
        dialog.reset();
    }

    HWND Item(int id) const { return GetDlgItem(dialog->Hwnd(), id); }
    // The result view's files by their full paths, as shown.
    std::vector<std::wstring> Shown() const { return WineTest::ListTexts(Item(IDC_SEARCH_RESULTS), 1); }
    const Catalogue::List& SearchCategory() const { return main->Model().Lists()[CategoryTree::kSearchId]; }

    std::unique_ptr<SearchDialog> dialog;
};
