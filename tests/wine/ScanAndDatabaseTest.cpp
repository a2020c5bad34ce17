// The scan of a generated folder tree, the database written at close and read at the next
// start, and the drive dialog's rows, through the real main window.

#include "AppFixture.h"
#include "catalogue/catalogue/CatalogueChecker.h"
#include "catalogue/catalogue/DriveScan.h"
#include "catalogue/filelist/FolderPickers.h"
#include "catalogue/options/BrowserCaches.h"
#include "catalogue/shell/resource.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

namespace {

using namespace WineTest;

const std::wstring kBase = L"C:\\sortaro-tests";

// Paths below the tree may be longer than MAX_PATH.
std::filesystem::path Long(const std::wstring& path)
{
    return L"\\\\?\\" + path;
}

void MakeFile(const std::wstring& path, const std::string& content, DWORD attributes = 0)
{
    std::ofstream(Long(path), std::ios::binary) << content;
    if (attributes)
        SetFileAttributesW(Long(path).c_str(), attributes);
}

void MakeFolder(const std::wstring& path, DWORD attributes = 0)
{
    std::filesystem::create_directory(Long(path));
    if (attributes)
        SetFileAttributesW(Long(path).c_str(), attributes);
}

// std::filesystem::remove_all cannot walk folders by their long path names.
void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Long(path + L"\\*").c_str(), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data)) {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(path + L"\\" + name);
        else
            DeleteFileW(Long(path + L"\\" + name).c_str());
    }
    FindClose(find);
    RemoveDirectoryW(Long(path).c_str());
}

// The bytes of a file, or "<missing>".
std::string ReadBytes(const std::wstring& path)
{
    std::ifstream file(Long(path), std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

using Paths = std::vector<std::wstring>;

class ScanTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        RemoveTree(kBase);
        MakeFolder(kBase);
        MakeFolder(install);
        SetOption(L"", L"InstallDir", install);
    }

    void TearDown() override
    {
        AppTest::TearDown();
        CatalogueChecker::SetPauseForTests(0);
        RemoveTree(kBase);
    }

    // A small tree with the cases the rules distinguish, and the rules.
    void MakeTree()
    {
        MakeFolder(root);
        MakeFile(root + L"\\a.txt", "hello");
        MakeFile(root + L"\\b.TXT", "");
        MakeFile(root + L"\\pic.jpg", std::string(3000, 'j'));
        MakeFile(root + L"\\empty.dat", "");
        MakeFile(root + L"\\noext", "");
        MakeFolder(root + L"\\Photos.jpg"); // a folder matched by its name
        MakeFile(root + L"\\Photos.jpg\\x.gif", "GIF89a");
        MakeFolder(root + L"\\emptydir"); // size 0, but a folder: not an empty file
        MakeFolder(root + L"\\sub");
        MakeFolder(root + L"\\sub\\deep");
        MakeFile(root + L"\\sub\\deep\\file.bak", "old");
        MakeFile(root + L"\\hidden.txt", "h", FILE_ATTRIBUTE_HIDDEN);
        MakeFolder(root + L"\\secret", FILE_ATTRIBUTE_HIDDEN);
        MakeFile(root + L"\\secret\\inside.gif", "GIF");
        SetOption(L"FileEnding", L"30", L".txt+.TXT"); // twice under one category
        SetOption(L"FileEnding", L"1", L".txt");       // and under a second one
        SetOption(L"FileEnding", L"9", L".jpg");
        SetOption(L"FileEnding", L"8", L".Gif++"); // empty pieces match nothing
        SetOption(L"FileEnding", L"34", L".b**");
        SetOption(L"FileEnding", L"junk", L".gif"); // no category id: ignored
        SetOption(L"UserFiles", L"Mine", L".bak|Default");
    }

    // Scans the tree as the only added folder.
    void Scan()
    {
        SetOption(L"AddedDirs", root, L"");
        StartToMainWindow(false);
    }

    // The paths of a category below the tree, sorted; each record as often as it is there.
    Paths PathsOf(int id) const
    {
        Paths paths;
        const Catalogue& catalogue = main->Model().Lists();
        for (const FileRecord& record : catalogue[id]) {
            std::wstring path = catalogue.Path(record);
            if (path.compare(0, root.size() + 1, root + L"\\") == 0)
                paths.push_back(path.substr(root.size() + 1));
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    void Close()
    {
        SendMessageW(main->Hwnd(), WM_CLOSE, 0, 0);
        Flush();
    }

    const std::wstring root = kBase + L"\\tree";
    const std::wstring install = kBase + L"\\install";
    const std::wstring data = install + L"\\Data";
    std::wstring Dat(int id) const { return data + L"\\" + std::to_wstring(id) + L".dat"; }
};

TEST_F(ScanTest, FilesEachItemIntoTheCategoriesTheRulesGive)
{
    MakeTree();
    Scan();
    const std::map<int, Paths> expected = {
        {1, {L"a.txt", L"b.TXT"}},
        {8, {L"Photos.jpg\\x.gif"}},
        {9, {L"Photos.jpg", L"pic.jpg"}},
        {30, {L"a.txt", L"a.txt", L"b.TXT", L"b.TXT"}},
        {31, {L"b.TXT", L"empty.dat", L"noext"}},
        {34, {L"sub\\deep\\file.bak"}},
        {47, {L"sub\\deep\\file.bak"}},
    };
    for (int id = 1; id < Catalogue::kListCount; ++id)
        EXPECT_EQ(PathsOf(id), expected.count(id) ? expected.at(id) : Paths{}) << "category " << id;
    // The list-0 entry of the added folder carries the root mark.
    const Catalogue& catalogue = main->Model().Lists();
    ASSERT_EQ(catalogue[0].size(), 1u);
    EXPECT_EQ(catalogue.Path(catalogue[0][0]), root);
    EXPECT_EQ(catalogue[0][0].RootMark(), true);
    // The fields of a record.
    const FileRecord& jpg = *std::find_if(catalogue[9].begin(), catalogue[9].end(),
                                          [](const FileRecord& r) { return std::wstring(r.name) == L"pic.jpg"; });
    EXPECT_EQ(jpg.Size(), 3000u);
    EXPECT_EQ(catalogue.TypeName(jpg), L"") << "the scan leaves the type to the list";
    EXPECT_TRUE(jpg.HasWriteTime());
}

TEST_F(ScanTest, DatabaseIsWrittenAtCloseAndReadAtTheNextStart)
{
    MakeTree();
    MakeFolder(root + L"\\Ελλάδα"); // a name the ANSI code page cannot hold
    MakeFile(root + L"\\Ελλάδα\\notes.txt", "x");
    std::wstring deep = root;
    for (int i = 0; i < 6; ++i) {
        deep += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + i));
        MakeFolder(deep);
    }
    MakeFile(deep + L"\\far.txt", "far"); // a path beyond MAX_PATH
    SetOption(L"", L"database", L"1");
    // Left from before: files that are not the catalogue's, and junk in a category's file.
    MakeFolder(data);
    MakeFile(data + L"\\abc.dat", "C:\\x\r\n");
    MakeFile(data + L"\\100.dat", "C:\\x\r\n");
    MakeFile(data + L"\\7.txt", "C:\\x\r\n");
    MakeFile(data + L"\\40.dat", std::string("\0\xff\xfe\r\n\x01garbage\nrelative\\path\r\n", 30));
    Scan();
    const Paths text = PathsOf(30);
    ASSERT_EQ(text.size(), 8u);
    Close();

    // One file per leaf node, none for the six special folders.
    for (int id : {1, 3, 4, 9, 15, 17, 18, 20, 21, 23, 26, 27, 28, 29, 30, 31, 34, 44, 45, 46, 47})
        EXPECT_TRUE(std::filesystem::exists(Long(Dat(id)))) << id;
    for (int id : {0, 2, 16, 22, 35, 36, 37, 38, 39, 41, 42, 43})
        EXPECT_FALSE(std::filesystem::exists(Long(Dat(id)))) << id;
    EXPECT_EQ(ReadBytes(Dat(3)), "") << "an empty category gives an empty file";
    EXPECT_EQ(ReadBytes(data + L"\\abc.dat"), "C:\\x\r\n") << "other files stay untouched";
    const std::string txt = ReadBytes(Dat(30));
    EXPECT_EQ(txt.compare(0, 3, "\xEF\xBB\xBF"), 0) << "UTF-8 with a byte order mark";
    const std::string jpg = ReadBytes(Dat(9));
    EXPECT_NE(jpg.compare(0, 3, "\xEF\xBB\xBF"), 0) << "ANSI where every path fits";
    EXPECT_EQ(std::count(jpg.begin(), jpg.end(), '\n'), 2);
    EXPECT_FALSE(std::filesystem::exists(Long(Dat(30) + L".new")));

    // The next start reads it back: the same records, now with type names.
    std::filesystem::remove(Long(root + L"\\a.txt")); // gone since: left out without a word
    StartToMainWindow(true);
    Paths expected = text;
    expected.erase(std::remove(expected.begin(), expected.end(), L"a.txt"), expected.end());
    EXPECT_EQ(PathsOf(30), expected);
    EXPECT_EQ(PathsOf(9), (Paths{L"Photos.jpg", L"pic.jpg"}));
    EXPECT_EQ(PathsOf(47), Paths{L"sub\\deep\\file.bak"});
    for (const FileRecord& record : main->Model().Lists()[30])
        EXPECT_FALSE(main->Model().Lists().TypeName(record).empty()) << record.name;
    EXPECT_TRUE(main->Model().Lists()[40].empty()) << "junk lines are skipped";
    EXPECT_TRUE(main->Model().Lists()[7].empty());
}

// A catalogue read from its facts files, and the check of its records that follows the start.
class CheckTest : public ScanTest {
protected:
    // Scans the tree and closes: the next start reads the catalogue from its facts.
    void ScanAndClose()
    {
        MakeTree();
        SetOption(L"", L"database", L"1");
        Scan();
        Close();
    }

    void WaitForCheck()
    {
        for (int i = 0; i < 200 && main->CatalogueCheckRunning(); ++i)
            Flush(50);
        ASSERT_FALSE(main->CatalogueCheckRunning());
    }

    // The size column of the file list (kilobytes), by name.
    std::map<std::wstring, std::wstring> ShownSizes() const
    {
        const Paths names = ListTexts(main->List().Hwnd(), 0);
        const Paths sizes = ListTexts(main->List().Hwnd(), 3);
        std::map<std::wstring, std::wstring> shown;
        for (size_t row = 0; row < names.size(); ++row)
            shown[names[row]] = sizes[row];
        return shown;
    }

    uint64_t SizeOf(int id, const std::wstring& name) const
    {
        for (const FileRecord& record : main->Model().Lists()[id])
            if (main->Model().Lists().Path(record) == root + L"\\" + name)
                return record.Size();
        return ~0ull;
    }
};

TEST_F(CheckTest, FilesDeletedOrChangedSinceTheLastStartAreUpdatedEverywhereAfterTheLoad)
{
    ScanAndClose();
    std::filesystem::remove(Long(root + L"\\a.txt"));
    MakeFile(root + L"\\b.TXT", std::string(3072, 'b'));
    CatalogueChecker::SetPauseForTests(30);
    StartToMainWindow(true);
    // Shown from the stored facts, while the check runs.
    ASSERT_TRUE(main->CatalogueCheckRunning());
    EXPECT_EQ(SizeOf(30, L"b.TXT"), 0u);
    TreeView_SelectItem(Tree(), FindNode(L"Textdateien"));
    Flush(50);
    ASSERT_EQ(ShownSizes().count(L"a.txt"), 1u);

    WaitForCheck();
    for (int id : {1, 30}) {
        const Paths paths = PathsOf(id);
        EXPECT_EQ(std::count(paths.begin(), paths.end(), L"a.txt"), 0) << id;
        EXPECT_EQ(SizeOf(id, L"b.TXT"), 3072u) << id;
    }
    const auto shown = ShownSizes();
    EXPECT_EQ(static_cast<size_t>(ListView_GetItemCount(main->List().Hwnd())), PathsOf(30).size());
    EXPECT_EQ(shown.count(L"a.txt"), 0u);
    EXPECT_EQ(shown.at(L"b.TXT"), L"3") << "the list shows what the check found";
}

TEST_F(CheckTest, ClosingDuringTheCheckWritesTheRecordsItDidNotReachAsTheyWere)
{
    ScanAndClose();
    const std::string dat = ReadBytes(Dat(30));
    const std::string facts = ReadBytes(data + L"\\30.facts");
    std::filesystem::remove(Long(root + L"\\a.txt"));
    MakeFile(root + L"\\b.TXT", std::string(2500, 'b'));
    // The check is still at its first file when the program closes.
    CatalogueChecker::SetPauseForTests(60000);
    StartToMainWindow(true);
    ASSERT_TRUE(main->CatalogueCheckRunning());
    Close();
    EXPECT_EQ(ReadBytes(Dat(30)), dat);
    EXPECT_EQ(ReadBytes(data + L"\\30.facts"), facts);
    EXPECT_FALSE(std::filesystem::exists(Long(Dat(30) + L".new")));
}

TEST_F(ScanTest, TheWaitDialogNamesEachFileInBothLanguages)
{
    SetOption(L"", L"database", L"1");
    MakeFolder(data);
    MakeFile(Dat(30), "C:\\x.txt\r\n");
    const struct {
        const wchar_t* language;
        std::wstring reading;
        std::wstring saving;
    } cases[] = {{L"1", L"Lesen von 30.dat", L"Speichern 30.dat"}, {L"0", L"Read database 30.dat", L"Saving 30.dat"}};
    for (const auto& c : cases) {
        SetOption(L"", L"language", c.language);
        ShowRecorder shown;
        StartToMainWindow(true);
        Close();
        const auto& texts = shown.textsSet;
        EXPECT_EQ(std::count(texts.begin(), texts.end(), c.reading), 1) << c.reading;
        EXPECT_EQ(std::count(texts.begin(), texts.end(), c.saving), 1) << c.saving;
    }
}

TEST_F(ScanTest, ACancelWhileWritingKeepsThePreviousFiles)
{
    MakeTree();
    SetOption(L"", L"database", L"1");
    MakeFolder(data);
    const std::string before = "C:\\previous\\catalogue.txt\r\n";
    for (int id : {1, 30, 47})
        MakeFile(Dat(id), before);
    Scan();
    ShowRecorder shown;
    shown.ClickWhenShown(L"Bitte warten", IDCANCEL);
    Close();
    EXPECT_GE(shown.IndexOf(L"Bitte warten"), 0);
    // Whatever was written before the cancel is complete; the rest is as it was.
    for (int id : {1, 30, 47}) {
        const std::string now = ReadBytes(Dat(id));
        EXPECT_TRUE(now == before || now.find("a.txt\r\n") != std::string::npos) << id << ": " << now;
        EXPECT_FALSE(std::filesystem::exists(Long(Dat(id) + L".new")));
    }
}

TEST_F(ScanTest, ADataFolderThatIsAFileIsReportedAndNothingIsLost)
{
    SetOption(L"", L"database", L"1");
    MakeFile(data, "not a folder");
    StartToMainWindow(true); // reading from it finds nothing and goes on
    ShowRecorder shown;
    shown.ClickWhenShown(L"Fehler", IDOK);
    Close();
    ASSERT_GE(shown.IndexOf(L"Fehler"), 0);
    EXPECT_NE(shown.messages.back().find(L"Die Datenbank konnte nicht vollständig gespeichert werden."),
              std::wstring::npos);
    EXPECT_EQ(ReadBytes(data), "not a folder");
}

// Drive E: of the test prefix is a CD-ROM drive whose disc is the folder C:\cdrom-e.
class DiscTest : public ScanTest {
protected:
    void SetUp() override
    {
        ScanTest::SetUp();
        RemoveTree(kAway);
        RemoveTree(kDisc);
        MakeFolder(kDisc);
        MakeFolder(kDisc + L"\\photos");
        MakeFile(kDisc + L"\\photos\\a.txt", "hello");
        MakeFile(kDisc + L"\\photos\\b.txt", std::string(3000, 'b'));
        SetOption(L"FileEnding", L"30", L".txt");
        SetOption(L"", L"database", L"1");
    }
    void TearDown() override
    {
        ScanTest::TearDown();
        RemoveTree(kAway);
        RemoveTree(kDisc);
    }
    // Scans only the folder given.
    void ScanOnly(const std::wstring& folder)
    {
        SHDeleteKeyW(HKEY_CURRENT_USER, OptionsPath(L"AddedDirs").c_str());
        SetOption(L"AddedDirs", folder, L"");
        StartToMainWindow(false);
    }
    void TakeOut() { ASSERT_TRUE(MoveFileW(kDisc.c_str(), kAway.c_str())); }
    void PutBack() { ASSERT_TRUE(MoveFileW(kAway.c_str(), kDisc.c_str())); }
    // The offline records of category 30 with their sizes, by name.
    std::map<std::wstring, uint64_t> Offline() const
    {
        std::map<std::wstring, uint64_t> sizes;
        for (const FileRecord& record : main->Model().Lists()[30])
            if (record.Offline() && record.HasWriteTime())
                sizes[main->Model().Lists().Path(record)] = record.Size();
        return sizes;
    }

    const std::wstring kDisc = L"C:\\cdrom-e";
    const std::wstring kAway = L"C:\\cdrom-e.away";
    const std::map<std::wstring, uint64_t> kStored = {{L"E:\\photos\\a.txt", 5}, {L"E:\\photos\\b.txt", 3000}};
};

TEST_F(DiscTest, RecordsOfADiscNotInItsDriveSurviveLoadsAndRescans)
{
    ScanOnly(L"E:\\photos");
    Close();
    const std::string dat = ReadBytes(Dat(30));
    const std::string facts = ReadBytes(data + L"\\30.facts");
    ASSERT_EQ(dat, "E:\\photos\\a.txt\r\nE:\\photos\\b.txt\r\n");
    ASSERT_NE(facts, "<missing>");

    // No disc in the drive: the records stay, offline, with their stored facts, and closing
    // leaves both files as they were.
    TakeOut();
    StartToMainWindow(true);
    EXPECT_EQ(Offline(), kStored);
    Close();
    EXPECT_EQ(ReadBytes(Dat(30)), dat);
    EXPECT_EQ(ReadBytes(data + L"\\30.facts"), facts);

    // Another disc in the drive: Wine tells a drive's serial number as it was when its server
    // started, so the stored one is made another instead (the first volume's, behind the header).
    PutBack();
    std::string otherSerial = facts;
    otherSerial[28] ^= 0x5A;
    const uint32_t crc = DatabaseText::Crc32(0, otherSerial.data(), otherSerial.size() - 4);
    otherSerial.replace(otherSerial.size() - 4, 4, std::string(reinterpret_cast<const char*>(&crc), 4));
    MakeFile(data + L"\\30.facts", otherSerial);
    StartToMainWindow(true);
    EXPECT_EQ(Offline(), kStored);
    Close();
    EXPECT_EQ(ReadBytes(Dat(30)), dat);
    EXPECT_EQ(ReadBytes(data + L"\\30.facts"), otherSerial);
    MakeFile(data + L"\\30.facts", facts);
    TakeOut();

    // A new scan of the hard disk while the disc is out keeps the disc's records.
    MakeTree();
    ScanOnly(root);
    EXPECT_EQ(Offline(), kStored);
    EXPECT_FALSE(PathsOf(30).empty()) << "beside what the scan found";
    Close();
    EXPECT_NE(ReadBytes(Dat(30)).find("E:\\photos\\b.txt\r\n"), std::string::npos);

    // The disc back in its drive: the records are online again.
    PutBack();
    StartToMainWindow(true);
    EXPECT_TRUE(Offline().empty());
    EXPECT_EQ(main->Model().Lists()[30].size(), 2u + PathsOf(30).size());
}

TEST_F(DiscTest, TheCheckAfterTheLoadLeavesOfflineRecordsAlone)
{
    MakeTree();
    SHDeleteKeyW(HKEY_CURRENT_USER, OptionsPath(L"AddedDirs").c_str());
    SetOption(L"AddedDirs", root, L"");
    SetOption(L"AddedDirs", L"E:\\photos", L"");
    StartToMainWindow(false);
    Close();
    TakeOut();
    CatalogueChecker::SetPauseForTests(30);
    StartToMainWindow(true);
    ASSERT_TRUE(main->CatalogueCheckRunning()) << "the files on C: are checked";
    for (int i = 0; i < 200 && main->CatalogueCheckRunning(); ++i)
        Flush(50);
    ASSERT_FALSE(main->CatalogueCheckRunning());
    EXPECT_EQ(Offline(), kStored);
}

TEST_F(DiscTest, ACategoryFileThatCannotBeReadIsLeftAsItWas)
{
    MakeFolder(data);
    const std::string before = "E:\\photos\\a.txt\r\n";
    MakeFile(Dat(30), before);
    // Opened without sharing while the catalogue is read.
    HANDLE locked = CreateFileW(Dat(30).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    StartToMainWindow(true);
    CloseHandle(locked);
    ShowRecorder shown;
    shown.ClickWhenShown(L"Fehler", IDOK);
    Close();
    EXPECT_EQ(ReadBytes(Dat(30)), before);
    ASSERT_GE(shown.IndexOf(L"Fehler"), 0);
    EXPECT_NE(shown.messages.back().find(L"nicht vollständig gelesen"), std::wstring::npos) << shown.messages.back();
    EXPECT_NE(shown.messages.back().find(L"30.dat"), std::wstring::npos);
}

TEST_F(ScanTest, SpecialFoldersFillTheirCategoriesAtEveryStart)
{
    MakeTree();
    SetOption(L"", L"operapath", root);
    SetOption(L"", L"netscapepath", root + L"\\Photos.jpg");
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring inTemp = std::wstring(temp) + L"sortaro-special.tmp";
    MakeFile(inTemp, "t");
    StartToMainWindow(true); // the database path: no scan at all
    // Files only, from every level, and no hidden ones.
    const Paths opera = {L"Photos.jpg\\x.gif", L"a.txt",   L"b.TXT", L"empty.dat",
                         L"noext",             L"pic.jpg", L"sub\\deep\\file.bak"};
    EXPECT_EQ(PathsOf(39), opera);
    EXPECT_EQ(PathsOf(41), Paths{L"Photos.jpg\\x.gif"});
    const Catalogue& catalogue = main->Model().Lists();
    const auto temporary = std::find_if(catalogue[43].begin(), catalogue[43].end(),
                                        [&](const FileRecord& r) { return catalogue.Path(r) == inTemp; });
    ASSERT_NE(temporary, catalogue[43].end()) << "the temporary folder fills Temp";
    EXPECT_FALSE(catalogue.TypeName(*temporary).empty()) << "type names at once";
    DeleteFileW(inTemp.c_str());

    // With the option a scan takes hidden items, the special folders still leave them out.
    SetOption(L"", L"includehiddenfiles", L"1");
    Scan();
    EXPECT_EQ(PathsOf(30), (Paths{L"a.txt", L"a.txt", L"b.TXT", L"b.TXT", L"hidden.txt", L"hidden.txt"}));
    EXPECT_EQ(PathsOf(8), (Paths{L"Photos.jpg\\x.gif", L"secret\\inside.gif"}));
    EXPECT_EQ(PathsOf(39), opera);
}

using DriveDialogTest = ScanTest;

TEST_F(DriveDialogTest, ListsOnlyDrivesOfTheMarkedTypes)
{
    const struct {
        const wchar_t* marks;
        UINT type;
        size_t least; // drives of the type in the prefix: at least drive C:
    } cases[] = {{L"0100", DRIVE_FIXED, 1}, {L"0010", DRIVE_CDROM, 0}, {L"1000", DRIVE_REMOVABLE, 0}};
    for (const auto& c : cases) {
        SetOption(L"", L"datafrom", c.marks);
        Start();
        Click(StartupHwnd(), IDOK);
        const Paths rows = ListTexts(GetDlgItem(DrivesHwnd(), IDC_DRIVES_LIST));
        const Catalogue& catalogue = main->Model().Lists();
        ASSERT_EQ(rows.size(), catalogue[0].size());
        EXPECT_GE(rows.size(), c.least);
        for (size_t row = 0; row < rows.size(); ++row) {
            const std::wstring path = catalogue.Path(catalogue[0][row]);
            EXPECT_EQ(GetDriveTypeW(path.c_str()), c.type) << path;
            EXPECT_EQ(catalogue[0][row].RootMark(), false);
            EXPECT_NE(rows[row].find(L"(" + path.substr(0, 2) + L")"), std::wstring::npos) << rows[row];
            EXPECT_EQ(main->Drives()->RowDrive(static_cast<int>(row)), path.substr(0, 2));
        }
    }
}

TEST_F(DriveDialogTest, AddedFoldersAreResolvedListedAndStored)
{
    const std::wstring bracketed = kBase + L"\\Programme (x86)";
    const std::wstring missing = kBase + L"\\missing";
    MakeFolder(bracketed);
    NoDrives();
    SetOption(L"AddedDirs", L"C:\\windows", L"");
    SetOption(L"AddedDirs", missing, L"");
    auto removeRow = [this](int row) {
        HWND drives = DrivesHwnd();
        ListView_SetItemState(GetDlgItem(drives, IDC_DRIVES_LIST), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        SendMessageW(drives, WM_COMMAND, MAKEWPARAM(IDC_DRIVES_REMOVE, STN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(drives, IDC_DRIVES_REMOVE)));
    };
    ShowRecorder shown;
    shown.ClickWhenShown(L"Sortaro", IDOK);
    Start();
    Click(StartupHwnd(), IDOK);
    EXPECT_EQ(shown.messages, Paths{}) << "the stored folder that is gone is no message";
    HWND list = GetDlgItem(DrivesHwnd(), IDC_DRIVES_LIST);
    // Each stored folder gets its row and entry, in the order the registry lists them; the one
    // that is gone is marked and unchecked.
    const Paths rows = ListTexts(list);
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(main->Model().Lists()[0].size(), 2u);
    const int gone = rows[0] == L"C:\\windows" ? 1 : 0;
    EXPECT_EQ(rows[gone], missing + L" (nicht gefunden)");
    EXPECT_EQ(rows[1 - gone], L"C:\\windows");
    EXPECT_EQ(ListView_GetCheckState(list, gone), 0u);
    EXPECT_NE(ListView_GetCheckState(list, 1 - gone), 0u) << "a stored folder is checked";
    // The remove link takes the selected row and its entry.
    removeRow(1 - gone);
    EXPECT_EQ(ListTexts(list), Paths{rows[gone]});
    EXPECT_EQ(main->Model().Lists()[0].size(), 1u);
    // A folder resolved now is listed unchecked; its drive is its path's, whatever brackets
    // its name holds.
    EXPECT_TRUE(main->Drives()->FindPidlShellFolder(bracketed, false));
    EXPECT_EQ(ListTexts(list), (Paths{rows[gone], bracketed}));
    EXPECT_EQ(ListView_GetCheckState(list, 1), 0u);
    EXPECT_EQ(main->Drives()->RowDrive(1), L"C:");
    EXPECT_EQ(main->Model().Lists()[0].size(), 2u);
    // The added folders' list is stored as it is now: without the removed one, with the one
    // that is gone, until the user removes that one too.
    Click(DrivesHwnd(), IDOK);
    EXPECT_EQ(ValueNames(L"AddedDirs"), Paths{missing});
    EXPECT_EQ(GetOption(L"", L"hddata"), L"00");
    Start();
    Click(StartupHwnd(), IDOK);
    removeRow(0);
    EXPECT_EQ(ListView_GetItemCount(GetDlgItem(DrivesHwnd(), IDC_DRIVES_LIST)), 0);
    Click(DrivesHwnd(), IDOK);
    EXPECT_EQ(ValueNames(L"AddedDirs"), Paths{});
    EXPECT_EQ(shown.messages, Paths{});
}

TEST_F(ScanTest, ProgressFollowsTheBytesSeen)
{
    MakeTree(); // 3014 bytes in the items that are not hidden
    const struct {
        double expected; // bytes the scan is told to expect, besides the 1 it starts with
        int last;        // the last percentage reported
    } cases[] = {{3013, 100}, {2 * 3014 - 1, 50}, {0, 100}};
    for (const auto& c : cases) {
        Catalogue catalogue;
        const int cancel = 0;
        DriveScan scan(catalogue, ExtensionMap(), cancel);
        scan.AddToTotal(c.expected);
        std::vector<int> reported;
        scan.SetProgress([&](int percent) { reported.push_back(percent); });
        scan.ShowFolder(root);
        EXPECT_EQ(scan.BytesSeen(), 3014);
        ASSERT_FALSE(reported.empty());
        EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
        EXPECT_EQ(std::adjacent_find(reported.begin(), reported.end()), reported.end()) << "each change once";
        EXPECT_EQ(reported.back(), c.last) << "expected " << c.expected;
    }
    // A drive's share is its used space, found by the drive's number.
    const std::pair<const wchar_t*, int> drives[] = {{L"A:", 1}, {L"C:", 3}, {L"j:", 10}, {L"Z:", 26}, {L"C", 0},
                                                     {L"C:\\", 0}, {L"1:", 0},  {L"", 0},    {L"\\\\", 0}};
    for (const auto& [text, number] : drives)
        EXPECT_EQ(GetNumber(text), number) << text;
    EXPECT_EQ(DriveScan::UsedSpace(0), 0);
    EXPECT_GT(DriveScan::UsedSpace(3), 0) << "drive C: holds the prefix";
}

TEST(FolderPickers, CancelKeepsTheTextAndOkGivesThePreselectedFolder)
{
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring text = L"unchanged";
    {
        ShowRecorder shown;
        shown.ClickWhenShown(L"Browse for Folder", IDCANCEL);
        FolderPickers::BrowseFolders(false, text);
        EXPECT_GE(shown.IndexOf(L"Browse for Folder"), 0);
    }
    EXPECT_EQ(text, L"unchanged");
    ShowRecorder shown;
    shown.ClickWhenShown(L"Browse for Folder", IDOK);
    FolderPickers::BrowseDirectory(true, text);
    EXPECT_EQ(_wcsicmp(text.c_str(), current), 0) << text;
}

TEST(BrowserCaches, PathsFromTheSettingsOrTheBrowsersKeys)
{
    const wchar_t* operaKey = L"Software\\Opera Software";
    const wchar_t* netscapeKey = L"Software\\Netscape\\Netscape Navigator\\Main";
    const wchar_t* programme = L"C:\\Programme\\Netscape\\Program";
    const struct {
        const wchar_t* operaStored; // nullptr: no value
        const wchar_t* operaLast;   // Opera's Last Directory
        const wchar_t* netscapeStored;
        const wchar_t* netscapeInstall; // Netscape's Install Directory
        const wchar_t* opera;
        const wchar_t* netscape;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, L"", L""},
        {nullptr, L"C:\\Opera", nullptr, programme, L"C:\\Opera\\Cache4", L"C:\\Programme\\Netscape\\Users"},
        {L"D:\\mine", L"C:\\Opera", L"", programme, L"D:\\mine", L""},
        // Only absolute paths count: a relative one would be walked from the current folder.
        {nullptr, L"Opera", nullptr, L"Netscape", L"", L""},
        {L"Cache", L"", L"Cache", nullptr, L"", L""},
        {nullptr, L"", nullptr, nullptr, L"", L""},
        {nullptr, nullptr, nullptr, L"\\\\nas\\apps\\Program", L"", L"\\\\nas\\apps\\Users"},
    };
    const wchar_t* keys[] = {L"Software\\Sortaro", operaKey, L"Software\\Netscape"};
    for (const auto& c : cases) {
        for (const wchar_t* key : keys)
            SHDeleteKeyW(HKEY_CURRENT_USER, key);
        if (c.operaStored)
            SetOption(L"", L"operapath", c.operaStored);
        if (c.netscapeStored)
            SetOption(L"", L"netscapepath", c.netscapeStored);
        if (c.operaLast)
            SetValue(operaKey, L"Last Directory", c.operaLast);
        if (c.netscapeInstall)
            SetValue(netscapeKey, L"Install Directory", c.netscapeInstall);
        Registry registry;
        EXPECT_EQ(GetOperaPath(registry, SettingsKeys::kOptions), c.opera);
        EXPECT_EQ(GetNetscapePath(registry, SettingsKeys::kOptions), c.netscape);
    }
    for (const wchar_t* key : keys)
        SHDeleteKeyW(HKEY_CURRENT_USER, key);
}

} // namespace
