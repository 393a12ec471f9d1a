// Path segments and the Notes system folder tables of the PST folder walk.
#include "FolderPaths.h"

namespace {

// Searches start after the first character, so a leading backslash never separates a segment.
int FindSeparator(const CString& path, int from) { return path.Find(L'\\', from < 1 ? 1 : from); }

struct NameMapping {
  LPCWSTR notesName;
  LPCWSTR outlookName;
};

const NameMapping kFolderNames[] = {
    {L"($Inbox)", L"Inbox"},
    {L"($All)", L"All"},
    {L"($Sent)", L"Sent"},
    {L"($Trash)", L"Trash"},
    {L"My Contacts", L"My Contacts"},
    {L"($Alarms)", L"Alarms"},
    {L"($JunkMail)", L"Junk Mails"},
    {L"($Drafts)", L"Drafts"},
    {L"($Meetings)", L"Calendar"},
    {L"($ToDo)", L"To Do"},
    {L"($Journal)", L"Journals"},
    {L"($Follow-Up)", L"Follow Up"},
};

// "IPF.Jornal" is spelled as the folders created so far carry it.
const NameMapping kFolderClasses[] = {
    {L"By Diary Date", L"IPF.Jornal"},
    {L"($Inbox)", L"IPF.Note"},
    {L"($Sent)", L"IPF.Note"},
    {L"($Trash)", L"IPF.Note"},
    {L"My Contacts", L"IPF.Contact"},
    {L"($Alarms)", L"IPF.Appointment"},
    {L"($Calendar)", L"IPF.Appointment"},
    {L"($Meetings)", L"IPF.Appointment"},
    {L"($ToDo)", L"IPF.Task"},
};

}  // namespace

int CountPathSeparators(CString path) {
  if (!path.IsEmpty() && path[0] == L'\\') return 0;
  int count = 0;
  for (int pos = FindSeparator(path, 1); pos > 0; pos = FindSeparator(path, pos + 1)) ++count;
  return count;
}

CString GetPathSegment(CString path, int n) {
  if (n < 0) return CString();
  int start = 0;
  for (int i = 0; i < n; ++i) {
    int pos = FindSeparator(path, start);
    if (pos < 0) return CString();
    start = pos + 1;
  }
  int end = FindSeparator(path, start);
  if (end < 0) return CString();
  return path.Mid(start, end - start);
}

CString MapNotesFolderName(CString name) {
  for (const NameMapping& mapping : kFolderNames)
    if (name == mapping.notesName) return mapping.outlookName;
  return name;
}

CString GetFolderClassForNotesFolder(CString name) {
  for (const NameMapping& mapping : kFolderClasses)
    if (name == mapping.notesName) return mapping.outlookName;
  return L"IPF.Note";
}
