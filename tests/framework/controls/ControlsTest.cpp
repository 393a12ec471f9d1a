// Control wrappers and window DCs driven under Xvfb: a probe window holds one of each control;
// tests drive them through the wrappers and read the results back through the controls.
#include "afxcmn.h"

#include "WindowTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr UINT kIdTree = 100;
constexpr UINT kIdList = 101;
constexpr UINT kIdProgress = 102;
constexpr UINT kIdCheckList = 103;
constexpr UINT kIdCombo = 104;
constexpr UINT kIdTab = 105;
constexpr UINT kIdStatus = 106;
constexpr UINT kIdSpin = 107;

// A top-level window painting a known colour through CPaintDC and counting check changes of its
// check list box.
class CProbeWnd : public CWnd {
 public:
  int m_nCheckChanges = 0;
  int m_nPaints = 0;
  COLORREF m_clrPaint = RGB(0, 128, 0);

  BOOL CreateProbe(LPCTSTR title, int width, int height) {
    return CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), title,
                    WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, width, height, nullptr,
                    nullptr);
  }

 protected:
  void OnPaint() {
    CPaintDC dc(this);
    dc.FillSolidRect(0, 0, 40, 40, m_clrPaint);
    m_nPaints++;
  }
  void OnCheckChange() { m_nCheckChanges++; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
ON_WM_PAINT()
ON_CONTROL(CLBN_CHKCHANGE, kIdCheckList, OnCheckChange)
END_MESSAGE_MAP()

// Counts what reflection delivers and paints each line in a colour of its own item data.
class CSwatchListBox : public CListBox {
 public:
  int m_nDraws = 0;
  int m_nMeasures = 0;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
    m_nDraws++;
    CDC::FromHandle(lpDrawItemStruct->hDC)
        ->FillSolidRect(&lpDrawItemStruct->rcItem, static_cast<COLORREF>(lpDrawItemStruct->itemData));
  }
  void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override {
    m_nMeasures++;
    lpMeasureItemStruct->itemHeight = 20;
  }
};

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wnd_.CreateProbe(L"Framework controls", 900, 560));
    testsupport::PumpMessages(50);
  }
  void TearDown() override {
    wnd_.DestroyWindow();
    CWnd::DeleteTempMap();
    CImageList::DeleteTempMap();
  }

  static HICON MakeIcon(COLORREF color) {
    CImageList list;
    list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    CClientDC screen(nullptr);
    bitmap.CreateCompatibleBitmap(&screen, 16, 16);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 16, 16, color);
    dc.SelectObject(old);
    list.Add(&bitmap, CLR_NONE);
    return list.ExtractIcon(0);
  }

  CProbeWnd wnd_;
};

}  // namespace

TEST_F(ControlsTest, TreeWithCheckBoxesKeepsChecksDataAndStructure) {
  CTreeCtrl tree;
  ASSERT_TRUE(
      tree.Create(WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_CHECKBOXES,
                  CRect(10, 10, 210, 210), &wnd_, kIdTree));
  EXPECT_TRUE(tree.GetStyle() & WS_CHILD);
  HTREEITEM root = tree.InsertItem(L"Mailbox");
  HTREEITEM inbox = tree.InsertItem(L"Inbox", root);
  HTREEITEM sent = tree.InsertItem(TVIF_TEXT | TVIF_PARAM, L"Sent Items", 0, 0, 0, 0, 42, root, TVI_LAST);
  ASSERT_NE(nullptr, sent);
  EXPECT_EQ(3u, tree.GetCount());
  EXPECT_EQ(root, tree.GetRootItem());
  EXPECT_EQ(inbox, tree.GetChildItem(root));
  EXPECT_EQ(sent, tree.GetNextSiblingItem(inbox));
  EXPECT_EQ(root, tree.GetParentItem(sent));
  EXPECT_TRUE(tree.ItemHasChildren(root));
  EXPECT_FALSE(tree.ItemHasChildren(inbox));
  EXPECT_EQ(42u, tree.GetItemData(sent));
  EXPECT_TRUE(tree.SetItemData(inbox, 7));
  EXPECT_EQ(7u, tree.GetItemData(inbox));
  EXPECT_STREQ(L"Sent Items", tree.GetItemText(sent));
  EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));

  EXPECT_FALSE(tree.GetCheck(inbox));
  EXPECT_TRUE(tree.SetCheck(inbox));
  EXPECT_TRUE(tree.GetCheck(inbox));
  EXPECT_FALSE(tree.GetCheck(sent));
  EXPECT_TRUE(tree.SetCheck(inbox, FALSE));
  EXPECT_FALSE(tree.GetCheck(inbox));

  CRect label;
  ASSERT_TRUE(tree.GetItemRect(inbox, &label, TRUE));
  UINT flags = 0;
  EXPECT_EQ(inbox, tree.HitTest(label.CenterPoint(), &flags));
  EXPECT_TRUE(flags & TVHT_ONITEMLABEL);
  EXPECT_TRUE(tree.SelectItem(sent));
  EXPECT_EQ(sent, tree.GetSelectedItem());
  EXPECT_TRUE(tree.GetItemState(sent, TVIS_SELECTED) & TVIS_SELECTED);

  CImageList images;
  images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1);
  EXPECT_EQ(nullptr, tree.SetImageList(&images, TVSIL_NORMAL));
  EXPECT_EQ(&images, tree.GetImageList(TVSIL_NORMAL));
  EXPECT_TRUE(tree.DeleteAllItems());
  EXPECT_EQ(0u, tree.GetCount());
  tree.SetImageList(nullptr, TVSIL_NORMAL);
}

TEST_F(ControlsTest, ListViewWithImageListsColumnsChecksAndSelection) {
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(220, 10, 520, 210),
                          &wnd_, kIdList));
  list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  EXPECT_EQ(static_cast<DWORD>(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT),
            list.GetExtendedStyle() & (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT));
  EXPECT_EQ(0, list.InsertColumn(0, L"Folder", LVCFMT_LEFT, 150));
  EXPECT_EQ(1, list.InsertColumn(1, L"Items", LVCFMT_RIGHT, 80));

  CImageList small;
  ASSERT_TRUE(small.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1));
  HICON red = MakeIcon(RGB(255, 0, 0));
  HICON blue = MakeIcon(RGB(0, 0, 255));
  EXPECT_EQ(0, small.Add(red));
  EXPECT_EQ(1, small.Add(blue));
  ::DestroyIcon(red);
  ::DestroyIcon(blue);
  EXPECT_EQ(nullptr, list.SetImageList(&small, LVSIL_SMALL));
  EXPECT_EQ(&small, list.GetImageList(LVSIL_SMALL));

  EXPECT_EQ(0, list.InsertItem(0, L"Inbox", 0));
  EXPECT_EQ(1, list.InsertItem(1, L"Calendar", 1));
  LVITEM item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = 2;
  item.pszText = const_cast<LPTSTR>(L"Contacts");
  item.iImage = 1;
  EXPECT_EQ(2, list.InsertItem(&item));
  EXPECT_TRUE(list.SetItemText(0, 1, L"12"));
  EXPECT_STREQ(L"12", list.GetItemText(0, 1));
  EXPECT_STREQ(L"Calendar", list.GetItemText(1, 0));
  EXPECT_STREQ(L"", list.GetItemText(1, 1));
  WCHAR buffer[4];
  EXPECT_EQ(3, list.GetItemText(1, 0, buffer, 4));  // cut to fit
  EXPECT_EQ(3, list.GetItemCount());
  LVITEM image = {};
  image.mask = LVIF_IMAGE;
  image.iItem = 1;
  ASSERT_TRUE(list.GetItem(&image));
  EXPECT_EQ(1, image.iImage);

  EXPECT_FALSE(list.GetCheck(1));
  EXPECT_TRUE(list.SetCheck(1));
  EXPECT_TRUE(list.GetCheck(1));
  EXPECT_FALSE(list.GetCheck(0));

  EXPECT_TRUE(list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_TRUE(list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED));
  EXPECT_EQ(2u, list.GetSelectedCount());
  POSITION pos = list.GetFirstSelectedItemPosition();
  ASSERT_NE(nullptr, pos);
  EXPECT_EQ(0, list.GetNextSelectedItem(pos));
  EXPECT_EQ(2, list.GetNextSelectedItem(pos));
  EXPECT_EQ(nullptr, pos);
  list.SetSelectionMark(2);
  EXPECT_EQ(2, list.GetSelectionMark());
  EXPECT_TRUE(list.SetItemData(2, 99));
  EXPECT_EQ(99u, list.GetItemData(2));
  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(2, list.GetItemCount());
  EXPECT_NE(nullptr, list.GetHeaderCtrl());
  EXPECT_EQ(2, list.GetHeaderCtrl()->GetItemCount());
  testsupport::PumpMessages(50);
  testsupport::SaveWindowPng(wnd_.m_hWnd, L"framework_list_view.png");
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(0, list.GetItemCount());
  list.SetImageList(static_cast<CImageList*>(nullptr), LVSIL_SMALL);
}

TEST_F(ControlsTest, ProgressRangeAndPositionClampToTheRange) {
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_VISIBLE, CRect(10, 220, 310, 240), &wnd_, kIdProgress));
  progress.SetRange32(0, 200);
  int lower = -1, upper = -1;
  progress.GetRange(lower, upper);
  EXPECT_EQ(0, lower);
  EXPECT_EQ(200, upper);
  EXPECT_EQ(0, progress.SetPos(50));
  EXPECT_EQ(50, progress.GetPos());
  EXPECT_EQ(50, progress.OffsetPos(25));
  EXPECT_EQ(75, progress.GetPos());
  progress.SetPos(500);
  EXPECT_EQ(200, progress.GetPos());
  progress.SetRange(10, 20);
  progress.GetRange(lower, upper);
  EXPECT_EQ(10, lower);
  EXPECT_EQ(20, upper);
}

TEST_F(ControlsTest, CheckListBoxTogglesOnTheBoxAndKeepsItemDataApart) {
  CCheckListBox box;
  ASSERT_TRUE(box.Create(WS_VISIBLE | WS_BORDER | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                         CRect(320, 220, 520, 340), &wnd_, kIdCheckList));
  EXPECT_EQ(0, box.AddString(L"Standard"));
  EXPECT_EQ(1, box.AddString(L"Formatting"));
  EXPECT_EQ(2, box.InsertString(2, L"Drawing"));
  EXPECT_EQ(0, box.SetItemData(1, 0x1234));
  EXPECT_EQ(0x1234u, box.GetItemData(1));
  EXPECT_EQ(0u, box.GetItemData(0));
  EXPECT_EQ(static_cast<DWORD_PTR>(LB_ERR), box.GetItemData(9));

  box.SetCheck(1, 1);
  EXPECT_EQ(1, box.GetCheck(1));
  EXPECT_EQ(0x1234u, box.GetItemData(1));  // the check does not disturb the caller's data
  box.SetCheck(0, 2);                      // indeterminate needs a three-state style
  EXPECT_EQ(0, box.GetCheck(0));
  EXPECT_EQ(0, wnd_.m_nCheckChanges);  // SetCheck does not notify

  CRect line;
  ASSERT_NE(LB_ERR, box.GetItemRect(0, &line));
  ::SendMessage(box.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON,
                MAKELPARAM(line.left + 6, line.top + line.Height() / 2));
  ::SendMessage(box.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(line.left + 6, line.top + line.Height() / 2));
  EXPECT_EQ(1, box.GetCheck(0));
  EXPECT_EQ(1, wnd_.m_nCheckChanges);
  // A click on the text selects without toggling.
  ::SendMessage(box.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON,
                MAKELPARAM(line.right - 10, line.top + line.Height() / 2));
  ::SendMessage(box.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(line.right - 10, line.top + line.Height() / 2));
  EXPECT_EQ(1, box.GetCheck(0));
  EXPECT_EQ(0, box.GetCurSel());
  // The space bar toggles the line with the caret.
  ::SendMessage(box.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(0, box.GetCheck(0));
  EXPECT_EQ(2, wnd_.m_nCheckChanges);

  box.Enable(2, FALSE);
  EXPECT_FALSE(box.IsEnabled(2));
  CRect disabled;
  box.GetItemRect(2, &disabled);
  ::SendMessage(box.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON,
                MAKELPARAM(disabled.left + 6, disabled.CenterPoint().y));
  ::SendMessage(box.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(disabled.left + 6, disabled.CenterPoint().y));
  EXPECT_EQ(0, box.GetCheck(2));

  EXPECT_EQ(2, box.DeleteString(0));
  EXPECT_EQ(0x1234u, box.GetItemData(0));
  EXPECT_EQ(1, box.GetCheck(0));
  CString text;
  box.GetText(0, text);
  EXPECT_STREQ(L"Formatting", text);
  box.GetText(7, text);
  EXPECT_TRUE(text.IsEmpty());
  box.SetCheckStyle(BS_AUTO3STATE);
  box.SetCheck(1, 2);
  EXPECT_EQ(2, box.GetCheck(1));
  testsupport::PumpMessages(50);
}

TEST_F(ControlsTest, ComboTabStatusAndSpinRoundTrips) {
  CComboBox combo;
  ASSERT_TRUE(
      combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(10, 250, 210, 400), &wnd_, kIdCombo));
  EXPECT_EQ(0, combo.AddString(L"PST File"));
  EXPECT_EQ(1, combo.AddString(L"NSF Database"));
  EXPECT_EQ(1, combo.SetCurSel(1));
  CString text;
  combo.GetLBText(1, text);
  EXPECT_STREQ(L"NSF Database", text);
  combo.GetLBText(5, text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(0, combo.FindStringExact(-1, L"PST File"));

  CTabCtrl tabs;
  ASSERT_TRUE(tabs.Create(WS_VISIBLE, CRect(530, 10, 880, 200), &wnd_, kIdTab));
  EXPECT_EQ(0, tabs.InsertItem(0, L"General"));
  EXPECT_EQ(1, tabs.InsertItem(1, L"Advanced"));
  EXPECT_EQ(2, tabs.GetItemCount());
  tabs.SetCurSel(1);
  EXPECT_EQ(1, tabs.GetCurSel());
  CRect display(0, 0, 350, 190);
  tabs.AdjustRect(FALSE, &display);
  EXPECT_LT(display.Height(), 190);

  CStatusBarCtrl status;
  ASSERT_TRUE(status.Create(WS_VISIBLE | CCS_BOTTOM, CRect(0, 0, 0, 0), &wnd_, kIdStatus));
  int parts[] = {200, -1};
  EXPECT_TRUE(status.SetParts(2, parts));
  EXPECT_EQ(2, status.GetParts(0, nullptr));
  EXPECT_TRUE(status.SetText(L"Ready", 0, 0));
  EXPECT_STREQ(L"Ready", status.GetText(0));
  EXPECT_STREQ(L"", status.GetText(1));

  CSpinButtonCtrl spin;
  ASSERT_TRUE(spin.Create(WS_VISIBLE | UDS_SETBUDDYINT, CRect(220, 250, 240, 275), &wnd_, kIdSpin));
  spin.SetRange32(1, 10);
  int lo = 0, hi = 0;
  spin.GetRange32(lo, hi);
  EXPECT_EQ(1, lo);
  EXPECT_EQ(10, hi);
  spin.SetPos(4);
  EXPECT_EQ(4, spin.GetPos());
  testsupport::PumpMessages(50);
  testsupport::SaveWindowPng(wnd_.m_hWnd, L"framework_controls.png");
}

TEST_F(ControlsTest, ToolTipToolsCountAndTextUpdates) {
  CToolTipCtrl tips;
  ASSERT_TRUE(tips.Create(&wnd_));
  tips.SetMaxTipWidth(400);
  EXPECT_EQ(400, tips.GetMaxTipWidth());
  CRect area(0, 0, 50, 50);
  EXPECT_TRUE(tips.AddTool(&wnd_, L"First area", &area, 1));
  EXPECT_TRUE(tips.AddTool(&wnd_, L"Second area", CRect(50, 0, 100, 50), 2));
  EXPECT_EQ(2, tips.GetToolCount());
  tips.UpdateTipText(L"Renamed", &wnd_, 1);
  CString text;
  tips.GetText(text, &wnd_, 1);
  EXPECT_STREQ(L"Renamed", text);
  TOOLINFO info;
  EXPECT_TRUE(tips.GetToolInfo(info, &wnd_, 2));
  EXPECT_EQ(CRect(50, 0, 100, 50), CRect(info.rect));
  tips.Activate(TRUE);
  MSG msg = {};
  msg.hwnd = wnd_.m_hWnd;
  msg.message = WM_MOUSEMOVE;
  msg.lParam = MAKELPARAM(10, 10);
  tips.RelayEvent(&msg);
  tips.DelTool(&wnd_, 2);
  EXPECT_EQ(1, tips.GetToolCount());
  EXPECT_FALSE(tips.AddTool(nullptr, L"none"));
}

TEST_F(ControlsTest, WindowDCsPaintAndDrawOnTheWindow) {
  wnd_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return wnd_.m_nPaints > 0; }));
  {
    CClientDC dc(&wnd_);
    EXPECT_EQ(&dc, CDC::FromHandle(dc.m_hDC));
    dc.FillSolidRect(50, 0, 20, 20, RGB(0, 0, 255));
    EXPECT_EQ(RGB(0, 0, 255), dc.GetPixel(55, 5));
    EXPECT_EQ(RGB(0, 128, 0), dc.GetPixel(5, 5));  // what CPaintDC painted
  }
  {
    CWindowDC dc(&wnd_);
    EXPECT_NE(nullptr, dc.m_hDC);
    EXPECT_EQ(&dc, CDC::FromHandle(dc.m_hDC));
    EXPECT_GT(dc.GetDeviceCaps(BITSPIXEL), 0);
  }
  bool thrown = false;
  try {
    CPaintDC none(nullptr);
  } catch (CResourceException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
}

TEST_F(ControlsTest, AnimationOpensPlaysAndStopsAClipResource) {
  CAnimateCtrl animation;
  ASSERT_TRUE(animation.Create(WS_VISIBLE | ACS_CENTER, CRect(250, 250, 300, 300), &wnd_, 108));
  EXPECT_FALSE(animation.Open(9999u));
  EXPECT_FALSE(animation.Open(L"Z:\\no\\such\\clip.avi"));
  ASSERT_TRUE(animation.Open(207u));
  EXPECT_TRUE(animation.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1)));
  testsupport::PumpMessages(300);
  EXPECT_TRUE(animation.Stop());
  EXPECT_TRUE(animation.Seek(1));  // the second frame is blue
  testsupport::PumpMessages(100);
  CClientDC dc(&animation);
  CRect client;
  animation.GetClientRect(&client);
  EXPECT_EQ(RGB(0, 0, 255), dc.GetPixel(client.CenterPoint()));
  EXPECT_TRUE(animation.Close());
}

TEST_F(ControlsTest, TrackPopupMenuReturnsTheChosenCommand) {
  CMenu popup;
  ASSERT_TRUE(popup.CreatePopupMenu());
  popup.AppendMenu(MF_STRING, 301, L"&Copy");
  popup.AppendMenu(MF_STRING, 302, L"&Paste");
  std::atomic<bool> done{false};
  // Chooses the second item with the keyboard once the menu shows.
  std::thread user([&done] {
    for (int i = 0; i < 100 && !done; i++) {
      HWND hMenuWnd = ::FindWindow(L"#32768", nullptr);
      if (hMenuWnd != nullptr && ::IsWindowVisible(hMenuWnd)) {
        ::PostMessage(hMenuWnd, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessage(hMenuWnd, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessage(hMenuWnd, WM_KEYDOWN, VK_RETURN, 0);
        return;
      }
      ::Sleep(50);
    }
  });
  CRect window;
  wnd_.GetWindowRect(&window);
  BOOL chosen = popup.TrackPopupMenu(TPM_RETURNCMD | TPM_LEFTALIGN, window.left + 50, window.top + 50, &wnd_);
  done = true;
  user.join();
  EXPECT_EQ(302, chosen);
}

TEST_F(ControlsTest, OwnerDrawnListBoxGetsReflectedDrawAndMeasure) {
  CSwatchListBox box;
  ASSERT_TRUE(box.Create(WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT, CRect(600, 250, 700, 350),
                         &wnd_, 109));
  EXPECT_EQ(1, box.m_nMeasures);
  EXPECT_EQ(20, box.GetItemHeight(0));
  box.AddString(reinterpret_cast<LPCTSTR>(static_cast<UINT_PTR>(RGB(255, 0, 0))));
  box.AddString(reinterpret_cast<LPCTSTR>(static_cast<UINT_PTR>(RGB(0, 0, 255))));
  box.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GE(box.m_nDraws, 2);
  CClientDC dc(&box);
  EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(10, 10));
  EXPECT_EQ(RGB(0, 0, 255), dc.GetPixel(10, 30));
}

TEST_F(ControlsTest, CheckListBoxDrawsTheBoxBesideTheText) {
  CCheckListBox box;
  ASSERT_TRUE(box.Create(WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                         CRect(600, 360, 800, 440), &wnd_, 110));
  box.AddString(L"Checked");
  box.AddString(L"Unchecked");
  box.SetCheck(0, 1);
  box.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CRect first, second;
  box.GetItemRect(0, &first);
  box.GetItemRect(1, &second);
  // The tick shows only in the first line's box.
  CClientDC dc(&box);
  int firstDark = 0, secondDark = 0;
  for (int y = 0; y < first.Height(); y++)
    for (int x = 0; x < 16; x++) {
      if (dc.GetPixel(first.left + x, first.top + y) == RGB(0, 0, 0)) firstDark++;
      if (dc.GetPixel(second.left + x, second.top + y) == RGB(0, 0, 0)) secondDark++;
    }
  EXPECT_GT(firstDark, secondDark);
  testsupport::SaveWindowPng(wnd_.m_hWnd, L"framework_check_list.png");
}
