// Reflection of control notifications: owner draw to CButton::DrawItem, ON_CONTROL_REFLECT(_EX)
// with and without the parent seeing the notification, and ON_WM_CTLCOLOR_REFLECT.
#include <gtest/gtest.h>

#include "UiTestApp.h"
#include "WindowTest.h"

namespace {

class COwnerDrawButton : public CButton {
 public:
  int drawCalls = 0;
  UINT lastItemAction = 0;
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
    ++drawCalls;
    lastItemAction = lpDIS->itemAction;
    ::FillRect(lpDIS->hDC, &lpDIS->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
};

class CReflectingButton : public CButton {
 public:
  int reflected = 0;
  BOOL passOn = FALSE;

 protected:
  afx_msg BOOL OnClickedEx() {
    ++reflected;
    return !passOn;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedEx)
END_MESSAGE_MAP()

class CSwallowingButton : public CButton {
 public:
  int reflected = 0;

 protected:
  afx_msg void OnClicked() { ++reflected; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSwallowingButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CTransparentLabel : public CStatic {
 protected:
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT /*nCtlColor*/) {
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTransparentLabel, CStatic)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CParentWnd : public CWnd {
 public:
  int clicks[4] = {};
  int parentCtlColor = 0;

 protected:
  afx_msg void OnClicked(UINT nID) { ++clicks[nID - 1]; }
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    ++parentCtlColor;
    return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, CWnd)
ON_CONTROL_RANGE(BN_CLICKED, 1, 4, OnClicked)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class ReflectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        parent.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)),
                        L"reflection", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 200, nullptr, nullptr));
    ASSERT_TRUE(ownerDraw.Create(L"draw", BS_OWNERDRAW | WS_VISIBLE, CRect(10, 10, 90, 40), &parent, 1));
    ASSERT_TRUE(passing.Create(L"pass", BS_PUSHBUTTON | WS_VISIBLE, CRect(100, 10, 180, 40), &parent, 2));
    ASSERT_TRUE(
        swallowing.Create(L"swallow", BS_PUSHBUTTON | WS_VISIBLE, CRect(190, 10, 270, 40), &parent, 3));
    ASSERT_TRUE(label.Create(L"label", WS_VISIBLE, CRect(10, 60, 200, 80), &parent, 4));
  }
  void TearDown() override { parent.DestroyWindow(); }

  CParentWnd parent;
  COwnerDrawButton ownerDraw;
  CReflectingButton passing;
  CSwallowingButton swallowing;
  CTransparentLabel label;
};

TEST_F(ReflectionTest, OwnerDrawButtonPaintsThroughDrawItem) {
  parent.UpdateWindow();
  testsupport::PumpUntil([&] { return ownerDraw.drawCalls > 0; }, 3000);
  EXPECT_GT(ownerDraw.drawCalls, 0);
  EXPECT_TRUE(ownerDraw.lastItemAction & ODA_DRAWENTIRE);
  testsupport::SaveWindowPng(parent.m_hWnd, L"framework_ui_reflection.png");
}

TEST_F(ReflectionTest, ReflectExReturningFalseLetsParentHandleClick) {
  passing.passOn = TRUE;
  passing.SendMessage(BM_CLICK);
  EXPECT_EQ(passing.reflected, 1);
  EXPECT_EQ(parent.clicks[1], 1);

  passing.passOn = FALSE;
  passing.SendMessage(BM_CLICK);
  EXPECT_EQ(passing.reflected, 2);
  EXPECT_EQ(parent.clicks[1], 1);
}

TEST_F(ReflectionTest, PlainReflectHandlerKeepsClickFromParent) {
  swallowing.SendMessage(BM_CLICK);
  EXPECT_EQ(swallowing.reflected, 1);
  EXPECT_EQ(parent.clicks[2], 0);
}

TEST_F(ReflectionTest, ReflectedCtlColorBrushComesFromControl) {
  HDC hdc = ::GetDC(label.m_hWnd);
  LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                     reinterpret_cast<LPARAM>(label.m_hWnd));
  EXPECT_EQ(::GetBkMode(hdc), TRANSPARENT);
  ::ReleaseDC(label.m_hWnd, hdc);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
  EXPECT_GE(parent.parentCtlColor, 1);
}

TEST_F(ReflectionTest, CtlColorOfControlWithoutReflectionFallsBackToDefault) {
  HDC hdc = ::GetDC(passing.m_hWnd);
  LRESULT brush = parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(hdc),
                                     reinterpret_cast<LPARAM>(passing.m_hWnd));
  ::ReleaseDC(passing.m_hWnd, hdc);
  EXPECT_NE(brush, 0);
  EXPECT_NE(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
}

}  // namespace
