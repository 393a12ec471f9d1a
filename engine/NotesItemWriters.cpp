// The item writers shared by the savers.
#include "NotesItemWriters.h"

#include "NotesStore.h"

namespace {

bool ContainsUpperCased(CString text, LPCWSTR literal) {
  // Only a to z change: a locale's upper-casing could turn other letters into ASCII ones.
  LPWSTR buffer = text.GetBuffer(text.GetLength());
  for (LPWSTR p = buffer; *p; p++) {
    if (*p >= L'a' && *p <= L'z') *p = static_cast<wchar_t>(*p - L'a' + L'A');
  }
  text.ReleaseBuffer();
  return text.Find(literal) >= 0;
}

LNDatetime MakeDatetime(int month, int day, int year, int hour, int minute, int second) {
  LNDatetime value;
  ThrowIfNotesError(value.SetDate(month, day, year));
  ThrowIfNotesError(value.SetTime(hour, minute, second, 0));
  return value;
}

}  // namespace

void ThrowIfNotesError(LNSTATUS status) {
  if (status != LNNOERROR) throw status;
}

void DropNotesMessage(LNSTATUS status) {
  char message[512];
  LNGetErrorMessageText(status, message, sizeof message, 0);
}

void CreateOpenDocument(LNDatabase& db, LNDocument* document) {
  ThrowIfNotesError(db.CreateDocument(document));
  ThrowIfNotesError(document->Open(0));
}

bool AddTextItem(CString name, CString value, LNDocument& document) {
  try {
    LNText text(CStringToLNString(value));
    ThrowIfNotesError(
        document.CreateItem(CStringToLNString(name), text, NOTES_ITEM_FLAGS, NOTES_ITEM_OPTIONS));
    return true;
  } catch (LNSTATUS status) {
    DropNotesMessage(status);
    return false;
  }
}

bool AddDatetimeItem(CString name, LNDatetime value, LNDocument& document) {
  LNDatetimes list;
  ThrowIfNotesError(list.Insert(list.GetDatetimeCount(), value));
  ThrowIfNotesError(document.CreateItem(CStringToLNString(name), list, NOTES_ITEM_FLAGS, NOTES_ITEM_OPTIONS));
  return true;
}

LNDatetime OleDateToLNDatetime(COleDateTime date) {
  const int month = date.GetMonth();
  const int day = date.GetDay();
  const int year = date.GetYear();
  const int hour = date.GetHour();
  const int minute = date.GetMinute();
  const int second = date.GetSecond();
  try {
    return MakeDatetime(month, day, year, hour, minute, second);
  } catch (LNSTATUS status) {
    DropNotesMessage(status);
  } catch (...) {
  }
  SYSTEMTIME now;
  GetSystemTime(&now);
  return MakeDatetime(now.wMonth, now.wDay, now.wYear, now.wHour, now.wMinute, now.wSecond);
}

bool AddPostedDate(COleDateTime date, LNMailMessage& document) {
  if (date.GetStatus() != COleDateTime::valid) return false;
  const int year = date.GetYear();
  if (year <= 1900 || year >= 4000) return false;
  return AddDatetimeItem(L"PostedDate", OleDateToLNDatetime(date), document);
}

bool HasUtf8Charset(CString text) { return ContainsUpperCased(text, L"CHARSET=UTF-8"); }

bool HasWindows1256Charset(CString text) { return ContainsUpperCased(text, L"WINDOWS-1256"); }

bool AddHtmlBodyItem(CString name, CString html, LNDocument& document) {
  try {
    LPCWSTR data = html;
    const LNINT length = html.GetLength() * static_cast<LNINT>(sizeof(wchar_t));
    if (HasUtf8Charset(html)) {
      ThrowIfNotesError(document.CreateItem(CStringToLNStringCharset1(name), LNITEMTYPE_RAW, data, length,
                                            NOTES_ITEM_FLAGS, NOTES_ITEM_OPTIONS));
    }
    if (HasWindows1256Charset(html)) return false;
    ThrowIfNotesError(document.CreateItem(CStringToLNString(name), LNITEMTYPE_RAW, data, length,
                                          NOTES_ITEM_FLAGS, NOTES_ITEM_OPTIONS));
    return true;
  } catch (LNSTATUS status) {
    DropNotesMessage(status);
    return false;
  }
}
