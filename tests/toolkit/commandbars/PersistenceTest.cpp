// What the command bars keep between runs, through a temporary profile key: options, the bar list
// archive (in the profile and, above 16000 bytes, in a hidden file), bar placement with screen scaling,
// dock layout, shortcuts, and damaged or hostile stored states that must load as defaults.
#include <gtest/gtest.h>

#include <AcceleratorManager.h>
#include <BarDragTracker.h>
#include <CommandBarsOptions.h>
#include <ControlPopup.h>
#include <DockBar.h>
#include <MenuBar.h>
#include <PropExchangeArchive.h>
#include <PropExchangeRegistry.h>
#include <StoredValues.h>
#include <SystemQueries.h>

#include <algorithm>
#include <random>

#include "CommandBarsTestSupport.h"
#include "RealInput.h"
#include "TestFiles.h"
#include "WindowTest.h"

namespace {

const LPCTSTR kProfile = L"CommandBars";

CString WidePath(const testsupport::TempDir& dir) {
  const std::string& utf8 = dir.Path();
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  CString strPath;
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, strPath.GetBuffer(n), n);
  strPath.ReleaseBuffer();
  return strPath;
}

// Answers the next message box of this thread with a real key press and keeps its text.
class MessageBoxAnswer {
 public:
  explicit MessageBoxAnswer(UINT nKey)
      : m_input([this, nKey]() -> std::function<void()> {
          HWND hBox = nullptr;
          ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&hBox));
          if (hBox == nullptr) return nullptr;
          WCHAR szText[512] = {};
          ::GetDlgItemText(hBox, 0xFFFF, szText, 512);
          m_strText = szText;
          ::SetForegroundWindow(hBox);
          return [nKey] { testsupport::InputTap(nKey); };
        }) {}

  bool Shown() const { return m_input.Sent(); }
  CString m_strText;

 private:
  static BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam) {
    WCHAR szClass[16] = {};
    ::GetClassName(hWnd, szClass, 16);
    if (lstrcmp(szClass, L"#32770") != 0 || !::IsWindowVisible(hWnd)) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
  }

  ModalLoopInput m_input;
};

class PersistenceTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (CTestFrame* pFrame : m_arrFrames) {
      if (::IsWindow(pFrame->GetSafeHwnd())) pFrame->SaveAndDestroy();
    }
    if (!m_strFilePath.IsEmpty()) {
      ::SetFileAttributes(m_strFilePath, FILE_ATTRIBUTE_NORMAL);
      ::DeleteFile(m_strFilePath);
      ::RemoveDirectory(m_strFilePath + L".new");
      ::DeleteFile(m_strFilePath + L".new");
    }
  }
  CTestFrame* NewFrame(BOOL bLoad = TRUE) {
    CTestFrame* pFrame =
        CTestFrame::CreateTestFrame(CRect(20, 20, 620, 420), bLoad ? kProfile : nullptr, FALSE);
    if (pFrame != nullptr) m_arrFrames.push_back(pFrame);
    return pFrame;
  }
  // Saves the bars (and options) and destroys the frame.
  void SaveAndClose(CTestFrame* pFrame) {
    pFrame->SaveAndDestroy(kProfile);
    m_arrFrames.erase(std::find(m_arrFrames.begin(), m_arrFrames.end(), pFrame));
  }
  std::vector<BYTE> StoredControls() const { return m_key.ReadValue(L"CommandBars-Controls", L"Controls"); }
  void StoreControls(const std::vector<BYTE>& data) {
    theTestApp.WriteProfileBinary(L"CommandBars-Controls", L"Controls", const_cast<BYTE*>(data.data()),
                                  static_cast<UINT>(data.size()));
    theTestApp.WriteProfileInt(L"CommandBars-Controls", L"LoadFromFile", 0);
  }
  // The toolbar customized: a sub-menu with two items and a renamed button.
  static void Customize(CXTPToolBar* pToolBar) {
    CXTPControls* pControls = pToolBar->GetControls();
    CXTPControl* pPopup = pControls->Add(xtpControlPopup, 0);
    pPopup->SetCaption(L"Tools");
    pPopup->GetCommandBar()->GetControls()->Add(xtpControlButton, ID_TEST_ITEM_A);
    pPopup->GetCommandBar()->GetControls()->Add(xtpControlButton, ID_TEST_ITEM_B)->SetBeginGroup(TRUE);
    pControls->FindControl(ID_TEST_SAVE)->SetCustomCaption(L"Store");
  }
  CString UseFileIn(const CString& strDir) {
    m_strFilePath = strDir + L"\\controls.bin";
    return m_strFilePath;
  }

  ScopedProfileKey m_key;
  std::vector<CTestFrame*> m_arrFrames;
  CString m_strFilePath;
};

TEST_F(PersistenceTest, UserOptionsStoreOnlyTheEightValuesUpToAnimation) {
  CTestFrame* pFrame = NewFrame();
  ASSERT_NE(pFrame, nullptr);
  CXTPCommandBarsOptions* pOptions = pFrame->GetCommandBars()->GetCommandBarsOptions();
  pOptions->bAlwaysShowFullMenus = FALSE;
  pOptions->bLargeIcons = TRUE;
  pOptions->animationType = 3;
  pOptions->bSyncFloatingBars = FALSE;
  pOptions->SetHideCommand(ID_TEST_CUT);
  pOptions->SetCommandUsed(ID_TEST_CUT);
  pFrame->GetCommandBars()->SaveOptions(kProfile);
  for (LPCTSTR lpszName : {L"Schema", L"AlwaysShowFullMenus", L"ShowFullAfterDelay", L"ToolBarScreenTips",
                           L"ToolBarAccelTips", L"LargeIcons", L"UsedCommands", L"Animation"}) {
    EXPECT_TRUE(m_key.ValueExists(L"CommandBars-Options", lpszName)) << lpszName;
  }
  EXPECT_FALSE(m_key.ValueExists(L"CommandBars-Options", L"SyncFloatingBars"));
  EXPECT_FALSE(m_key.ValueExists(L"CommandBars-Options", L"HiddenCommands"));

  CTestFrame* pSecond = NewFrame();
  CXTPCommandBarsOptions* pLoaded = pSecond->GetCommandBars()->GetCommandBarsOptions();
  EXPECT_FALSE(pLoaded->bAlwaysShowFullMenus);
  EXPECT_TRUE(pLoaded->bLargeIcons);
  EXPECT_EQ(pLoaded->animationType, 3);
  EXPECT_TRUE(pLoaded->bSyncFloatingBars);
  EXPECT_TRUE(pLoaded->IsCommandUsed(ID_TEST_CUT));
}

TEST_F(PersistenceTest, EveryOptionRoundTripsThroughAnArchive) {
  CXTPCommandBarsOptions source(nullptr), target(nullptr);
  source.bAlwaysShowFullMenus = FALSE;
  source.bShowFullAfterDelay = FALSE;
  source.bToolBarScreenTips = FALSE;
  source.bToolBarAccelTips = TRUE;
  source.bLargeIcons = TRUE;
  source.bSyncFloatingBars = FALSE;
  source.bShowExpandButtonAlways = FALSE;
  source.bDblClickFloat = TRUE;
  source.bShowTextBelowIcons = TRUE;
  source.bAltDragCustomization = FALSE;
  source.bAutoHideUnusedPopups = FALSE;
  source.animationType = 4;
  source.keyboardCuesUse = 5;
  source.keyboardCuesShow = 1;
  source.szIcons = CSize(24, 24);
  source.szLargeIcons = CSize(40, 40);
  source.szPopupIcons = CSize(20, 20);
  source.SetHideCommand(1001);
  source.SetHideCommand(1002);
  source.SetCommandUsed(1002);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    source.Serialize(ar);
  }
  file.SeekToBegin();
  {
    CArchive ar(&file, CArchive::load);
    target.Serialize(ar);
  }
  EXPECT_EQ(target.bAlwaysShowFullMenus, FALSE);
  EXPECT_EQ(target.bShowFullAfterDelay, FALSE);
  EXPECT_EQ(target.bToolBarScreenTips, FALSE);
  EXPECT_EQ(target.bToolBarAccelTips, TRUE);
  EXPECT_EQ(target.bLargeIcons, TRUE);
  EXPECT_EQ(target.bSyncFloatingBars, FALSE);
  EXPECT_EQ(target.bShowExpandButtonAlways, FALSE);
  EXPECT_EQ(target.bDblClickFloat, TRUE);
  EXPECT_EQ(target.bShowTextBelowIcons, TRUE);
  EXPECT_EQ(target.bAltDragCustomization, FALSE);
  EXPECT_EQ(target.bAutoHideUnusedPopups, FALSE);
  EXPECT_EQ(target.animationType, 4);
  EXPECT_EQ(target.keyboardCuesUse, 5);
  EXPECT_EQ(target.keyboardCuesShow, 1);
  EXPECT_EQ(target.szIcons, CSize(24, 24));
  EXPECT_EQ(target.szLargeIcons, CSize(40, 40));
  EXPECT_EQ(target.szPopupIcons, CSize(20, 20));
  EXPECT_TRUE(target.IsCommandHidden(1001));
  EXPECT_FALSE(target.IsCommandHidden(1002));
  EXPECT_TRUE(target.IsCommandUsed(1002));
}

TEST_F(PersistenceTest, ResetUsageDataStaysResetAfterSaving) {
  CTestFrame* pFrame = NewFrame();
  CXTPCommandBarsOptions* pOptions = pFrame->GetCommandBars()->GetCommandBarsOptions();
  pOptions->SetCommandUsed(ID_TEST_OPEN);
  pFrame->GetCommandBars()->SaveOptions(kProfile);
  ASSERT_TRUE(m_key.ValueExists(L"CommandBars-Options", L"UsedCommands"));
  pOptions->ResetUsageData();
  pFrame->GetCommandBars()->SaveOptions(kProfile);
  EXPECT_FALSE(m_key.ValueExists(L"CommandBars-Options", L"UsedCommands"));
  CTestFrame* pSecond = NewFrame();
  EXPECT_FALSE(pSecond->GetCommandBars()->GetCommandBarsOptions()->IsCommandUsed(ID_TEST_OPEN));
}

TEST_F(PersistenceTest, CustomizedToolbarComesBackAndSavingAgainGivesTheSameBytes) {
  CTestFrame* pFrame = NewFrame();
  Customize(pFrame->m_pToolBar);
  SaveAndClose(pFrame);
  const std::vector<BYTE> first = StoredControls();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(theTestApp.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", -1), 0u);

  CTestFrame* pSecond = NewFrame();
  CXTPToolBar* pToolBar = pSecond->GetCommandBars()->FindCommandBar(IDR_TEST_TOOLBAR);
  ASSERT_NE(pToolBar, nullptr);
  CXTPControls* pControls = pToolBar->GetControls();
  EXPECT_EQ(pControls->FindControl(ID_TEST_SAVE)->GetCaption(), CString(L"Store"));
  CXTPControl* pPopup = pControls->GetAt(pControls->GetCount() - 1);
  ASSERT_EQ(pPopup->GetType(), xtpControlPopup);
  EXPECT_EQ(pPopup->GetCaption(), CString(L"Tools"));
  ASSERT_NE(pPopup->GetCommandBar(), nullptr);
  ASSERT_EQ(pPopup->GetCommandBar()->GetControlCount(), 2);
  EXPECT_TRUE(pPopup->GetCommandBar()->GetControl(1)->GetBeginGroup());
  EXPECT_TRUE(pControls->IsChangedFromOriginal());
  SaveAndClose(pSecond);
  EXPECT_EQ(StoredControls(), first);
}

TEST_F(PersistenceTest, UntouchedBuiltInBarsAreNotStored) {
  CTestFrame* pFrame = NewFrame();
  SaveAndClose(pFrame);
  CTestFrame* pSecond = NewFrame();
  pSecond->m_pToolBar->GetControls()->RemoveAt(0);
  const std::vector<BYTE> empty = StoredControls();
  SaveAndClose(pSecond);
  EXPECT_GT(StoredControls().size(), empty.size());
}

TEST_F(PersistenceTest, StoredBarsAbove16000BytesGoToAHiddenFileThatCanBeReplaced) {
  testsupport::TempDir dir;
  const CString strPath = UseFileIn(WidePath(dir));
  CTestFrame* pFrame = NewFrame();
  pFrame->GetCommandBars()->SetControlsFilePath(strPath);
  CXTPControls* pControls = pFrame->m_pToolBar->GetControls();
  for (int i = 0; i < 120; ++i) {
    CString strCaption;
    strCaption.Format(L"Command number %03d with a long caption", i);
    pControls->Add(xtpControlButton, ID_TEST_ITEM_A)->SetCaption(strCaption);
  }
  SaveAndClose(pFrame);
  EXPECT_EQ(theTestApp.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", 0), 1u);
  EXPECT_EQ(theTestApp.GetProfileString(L"CommandBars-Controls", L"Controls"), strPath);
  const DWORD dwAttributes = ::GetFileAttributes(strPath);
  ASSERT_NE(dwAttributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(dwAttributes & FILE_ATTRIBUTE_HIDDEN);

  CTestFrame* pSecond = NewFrame();
  CXTPControls* pLoaded = pSecond->m_pToolBar->GetControls();
  ASSERT_EQ(pLoaded->GetCount(), 5 + 120);
  EXPECT_EQ(pLoaded->GetAt(5 + 119)->GetCaption(), CString(L"Command number 119 with a long caption"));
  // Saving again over the hidden file works.
  pSecond->GetCommandBars()->SetControlsFilePath(strPath);
  pLoaded->GetAt(5)->SetCaption(L"Changed");
  SaveAndClose(pSecond);
  CTestFrame* pThird = NewFrame();
  EXPECT_EQ(pThird->m_pToolBar->GetControls()->GetAt(5)->GetCaption(), CString(L"Changed"));
}

TEST_F(PersistenceTest, FailedWriteOfTheFileKeepsThePreviousState) {
  testsupport::TempDir dir;
  const CString strPath = UseFileIn(WidePath(dir));
  CTestFrame* pFrame = NewFrame();
  pFrame->GetCommandBars()->SetControlsFilePath(strPath);
  CXTPControls* pControls = pFrame->m_pToolBar->GetControls();
  for (int i = 0; i < 120; ++i)
    pControls->Add(xtpControlButton, ID_TEST_ITEM_A)->SetCaption(L"A caption long enough to fill the file");
  SaveAndClose(pFrame);
  ASSERT_EQ(theTestApp.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", 0), 1u);

  // The temporary file cannot be made: a directory stands in its place.
  ASSERT_TRUE(::CreateDirectory(strPath + L".new", nullptr));
  CTestFrame* pSecond = NewFrame();
  pSecond->GetCommandBars()->SetControlsFilePath(strPath);
  pSecond->m_pToolBar->GetControls()->RemoveAll();
  for (int i = 0; i < 130; ++i)
    pSecond->m_pToolBar->GetControls()
        ->Add(xtpControlButton, ID_TEST_ITEM_B)
        ->SetCaption(L"Another long caption for every control");
  SaveAndClose(pSecond);
  EXPECT_EQ(theTestApp.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", 0), 1u);
  EXPECT_EQ(theTestApp.GetProfileString(L"CommandBars-Controls", L"Controls"), strPath);
  ::RemoveDirectory(strPath + L".new");
  CTestFrame* pThird = NewFrame();
  ASSERT_EQ(pThird->m_pToolBar->GetControls()->GetCount(), 5 + 120);
  EXPECT_EQ(pThird->m_pToolBar->GetControls()->GetAt(5)->GetID(), ID_TEST_ITEM_A);
}

TEST_F(PersistenceTest, MissingOrGarbledOverflowFileLeavesTheDefaults) {
  theTestApp.WriteProfileString(L"CommandBars-Controls", L"Controls", L"Z:\\nowhere\\missing-controls.bin");
  theTestApp.WriteProfileInt(L"CommandBars-Controls", L"LoadFromFile", 1);
  CTestFrame* pFrame = NewFrame();
  ASSERT_NE(pFrame, nullptr);
  EXPECT_EQ(pFrame->m_pToolBar->GetControls()->GetCount(), 5);

  testsupport::TempDir dir;
  const CString strPath = UseFileIn(WidePath(dir));
  HANDLE hFile =
      ::CreateFile(strPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  const char garbage[] = "\x05\x00\x00\x00not an archive at all";
  DWORD dwWritten = 0;
  ::WriteFile(hFile, garbage, sizeof(garbage), &dwWritten, nullptr);
  ::CloseHandle(hFile);
  theTestApp.WriteProfileString(L"CommandBars-Controls", L"Controls", strPath);
  CTestFrame* pSecond = NewFrame();
  ASSERT_NE(pSecond, nullptr);
  EXPECT_EQ(pSecond->m_pToolBar->GetControls()->GetCount(), 5);
}

TEST_F(PersistenceTest, ControlsFileLivesInTheApplicationDataFolder) {
  CXTPCommandBars* pCommandBars = new CXTPCommandBars;
  const CString strPath = pCommandBars->GetControlsFilePath(L"Command\\Bars");
  EXPECT_EQ(strPath.Right(30), CString(L"\\CommandBarsTests\\Command_Bars")) << static_cast<LPCTSTR>(strPath);
  // The folder is made on asking; an empty one is not left behind.
  ::RemoveDirectory(strPath.Left(strPath.GetLength() - 13));
  pCommandBars->SetControlsFilePath(L"C:\\elsewhere.bin");
  EXPECT_EQ(pCommandBars->GetControlsFilePath(L"Command\\Bars"), CString(L"C:\\elsewhere.bin"));
  pCommandBars->InternalRelease();
}

TEST_F(PersistenceTest, DamagedArchivesLoadAsDefaultsAndNothingBreaks) {
  CTestFrame* pFrame = NewFrame();
  Customize(pFrame->m_pToolBar);
  SaveAndClose(pFrame);
  const std::vector<BYTE> valid = StoredControls();
  ASSERT_GT(valid.size(), 64u);

  CTestFrame* pVictim = NewFrame(FALSE);
  CXTPCommandBars* pCommandBars = pVictim->GetCommandBars();
  std::mt19937 random(1234);
  std::vector<std::vector<BYTE>> corpus;
  for (size_t n = 0; n < valid.size(); n += 29) corpus.emplace_back(valid.begin(), valid.begin() + n);
  for (int i = 0; i < 80; ++i) {
    std::vector<BYTE> damaged = valid;
    for (int k = 0; k < 1 + i % 4; ++k)
      damaged[random() % damaged.size()] ^= static_cast<BYTE>(1 + random() % 255);
    corpus.push_back(damaged);
  }
  // The number of stored bars at the start of the archive, at its largest.
  std::vector<BYTE> hostile = valid;
  hostile[0] = 0x60;
  hostile[1] = 0xEA;
  hostile[2] = 0;
  hostile[3] = 0;
  corpus.push_back(hostile);
  for (const std::vector<BYTE>& data : corpus) {
    StoreControls(data);
    pCommandBars->LoadCommandBars(kProfile, TRUE);
  }
  // The frame and its bars still work.
  ASSERT_NE(pCommandBars->FindCommandBar(IDR_TEST_TOOLBAR), nullptr);
  EXPECT_NE(pCommandBars->GetMenuBar(), nullptr);
  EXPECT_GE(pCommandBars->FindCommandBar(IDR_TEST_TOOLBAR)->GetControlCount(), 1);
}

TEST_F(PersistenceTest, DeeplyNestedOriginalSetsAreRefused) {
  CTestFrame* pFrame = NewFrame();
  CXTPControls* pControls = pFrame->m_pToolBar->GetControls();
  pControls->Add(xtpControlButton, ID_TEST_ITEM_A);
  CXTPControls* pLevel = pControls->GetOriginalControls();
  for (int i = 0; i < 20; ++i) {
    CXTPControls* pDeeper = new CXTPControls;
    pDeeper->Add(xtpControlButton, ID_TEST_ITEM_B);
    pLevel->SetOriginalControls(pDeeper);
    pLevel = pDeeper;
  }
  SaveAndClose(pFrame);
  CTestFrame* pSecond = NewFrame();
  ASSERT_NE(pSecond, nullptr);
  // The stored bar is not taken: the toolbar is the program's own.
  EXPECT_EQ(pSecond->m_pToolBar->GetControls()->FindControl(ID_TEST_ITEM_A), nullptr);
}

TEST_F(PersistenceTest, HostileCountsInTheProfileAreIgnored) {
  theTestApp.WriteProfileInt(L"CommandBars-Summary", L"Bars", 100000000);
  theTestApp.WriteProfileInt(L"CommandBars-DockBar0", L"Bars", 100000000);
  theTestApp.WriteProfileInt(L"CommandBars-DockBar1", L"Bars", 1);
  theTestApp.WriteProfileInt(L"CommandBars-DockBar1", L"Bar#0", IDR_TEST_TOOLBAR);
  CTestFrame* pFrame = NewFrame();
  ASSERT_NE(pFrame, nullptr);
  EXPECT_EQ(pFrame->m_pToolBar->GetPosition(), xtpBarTop);
  EXPECT_TRUE(pFrame->m_pToolBar->IsVisible());
}

TEST_F(PersistenceTest, PlacementFromASmallerScreenIsScaledAndAZeroScreenSizeIsNot) {
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  auto storeFloating = [&](int nScreenCx, int nScreenCy, int x, int y) {
    theTestApp.WriteProfileInt(L"CommandBars-Summary", L"Bars", 1);
    theTestApp.WriteProfileInt(L"CommandBars-Summary", L"ScreenCX", nScreenCx);
    theTestApp.WriteProfileInt(L"CommandBars-Summary", L"ScreenCY", nScreenCy);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"BarID", IDR_TEST_TOOLBAR);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"Floating", 1);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"XPos", x);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"YPos", y);
  };
  auto floatingAt = [&]() {
    CTestFrame* pFrame = NewFrame();
    EXPECT_EQ(pFrame->m_pToolBar->GetPosition(), xtpBarFloating);
    CRect rc;
    pFrame->m_pToolBar->GetWindowRect(&rc);
    return rc.TopLeft();
  };
  storeFloating(cx / 2, cy / 2, 100, 60);
  EXPECT_EQ(floatingAt(), CPoint(::MulDiv(100, cx, cx / 2), ::MulDiv(60, cy, cy / 2)));
  storeFloating(0, 0, 100, 60);
  EXPECT_EQ(floatingAt(), CPoint(100, 60));
  storeFloating(cx, cy, cx + 500, cy + 500);
  EXPECT_EQ(floatingAt(), CPoint(cx - ::GetSystemMetrics(SM_CXICON), cy - ::GetSystemMetrics(SM_CYICON)));
}

TEST_F(PersistenceTest, DockLayoutSkipsEmptyDockBarsAndBarsWithoutAnId) {
  CTestFrame* pFrame = NewFrame(FALSE);
  CXTPToolBar* pNoId = pFrame->GetCommandBars()->Add(L"No id", xtpBarTop);
  ASSERT_EQ(pNoId->GetBarID(), 0u);
  SaveAndClose(pFrame);
  EXPECT_FALSE(m_key.ValueExists(L"CommandBars-DockBar1", L"Bars"));
  const int nBars = static_cast<int>(theTestApp.GetProfileInt(L"CommandBars-DockBar0", L"Bars", 0));
  ASSERT_GT(nBars, 1);
  int nZeros = 0;
  for (int i = 0; i < nBars; ++i) {
    CString strEntry;
    strEntry.Format(L"Bar#%d", i);
    if (theTestApp.GetProfileInt(L"CommandBars-DockBar0", strEntry, -1) == 0) nZeros++;
  }
  // Only row breaks are zero: the menu bar, the toolbar and the bar without an id each had a row.
  EXPECT_EQ(nZeros, nBars - 2);
}

TEST_F(PersistenceTest, ShortcutsAreStoredOnlyWithADefaultTableAndDamagedBlobsAreIgnored) {
  CXTPCommandBars* pCommandBars = new CXTPCommandBars;
  CXTPAcceleratorManager* pShortcuts = pCommandBars->GetShortcutManager();
  pShortcuts->SaveShortcuts(kProfile);
  EXPECT_FALSE(m_key.ValueExists(kProfile, L"Accelerators"));
  ACCEL accel[2] = {{FVIRTKEY | FCONTROL, 'S', 1002}, {FVIRTKEY, VK_F5, 1001}};
  pShortcuts->SetDefaultAccelerators(::CreateAcceleratorTable(accel, 1));
  pShortcuts->SetAccelerators(accel, 2);
  pShortcuts->SaveShortcuts(kProfile);
  EXPECT_EQ(m_key.ReadValue(kProfile, L"Accelerators").size(), 12u);
  pShortcuts->ResetAccelerators();
  EXPECT_EQ(::CopyAcceleratorTable(pShortcuts->GetAcceleratorTable(), nullptr, 0), 1);
  pShortcuts->LoadShortcuts(kProfile);
  EXPECT_EQ(::CopyAcceleratorTable(pShortcuts->GetAcceleratorTable(), nullptr, 0), 2);
  // Seven bytes are no whole records; nothing is taken.
  BYTE odd[7] = {1, 0, 'S', 0, 1, 2, 3};
  theTestApp.WriteProfileBinary(kProfile, L"Accelerators", odd, sizeof(odd));
  pShortcuts->ResetAccelerators();
  pShortcuts->LoadShortcuts(kProfile);
  EXPECT_EQ(::CopyAcceleratorTable(pShortcuts->GetAcceleratorTable(), nullptr, 0), 1);
  pCommandBars->InternalRelease();
}

TEST_F(PersistenceTest, StoredControlsKeepTheKindOfTheirClass) {
  CTestFrame* pFrame = NewFrame();
  CXTPControls* pControls = pFrame->m_pToolBar->GetControls();
  // A button stored as if it opened a popup, and a popup stored as a plain button: damaged types.
  pControls->Add(xtpControlButton, ID_TEST_ITEM_A)->SetType(xtpControlPopup);
  CXTPControl* pPopup = pControls->Add(xtpControlPopup, 0);
  pPopup->SetCaption(L"Tools");
  pPopup->SetType(xtpControlButton);
  // A split button is a popup of another type, and keeps it.
  pControls->Add(xtpControlSplitButtonPopup, ID_TEST_ITEM_B);
  SaveAndClose(pFrame);

  CTestFrame* pSecond = NewFrame();
  CXTPControls* pLoaded = pSecond->m_pToolBar->GetControls();
  CXTPControl* pButton = pLoaded->FindControl(ID_TEST_ITEM_A);
  ASSERT_NE(pButton, nullptr);
  EXPECT_EQ(pButton->GetType(), xtpControlButton);
  EXPECT_EQ(AsPopupControl(pButton), nullptr);
  ASSERT_NE(pLoaded->FindControl(ID_TEST_ITEM_B), nullptr);
  EXPECT_EQ(pLoaded->FindControl(ID_TEST_ITEM_B)->GetType(), xtpControlSplitButtonPopup);
  CXTPControl* pTools = nullptr;
  for (int i = 0; i < pLoaded->GetCount(); ++i) {
    if (pLoaded->GetAt(i)->GetCaption() == L"Tools") pTools = pLoaded->GetAt(i);
  }
  ASSERT_NE(pTools, nullptr);
  EXPECT_EQ(pTools->GetType(), xtpControlPopup);
  EXPECT_NE(AsPopupControl(pTools), nullptr);
}

TEST_F(PersistenceTest, StoredBarAndControlValuesOutOfRangeTakeTheirDefaults) {
  CTestFrame* pFrame = NewFrame();
  Customize(pFrame->m_pToolBar);
  pFrame->m_pToolBar->SetIconSize(CSize(-4, 70000));
  pFrame->m_pToolBar->SetMRUWidth(-300);
  CXTPControl* pSave = pFrame->m_pToolBar->GetControls()->FindControl(ID_TEST_SAVE);
  pSave->SetCustomCaption(CString(L'x', XTP_STORED_TEXT_MAX + 1));
  pSave->SetHideFlags(0x80);
  pSave->SetStyle(static_cast<XTPButtonStyle>(9));
  SaveAndClose(pFrame);

  CTestFrame* pSecond = NewFrame();
  CXTPToolBar* pToolBar = pSecond->m_pToolBar;
  // The stored toolbar was taken (its sub-menu is there), with its damaged values at their defaults.
  BOOL bTools = FALSE;
  for (int i = 0; i < pToolBar->GetControlCount(); ++i)
    bTools |= pToolBar->GetControl(i)->GetCaption() == L"Tools";
  EXPECT_TRUE(bTools);
  EXPECT_EQ(pToolBar->GetIconSizeRaw(), CSize(0, 0));
  EXPECT_EQ(pToolBar->GetMRUWidth(), 0x7FFF);
  CXTPControl* pLoaded = pToolBar->GetControls()->FindControl(ID_TEST_SAVE);
  ASSERT_NE(pLoaded, nullptr);
  EXPECT_EQ(pLoaded->GetCustomCaption(), CString());
  EXPECT_EQ(pLoaded->GetHideFlags(), 0u);
  EXPECT_TRUE(pLoaded->IsVisible());
  EXPECT_EQ(pLoaded->GetStyle(), xtpButtonAutomatic);
}

// A second monitor left of and above the primary one.
class LeftMonitorQueries : public CXTPSystemQueries {
 public:
  LeftMonitorQueries() : m_pPrevious(CXTPSystemQueries::SetSystemQueries(this)) {}
  ~LeftMonitorQueries() override { CXTPSystemQueries::SetSystemQueries(m_pPrevious); }
  CRect GetVirtualScreen() override {
    return CRect(-1280, -200, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  }

 private:
  CXTPSystemQueries* m_pPrevious;
};

TEST_F(PersistenceTest, AFloatingBarLeftOfThePrimaryMonitorStaysAndOneOffTheScreenStartsOnIt) {
  LeftMonitorQueries monitors;
  auto floatingAt = [&](CPoint ptStored) {
    theTestApp.WriteProfileInt(L"CommandBars-Summary", L"Bars", 1);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"BarID", IDR_TEST_TOOLBAR);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"Floating", 1);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"XPos", ptStored.x);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"YPos", ptStored.y);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"MRUFloatXPos", ptStored.x);
    theTestApp.WriteProfileInt(L"CommandBars-Bar0", L"MRUWidth", -20);
    CTestFrame* pFrame = NewFrame();
    CXTPToolBar* pToolBar = pFrame->m_pToolBar;
    EXPECT_EQ(pToolBar->GetPosition(), xtpBarFloating);
    EXPECT_EQ(pToolBar->GetMRUWidth(), 0x7FFF);
    EXPECT_NE(pToolBar->GetDragTracker(), nullptr);
    const LONG nMRUFloatX =
        pToolBar->GetDragTracker() != nullptr ? pToolBar->GetDragTracker()->m_ptMRUFloatPos.x : 0;
    CRect rc;
    pToolBar->GetWindowRect(&rc);
    SaveAndClose(pFrame);
    return std::make_pair(rc.TopLeft(), nMRUFloatX);
  };
  EXPECT_EQ(floatingAt(CPoint(-600, -100)), std::make_pair(CPoint(-600, -100), -600L));
  EXPECT_EQ(floatingAt(CPoint(-5000, -3000)), std::make_pair(CPoint(-1280, -200), -1280L));
}

TEST_F(PersistenceTest, StoredOptionsOutOfRangeTakeTheirDefaults) {
  const CString strSection = L"CommandBars-Options";
  theTestApp.WriteProfileString(strSection, L"IconsSize", L"99999, -3");
  theTestApp.WriteProfileString(strSection, L"PopupIconsSize", L"0, 0");
  theTestApp.WriteProfileInt(strSection, L"Animation", 77);
  theTestApp.WriteProfileInt(strSection, L"KeyboardCuesShow", 9);
  theTestApp.WriteProfileInt(strSection, L"KeyboardCuesUse", -1);
  theTestApp.WriteProfileInt(strSection, L"LargeIcons", 7);
  CXTPCommandBars* pCommandBars = new CXTPCommandBars;
  CXTPCommandBarsOptions* pOptions = pCommandBars->GetCommandBarsOptions();
  // Values the program would have written keep theirs; damaged ones fall back to the defaults.
  pOptions->animationType = 2;
  pOptions->bLargeIcons = TRUE;
  {
    HKEY hAppKey = theTestApp.GetAppRegistryKey();
    CXTPPropExchangeRegistry section(TRUE, hAppKey, strSection);
    pOptions->DoPropExchange(&section, FALSE);
    ::RegCloseKey(hAppKey);
  }
  EXPECT_EQ(pOptions->szIcons, CSize(0, 0));
  EXPECT_EQ(pOptions->szPopupIcons, CSize(16, 16));
  EXPECT_EQ(pOptions->animationType, 0);
  EXPECT_EQ(pOptions->keyboardCuesShow, 0);
  EXPECT_EQ(pOptions->keyboardCuesUse, 1);
  EXPECT_EQ(pOptions->bLargeIcons, FALSE);
  pCommandBars->InternalRelease();
}

// The program's toolbar gained a button since the user customized it.
class ProgramUpdateTest : public PersistenceTest {
 protected:
  void SetUp() override {
    CTestFrame* pFrame = NewFrame();
    pFrame->m_pToolBar->GetControls()->RemoveAt(0);
    SaveAndClose(pFrame);
    m_pFrame = NewFrame(FALSE);
    m_pToolBar = m_pFrame->m_pToolBar;
    m_pToolBar->GetControls()->Add(xtpControlButton, ID_TEST_ITEM_A);
    m_pToolBar->GetControls()->GetOriginalControls()->Add(xtpControlButton, ID_TEST_ITEM_A);
  }
  bool HasNewButton() const { return m_pToolBar->GetControls()->FindControl(ID_TEST_ITEM_A) != nullptr; }
  bool HasUsersChange() const { return m_pToolBar->GetControls()->FindControl(ID_TEST_OPEN) == nullptr; }

  CTestFrame* m_pFrame = nullptr;
  CXTPToolBar* m_pToolBar = nullptr;
};

TEST_F(ProgramUpdateTest, AnsweringYesTakesTheProgramsNewToolbar) {
  MessageBoxAnswer answer('Y');
  m_pFrame->GetCommandBars()->LoadCommandBars(kProfile);
  EXPECT_TRUE(answer.Shown());
  EXPECT_NE(answer.m_strText.Find(L"the toolbar 'Standard' has changed"), -1);
  EXPECT_TRUE(HasNewButton());
  EXPECT_FALSE(HasUsersChange());
}

TEST_F(ProgramUpdateTest, AnsweringNoKeepsTheUsersToolbarAgainstTheNewOriginal) {
  MessageBoxAnswer answer('N');
  m_pFrame->GetCommandBars()->LoadCommandBars(kProfile);
  EXPECT_TRUE(answer.Shown());
  EXPECT_FALSE(HasNewButton());
  EXPECT_TRUE(HasUsersChange());
  // The kept set is compared with the program's new set from now on.
  EXPECT_NE(m_pToolBar->GetControls()->GetOriginalControls()->FindControl(ID_TEST_ITEM_A), nullptr);
}

TEST_F(ProgramUpdateTest, SilentLoadTakesTheNewToolbarWithoutAsking) {
  MessageBoxAnswer answer('N');
  m_pFrame->GetCommandBars()->LoadCommandBars(kProfile, TRUE);
  testsupport::PumpMessages(400);
  EXPECT_FALSE(answer.Shown());
  EXPECT_TRUE(HasNewButton());
  EXPECT_FALSE(HasUsersChange());
}

TEST_F(PersistenceTest, ArchiveOf16000BytesStaysInTheProfileAndOf16001GoesToTheFile) {
  testsupport::TempDir dir;
  const CString strPath = UseFileIn(WidePath(dir));
  CTestFrame* pFrame = NewFrame(FALSE);
  pFrame->GetCommandBars()->SetControlsFilePath(strPath);
  auto measure = [&]() {
    pFrame->GetCommandBars()->SaveCommandBars(kProfile);
    const bool bFile = theTestApp.GetProfileInt(L"CommandBars-Controls", L"LoadFromFile", 0) != 0;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (bFile && !::GetFileAttributesEx(strPath, GetFileExInfoStandard, &data))
      return std::make_pair(0, true);
    return std::make_pair(
        bFile ? static_cast<int>(data.nFileSizeLow) : static_cast<int>(StoredControls().size()), bFile);
  };
  // Buttons of 60-character captions up to a little below the limit; one more caption is adjusted to
  // the byte. Each character is two bytes, so a control of a class of its own (its name stored once)
  // gives the other parity.
  CXTPControls* pControls = pFrame->m_pToolBar->GetControls();
  CXTPControl* pAdjust = pControls->Add(xtpControlButton, ID_TEST_ITEM_B);
  const int nBase = measure().first;
  const CString strFill(L'w', 60);
  pControls->Add(xtpControlButton, ID_TEST_ITEM_A)->SetCaption(strFill);
  const int nStep = measure().first - nBase;
  ASSERT_GT(nStep, 120);
  for (int n = (16000 - 400 - nBase) / nStep; n > 1; --n)
    pControls->Add(xtpControlButton, ID_TEST_ITEM_A)->SetCaption(strFill);
  for (int nTarget : {16000, 16001}) {
    bool bHit = false;
    for (int nFixed = 0; nFixed < 2 && !bHit; ++nFixed) {
      CXTPControl* pFixed = nFixed != 0 ? AddFixed(pControls, ID_TEST_ITEM_A, 23, 22) : nullptr;
      pAdjust->SetCaption(L"");
      std::pair<int, bool> result = measure();
      int nGap = nTarget - result.first;
      if (nGap >= 0 && nGap % 2 == 0) {
        // Longer strings store a longer length: a second step corrects for it.
        int nLength = 0;
        for (int nTry = 0; nTry < 3 && nGap != 0; ++nTry) {
          nLength += nGap / 2;
          pAdjust->SetCaption(CString(L'a', nLength));
          result = measure();
          nGap = nTarget - result.first;
        }
        EXPECT_EQ(result.first, nTarget);
        EXPECT_EQ(result.second, nTarget > 16000) << nTarget;
        bHit = true;
      }
      if (pFixed != nullptr) pControls->Remove(pFixed);
    }
    EXPECT_TRUE(bHit) << nTarget;
  }
}

}  // namespace
