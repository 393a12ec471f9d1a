// The main frame against a damaged registry profile: a rich command-bar state (a user toolbar with
// controls of every kind, options, placement) is saved once, then for each case its archive of bars and
// its values are mutated or replaced by random bytes, and the frame is made from them, laid out,
// painted, its menus and toolbar popups opened, the customize sheet run and the state saved again.
// Nothing may crash, and every bar that shows lies on the screen. The cases (200, in batches of 25) come
// from a fixed seed; BRINDLE_PROFILE_FUZZ_CASES and BRINDLE_PROFILE_FUZZ_SEED change how many and which
// (a case that fails is named with both, so that it can be run alone).
#include <gtest/gtest.h>

#include <AcceleratorManager.h>
#include <CommandBars.h>
#include <CommandBarsOptions.h>
#include <ControlComboBox.h>
#include <ControlEdit.h>
#include <ControlPopup.h>
#include <CustomizeSheet.h>
#include <ToolBar.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "MainFrame.h"
#include "WindowTest.h"
#include "resource.h"

// The application object of this program; its profile lives under a registry key of its own.
CWinApp theProfileFuzzApp(L"Brindle profile fuzz tests");

namespace {

const wchar_t kRegistryKey[] = L"BrindleProfileFuzzTest";

// ---- The profile as values ------------------------------------------------------------------------

struct StoredValue {
  std::wstring name;
  DWORD type;
  std::vector<BYTE> bytes;
};
struct StoredSection {
  std::wstring name;
  std::vector<StoredValue> values;
};
using Profile = std::vector<StoredSection>;

std::wstring AppKeyPath() { return std::wstring(L"Software\\") + kRegistryKey + L"\\" + AfxGetAppName(); }

void DeleteProfile() {
  HKEY hSoftware = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_ALL_ACCESS, &hSoftware) != ERROR_SUCCESS) return;
  ::RegDeleteTreeW(hSoftware, kRegistryKey);
  ::RegDeleteKeyW(hSoftware, kRegistryKey);
  ::RegCloseKey(hSoftware);
}

Profile ReadProfile() {
  Profile profile;
  HKEY hApp = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, AppKeyPath().c_str(), 0, KEY_READ, &hApp) != ERROR_SUCCESS)
    return profile;
  wchar_t szSection[256];
  for (DWORD i = 0;; ++i) {
    DWORD cchSection = 256;
    if (::RegEnumKeyExW(hApp, i, szSection, &cchSection, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    StoredSection section{szSection, {}};
    HKEY hSection = nullptr;
    if (::RegOpenKeyExW(hApp, szSection, 0, KEY_READ, &hSection) != ERROR_SUCCESS) continue;
    for (DWORD j = 0;; ++j) {
      wchar_t szName[256];
      DWORD cchName = 256, type = 0, cb = 0;
      if (::RegEnumValueW(hSection, j, szName, &cchName, nullptr, &type, nullptr, &cb) != ERROR_SUCCESS)
        break;
      StoredValue value{szName, type, std::vector<BYTE>(cb)};
      cchName = 256;
      ::RegEnumValueW(hSection, j, szName, &cchName, nullptr, &type, cb > 0 ? value.bytes.data() : nullptr,
                      &cb);
      section.values.push_back(value);
    }
    ::RegCloseKey(hSection);
    profile.push_back(section);
  }
  ::RegCloseKey(hApp);
  return profile;
}

void WriteProfile(const Profile& profile) {
  DeleteProfile();
  for (const StoredSection& section : profile) {
    HKEY hSection = nullptr;
    const std::wstring path = AppKeyPath() + L"\\" + section.name;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hSection,
                          nullptr) != ERROR_SUCCESS)
      continue;
    for (const StoredValue& value : section.values) {
      ::RegSetValueExW(hSection, value.name.c_str(), 0, value.type,
                       value.bytes.empty() ? nullptr : value.bytes.data(),
                       static_cast<DWORD>(value.bytes.size()));
    }
    ::RegCloseKey(hSection);
  }
}

// ---- Mutations ------------------------------------------------------------------------------------

// Numbers that sit at the edges of what the program reads: counts, types, positions, sizes.
// clang-format off
const long kEdgeValues[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, -2, 16, 255, 256, 0x7FFF, 0x8000, 0xFFFF,
                            65536, 100000, -5000, 5000, -100000, 0x7FFFFFFF, static_cast<long>(0x80000000),
                            0x1000000, 9400, 9401, 9402, 35001, 0xE800, 128, 216};
// clang-format on

class Mutator {
 public:
  explicit Mutator(unsigned seed) : m_random(seed) {}

  unsigned Next(unsigned n) { return n == 0 ? 0 : static_cast<unsigned>(m_random() % n); }
  long Edge() { return kEdgeValues[Next(sizeof(kEdgeValues) / sizeof(kEdgeValues[0]))]; }

  void MutateBytes(std::vector<BYTE>& data) {
    const unsigned nSteps = 1 + Next(8);
    for (unsigned i = 0; i < nSteps; ++i) {
      if (data.empty()) {
        data.push_back(static_cast<BYTE>(Next(256)));
        continue;
      }
      const size_t at = Next(static_cast<unsigned>(data.size()));
      switch (Next(7)) {
        case 0:
          data[at] ^= static_cast<BYTE>(1u << Next(8));
          break;
        case 1:
          data[at] = static_cast<BYTE>(Next(256));
          break;
        case 2: {
          // An edge number over four bytes, where counts, types and lengths are.
          const long value = Edge();
          for (size_t k = 0; k < 4 && at + k < data.size(); ++k)
            data[at + k] = static_cast<BYTE>(value >> (8 * k));
          break;
        }
        case 3:
          data.resize(at);
          break;
        case 4:
          data.erase(data.begin() + at, data.begin() + std::min(data.size(), at + 1 + Next(64)));
          break;
        case 5: {
          const size_t length = std::min(data.size() - at, static_cast<size_t>(1 + Next(256)));
          const std::vector<BYTE> chunk(data.begin() + at, data.begin() + at + length);
          data.insert(data.begin() + Next(static_cast<unsigned>(data.size())), chunk.begin(), chunk.end());
          break;
        }
        default:
          for (unsigned k = Next(32) + 1; k > 0; --k)
            data.insert(data.begin() + at, static_cast<BYTE>(Next(256)));
          break;
      }
    }
  }

  std::vector<BYTE> RandomBytes() {
    std::vector<BYTE> data(Next(4096));
    for (BYTE& b : data) b = static_cast<BYTE>(Next(256));
    return data;
  }

  void MutateValue(StoredValue& value) {
    if (value.type == REG_DWORD) {
      const long number = Next(3) == 0 ? static_cast<long>(m_random()) : Edge();
      value.bytes.assign(reinterpret_cast<const BYTE*>(&number), reinterpret_cast<const BYTE*>(&number) + 4);
    } else if (value.type == REG_SZ) {
      // Rectangles and sizes are stored as texts of numbers.
      std::wstring text;
      for (unsigned k = Next(5); k > 0; --k) text += std::to_wstring(Edge()) + (k > 1 ? L", " : L"");
      if (Next(4) == 0) text = L"garbage";
      value.bytes.assign(reinterpret_cast<const BYTE*>(text.c_str()),
                         reinterpret_cast<const BYTE*>(text.c_str() + text.size() + 1));
    } else {
      MutateBytes(value.bytes);
    }
    // A value of another type than the program writes.
    if (Next(10) == 0) value.type = value.type == REG_DWORD ? REG_SZ : REG_DWORD;
  }

  Profile Mutate(const Profile& seed, const std::wstring& strFile) {
    Profile profile = seed;
    const unsigned plan = Next(10);
    for (StoredSection& section : profile) {
      for (StoredValue& value : section.values) {
        const bool bControls = section.name == L"CommandBars-Controls" && value.name == L"Controls";
        if (bControls && value.type == REG_BINARY) {
          if (plan == 9) {
            value.bytes = RandomBytes();
          } else if (plan < 7) {
            MutateBytes(value.bytes);
          }
        } else if (plan >= 5 && Next(4) == 0) {
          MutateValue(value);
        }
      }
      // Values the program never wrote, with numbers at the edges (positions far off the screen).
      if (plan >= 6 && Next(3) == 0) {
        static const wchar_t* kNames[] = {L"XPos",         L"YPos",      L"MRUWidth",  L"Floating",
                                          L"Visible",      L"Bars",      L"Bar#0",     L"MRUFloatXPos",
                                          L"ScreenCX",     L"ScreenCY",  L"MRUDockID", L"MRUDockLeftPos",
                                          L"LoadFromFile", L"StatusBar", L"Animation"};
        const long number = Edge();
        StoredValue extra{kNames[Next(sizeof(kNames) / sizeof(kNames[0]))], REG_DWORD,
                          std::vector<BYTE>(reinterpret_cast<const BYTE*>(&number),
                                            reinterpret_cast<const BYTE*>(&number) + 4)};
        section.values.push_back(extra);
      }
    }
    // The controls, now and then, in the hidden file that large states go to.
    if (plan == 8) {
      for (StoredSection& section : profile) {
        if (section.name != L"CommandBars-Controls") continue;
        for (StoredValue& value : section.values) {
          if (value.name != L"Controls" || value.type != REG_BINARY) continue;
          MutateBytes(value.bytes);
          HANDLE hFile = ::CreateFileW(strFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
          if (hFile != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(hFile, value.bytes.data(), static_cast<DWORD>(value.bytes.size()), &written, nullptr);
            ::CloseHandle(hFile);
          }
          value.type = REG_SZ;
          value.bytes.assign(reinterpret_cast<const BYTE*>(strFile.c_str()),
                             reinterpret_cast<const BYTE*>(strFile.c_str() + strFile.size() + 1));
        }
        const long one = 1;
        section.values.push_back(StoredValue{
            L"LoadFromFile", REG_DWORD,
            std::vector<BYTE>(reinterpret_cast<const BYTE*>(&one), reinterpret_cast<const BYTE*>(&one) + 4)});
      }
    }
    return profile;
  }

 private:
  std::mt19937 m_random;
};

// ---- The frame ------------------------------------------------------------------------------------

// Answers every message box of this process while it lives (the question of a changed toolbar comes
// from damaged states that still read whole): No, then Yes, in turn.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() : m_thread([this] { Run(); }) {}
  ~MessageBoxAnswerer() {
    m_bQuit = true;
    m_thread.join();
  }

 private:
  static BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(hWnd, &processId);
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    if (processId == ::GetCurrentProcessId() && ::IsWindowVisible(hWnd) &&
        lstrcmpW(szClass, L"#32770") == 0 && ::GetDlgItem(hWnd, 0xFFFF) != nullptr) {
      *reinterpret_cast<HWND*>(lParam) = hWnd;
      return FALSE;
    }
    return TRUE;
  }
  void Run() {
    int nAnswer = 0;
    while (!m_bQuit) {
      HWND hBox = nullptr;
      ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&hBox));
      if (hBox != nullptr) {
        const int nButton = ::GetDlgItem(hBox, IDNO) != nullptr ? ((nAnswer++ % 2) ? IDYES : IDNO) : IDOK;
        ::PostMessageW(hBox, WM_COMMAND, nButton, 0);
      }
      ::Sleep(10);
    }
  }

  std::atomic<bool> m_bQuit{false};
  std::thread m_thread;
};

CMainFrame* MakeFrame() {
  theProfileFuzzApp.m_pMainWnd = nullptr;
  CMainFrame* pFrame = new CMainFrame;
  if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr)) return nullptr;
  theProfileFuzzApp.m_pMainWnd = pFrame;
  pFrame->MoveWindow(40, 40, 860, 600);
  pFrame->ShowWindow(SW_SHOWNORMAL);
  pFrame->RecalcLayout();
  pFrame->UpdateWindow();
  return pFrame;
}

void DestroyFrame(CMainFrame* pFrame) {
  if (theProfileFuzzApp.m_pMainWnd == pFrame) theProfileFuzzApp.m_pMainWnd = nullptr;
  pFrame->DestroyWindow();
  testsupport::PumpMessages(0);
}

// Every bar that shows lies on the screen: its top-left corner within it.
std::vector<std::string> BarsOffScreen(CXTPCommandBars* pCommandBars) {
  std::vector<std::string> offScreen;
  const CRect rcScreen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  for (int i = 0; i < pCommandBars->GetCount(); ++i) {
    CXTPToolBar* pBar = pCommandBars->GetAt(i);
    if (pBar->GetSafeHwnd() == nullptr || !pBar->IsWindowVisible()) continue;
    CRect rc;
    pBar->GetWindowRect(&rc);
    if (!rcScreen.PtInRect(rc.TopLeft())) {
      char text[160];
      std::snprintf(text, sizeof text, "bar %u at (%ld, %ld)-(%ld, %ld)", pBar->GetBarID(), rc.left, rc.top,
                    rc.right, rc.bottom);
      offScreen.push_back(text);
    }
  }
  return offScreen;
}

// Opens and closes every popup of the menu bar and the toolbars (the expand button's too), painting
// each, so that the loaded sub-bars and the "Add or Remove Buttons" lists are laid out and drawn.
void OpenEveryPopup(CXTPCommandBars* pCommandBars) {
  // Without the opening animation, whose pauses would be most of the run.
  CXTPCommandBarsOptions* pOptions = pCommandBars->GetCommandBarsOptions();
  const int nAnimation = pOptions->animationType;
  pOptions->animationType = 5;
  for (int i = 0; i < pCommandBars->GetCount(); ++i) {
    CXTPToolBar* pBar = pCommandBars->GetAt(i);
    if (pBar->GetSafeHwnd() == nullptr || !pBar->IsVisible()) continue;
    for (int j = 0; j < pBar->GetControlCount(); ++j) {
      CXTPControl* pControl = pBar->GetControl(j);
      if (pControl == nullptr || !pControl->IsVisible() || !pControl->GetEnabled() ||
          AsPopupControl(pControl) == nullptr)
        continue;
      pBar->SetPopuped(j);
      if (CXTPCommandBar* pPopup = pControl->GetCommandBar()) {
        if (pPopup->GetSafeHwnd() != nullptr) pPopup->UpdateWindow();
      }
      pCommandBars->ClosePopups();
    }
  }
  pOptions->animationType = nAnimation;
}

// Closes the running customize sheet once it shows, after turning to each of its pages and noting the
// bars off the screen while it runs.
std::vector<std::string>* g_pSheetOffScreen = nullptr;
void CALLBACK CloseCustomizeSheet(HWND, UINT, UINT_PTR, DWORD) {
  CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunningSheet();
  if (pSheet == nullptr || pSheet->GetSafeHwnd() == nullptr || !pSheet->IsWindowVisible()) return;
  for (int i = 0; i < pSheet->GetPageCount(); ++i) {
    pSheet->SetActivePage(i);
    pSheet->UpdateWindow();
  }
  if (g_pSheetOffScreen != nullptr) {
    for (const std::string& bar : BarsOffScreen(pSheet->GetCommandBars())) g_pSheetOffScreen->push_back(bar);
  }
  pSheet->PressButton(PSBTN_CANCEL);
}

// Runs the customize sheet through the frame's command.
void RunCustomizeSheet(CMainFrame* pFrame, std::vector<std::string>* pOffScreen) {
  g_pSheetOffScreen = pOffScreen;
  const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 20, CloseCustomizeSheet);
  pFrame->SendMessage(WM_COMMAND, ID_CUSTOMIZE, 0);
  ::KillTimer(nullptr, nTimer);
  g_pSheetOffScreen = nullptr;
}

unsigned EnvNumber(const char* name, unsigned fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != 0 ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

// Cases run in batches of this many, one test each, so that no test runs long.
const unsigned kCasesPerBatch = 25;

unsigned CaseCount() { return EnvNumber("BRINDLE_PROFILE_FUZZ_CASES", 200); }
unsigned FirstSeed() { return EnvNumber("BRINDLE_PROFILE_FUZZ_SEED", 20240611); }

Profile MakeSeedProfile();

// The profile's key is the program's own; the seed state is saved once for all batches.
class ProfileFuzzTest : public ::testing::TestWithParam<unsigned> {
 protected:
  static void SetUpTestSuite() {
    DeleteProfile();
    theProfileFuzzApp.SetRegistryKey(kRegistryKey);
    s_pSeed = new Profile(MakeSeedProfile());
    wchar_t szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    s_strFile = std::wstring(szTemp) + L"brindle-profile-fuzz.bin";
  }
  static void TearDownTestSuite() {
    std::fprintf(stderr, "%u of %u cases read stored bars back\n", s_nRead, s_nRun);
    delete s_pSeed;
    s_pSeed = nullptr;
    ::DeleteFileW(s_strFile.c_str());
    DeleteProfile();
    free(const_cast<LPTSTR>(theProfileFuzzApp.m_pszRegistryKey));
    theProfileFuzzApp.m_pszRegistryKey = nullptr;
  }

  static Profile* s_pSeed;
  static std::wstring s_strFile;
  static unsigned s_nRun;
  static unsigned s_nRead;
};

Profile* ProfileFuzzTest::s_pSeed = nullptr;
std::wstring ProfileFuzzTest::s_strFile;
unsigned ProfileFuzzTest::s_nRun = 0;
unsigned ProfileFuzzTest::s_nRead = 0;

// The user toolbar of the seed state, found when a damaged state still read back.
const UINT kSeedToolbarId = 0xE810;

// A state with every kind of stored value: a user toolbar floating with a button, a popup holding a
// sub-menu, a combo box, an edit box and a label; the standard toolbar customised and placed on the
// left; options changed.
Profile MakeSeedProfile() {
  CMainFrame* pFrame = MakeFrame();
  if (pFrame == nullptr) return Profile();
  CXTPCommandBars* pCommandBars = pFrame->GetCommandBars();
  CXTPToolBar* pUser = pCommandBars->AddCustomBar(L"Fuzzed", 0xE810, TRUE);
  if (pUser != nullptr) {
    CXTPControls* pControls = pUser->GetControls();
    pControls->Add(xtpControlButton, ID_EXPORT)->SetCaption(L"Export now");
    CXTPControl* pPopup = pControls->Add(xtpControlPopup, 0);
    pPopup->SetCaption(L"More");
    if (CXTPCommandBar* pSub = pPopup->GetCommandBar()) {
      pSub->GetControls()->Add(xtpControlButton, ID_HELP_CONTENTS);
      pSub->GetControls()->Add(xtpControlSplitButtonPopup, ID_HOME_PAGE)->SetBeginGroup(TRUE);
    }
    if (auto* pCombo = DYNAMIC_DOWNCAST(CXTPControlComboBox, pControls->Add(xtpControlComboBox, 5001))) {
      pCombo->AddString(L"First");
      pCombo->AddString(L"Second");
      pCombo->SetWidth(120);
    }
    pControls->Add(xtpControlEdit, 5002)->SetCaption(L"Name");
    pControls->Add(xtpControlLabel, 5003)->SetCaption(L"Label");
    pUser->SetWindowPos(nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  if (CXTPToolBar* pStandard = pCommandBars->FindCommandBar(IDR_TOOLBAR_STANDARD)) {
    pStandard->GetControls()->Add(xtpControlButton, ID_SELECT_NSF_FILE)->SetStyle(xtpButtonIconAndCaption);
    pCommandBars->DockCommandBar(pStandard, 2);
  }
  CXTPCommandBarsOptions* pOptions = pCommandBars->GetCommandBarsOptions();
  pOptions->animationType = 3;
  pOptions->bLargeIcons = TRUE;
  pOptions->SetHideCommand(ID_HOME_PAGE);
  pCommandBars->RecalcFrameLayout();
  pCommandBars->SaveOptions(CMainFrame::COMMAND_BARS_SECTION);
  pCommandBars->SaveCommandBars(CMainFrame::COMMAND_BARS_SECTION, TRUE);
  pCommandBars->GetShortcutManager()->SaveShortcuts(CMainFrame::COMMAND_BARS_SECTION);
  DestroyFrame(pFrame);
  return ReadProfile();
}

TEST_P(ProfileFuzzTest, DamagedProfilesNeitherCrashTheFrameNorPutABarOffTheScreen) {
  ASSERT_NE(s_pSeed, nullptr);
  bool bHasControls = false;
  for (const StoredSection& section : *s_pSeed) bHasControls |= section.name == L"CommandBars-Controls";
  ASSERT_TRUE(bHasControls) << "the seed state stored no bars";

  const unsigned nFirst = GetParam() * kCasesPerBatch;
  const unsigned nLast = std::min(CaseCount(), nFirst + kCasesPerBatch);
  MessageBoxAnswerer answerer;
  for (unsigned nCase = nFirst; nCase < nLast; ++nCase) {
    // Each case has a seed of its own, so that one can be run alone.
    const unsigned nSeed = FirstSeed() + nCase;
    Mutator mutator(nSeed);
    WriteProfile(mutator.Mutate(*s_pSeed, s_strFile));
    std::fprintf(stderr, "case %u (BRINDLE_PROFILE_FUZZ_SEED=%u)\n", nCase, nSeed);
    std::fflush(stderr);
    const std::string strCase = "case " + std::to_string(nCase) +
                                " (BRINDLE_PROFILE_FUZZ_SEED=" + std::to_string(nSeed) +
                                " BRINDLE_PROFILE_FUZZ_CASES=1)";

    CMainFrame* pFrame = MakeFrame();
    ASSERT_NE(pFrame, nullptr) << strCase;
    CXTPCommandBars* pCommandBars = pFrame->GetCommandBars();
    ASSERT_NE(pCommandBars, nullptr);
    ++s_nRun;
    if (pCommandBars->FindCommandBar(kSeedToolbarId) != nullptr) ++s_nRead;
    pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    std::vector<std::string> offScreen = BarsOffScreen(pCommandBars);
    OpenEveryPopup(pCommandBars);
    RunCustomizeSheet(pFrame, &offScreen);
    pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    for (const std::string& bar : BarsOffScreen(pCommandBars)) offScreen.push_back(bar);
    EXPECT_TRUE(offScreen.empty()) << strCase << ": " << offScreen.front();
    // What was read back is stored again, and in every fifth case read again by a second frame.
    pCommandBars->SaveOptions(CMainFrame::COMMAND_BARS_SECTION);
    pCommandBars->SaveCommandBars(CMainFrame::COMMAND_BARS_SECTION, TRUE);
    DestroyFrame(pFrame);
    if (nCase % 5 == 0) {
      CMainFrame* pAgain = MakeFrame();
      ASSERT_NE(pAgain, nullptr) << strCase;
      EXPECT_TRUE(BarsOffScreen(pAgain->GetCommandBars()).empty()) << strCase << ", saved again";
      DestroyFrame(pAgain);
    }
    if (HasFailure()) break;
  }
}

INSTANTIATE_TEST_SUITE_P(Batches, ProfileFuzzTest,
                         ::testing::Range(0u, (CaseCount() + kCasesPerBatch - 1) / kCasesPerBatch));

}  // namespace
