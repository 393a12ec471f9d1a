// Container documents: items joining and leaving their document, the primary selected item of a
// view, and the edit menu's object entry built from an object's verbs.
#include <gtest/gtest.h>

#include <afxole.h>

#include "FakeOleObject.h"

namespace {

using testsupport::FakeOleObject;

// A view that reports the items it was told are selected.
class CSelectingView : public CView {
 public:
  void OnDraw(CDC*) override {}
  BOOL IsSelected(const CObject* pItem) const override {
    for (const CObject* p : m_selected) {
      if (p == pItem) return TRUE;
    }
    return FALSE;
  }
  std::vector<const CObject*> m_selected;
};

TEST(OleDocument, ItemsJoinTheirDocumentAndLeaveItWhenDeleted) {
  COleDocument* pDoc = new COleDocument;
  COleClientItem* pFirst = new COleClientItem(pDoc);
  COleClientItem* pSecond = new COleClientItem(pDoc);
  EXPECT_EQ(pFirst->GetDocument(), pDoc);
  POSITION pos = pDoc->GetStartPosition();
  EXPECT_EQ(pDoc->GetNextClientItem(pos), pFirst);
  EXPECT_EQ(pDoc->GetNextClientItem(pos), pSecond);
  EXPECT_EQ(pos, nullptr);
  EXPECT_TRUE(pDoc->HasBlankItems());
  delete pFirst;
  pos = pDoc->GetStartPosition();
  EXPECT_EQ(pDoc->GetNextClientItem(pos), pSecond);
  EXPECT_EQ(pos, nullptr);
  // The document deletes the items it still holds.
  delete pDoc;
}

TEST(OleDocument, PrimarySelectedItemIsTheOneSelectedItem) {
  COleDocument doc;
  COleClientItem* pFirst = new COleClientItem(&doc);
  COleClientItem* pSecond = new COleClientItem(&doc);
  CSelectingView* pView = new CSelectingView;
  EXPECT_EQ(doc.GetPrimarySelectedItem(pView), nullptr);
  pView->m_selected = {pSecond};
  EXPECT_EQ(doc.GetPrimarySelectedItem(pView), pSecond);
  pView->m_selected = {pFirst, pSecond};
  EXPECT_EQ(doc.GetPrimarySelectedItem(pView), nullptr);
  delete pView;
}

TEST(OleEditMenu, SeveralVerbsMakeAPopupOfVerbsNumberedFromTheFirstId) {
  FakeOleObject object({{0, L"&Edit"}, {1, L"&Open"}, {-1, L"Hidden"}});
  COleClientItem item;
  item.Attach(&object);
  EXPECT_EQ(item.GetItemState(), COleClientItem::loadedState);
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, L"placeholder");
  AfxOleSetEditMenu(&item, &menu, 0, ID_OLE_VERB_FIRST, ID_OLE_VERB_LAST);
  ASSERT_EQ(menu.GetMenuItemCount(), 1);
  CString strCaption;
  menu.GetMenuString(0, strCaption, MF_BYPOSITION);
  EXPECT_STREQ(strCaption, L"Sheet &Object");
  CMenu* pSub = menu.GetSubMenu(0);
  ASSERT_NE(pSub, nullptr);
  ASSERT_EQ(pSub->GetMenuItemCount(), 2);
  EXPECT_EQ(pSub->GetMenuItemID(0), static_cast<UINT>(ID_OLE_VERB_FIRST));
  EXPECT_EQ(pSub->GetMenuItemID(1), static_cast<UINT>(ID_OLE_VERB_FIRST + 1));
  item.Release();
  EXPECT_EQ(object.m_nRefs, 1u);
}

TEST(OleEditMenu, OneVerbMakesAPlainItemAndNoObjectADisabledOne) {
  FakeOleObject object({{0, L"&Edit"}});
  COleClientItem item;
  item.Attach(&object);
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_OLE_VERB_FIRST, L"placeholder");
  AfxOleSetEditMenu(&item, &menu, 0, ID_OLE_VERB_FIRST);
  EXPECT_EQ(menu.GetSubMenu(0), nullptr);
  CString strCaption;
  menu.GetMenuString(0, strCaption, MF_BYPOSITION);
  EXPECT_STREQ(strCaption, L"Edit Sheet &Object");
  item.Release();

  COleClientItem empty;
  AfxOleSetEditMenu(&empty, &menu, 0, ID_OLE_VERB_FIRST);
  menu.GetMenuString(0, strCaption, MF_BYPOSITION);
  EXPECT_STREQ(strCaption, L"&Object");
  EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
}

}  // namespace
