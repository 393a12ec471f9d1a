// Printing into enhanced metafiles, one per page: the texts drawn are read back from the records
// (the header's titles, "Page n of N", every row once), for the grid fitted to the paper's width
// and for pages at the screen's scale, where wide grids split their columns across pages.
#include <gtest/gtest.h>

#include <afxdlgs.h>

#include "GridTestHost.h"
#include "framework/PrintInfo.h"

#include <map>
#include <string>
#include <vector>

namespace {

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* pRecord, int, LPARAM lParam) {
  if (pRecord->iType == EMR_EXTTEXTOUTW) {
    const auto* pText = reinterpret_cast<const EMREXTTEXTOUTW*>(pRecord);
    const auto* pChars =
        reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(pRecord) + pText->emrtext.offString);
    reinterpret_cast<std::vector<std::wstring>*>(lParam)->emplace_back(pChars, pText->emrtext.nChars);
  }
  return 1;
}

class GridPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Create(&grid, 0, 0, 400, 300, FALSE));
    grid.SetRowCount(121);
    grid.SetColumnCount(4);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    const TCHAR* headers[] = {_T("#"), _T("From"), _T("Subject"), _T("Date")};
    for (int col = 0; col < 4; ++col) grid.SetItemText(0, col, headers[col]);
    for (int row = 1; row < 121; ++row) {
      for (int col = 0; col < 4; ++col) {
        CString text;
        text.Format(_T("r%dc%d"), row, col);
        grid.SetItemText(row, col, text);
      }
    }
  }

  // Prints every page into its own metafile and returns the texts drawn on each.
  std::vector<std::vector<std::wstring>> PrintPages() {
    std::vector<std::vector<std::wstring>> pages;
    CPrintInfo info;
    HDC hProbe = ::CreateEnhMetaFile(nullptr, nullptr, nullptr, nullptr);
    CDC probe;
    probe.Attach(hProbe);
    probe.m_bPrinting = TRUE;
    grid.OnBeginPrinting(&probe, &info);
    const UINT nPages = info.GetMaxPage();
    for (UINT page = 1; page <= nPages; ++page) {
      HDC hDC = ::CreateEnhMetaFile(nullptr, nullptr, nullptr, nullptr);
      CDC dc;
      dc.Attach(hDC);
      dc.m_bPrinting = TRUE;
      info.m_nCurPage = page;
      grid.OnPrint(&dc, &info);
      HENHMETAFILE hMeta = ::CloseEnhMetaFile(dc.Detach());
      std::vector<std::wstring> texts;
      ::EnumEnhMetaFile(nullptr, hMeta, CollectText, &texts, nullptr);
      ::DeleteEnhMetaFile(hMeta);
      pages.push_back(texts);
    }
    grid.OnEndPrinting(&probe, &info);
    ::DeleteEnhMetaFile(::CloseEnhMetaFile(probe.Detach()));
    return pages;
  }
  static bool Has(const std::vector<std::wstring>& texts, const std::wstring& text) {
    for (const std::wstring& t : texts) {
      if (t == text) return true;
    }
    return false;
  }

  CTestGrid grid;
  CGridTestHost host;
};

}  // namespace

TEST_F(GridPrint, EveryPageHasTheHeaderTitlesAndItsNumberAndEveryRowPrintsOnce) {
  const auto pages = PrintPages();
  ASSERT_GT(pages.size(), 1u) << "120 rows need more than one page";
  const std::wstring count = std::to_wstring(pages.size());
  std::map<std::wstring, int> printed;
  for (size_t i = 0; i < pages.size(); ++i) {
    const auto& texts = pages[i];
    EXPECT_TRUE(Has(texts, L"Page " + std::to_wstring(i + 1) + L" of " + count)) << "page " << i + 1;
    EXPECT_TRUE(Has(texts, L"Grid test")) << "the parent window's title";
    EXPECT_TRUE(Has(texts, L"Grid Print Test")) << "the program's title";
    EXPECT_TRUE(Has(texts, L"Subject")) << "the column headings on every page";
    for (const std::wstring& t : texts) {
      if (t.size() > 1 && t[0] == L'r' && t.find(L"c1") != std::wstring::npos) ++printed[t];
    }
  }
  EXPECT_EQ(printed.size(), 120u);
  for (const auto& entry : printed)
    EXPECT_EQ(entry.second, 1) << "row printed twice: " << entry.first.c_str();
}

TEST_F(GridPrint, AtTheScreensScaleWideGridsSplitTheirColumnsAcrossPages) {
  grid.SetColumnCount(30);
  for (int col = 4; col < 30; ++col) {
    grid.SetColumnWidth(col, 120);
    for (int row = 1; row < 121; ++row) {
      CString text;
      text.Format(_T("r%dc%d"), row, col);
      grid.SetItemText(row, col, text);
    }
  }
  grid.SetWysiwygPrinting(TRUE);
  const auto pages = PrintPages();
  ASSERT_GT(pages.size(), 2u);
  std::map<std::wstring, int> printed;
  for (const auto& texts : pages) {
    for (const std::wstring& t : texts) {
      if (t == L"r1c0" || t == L"r1c29" || t == L"r1c5") ++printed[t];
    }
  }
  EXPECT_EQ(printed[L"r1c5"], 1);
  EXPECT_EQ(printed[L"r1c29"], 1);
  EXPECT_GT(printed[L"r1c0"], 1) << "the fixed column repeats on each column page";
}

TEST_F(GridPrint, NothingPrintsBeforeBeginningAndATallerHeaderTakesMorePages) {
  CPrintInfo info;
  HDC hDC = ::CreateEnhMetaFile(nullptr, nullptr, nullptr, nullptr);
  CDC dc;
  dc.Attach(hDC);
  grid.OnPrint(&dc, &info);
  HENHMETAFILE hMeta = ::CloseEnhMetaFile(dc.Detach());
  std::vector<std::wstring> texts;
  ::EnumEnhMetaFile(nullptr, hMeta, CollectText, &texts, nullptr);
  ::DeleteEnhMetaFile(hMeta);
  EXPECT_TRUE(texts.empty());

  const size_t nPages = PrintPages().size();
  grid.SetPrintMarginInfo(20, -1, -1, -1, -1, -1, -1);
  const size_t nTallerPages = PrintPages().size();
  EXPECT_GT(nTallerPages, nPages);
  grid.SetPrintMarginInfo(-1, -1, -1, -1, -1, -1, -1);
  EXPECT_EQ(PrintPages().size(), nTallerPages) << "-1 keeps each value";
}
