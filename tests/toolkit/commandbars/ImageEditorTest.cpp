// The button image editor: the picture model (tools, moves, undo and redo, alpha), the icon it hands
// back, and the dialog driven with the mouse.
#include <ButtonImageEditor.h>
#include <ImageEditorPicture.h>
#include <ToolkitResource.h>

#include <gtest/gtest.h>

#include "CommandBarsTestSupport.h"
#include "CustomizeTestScript.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlack = RGB(0, 0, 0);

// An editor that was never shown: the grid works on its picture without a window.
class ImageEditorModel : public ::testing::Test {
 protected:
  void SetUp() override {
    m_editor.SetSize(16, 16);
    Grid()->SetPicture(CXTPImageEditorPicture::CreatePicture(CSize(16, 16)), FALSE);
  }
  CXTPImageEditorPicture* Grid() { return m_editor.GetPictureGrid(); }
  void Use(int nTool, UINT nColorId) {
    m_editor.SetCurrentTool(nTool);
    m_editor.SelectPicker(nColorId);
  }
  void Stroke(CPoint from, CPoint to) {
    Grid()->OnToolDown(from);
    Grid()->OnToolMove(to);
    Grid()->OnToolUp();
  }
  COLORREF At(int x, int y) { return Grid()->GetCellColor(CPoint(x, y)); }

  CXTPButtonImageEditor m_editor;
};

TEST_F(ImageEditorModel, PencilSetsSingleCellsAlongTheMousePath) {
  Use(CXTPButtonImageEditor::toolPencil, XTP_IDS_CLR_RED);
  Grid()->OnToolDown(CPoint(2, 3));
  Grid()->OnToolMove(CPoint(6, 3));
  Grid()->OnToolUp();
  EXPECT_EQ(kRed, At(2, 3));
  EXPECT_EQ(kRed, At(6, 3));
  // No line between the points the mouse reported.
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(4, 3));
  EXPECT_EQ(1, Grid()->GetUndoCount());
}

TEST_F(ImageEditorModel, PencilOnACellOfTheCurrentColourErasesTheWholeStroke) {
  Use(CXTPButtonImageEditor::toolPencil, XTP_IDS_CLR_RED);
  Stroke(CPoint(1, 1), CPoint(1, 1));
  Stroke(CPoint(5, 5), CPoint(5, 5));
  ASSERT_EQ(kRed, At(5, 5));
  Grid()->OnToolDown(CPoint(1, 1));
  Grid()->OnToolMove(CPoint(5, 5));
  Grid()->OnToolMove(CPoint(9, 9));
  Grid()->OnToolUp();
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(1, 1));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(5, 5));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(9, 9));
}

TEST_F(ImageEditorModel, FillColoursTheConnectedAreaOnly) {
  Use(CXTPButtonImageEditor::toolRectangle, XTP_IDS_CLR_BLACK);
  Stroke(CPoint(2, 2), CPoint(8, 8));  // outline of cells 2..7
  Use(CXTPButtonImageEditor::toolFill, XTP_IDS_CLR_RED);
  Grid()->OnToolDown(CPoint(4, 4));
  EXPECT_EQ(kRed, At(4, 4));
  EXPECT_EQ(kRed, At(3, 6));
  EXPECT_EQ(kBlack, At(2, 2));
  EXPECT_EQ(kBlack, At(7, 7));
  // Outside the outline nothing changed.
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(0, 0));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(8, 8));
  EXPECT_EQ(2, Grid()->GetUndoCount());
}

TEST_F(ImageEditorModel, ShapesRubberBandFromTheBeforePicture) {
  Use(CXTPButtonImageEditor::toolLine, XTP_IDS_CLR_BLACK);
  Grid()->OnToolDown(CPoint(0, 0));
  Grid()->OnToolMove(CPoint(10, 0));
  Grid()->OnToolMove(CPoint(0, 10));
  Grid()->OnToolUp();
  // Only the last rubber band stays; its end cell is left out.
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(5, 0));
  EXPECT_EQ(kBlack, At(0, 9));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(0, 10));
}

TEST_F(ImageEditorModel, EllipseInsideIsTransparent) {
  Use(CXTPButtonImageEditor::toolFill, XTP_IDS_CLR_RED);
  Grid()->OnToolDown(CPoint(0, 0));  // the whole picture red
  Use(CXTPButtonImageEditor::toolEllipse, XTP_IDS_CLR_BLACK);
  Stroke(CPoint(2, 2), CPoint(14, 14));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(8, 8));
  EXPECT_EQ(kBlack, At(8, 2));
  EXPECT_EQ(kRed, At(0, 0));
}

TEST_F(ImageEditorModel, TwentyStrokesKeepSixteenUndoSteps) {
  Use(CXTPButtonImageEditor::toolPencil, XTP_IDS_CLR_RED);
  for (int i = 0; i < 20; ++i) Stroke(CPoint(i % 16, i / 16), CPoint(i % 16, i / 16));
  EXPECT_EQ(CXTPImageEditorPicture::nMaxUndo, Grid()->GetUndoCount());
  for (int i = 0; i < 16; ++i) Grid()->Undo();
  EXPECT_FALSE(Grid()->CanUndo());
  EXPECT_EQ(16, Grid()->GetRedoCount());
  // The four oldest strokes can no longer be undone.
  EXPECT_EQ(kRed, At(3, 0));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(4, 0));
  Grid()->Redo();
  EXPECT_EQ(kRed, At(4, 0));
}

TEST_F(ImageEditorModel, ANewStrokeAfterUndoClearsRedo) {
  Use(CXTPButtonImageEditor::toolPencil, XTP_IDS_CLR_RED);
  Stroke(CPoint(1, 1), CPoint(1, 1));
  Stroke(CPoint(2, 2), CPoint(2, 2));
  Grid()->Undo();
  ASSERT_TRUE(Grid()->CanRedo());
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(2, 2));
  Stroke(CPoint(3, 3), CPoint(3, 3));
  EXPECT_FALSE(Grid()->CanRedo());
  EXPECT_EQ(2, Grid()->GetUndoCount());
}

TEST_F(ImageEditorModel, PickColorReturnsToThePreviousToolWithThePickedColour) {
  Use(CXTPButtonImageEditor::toolPencil, XTP_IDS_CLR_TEAL);
  Stroke(CPoint(4, 4), CPoint(4, 4));
  m_editor.SetCurrentTool(CXTPButtonImageEditor::toolRectangle);
  m_editor.SetCurrentTool(CXTPButtonImageEditor::toolPickColor);
  m_editor.SelectPicker(XTP_IDS_CLR_BLACK);
  Grid()->OnToolDown(CPoint(4, 4));
  EXPECT_EQ(CXTPButtonImageEditor::toolRectangle, m_editor.GetCurrentTool());
  EXPECT_EQ(RGB(0, 128, 128), m_editor.GetCurrentColor());
  EXPECT_EQ(1, Grid()->GetUndoCount());
}

TEST_F(ImageEditorModel, MovesLosePixelsPushedOutAndUncoverTransparency) {
  Use(CXTPButtonImageEditor::toolFill, XTP_IDS_CLR_RED);
  Grid()->OnToolDown(CPoint(0, 0));
  Grid()->MovePicture(-1, 0);
  EXPECT_EQ(kRed, At(0, 5));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(15, 5));
  Grid()->MovePicture(0, 1);
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(3, 0));
  EXPECT_EQ(kRed, At(3, 15));
  // Moving back right does not bring the lost column back.
  Grid()->MovePicture(1, 0);
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(0, 5));
  EXPECT_EQ(kRed, At(15, 5));
  Grid()->Undo();
  EXPECT_EQ(kRed, At(0, 5));
}

TEST_F(ImageEditorModel, ClearEmptiesThePictureAndCanBeUndone) {
  Use(CXTPButtonImageEditor::toolPencil, XTP_IDS_CLR_RED);
  Stroke(CPoint(7, 7), CPoint(7, 7));
  Grid()->Clear();
  EXPECT_EQ(nullptr, Grid()->GetPicture());
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, At(7, 7));
  Grid()->Undo();
  EXPECT_EQ(kRed, At(7, 7));
}

TEST_F(ImageEditorModel, DrawingOnAnAlphaPictureMakesChangedPixelsOpaque) {
  Grid()->SetPicture(CXTPImageEditorPicture::CreatePicture(CSize(16, 16)), TRUE);
  Use(CXTPButtonImageEditor::toolLine, XTP_IDS_CLR_BLUE);
  Stroke(CPoint(0, 5), CPoint(16, 5));
  EXPECT_EQ(RGB(0, 0, 255), At(3, 5));
  EXPECT_EQ(0xFF, Grid()->GetCellAlpha(CPoint(3, 5)));
  EXPECT_EQ(0, Grid()->GetCellAlpha(CPoint(3, 6)));
}

TEST(ImageEditor, APlainPictureComesBackAsAMaskedIcon) {
  CXTPButtonImageEditor editor;
  editor.SetSize(16, 16);
  CXTPImageEditorPicture* pGrid = editor.GetPictureGrid();
  pGrid->SetPicture(CXTPImageEditorPicture::CreatePicture(CSize(16, 16)), FALSE);
  editor.SelectPicker(XTP_IDS_CLR_RED);
  pGrid->OnToolDown(CPoint(3, 3));
  pGrid->OnToolUp();
  CXTPIconHandle hIcon;
  editor.GetIcon(hIcon);
  ASSERT_FALSE(hIcon.IsEmpty());
  ASSERT_FALSE(hIcon.IsAlpha());
  EXPECT_EQ(CSize(16, 16), hIcon.GetExtent());

  // Loaded back into a second editor the icon gives the same picture, transparent where it was.
  CXTPButtonImageEditor second;
  second.SetIcon(hIcon);
  EXPECT_EQ(kRed, second.GetPictureGrid()->GetCellColor(CPoint(3, 3)));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, second.GetPictureGrid()->GetCellColor(CPoint(4, 3)));
}

TEST(ImageEditor, AnEmptyPictureGivesNoIcon) {
  CXTPButtonImageEditor editor;
  editor.SetSize(24, 24);
  CXTPIconHandle hIcon;
  editor.GetIcon(hIcon);
  EXPECT_TRUE(hIcon.IsEmpty());
  EXPECT_EQ(CSize(24, 24), editor.GetPictureSize());
}

TEST(ImageEditor, AnAlphaPictureKeepsItsAlphaAndZeroPixelsBecomeTransparent) {
  HBITMAP hbm = CXTPImageEditorPicture::CreatePicture(CSize(16, 16));
  CSize size;
  DWORD* pPixels = CXTPImageEditorPicture::GetPixels(hbm, &size);
  for (int i = 0; i < 256; ++i) pPixels[i] = 0;
  pPixels[15 * 16 + 2] = 0x80FF0000;  // top row, x = 2: half-transparent red
  CXTPIconHandle hSource;
  hSource.AttachBitmap(hbm);
  CXTPButtonImageEditor editor;
  editor.SetIcon(hSource);
  CXTPImageEditorPicture* pGrid = editor.GetPictureGrid();
  EXPECT_TRUE(pGrid->IsAlpha());
  EXPECT_EQ(kRed, pGrid->GetCellColor(CPoint(2, 0)));
  EXPECT_EQ(0x80, pGrid->GetCellAlpha(CPoint(2, 0)));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, pGrid->GetCellColor(CPoint(3, 0)));
  CXTPIconHandle hResult;
  editor.GetIcon(hResult);
  EXPECT_TRUE(hResult.IsAlpha());
}

TEST(ImageEditor, APictureLargerThanTheGridStillMapsPointsToCells) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, L"STATIC", L"", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
  CXTPButtonImageEditor editor;
  editor.SetSize(256, 256);
  CXTPImageEditorPicture* pGrid = editor.GetPictureGrid();
  HWND hStatic = ::CreateWindowW(L"STATIC", L"", WS_CHILD | SS_NOTIFY, 0, 0, 96, 96, parent.GetSafeHwnd(),
                                 nullptr, nullptr, nullptr);
  ASSERT_TRUE(pGrid->SubclassWindow(hStatic));
  pGrid->SetPictureSize(CSize(256, 256));
  pGrid->LayoutGrid();
  EXPECT_EQ(CSize(1, 1), pGrid->GetCellSize());
  EXPECT_EQ(CPoint(40, 50), pGrid->CellFromPoint(CPoint(40, 50)));
  pGrid->DestroyWindow();
  parent.DestroyWindow();
}

}  // namespace

namespace {

// The editor's toolbar button of a command, as a screen point.
CPoint ToolButtonPoint(HWND hEditor, UINT nID) {
  for (HWND hChild = ::GetWindow(hEditor, GW_CHILD); hChild != nullptr;
       hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    ::GetClassNameW(hChild, cls, 63);
    if (wcscmp(cls, TOOLBARCLASSNAMEW) != 0) continue;
    const int nIndex = static_cast<int>(::SendMessage(hChild, TB_COMMANDTOINDEX, nID, 0));
    if (nIndex < 0) continue;
    RECT rc;
    ::SendMessage(hChild, TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rc));
    CPoint pt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ::ClientToScreen(hChild, &pt);
    return pt;
  }
  return CPoint(-1, -1);
}

TEST(ImageEditorDialog, PaintsWithTheMouseAndUndoesWithItsToolbar) {
  CXTPButtonImageEditor editor;
  editor.SetSize(16, 16);
  CXTPImageEditorPicture* pGrid = editor.GetPictureGrid();
  auto cell = [pGrid](int x, int y) {
    const CSize szCell = pGrid->GetCellSize();
    CPoint pt(x * szCell.cx + szCell.cx / 2, y * szCell.cy + szCell.cy / 2);
    pGrid->ClientToScreen(&pt);
    return pt;
  };
  COLORREF clrAfterRectangle = 0;
  CCustomizeTestScript script;
  script.OnFailure([&editor] {
    if (editor.GetSafeHwnd() != nullptr) editor.PostMessage(WM_COMMAND, IDCANCEL, 0);
  });
  script.Step("the editor shows",
              [&] { return editor.GetSafeHwnd() != nullptr && editor.IsWindowVisible(); });
  script.Do("front", [&] { testsupport::BringToFront(editor.GetSafeHwnd()); });
  script.Pause(150);
  script.Do("red", [&] { customizetest::ClickChild(editor.GetSafeHwnd(), XTP_IDS_CLR_RED); });
  script.Pause(100);
  script.Do("pencil at 3,3", [&] {
    const CPoint pt = cell(3, 3);
    testsupport::MouseClickAt(pt.x, pt.y);
  });
  script.Pause(100);
  script.Do("rectangle tool", [&] {
    const CPoint pt = ToolButtonPoint(editor.GetSafeHwnd(), XTP_ID_BUTTON_RECTANGLE);
    testsupport::MouseClickAt(pt.x, pt.y);
  });
  script.Pause(100);
  script.Do("black", [&] { customizetest::ClickChild(editor.GetSafeHwnd(), XTP_IDS_CLR_BLACK); });
  script.Pause(100);
  script.Do("drag a rectangle", [&] {
    const CPoint from = cell(5, 5), to = cell(11, 11);
    testsupport::MouseDrag(from.x, from.y, to.x, to.y);
  });
  script.Step("drawn", [&] {
    clrAfterRectangle = pGrid->GetCellColor(CPoint(5, 5));
    return clrAfterRectangle == RGB(0, 0, 0);
  });
  script.Do("picture", [&] { testsupport::SaveWindowPng(editor.GetSafeHwnd(), L"button-image-editor.png"); });
  script.Do("undo", [&] {
    const CPoint pt = ToolButtonPoint(editor.GetSafeHwnd(), XTP_ID_BUTTON_UNDO);
    testsupport::MouseClickAt(pt.x, pt.y);
  });
  script.Step("undone", [&] { return pGrid->GetCellColor(CPoint(5, 5)) == XTP_IMAGEEDITOR_TRANSPARENT; });
  script.Do("ok", [&] { customizetest::ClickChild(editor.GetSafeHwnd(), IDOK); });
  script.Start();
  EXPECT_EQ(IDOK, editor.DoModal());
  EXPECT_EQ("", script.Failure());
  EXPECT_EQ(RGB(0, 0, 0), clrAfterRectangle);
  EXPECT_EQ(RGB(255, 0, 0), pGrid->GetCellColor(CPoint(3, 3)));
  EXPECT_EQ(XTP_IMAGEEDITOR_TRANSPARENT, pGrid->GetCellColor(CPoint(10, 10)));
  CXTPIconHandle hIcon;
  editor.GetIcon(hIcon);
  EXPECT_FALSE(hIcon.IsEmpty());
}

}  // namespace
