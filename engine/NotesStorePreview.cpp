// The document preview of the NSF browser, the rich-text body export into the RTF temporary file, and
// the text-file reader that reads an export back. All run on the user-interface thread.
#include <stdio.h>

#include <string>

#include "NotesCalls.h"
#include "NotesItemReaders.h"
#include "NotesStore.h"

namespace {

// The line counter starts here, so the bar ends at (100 x lines) / (lines + 10), short of 100.
const long READ_PROGRESS_LINES_AHEAD = 10;

void DeleteFileIfAny(const CString& path) {
  if (!path.IsEmpty()) _wremove(path);
}

// One line of a text file with its line end; FALSE at the end of the file with nothing read.
BOOL ReadLineWithEnd(CStdioFile& file, std::wstring* line) {
  line->clear();
  wchar_t buffer[1024];
  while (file.ReadString(buffer, _countof(buffer))) {
    *line += buffer;
    if (!line->empty() && line->back() == L'\n') break;
  }
  return !line->empty();
}

}  // namespace

CString GetPreviewRtfPath() {
  wchar_t directory[MAX_PATH + 1] = {0};
  const DWORD length = GetTempPathW(MAX_PATH + 1, directory);
  if (length == 0 || length > MAX_PATH) return CString();
  CString path(directory, static_cast<int>(length));
  if (path.Right(1) != L"\\") path += L"\\";
  return path + L"ch111.rtf";
}

// Text file --------------------------------------------------------------------------------------

CString CNotesStore::ReadTextFileWithProgress(CString path) {
  CStdioFile file;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText)) return CString();
  std::wstring text;
  CompletesWithoutFailure([&] {
    long lines = READ_PROGRESS_LINES_AHEAD;
    std::wstring line;
    while (ReadLineWithEnd(file, &line)) lines++;
    file.Seek(0, CFile::begin);
    long read = 0;
    while (ReadLineWithEnd(file, &line)) {
      read++;
      if (m_pReadProgress) m_pReadProgress->SetPos(static_cast<int>(100LL * read / lines));
      if (m_bStop) break;
      text += line;
    }
  });
  CompletesWithoutFailure([&] { file.Close(); });
  return CString(text.c_str(), static_cast<int>(text.size()));
}

// Rich-text body export ----------------------------------------------------------------------------

CString CNotesStore::ReadRichTextInChunks(const LNRichText& richText) {
  CString text;
  CompletesWithoutFailure([&] {
    LNRTCursor start;
    richText.GetCursor(&start);
    LNString whole;
    if (richText.GetText(&whole, &start) != LNWARN_MORE_TEXT) {
      text = LNStringToCString(whole);
      return;
    }
    LNRichText body = richText;
    LNRTCursor from;
    LNRTCursor end;
    body.GetCursor(&from);
    body.GetEndCursor(&end);
    // The text is never longer than the stored body, and each read that goes on brings some of it: a
    // library that kept answering "more" could not make this loop endless.
    const LONGLONG bodyBytes = body.GetValueSize();
    LONGLONG gathered = 0;
    for (LONGLONG reads = 0; reads <= bodyBytes; reads++) {
      LNString chunk;
      const LNSTATUS status = body.GetText(from, end, &chunk, &from);
      text += LNStringToCString(chunk);
      gathered += chunk.GetBufLength();
      if (status != LNWARN_MORE_TEXT || chunk.GetBufLength() == 0 || gathered > bodyBytes) break;
    }
  });
  return text;
}

int CNotesStore::ExportRichText(const LNRichText& richText, const CString& path, int previewForm) {
  if (path.IsEmpty()) return 0;
  LNRTCursor start;
  LNRTCursor end;
  if (StatusOf([&] { return richText.GetCursor(&start); }) != LNNOERROR) return 0;
  if (m_nExportMode != 3 && m_nExportMode != 2 && !previewForm) return 0;
  if (StatusOf([&] { return richText.GetEndCursor(&end); }) != LNNOERROR) return 0;
  const LNString target = CStringToLNString(path);
  LNSTATUS status = LNNOERROR;
  if (m_nExportMode == 3) {
    try {
      status = richText.Export(target, LNString("nxrtf2.dll"), start, end, LNString("RTF"));
    } catch (LNSTATUS) {
      status = StatusOf([&] { return richText.Export(target, start, end, LNString("RTF")); });
    }
  } else {
    status = StatusOf([&] { return richText.Export(target, start, end, LNString("RTF")); });
  }
  return status == LNNOERROR ? 1 : 0;
}

int CNotesStore::ExportBodyToRtf(LNDocument document, int* done, CString* fileText, CString* plainText,
                                 int previewForm) {
  const CString path = GetPreviewRtfPath();
  DeleteFileIfAny(path);
  if (done) *done = 0;
  if (StatusOf([&] { return document.RefreshObjectFromNoteHandle(); }) != LNNOERROR) return 0;

  const LNString body("Body");
  LNITEMTYPE type = 0;
  CompletesWithoutFailure([&] { type = document.GetItemType(body); });
  LNRichText richText;
  BOOL haveRichText = FALSE;
  if (type == LNITEMTYPE_RICHTEXT) {
    haveRichText = StatusOf([&] { return document.GetItem(body, &richText); }) == LNNOERROR;
  } else if (type == LNITEMTYPE_TEXT) {
    CompletesWithoutFailure([&] {
      LNText values;
      LNString joined;
      if (document.GetItem(body, &values) != LNNOERROR) return;
      if (values.GetText(&joined, LNString(";")) != LNNOERROR) return;
      if (plainText) *plainText = LNStringToCString(joined);
    });
  }
  DeleteFileIfAny(path);

  if (haveRichText) {
    const CString text = ReadRichTextInChunks(richText);
    if (plainText) *plainText = text;
    CompletesWithoutFailure([&] {
      if (!ExportRichText(richText, path, previewForm)) return;
      if (previewForm) {
        if (fileText) fileText->Empty();
        if (done) *done = 1;
        return;
      }
      const CString exported = ReadTextFileWithProgress(path);
      if (exported.IsEmpty()) return;
      if (fileText) *fileText = exported;
      if (done) *done = 1;
    });
  }
  return 1;
}

// Document preview ---------------------------------------------------------------------------------

CString CNotesStore::ReadPreviewBody(LNDocument& document, int documentKind, CString* exportText) {
  const LNString body("Body");
  if (!document.HasItem(body)) return CString();
  const LNITEMTYPE type = document.GetItemType(body);
  LNString text;
  if (type == LNITEMTYPE_RICHTEXT) {
    document.RefreshObjectFromNoteHandle();
    LNRichText richText;
    if (document.GetItem(body, &richText) != LNNOERROR) return CString();
    if (richText.GetValueSize() <= LARGE_PREVIEW_BYTES) {
      CompletesWithoutFailure([&] { richText.GetText(&text); });
      return LNStringToCString(text);
    }
    if (m_bAskLargePreview && m_pLargeItemPrompt) {
      BOOL dontShowAgain = FALSE;
      m_bShowLargePreview = m_pLargeItemPrompt->AskLargeItem(&dontShowAgain) == IDOK ? 1 : 0;
      m_bAskLargePreview = dontShowAgain ? 0 : 1;
    }
    if (!m_bShowLargePreview) return CString();
    if (documentKind == DOCUMENT_MAIL) {
      int done = 0;
      CString fileText;
      CompletesWithoutFailure([&] { ExportBodyToRtf(document, &done, &fileText, exportText, 1); });
      return CString();
    }
    richText.GetText(&text);
  } else if (type == LNITEMTYPE_TEXT) {
    LNText values;
    if (document.GetItem(body, &values) == LNNOERROR) values.GetText(&text, LNString(";"));
  }
  return LNStringToCString(text);
}

CString CNotesStore::PreviewDocument(LNNOTEID noteId, int* kind, CStringArray* names, CStringArray* sizes) {
  if (kind) *kind = PREVIEW_NONE;
  if (m_bStop) return CString();
  DeleteFileIfAny(GetPreviewRtfPath());

  LNDocument document;
  BOOL opened = FALSE;
  CompletesWithoutFailure([&] {
    if (m_db.GetDocument(noteId, &document) != LNNOERROR) return;
    opened = document.Open(0) == LNNOERROR;
  });
  if (!opened) return CString();
  ClosedOnExit<LNDocument> closeDocument(document);

  // Whatever a failure interrupts, the preview is what was built before it: a body that cannot be read
  // leaves the page without it, a record that cannot be read leaves the body alone.
  CString preview;
  CompletesWithoutFailure([&] {
    const int documentKind = GetDocumentKind(document);
    CString exportText;
    CString bodyText;
    CompletesWithoutFailure([&] { bodyText = ReadPreviewBody(document, documentKind, &exportText); });
    preview = exportText + bodyText;
    switch (documentKind) {
      case DOCUMENT_CALENDAR:
        preview = ReadCalendar(document, names, sizes).ToRtf(bodyText);
        if (kind) *kind = PREVIEW_CALENDAR;
        break;
      case DOCUMENT_TODO:
        preview = ReadToDo(document, names, sizes).ToRtf(bodyText);
        if (kind) *kind = PREVIEW_TODO;
        break;
      case DOCUMENT_CONTACT:
        preview = ReadContact(document, names, sizes).ToRtf(bodyText);
        if (kind) *kind = PREVIEW_CONTACT;
        break;
      case DOCUMENT_JOURNAL:
        preview = ReadJournal(document, names, sizes).ToRtf(bodyText);
        if (kind) *kind = PREVIEW_JOURNAL;
        break;
      default:
        // Only the attachment lists are kept of a mail's record; its preview is its body.
        CompletesWithoutFailure([&] { ReadMail(document, names, sizes); });
        if (kind) *kind = PREVIEW_MAIL;
        break;
    }
  });
  return preview;
}
