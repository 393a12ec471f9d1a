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

CString GetTextItem(CString name, LNDocument document) {
  const LNString itemName = CStringToLNString(name);
  if (!document.HasItem(itemName)) return CString();
  CString text;
  CompletesWithoutFailure([&] {
    LNText item;
    if (document.GetItem(itemName, &item) != LNNOERROR) return;
    LNString values;
    if (item.GetText(&values, LNString(";")) != LNNOERROR) return;
    text = ReplaceControlChars(LNStringToCString(values));
  });
  return text;
}

CString GetDatetimeItem(CString name, LNDocument document) {
  const LNString itemName = CStringToLNString(name);
  if (!document.HasItem(itemName)) return CString();
  CString text;
  CompletesWithoutFailure([&] {
    LNDatetimes item;
    if (document.GetItem(itemName, &item) != LNNOERROR) return;
    LNString values;
    if (item.GetText(&values, LNString(";")) != LNNOERROR) return;
    text = AnsiToCString(values.GetBuf(), values.GetBufLength());
  });
  return text;
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
