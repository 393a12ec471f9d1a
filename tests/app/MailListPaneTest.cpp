// The mail list pane: its columns, the rows by document kind, rows handed over from a listing worker in
// order, and the clicks that ask for a preview, with real input.
#include "MailListPane.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardMessages.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using apptest::CRecordingWnd;

const COLORREF kHeaderBackground = 0xFFE2C6;

// One host for the suite, a fresh pane in it for each test; the host is the pane's owner, as the
// browser page is through the splitter panels.
class MailListPaneTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_hostWnd = new CRecordingWnd;
    s_hostWnd->CreateHost(L"Mail list pane", 40, 40, 700, 360);
    s_hostWnd->Watch(WM_NSF_ITEM_SELECTED);
    // Sixteen coloured squares: the kinds' images and 15, the attachment mark.
    s_images = new CImageList;
    s_images->Create(16, 16, ILC_COLOR24, 16, 0);
    CClientDC dc(s_hostWnd);
    for (int i = 0; i < 16; ++i) {
      CBitmap bitmap;
      bitmap.CreateCompatibleBitmap(&dc, 16, 16);
      CDC memDC;
      memDC.CreateCompatibleDC(&dc);
      CBitmap* pOld = memDC.SelectObject(&bitmap);
      memDC.FillSolidRect(0, 0, 16, 16, RGB(i * 15, 120, 255 - i * 15));
      memDC.SelectObject(pOld);
      s_images->Add(&bitmap, static_cast<CBitmap*>(nullptr));
    }
  }
  static void TearDownTestSuite() {
    s_hostWnd->DestroyWindow();
    delete s_hostWnd;
    s_hostWnd = nullptr;
    delete s_images;
    s_images = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_hostWnd->m_hWnd, nullptr);
    s_hostWnd->m_received.clear();
    ASSERT_TRUE(
        pane_.Create(L"", WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(10, 10, 680, 330), s_hostWnd, 0xFFFF));
    pane_.SetImageList(s_images);
    testsupport::PumpMessages(50);
  }
  void TearDown() override { pane_.DestroyWindow(); }

  // A row as the document listing makes it.
  void AddDocument(const CString& from, int kind, const CString& subject, const CString& attachment,
                   DWORD noteId) {
    pane_.AddRow(from, kind);
    pane_.SetLastRowCell(MAIL_COLUMN_SUBJECT, subject);
    pane_.SetLastRowCell(MAIL_COLUMN_DATE, L"03/04/2024 10:15:00");
    pane_.SetLastRowCell(MAIL_COLUMN_SIZE, L"1234");
    pane_.SetLastRowCell(MAIL_COLUMN_ATTACHMENT, attachment);
    pane_.SetLastRowData(noteId);
  }

  // The screen point of a cell's middle.
  CPoint CellCentre(int row, int column) {
    CRect rc;
    EXPECT_TRUE(pane_.m_grid.GetCellRect(row, column, &rc));
    CPoint pt = rc.CenterPoint();
    pane_.m_grid.ClientToScreen(&pt);
    return pt;
  }
  void ClickCell(int row, int column) {
    const CPoint pt = CellCentre(row, column);
    testsupport::MouseClickAt(pt.x, pt.y);
    apptest::PumpFramework(150);
    // Past the double-click time, so that the next click is one of its own.
    testsupport::PumpMessages(::GetDoubleClickTime() + 50);
  }

  static CRecordingWnd* s_hostWnd;
  static CImageList* s_images;
  CRecordingWnd& host_ = *s_hostWnd;
  CMailListPane pane_;
};

CRecordingWnd* MailListPaneTest::s_hostWnd = nullptr;
CImageList* MailListPaneTest::s_images = nullptr;

TEST_F(MailListPaneTest, StartsWithTheFiveHeaderColumnsAndNoDocumentRow) {
  CGridCtrl& grid = pane_.m_grid;
  ASSERT_EQ(grid.GetColumnCount(), 5);
  EXPECT_EQ(grid.GetRowCount(), 1);
  EXPECT_EQ(grid.GetFixedRowCount(), 1);
  EXPECT_EQ(grid.GetFixedColumnCount(), 0);
  EXPECT_EQ(pane_.GetDocumentRowCount(), 0);
  const wchar_t* titles[] = {L"From", L"Subject", L"Date", L"Size in Bytes", L"Attachment"};
  for (int column = 0; column < 5; ++column) {
    EXPECT_EQ(pane_.GetCellText(0, column), titles[column]);
    EXPECT_EQ(grid.GetColumnWidth(column), 130);
    EXPECT_EQ(grid.GetItemBkColour(0, column), kHeaderBackground);
  }
  // The header ends 20 pixels high, whatever the layout set first.
  EXPECT_EQ(grid.GetRowHeight(0), 20);
  EXPECT_EQ(grid.GetGridBkColour(), 0xE6FFFFu);
  EXPECT_FALSE(grid.IsEditable());
  // The pane's grid fills it.
  CRect rcPane, rcGrid;
  pane_.GetClientRect(&rcPane);
  grid.GetWindowRect(&rcGrid);
  EXPECT_EQ(rcGrid.Size(), rcPane.Size());
}

TEST_F(MailListPaneTest, RowsTakeColourHeightAndImageByKind) {
  AddDocument(L"Ann Archer", 2, L"Lunch", L"", 0x20);
  AddDocument(L"Ben Brook", 3, L"Budget review", L"", 0x24);
  AddDocument(L"Cal Crane", 4, L"", L"", 0x28);
  AddDocument(L"Dee Dale", 5, L"Call the bank", L"", 0x2C);
  AddDocument(L"Eve East", 9, L"Diary", L"", 0x30);
  AddDocument(L"Fay Ford", 7, L"Other", L"report.pdf (12 KB)", 0x34);
  testsupport::PumpMessages(50);
  CGridCtrl& grid = pane_.m_grid;
  ASSERT_EQ(pane_.GetDocumentRowCount(), 6);

  const int defaultHeight = grid.GetRowHeight(6);  // a kind the list leaves alone keeps the default
  const struct {
    int row;
    COLORREF colour;
    int height;
  } expected[] = {{1, 0xFCFFFF, defaultHeight},
                  {2, 0xA8FFD3, 50},
                  {3, 0xFFF4DF, 50},
                  {4, 0xFFD2E9, 50},
                  {5, 0xF0E1FF, 50}};
  for (const auto& e : expected) {
    for (int column = 0; column < 5; ++column)
      EXPECT_EQ(grid.GetItemBkColour(e.row, column), e.colour) << e.row;
    EXPECT_EQ(grid.GetRowHeight(e.row), e.height) << e.row;
  }
  EXPECT_NE(defaultHeight, 50);
  EXPECT_EQ(grid.GetItemBkColour(6, 0), CLR_DEFAULT);

  // Column 0 shows the kind's image and keeps the note identifier; an attachment cell with text shows
  // image 15, an empty one none.
  EXPECT_EQ(grid.GetItemImage(2, 0), 3);
  EXPECT_EQ(grid.GetItemImage(5, 0), 9);
  EXPECT_EQ(grid.GetItemData(2, 0), 0x24);
  EXPECT_EQ(grid.GetItemImage(6, 4), 15);
  EXPECT_EQ(grid.GetItemImage(1, 4), -1);
  EXPECT_EQ(pane_.GetCellText(6, 4), L"report.pdf (12 KB)");
  EXPECT_EQ(pane_.GetCellText(2, 1), L"Budget review");

  testsupport::SaveWindowPng(host_.m_hWnd, L"mail_list_pane_kinds.png");

  pane_.Clear();
  EXPECT_EQ(pane_.GetDocumentRowCount(), 0);
  EXPECT_EQ(grid.GetRowCount(), 1);
  EXPECT_EQ(pane_.GetCellText(0, 3), L"Size in Bytes");
}

TEST_F(MailListPaneTest, RowsFromAWorkerArriveWholeAndInOrder) {
  const int kRows = 300;
  std::thread worker([this] {
    for (int i = 0; i < kRows; ++i) {
      CString from, subject;
      from.Format(L"Sender %d", i);
      subject.Format(L"Subject %d", i);
      AddDocument(from, i % 2 == 0 ? 2 : 3, subject, i % 3 == 0 ? L"a.txt" : L"", 1000 + i);
    }
  });
  // The worker never waits for the window: it ends while the rows are still on their way.
  worker.join();
  ASSERT_TRUE(testsupport::PumpUntil([this] { return pane_.GetDocumentRowCount() == kRows; }, 10000))
      << pane_.GetDocumentRowCount();
  testsupport::PumpMessages(50);
  EXPECT_EQ(pane_.GetDocumentRowCount(), kRows);
  for (int i = 0; i < kRows; ++i) {
    CString from, subject;
    from.Format(L"Sender %d", i);
    subject.Format(L"Subject %d", i);
    ASSERT_EQ(pane_.GetCellText(i + 1, 0), from);
    ASSERT_EQ(pane_.GetCellText(i + 1, 1), subject);
    ASSERT_EQ(pane_.m_grid.GetItemData(i + 1, 0), 1000 + i);
    ASSERT_EQ(pane_.m_grid.GetItemImage(i + 1, 4), i % 3 == 0 ? 15 : -1);
  }
}

TEST_F(MailListPaneTest, ClearDropsRowsStillOnTheirWay) {
  std::thread worker([this] {
    for (int i = 0; i < 50; ++i) AddDocument(L"Queued", 2, L"Old folder", L"", 7);
  });
  worker.join();
  // Nothing was pumped: every row still waits for the pane's thread when the page clears the list.
  pane_.Clear();
  AddDocument(L"New", 2, L"New folder", L"", 8);
  testsupport::PumpMessages(200);
  ASSERT_EQ(pane_.GetDocumentRowCount(), 1);
  EXPECT_EQ(pane_.GetCellText(1, 0), L"New");
  EXPECT_EQ(pane_.m_grid.GetItemData(1, 0), 8);
}

TEST_F(MailListPaneTest, CellsWithoutARowGoNowhere) {
  // A listing's cells that come after the list was cleared have no row of theirs: the header stays.
  pane_.SetLastRowCell(MAIL_COLUMN_SUBJECT, L"stray");
  pane_.SetLastRowData(99);
  testsupport::PumpMessages(50);
  EXPECT_EQ(pane_.GetCellText(0, 1), L"Subject");
  EXPECT_EQ(pane_.m_grid.GetItemData(0, 0), 0);
}

TEST_F(MailListPaneTest, ClickingADocumentRowAsksForItsPreview) {
  AddDocument(L"Ann Archer", 2, L"Lunch", L"", 0x120);
  AddDocument(L"Ben Brook", 3, L"Budget review", L"a.doc", 0x124);
  testsupport::PumpMessages(50);
  ASSERT_TRUE(testsupport::BringToFront(host_.m_hWnd));

  ClickCell(2, 1);
  ASSERT_EQ(host_.Count(WM_NSF_ITEM_SELECTED), 1);
  EXPECT_EQ(host_.m_received[0].wParam, 0x124u);
  EXPECT_EQ(host_.m_received[0].lParam, 2);

  ClickCell(1, 3);
  ASSERT_EQ(host_.Count(WM_NSF_ITEM_SELECTED), 2);
  EXPECT_EQ(host_.m_received[1].wParam, 0x120u);
  EXPECT_EQ(host_.m_received[1].lParam, 1);

  // Below the last row there is no cell: nothing is asked.
  CRect rcLast;
  pane_.m_grid.GetCellRect(2, 0, &rcLast);
  CPoint below(rcLast.left + 20, rcLast.bottom + 30);
  pane_.m_grid.ClientToScreen(&below);
  testsupport::MouseClickAt(below.x, below.y);
  apptest::PumpFramework(150);
  testsupport::PumpMessages(::GetDoubleClickTime() + 50);
  EXPECT_EQ(host_.Count(WM_NSF_ITEM_SELECTED), 2);

  // A right click asks nothing either.
  const CPoint pt = CellCentre(1, 0);
  testsupport::MouseClickAt(pt.x, pt.y, true);
  apptest::PumpFramework(150);
  EXPECT_EQ(host_.Count(WM_NSF_ITEM_SELECTED), 2);
}

TEST_F(MailListPaneTest, HeaderClickSortsAndTheNoteIdentifierTravelsWithItsRow) {
  AddDocument(L"Cal Crane", 2, L"Zebra", L"", 0x300);
  AddDocument(L"Ann Archer", 2, L"Apple", L"", 0x100);
  AddDocument(L"Ben Brook", 2, L"Mango", L"", 0x200);
  testsupport::PumpMessages(50);
  ASSERT_TRUE(testsupport::BringToFront(host_.m_hWnd));

  ClickCell(0, 1);
  // The header row is no document: clicking it asks for no preview.
  EXPECT_EQ(host_.Count(WM_NSF_ITEM_SELECTED), 0);
  ASSERT_EQ(pane_.GetCellText(1, 1), L"Apple");
  EXPECT_EQ(pane_.GetCellText(2, 1), L"Mango");
  EXPECT_EQ(pane_.GetCellText(3, 1), L"Zebra");
  EXPECT_EQ(pane_.GetCellText(1, 0), L"Ann Archer");

  ClickCell(3, 0);
  ASSERT_EQ(host_.Count(WM_NSF_ITEM_SELECTED), 1);
  EXPECT_EQ(host_.m_received[0].wParam, 0x300u);
  EXPECT_EQ(host_.m_received[0].lParam, 3);
}

}  // namespace
