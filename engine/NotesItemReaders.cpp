// The item readers of the NSF browser.
#include "NotesItemReaders.h"

#include "NotesCalls.h"
#include "NotesStore.h"

CString ReplaceControlChars(CString text) {
  text.Replace(L'\t', L' ');
  text.Replace(static_cast<WCHAR>(0x81), L' ');
  text.Replace(L'\r', L' ');
  text.Replace(L'\n', L' ');
  return text;
}

namespace {

// The values of the item name, of the library's item type ItemList, joined with ";" and turned into
// text by convert; "" when the document has no such item or any step fails.
template <class ItemList, class Convert>
CString JoinedItemValues(const CString& name, LNDocument& document, Convert convert) {
  const LNString itemName = CStringToLNString(name);
  if (!document.HasItem(itemName)) return CString();
  CString text;
  CompletesWithoutFailure([&] {
    ItemList item;
    LNString values;
    if (document.GetItem(itemName, &item) != LNNOERROR) return;
    if (item.GetText(&values, LNString(";")) != LNNOERROR) return;
    text = convert(values);
  });
  return text;
}

}  // namespace

CString GetTextItem(CString name, LNDocument document) {
  return JoinedItemValues<LNText>(
      name, document, [](const LNString& values) { return ReplaceControlChars(LNStringToCString(values)); });
}

// Date-time texts are the library's ANSI digits and separators.
CString GetDatetimeItem(CString name, LNDocument document) {
  return JoinedItemValues<LNDatetimes>(name, document, [](const LNString& values) {
    return AnsiToCString(values.GetBuf(), values.GetBufLength());
  });
}

CString GetAttachmentList(LNDocument document, CStringArray* names, CStringArray* sizes) {
  LNAttachmentArray attachments;
  if (StatusOf([&] { return document.GetAttachments(&attachments); }) != LNNOERROR) return CString();
  CString list;
  const LNINT count = attachments.GetCount();
  for (LNINT i = 0; i < count; i++) {
    LNAttachment attachment = attachments[i];
    BOOL named = FALSE;
    BOOL sized = FALSE;
    CompletesWithoutFailure([&] {
      const CString name = LNStringToCString(attachment.GetAttachmentName());
      if (names) names->Add(name);
      named = TRUE;
      const LNINT size = attachment.GetFileSize();
      list += name;
      CString sizeText;
      sizeText.Format(L" Size :%d ", size);
      if (sizes) sizes->Add(sizeText);
      sized = TRUE;
      list += sizeText + L"\r\n";
    });
    // The preview pane reads both lists at one index: they stay the same length.
    if (named && !sized && sizes) CompletesWithoutFailure([&] { sizes->Add(CString()); });
  }
  return list;
}

CString GetDateSentText(LNDocument document) {
  CString text;
  CompletesWithoutFailure([&] {
    LNMailMessage message(document);
    LNDatetime sent;
    if (message.GetDateSent(&sent) != LNNOERROR) return;
    LNString sentText;
    if (sent.GetText(&sentText) != LNNOERROR) return;
    text = AnsiToCString(sentText.GetBuf(), sentText.GetBufLength());
  });
  return text;
}
