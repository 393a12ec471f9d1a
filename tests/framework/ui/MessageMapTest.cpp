// Message-map dispatch: inheritance between maps, the framework's handler signatures, command
// routing (notification code 0 only for ON_COMMAND, ranges, WM_NOTIFY) and handler queries.
#include <gtest/gtest.h>

#include "UiTestApp.h"

namespace {

constexpr UINT WM_BASE_ONLY = WM_USER + 100;
constexpr UINT WM_DERIVED_ONLY = WM_USER + 101;

class CBaseWnd : public CWnd {
 public:
  int baseSizeCalls = 0;
  int baseOnlyCalls = 0;
  int createCalls = 0;
  UINT lastSizeType = 0;
  int lastCx = 0;
  int lastCy = 0;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    ++createCalls;
    return CWnd::OnCreate(lpcs);
  }
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    ++baseSizeCalls;
    lastSizeType = nType;
    lastCx = cx;
    lastCy = cy;
  }
  afx_msg LRESULT OnBaseOnly(WPARAM wParam, LPARAM lParam) {
    ++baseOnlyCalls;
    return static_cast<LRESULT>(wParam + lParam);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_MESSAGE(WM_BASE_ONLY, OnBaseOnly)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
 public:
  int derivedSizeCalls = 0;
  int derivedOnlyCalls = 0;
  int command100 = 0;
  std::vector<UINT> rangeIds;
  int clicks = 0;
  int notifyClicks = 0;
  int notifyRange = 0;
  BOOL notifyExResult = FALSE;
  int notifyExCalls = 0;
  UINT lastNotifyId = 0;
  CPoint lastClick;
  UINT lastClickFlags = 0;
  int timerId = -1;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy) {
    ++derivedSizeCalls;
    CBaseWnd::OnSize(nType, cx, cy);
  }
  afx_msg LRESULT OnDerivedOnly(WPARAM, LPARAM) {
    ++derivedOnlyCalls;
    return 42;
  }
  afx_msg void OnCommand100() { ++command100; }
  afx_msg void OnRange(UINT nID) { rangeIds.push_back(nID); }
  afx_msg void OnButton300() { ++clicks; }
  afx_msg void OnClick400(NMHDR*, LRESULT* pResult) {
    ++notifyClicks;
    *pResult = 7;
  }
  afx_msg void OnClickRange(UINT nID, NMHDR*, LRESULT*) {
    ++notifyRange;
    lastNotifyId = nID;
  }
  afx_msg BOOL OnNotifyEx(UINT, NMHDR*, LRESULT*) {
    ++notifyExCalls;
    return notifyExResult;
  }
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
    lastClickFlags = nFlags;
    lastClick = point;
  }
  afx_msg void OnTimer(UINT_PTR nIDEvent) { timerId = static_cast<int>(nIDEvent); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_WM_SIZE()
ON_MESSAGE(WM_DERIVED_ONLY, OnDerivedOnly)
ON_COMMAND(100, OnCommand100)
ON_COMMAND_RANGE(200, 210, OnRange)
ON_BN_CLICKED(300, OnButton300)
ON_NOTIFY(NM_CLICK, 400, OnClick400)
ON_NOTIFY_RANGE(NM_DBLCLK, 500, 510, OnClickRange)
ON_NOTIFY_EX_RANGE(NM_RCLICK, 600, 610, OnNotifyEx)
ON_WM_LBUTTONDOWN()
ON_WM_TIMER()
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"map test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                             nullptr, nullptr));
  }
  void TearDown() override { wnd.DestroyWindow(); }

  LRESULT Notify(UINT id, int code) {
    NMHDR hdr = {};
    hdr.hwndFrom = wnd.m_hWnd;  // any window will do as the sender
    hdr.idFrom = id;
    hdr.code = static_cast<UINT>(code);
    return wnd.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&hdr));
  }

  CDerivedWnd wnd;
};

TEST_F(MessageMapTest, CreateHandlerOfBaseMapRunsForDerivedWindow) { EXPECT_EQ(wnd.createCalls, 1); }

TEST_F(MessageMapTest, DerivedEntryWinsAndCanChainToBaseHandler) {
  wnd.derivedSizeCalls = wnd.baseSizeCalls = 0;
  wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(123, 45));
  EXPECT_EQ(wnd.derivedSizeCalls, 1);
  EXPECT_EQ(wnd.baseSizeCalls, 1);
  EXPECT_EQ(wnd.lastSizeType, static_cast<UINT>(SIZE_MAXIMIZED));
  EXPECT_EQ(wnd.lastCx, 123);
  EXPECT_EQ(wnd.lastCy, 45);
}

TEST_F(MessageMapTest, MessagesNotInDerivedMapReachBaseMap) {
  EXPECT_EQ(wnd.SendMessage(WM_BASE_ONLY, 2, 3), 5);
  EXPECT_EQ(wnd.baseOnlyCalls, 1);
  EXPECT_EQ(wnd.SendMessage(WM_DERIVED_ONLY), 42);
}

TEST_F(MessageMapTest, MouseHandlerGetsSignedClientPoint) {
  wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 17));
  EXPECT_EQ(wnd.lastClickFlags, static_cast<UINT>(MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(wnd.lastClick.x, -5);
  EXPECT_EQ(wnd.lastClick.y, 17);
}

TEST_F(MessageMapTest, TimerHandlerGetsEventId) {
  wnd.SendMessage(WM_TIMER, 77, 0);
  EXPECT_EQ(wnd.timerId, 77);
}

TEST_F(MessageMapTest, CommandMatchesOnlyNotificationCodeZero) {
  HWND hCtrl = wnd.m_hWnd;
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0), 0);  // menu
  EXPECT_EQ(wnd.command100, 1);
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, EN_CHANGE), reinterpret_cast<LPARAM>(hCtrl));
  EXPECT_EQ(wnd.command100, 1);
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(hCtrl));
  EXPECT_EQ(wnd.command100, 2);  // BN_CLICKED is code 0
}

TEST_F(MessageMapTest, CommandRangeGetsTheId) {
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(200, 0), 0);
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(210, 0), 0);
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(211, 0), 0);
  EXPECT_EQ(wnd.rangeIds, (std::vector<UINT>{200, 210}));
}

TEST_F(MessageMapTest, NotifyEntriesMatchNegativeCodesAndRanges) {
  EXPECT_EQ(Notify(400, NM_CLICK), 7);
  EXPECT_EQ(wnd.notifyClicks, 1);
  Notify(400, NM_DBLCLK);
  EXPECT_EQ(wnd.notifyClicks, 1);
  Notify(505, NM_DBLCLK);
  EXPECT_EQ(wnd.notifyRange, 1);
  EXPECT_EQ(wnd.lastNotifyId, 505u);
}

TEST_F(MessageMapTest, NotifyExReturnDecidesWhetherHandled) {
  NMHDR hdr = {wnd.m_hWnd, 600, static_cast<UINT>(NM_RCLICK)};
  AFX_NOTIFY notify;
  LRESULT result = 0;
  notify.pResult = &result;
  notify.pNMHDR = &hdr;
  wnd.notifyExResult = FALSE;
  EXPECT_FALSE(wnd.OnCmdMsg(600, MAKELONG(NM_RCLICK, WM_NOTIFY), &notify, nullptr));
  wnd.notifyExResult = TRUE;
  EXPECT_TRUE(wnd.OnCmdMsg(600, MAKELONG(NM_RCLICK, WM_NOTIFY), &notify, nullptr));
  EXPECT_EQ(wnd.notifyExCalls, 2);
}

TEST_F(MessageMapTest, HandlerInfoQueryFindsTargetWithoutCalling) {
  AFX_CMDHANDLERINFO info = {nullptr, nullptr};
  EXPECT_TRUE(wnd.OnCmdMsg(100, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, &wnd);
  EXPECT_NE(info.pmf, nullptr);
  EXPECT_EQ(wnd.command100, 0);
  AFX_CMDHANDLERINFO none = {nullptr, nullptr};
  EXPECT_FALSE(wnd.OnCmdMsg(35001, CN_COMMAND, nullptr, &none));
}

TEST(CmdTarget, ReferenceCountDeletesOnFinalRelease) {
  static int finalReleases = 0;
  struct CCounted : public CCmdTarget {
    void OnFinalRelease() override {
      ++finalReleases;
      CCmdTarget::OnFinalRelease();
    }
  };
  CCounted* p = new CCounted;
  EXPECT_EQ(p->InternalAddRef(), 2u);
  EXPECT_EQ(p->InternalRelease(), 1u);
  EXPECT_EQ(finalReleases, 0);
  EXPECT_EQ(p->InternalRelease(), 0u);
  EXPECT_EQ(finalReleases, 1);
}

TEST(CmdTarget, QueryInterfaceWithoutInterfacesAnswersNoInterface) {
  CCmdTarget target;
  void* pv = reinterpret_cast<void*>(1);
  EXPECT_EQ(target.ExternalQueryInterface(&IID_IUnknown, &pv), E_NOINTERFACE);
  EXPECT_EQ(pv, nullptr);
}

}  // namespace
