// The engine's one handle on the Notes runtime: the session, the target or browsed database, the
// current folder, the last status and error text, and the flags and progress targets of its loops.
#pragma once

#include <afxcoll.h>

#include "lnnotes.h"
#include "ProgressSink.h"
#include "TemplateChooser.h"

class CFolderCheckTree;
class RdoFolderDispatch;
class RdoAppointmentDispatch;
class RdoContactDispatch;
class RdoJournalDispatch;
class RdoMailDispatch;
class RdoTaskDispatch;

// Longest Notes folder name kept whole; a longer one is cut to a backslash and its last segment.
const int NOTES_FOLDER_NAME_LIMIT = 130;

// Error-text convention of every operation that calls the library: the library is set to throw its
// statuses; a thrown status becomes the library's message text in m_strError and the operation
// returns its failure value (0). Failures the store detects itself set a fixed English text. The UI
// reads the text with GetErrorText after the operation returned.
//
// Threads: InitSession runs on the user-interface thread. Any other thread attaches to the runtime
// (an LNNotesSession of its own with InitThread / TermThread) before it calls the store. There is no
// lock: callers run one store operation at a time. m_bStop is written by the UI thread and polled by
// the loops between steps.
//
// Ownership: the store owns the session, database, folder and folder array and the error text. The
// progress targets, the folder tree and the template chooser are borrowed: the caller sets them
// before the operation that uses them, keeps them alive through it, and the store never deletes them.
// A null progress target draws nothing.
class CNotesStore {
 public:
  CNotesStore();
  virtual ~CNotesStore();

  // Starts the Notes runtime (closing a running one first). 1 on success; 0 with
  // "Unable to initlise lotus notes".
  int InitSession();
  // Closes the open database and ends the session; each only when this store started it.
  void Close();

  CString GetErrorText();
  void SetErrorText(CString text);

  // Opens the NSF at path, or creates it from the first template whose title holds "MAIL (R" (the
  // template chooser picks one when none does). 1 when m_db is open and no stop was requested; else 0
  // with m_strError set, except after a stop, which leaves the text as it was.
  int CreateOrOpenDatabase(CString path);
  // Creates the Notes folder for path ("Outlook\" + PST folder path, ending with a backslash), named
  // by NotesFolderName. Non-zero: convert the folder (also when it exists already); 0: skip it, with
  // the library's text in m_strError.
  int CreateFolder(CString path);

  // Appends the Domino servers known to the session. 1, or 0 with m_strError set.
  int GetServerNames(CStringArray* names);
  // Appends, at the same index, the file path and file name of every database of server, until
  // m_bStop is set. 1 when the list was read (also after a stop), 0 with m_strError set.
  int GetServerDatabases(CString server, CStringArray* paths, CStringArray* fileNames);

  // The item loop: saves every item of the PST folder into the Notes folder of path ("Outlook\" + PST
  // folder path, the text CreateFolder was given), which stays the current folder m_folder. 1 when the
  // loop ran to its end (or the folder has no item collection); 0 when the Notes folder cannot be
  // opened or m_bStop ended the loop. An item that cannot be fetched, classified or saved is skipped
  // (and noted in m_pSkippedItems); nothing the loop calls escapes it. Runs on the conversion worker.
  int SaveFolderItems(CString path, RdoFolderDispatch* folder);

  // Item savers, called by the item loop with m_db open, the target folder open in m_folder, and the
  // Notes thread and OLE initialised. Each creates one note, writes its items, saves it and files it
  // in m_folder. 1 when they return; SaveMail returns 0 when the note could not be created. Any other
  // failure leaves them as an exception (a thrown status or an automation exception) with nothing
  // filed; the loop drops the item. The item wrapper stays the caller's.
  int SaveAppointment(RdoAppointmentDispatch* item);
  int SaveTask(RdoTaskDispatch* item);
  int SaveMail(RdoMailDispatch* item);
  int SaveJournal(RdoJournalDispatch* item);
  int SaveContact(RdoContactDispatch* item);

  // Attaches every attachment of the collection to note, saving the note after each. attachments is
  // a reference this call owns and releases. An attachment that cannot be copied is skipped; a note
  // without attachments is not saved. Each attachment passes through its own file in a private folder
  // under the user's temporary directory, deleted once attached; the folder is made by the first
  // attachment of a conversion and removed when the store opens the next database or closes.
  void CopyAttachments(LPDISPATCH attachments, LNDocument& note);

  // The chooser asked by CreateOrOpenDatabase when no template is a mail template. The wizard gives
  // the store one that runs the template selection dialog; without one (null, the default) such a
  // search fails with "Unable to get Template".
  void SetTemplateChooser(ITemplateChooser* chooser) { m_pTemplateChooser = chooser; }

  CString m_strError;
  int m_bSessionInit;
  int m_bDbOpen;
  LNNotesSession m_session;
  LNDatabase m_db;
  // The browsed folder, or the target folder of the item loop.
  LNViewFolder m_folder;
  // Folders of the browsed database.
  LNViewFolderArray m_folders;
  // Status of the last library call whose result an operation kept; 0 is success.
  LNSTATUS m_status;
  // Item loop progress: status text and position per item.
  IProgressSink* m_pItemProgress;
  // Moved while an exported RTF file is read back.
  IProgressSink* m_pReadProgress;
  // Tree that the folder listing fills.
  CFolderCheckTree* m_pFolderTree;
  int m_bStop;
  // Wait dialog whose bar and text the folder listing updates.
  IProgressSink* m_pScanWnd;
  // Rich-text export: 3 tries the export library first, 2 exports with the default exporter, any
  // other value exports only for the preview.
  int m_nExportMode;
  // 1: ask before previewing a rich-text body over 61440 bytes; the answer is kept for the run.
  int m_bAskLargePreview;
  int m_bShowLargePreview;
  // 1: every item saver writes the body as plain text only.
  BYTE m_bPlainTextBody;
  // Borrowed, may be null: the item loop appends one line per item it skipped,
  // "<index>\t<subject>\t<reason>", for tools that report what a conversion lost.
  CStringArray* m_pSkippedItems = nullptr;

 private:
  CNotesStore(const CNotesStore&) = delete;
  CNotesStore& operator=(const CNotesStore&) = delete;

  // Files a saved note into m_folder and closes it; a failure is thrown as a status.
  void FileAndClose(LNDocument& note);
  // Stores the library's message for status as the error text.
  void SetLibraryErrorText(LNSTATUS status);
  // Lists the templates and picks the mail template; 1 with its file path, 0 with the error text set.
  int FindMailTemplate(CString* templatePath);
  // The private folder of the attachments' temporary files, ending with a backslash, made on first
  // use; "" when it cannot be made.
  CString AttachmentFolder();
  // Removes that folder with whatever is left in it.
  void RemoveAttachmentFolder();

  CString m_strAttachmentFolder;

  ITemplateChooser* m_pTemplateChooser;
};

// The text of a contact's birthday or anniversary: "MM/DD/YYYY", or "" when the PST carries no date
// (its "no date" is 4501-01-01; zero, or a value outside the years 1601 to 4499, counts as none).
CString ContactDateText(DATE date);

// The Notes folder name for a folder path: the trailing backslash dropped, and a name longer than
// NOTES_FOLDER_NAME_LIMIT cut to its last backslash and what follows. The item loop opens folders by
// the same rule, so it finds the folder CreateFolder made.
CString NotesFolderName(const CString& path);

// The item kind of a message class: 0 appointment, 1 task, 2 mail or post, 3 journal entry, 4 contact,
// -1 anything else (saved as mail). Whole text, exact case.
int GetItemKind(CString messageClass);

// Text to the library's strings (character set 0, or 1 for the HTML body). An empty text, or one the
// library cannot translate, gives an empty LNString.
LNString CStringToLNString(CString text);
LNString CStringToLNStringCharset1(CString text);
// The library's string to text, whole at any length; a string the library cannot translate is read as
// ANSI bytes.
CString LNStringToCString(LNString s);
