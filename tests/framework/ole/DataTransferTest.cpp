// OLE data transfer: clipboard round trips through COleDataSource and COleDataObject with formats
// kept exactly as given, CSharedFile as the clipboard's memory, and drop-target registration with
// the drag handlers driven through the registered IDropTarget.
#include "afxole.h"

#include "WindowTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class OleDataTransfer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(AfxOleInit()); }
};

HGLOBAL GlobalText(const char* text) {
  size_t n = strlen(text) + 1;
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, n);
  memcpy(::GlobalLock(h), text, n);
  ::GlobalUnlock(h);
  return h;
}

std::string ReadGlobal(HGLOBAL h) {
  if (h == nullptr) return "<null>";
  const char* p = static_cast<const char*>(::GlobalLock(h));
  std::string s(p, strnlen(p, ::GlobalSize(h)));
  ::GlobalUnlock(h);
  return s;
}

TEST_F(OleDataTransfer, ClipboardTextRoundTripKeepsTheGivenFormat) {
  COleDataSource* pSource = new COleDataSource;
  pSource->CacheGlobalData(CF_TEXT, GlobalText("grid cells\t1\t2\r\n"));
  pSource->SetClipboard();
  EXPECT_EQ(COleDataSource::GetClipboardOwner(), pSource);

  COleDataObject data;
  ASSERT_TRUE(data.AttachClipboard());
  EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
  HGLOBAL h = data.GetGlobalData(CF_TEXT);
  EXPECT_EQ(ReadGlobal(h), "grid cells\t1\t2\r\n");
  if (h != nullptr) ::GlobalFree(h);
  // A second read gets its own copy: the source still holds the data.
  h = data.GetGlobalData(CF_TEXT);
  EXPECT_EQ(ReadGlobal(h), "grid cells\t1\t2\r\n");
  if (h != nullptr) ::GlobalFree(h);
  EXPECT_EQ(data.GetGlobalData(CF_DIB), nullptr);
  data.Release();

  // Flushing hands the data to the system clipboard; the source is no longer the owner.
  COleDataSource::FlushClipboard();
  EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_EQ(ReadGlobal(::GetClipboardData(CF_TEXT)), "grid cells\t1\t2\r\n");
  ::CloseClipboard();
}

TEST_F(OleDataTransfer, RegisteredFormatAndSharedFileReachTheReader) {
  const CLIPFORMAT cfPrivate = static_cast<CLIPFORMAT>(::RegisterClipboardFormat(L"Brindle Test Cells"));
  CSharedFile file(GMEM_MOVEABLE | GMEM_SHARE, 4096);
  const char payload[] = "row one\r\nrow two";
  file.Write(payload, sizeof(payload) - 1);
  EXPECT_EQ(file.GetLength(), sizeof(payload) - 1);
  HGLOBAL hMem = file.Detach();
  ASSERT_NE(hMem, nullptr);
  EXPECT_EQ(file.GetLength(), 0u);
  EXPECT_EQ(::GlobalSize(hMem), sizeof(payload) - 1);

  COleDataSource* pSource = new COleDataSource;
  pSource->CacheGlobalData(cfPrivate, hMem);
  pSource->SetClipboard();

  COleDataObject data;
  ASSERT_TRUE(data.AttachClipboard());
  EXPECT_TRUE(data.IsDataAvailable(cfPrivate));
  EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));  // nothing is synthesised from a private format
  CFile* pFile = data.GetFileData(cfPrivate);
  ASSERT_NE(pFile, nullptr);
  char buf[64] = {};
  UINT n = pFile->Read(buf, sizeof(buf));
  EXPECT_EQ(std::string(buf, n), "row one\r\nrow two");
  delete pFile;

  data.BeginEnumFormats();
  FORMATETC fe;
  bool seen = false;
  while (data.GetNextFormat(&fe)) seen = seen || fe.cfFormat == cfPrivate;
  EXPECT_TRUE(seen);
  data.Release();
  ::OleSetClipboard(nullptr);
  EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
}

TEST_F(OleDataTransfer, EmptyReaderAnswersNothing) {
  COleDataObject data;
  EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
  EXPECT_EQ(data.GetGlobalData(CF_TEXT), nullptr);
  STGMEDIUM medium;
  EXPECT_FALSE(data.GetData(CF_TEXT, &medium));
  EXPECT_EQ(data.GetFileData(CF_TEXT), nullptr);
}

// A target that accepts CF_TEXT as a copy and records what reached it.
class CTextDropTarget : public COleDropTarget {
 public:
  int enters = 0, overs = 0, leaves = 0;
  std::string dropped;
  DROPEFFECT OnDragEnter(CWnd*, COleDataObject* pData, DWORD, CPoint) override {
    ++enters;
    return pData->IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject* pData, DWORD, CPoint) override {
    ++overs;
    return pData->IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  }
  void OnDragLeave(CWnd*) override { ++leaves; }
  BOOL OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT, CPoint) override {
    HGLOBAL h = pData->GetGlobalData(CF_TEXT);
    dropped = ReadGlobal(h);
    if (h != nullptr) ::GlobalFree(h);
    return TRUE;
  }
};

class CDropWnd : public CWnd {
 public:
  BOOL CreateTop(DWORD extraStyle = 0) {
    return CreateEx(0, AfxRegisterWndClass(0), L"drop", WS_OVERLAPPEDWINDOW | WS_VISIBLE | extraStyle, 30, 30,
                    300, 200, nullptr, nullptr);
  }
};

TEST_F(OleDataTransfer, DropTargetRegistersOnceAndReceivesTheDrag) {
  CDropWnd wnd;
  ASSERT_TRUE(wnd.CreateTop());
  CTextDropTarget target;
  ASSERT_TRUE(target.Register(&wnd));
  // A window takes one target; a second registration is refused, and a second Register of the
  // same object too.
  CTextDropTarget other;
  EXPECT_FALSE(other.Register(&wnd));
  EXPECT_FALSE(target.Register(&wnd));

  COleDataSource source;  // on the stack, as for a drag
  source.CacheGlobalData(CF_TEXT, GlobalText("dragged text"));
  LPDROPTARGET pTarget = target.GetDropTarget();
  CPoint screen(50, 40);
  wnd.ClientToScreen(&screen);
  POINTL pt = {screen.x, screen.y};

  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(pTarget->DragEnter(source.GetDataObject(), MK_LBUTTON, pt, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  effect = DROPEFFECT_MOVE;  // the source no longer allows a copy: the target's choice is limited
  pTarget->DragOver(MK_LBUTTON, pt, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  pTarget->DragLeave();
  EXPECT_EQ(target.leaves, 1);

  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  pTarget->DragEnter(source.GetDataObject(), MK_LBUTTON, pt, &effect);
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  EXPECT_EQ(pTarget->Drop(source.GetDataObject(), 0, pt, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(target.dropped, "dragged text");
  EXPECT_GE(target.enters, 2);
  EXPECT_EQ(source.m_dwRef, 1);  // every reference the target took was given back

  target.Revoke();
  EXPECT_TRUE(other.Register(&wnd));
  other.Revoke();
  wnd.DestroyWindow();
}

TEST_F(OleDataTransfer, DropTargetRefusesWhatItCannotUseAndScrollsAtTheEdge) {
  CDropWnd wnd;
  ASSERT_TRUE(wnd.CreateTop(WS_VSCROLL));
  wnd.SetScrollRange(SB_VERT, 0, 100, FALSE);
  CTextDropTarget target;
  ASSERT_TRUE(target.Register(&wnd));
  COleDataSource source;
  source.CacheGlobalData(CF_DIB, GlobalText("not text"));
  LPDROPTARGET pTarget = target.GetDropTarget();

  CRect client;
  wnd.GetClientRect(&client);
  CPoint middle = client.CenterPoint();
  wnd.ClientToScreen(&middle);
  POINTL pt = {middle.x, middle.y};
  DWORD effect = DROPEFFECT_COPY;
  pTarget->DragEnter(source.GetDataObject(), MK_LBUTTON, pt, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  effect = DROPEFFECT_COPY;
  pTarget->Drop(source.GetDataObject(), 0, pt, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(target.dropped, "");

  // Near the bottom edge of a scrolling window the drag scrolls instead of asking the handlers.
  CPoint edge(client.CenterPoint().x, client.bottom - 3);
  wnd.ClientToScreen(&edge);
  POINTL ptEdge = {edge.x, edge.y};
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  int oversBefore = target.overs;
  pTarget->DragEnter(source.GetDataObject(), MK_LBUTTON, ptEdge, &effect);
  EXPECT_TRUE(effect & DROPEFFECT_SCROLL);
  EXPECT_EQ(target.overs, oversBefore);
  pTarget->DragLeave();
  target.Revoke();
  wnd.DestroyWindow();
}

TEST_F(OleDataTransfer, RegisterRefusesMissingWindows) {
  CTextDropTarget target;
  EXPECT_FALSE(target.Register(nullptr));
  CWnd unattached;
  EXPECT_FALSE(target.Register(&unattached));
}

}  // namespace
