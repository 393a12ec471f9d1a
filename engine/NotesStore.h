// The engine's one handle on the Notes runtime: the session, the target or browsed database, the
// current folder, the last status and error text, and the flags and progress targets of its loops.
#pragma once

#include <afxcoll.h>

#include <atomic>

#include "ContactDetails.h"
#include "FolderTreeSink.h"
#include "ItemDetails.h"
#include "LargeItemPrompt.h"
#include "MailListSink.h"
#include "NotConverted.h"
#include "PauseGate.h"
#include "ProgressSink.h"
#include "TemplateChooser.h"
#include "lnnotes.h"

class RdoFolderDispatch;
class RdoAppointmentDispatch;
class RdoContactDispatch;
class RdoDistListDispatch;
class RdoJournalDispatch;
class RdoMailDispatch;
class RdoTaskDispatch;

// Longest Notes folder name kept whole; a longer one is cut to a backslash and its last segment.
const int NOTES_FOLDER_NAME_LIMIT = 130;

// Kinds of a Notes document, by the items it has; the browser's row images and colours follow them.
enum DocumentKind {
  DOCUMENT_MAIL = 2,
  DOCUMENT_CALENDAR = 3,
  DOCUMENT_CONTACT = 4,
  DOCUMENT_TODO = 5,
  DOCUMENT_JOURNAL = 9
};

// Kinds of a listed view or folder (the tree item's image): the document kinds above for calendar,
// contact, to-do and journal folders, and these.
enum FolderKind { FOLDER_DRAFTS = 1, FOLDER_OTHER = 2, FOLDER_TRASH = 7, FOLDER_INBOX = 8, FOLDER_SENT = 10 };

// Layouts of the preview pane, as the document preview reports them.
enum PreviewKind {
  PREVIEW_NONE = -1,
  PREVIEW_MAIL = 0,
  PREVIEW_CALENDAR = 1,
  PREVIEW_TODO = 2,
  PREVIEW_CONTACT = 3,
  PREVIEW_JOURNAL = 4
};

// A rich-text body larger than this many bytes is previewed only after the user agreed.
const LNINT LARGE_PREVIEW_BYTES = 0xF000;

// Error-text convention of every operation that calls the library: the library is set to throw its
// statuses; a thrown status becomes the library's message text in m_strError and the operation
// returns its failure value (0). Failures the store detects itself set a fixed English text. The UI
// reads the text with GetErrorText after the operation returned.
//
// Threads: InitSession runs on the user-interface thread. Any other thread attaches to the runtime
// (an LNNotesSession of its own with InitThread / TermThread) before it calls the store. There is no
// lock: callers run one store operation at a time. m_bStop is written by the UI thread and polled by
// the loops between steps; the loops that run on workers (items, folders, documents, databases) pass
// m_pause before each step, so that a stop question holds them there until it is answered.
//
// Ownership: the store owns the session, database, folder and folder array and the error text. The
// progress targets, the folder tree, the template chooser and the large-item prompt are borrowed: the
// caller sets them before the operation that uses them, keeps them alive through it, and the store
// never deletes them. A null progress target or tree shows nothing.
//
// Reading side: OpenAndListFolders opens the browsed NSF, which stays open for OpenFolder and
// PreviewDocument. The listings run on the browser page's workers and report only through the sinks;
// the preview runs on the user-interface thread. Every note and folder they open is closed again on
// every path.
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

  // Opens the NSF at path for writing, or creates it from the first template whose title holds
  // "MAIL (R" (the template chooser picks one when none does). 1 when m_db is open and no stop was
  // requested; else 0 with m_strError set, except after a stop, which leaves the text as it was. A file
  // that another program holds for writing is not opened ("The database is in use by another
  // program"). A new conversion starts here: m_notConverted is emptied, a failed target is forgotten,
  // and the file is the conversion's target until CloseTarget.
  int CreateOrOpenDatabase(CString path);
  // The last CreateOrOpenDatabase ended because the user cancelled the template choice: no file was
  // made. Holds until the next CreateOrOpenDatabase.
  BOOL IsTemplateChoiceCancelled() const { return m_bTemplateChoiceCancelled; }

  // What became of the conversion's target when CloseTarget ended its use.
  struct TargetClosing {
    // How a target was lost: the file at its path is gone, is another file, or no longer reads as a
    // database (another program wrote over it in place).
    enum Loss { REMOVED, REPLACED, DAMAGED };
    // This conversion had made the file and put no document in it: it was closed and removed.
    BOOL bRemoved = FALSE;
    // Another program removed, replaced or damaged the file while this conversion had it open: the
    // nSaved documents written into it are lost, and so are the nEarlier it held before. Nothing at the
    // path is removed then.
    BOOL bLost = FALSE;
    Loss loss = REMOVED;
    // Something of this conversion had been written into the file (a folder or a document). A file
    // lost before then holds nothing of it: its loss is no failure of the conversion.
    BOOL bWritten = FALSE;
    // The file was to be removed but is still there: why.
    CString strNotRemoved;
    // The file's full path.
    CString strFile;
    // The documents the file holds; -1 when it was not open or could not be read.
    long nDocuments = -1;
    // The documents this conversion saved into it: each filed and made safe by a flush (also into a
    // file that was lost since).
    long nSaved = 0;
    // The documents the file held when this conversion opened it: 0 for one it created, -1 when they
    // could not be counted.
    long nEarlier = 0;
    // The side file (the library's journal) that the NSF is whole only with: some of the documents are
    // in it alone, as it could not be folded into the NSF. "" when the NSF alone holds everything.
    CString strJournal;
    // Why it could not be folded in, in the library's words ("" when the library gave none).
    CString strJournalReason;
  };
  // Ends the use of the conversion's target: the database is closed, which folds its journal into the
  // file. With bRemoveIfEmptyNew, a file that this conversion created and that holds no document is
  // then removed; a file that existed before (one the user chose to save into) never is. Nothing when
  // no target is in use (no CreateOrOpenDatabase since the last CloseTarget, or another database was
  // opened since). Runs on the conversion worker, before it detaches from the Notes runtime.
  TargetClosing CloseTarget(BOOL bRemoveIfEmptyNew);
  // Creates the Notes folder for path ("Outlook\" + PST folder path, ending with a backslash), named
  // by NotesFolderName. Non-zero: convert the folder (also when it exists already); 0: skip it, with
  // the library's text in m_strError and the folder in m_notConverted.
  int CreateFolder(CString path);

  // Appends the Domino servers known to the session. 1, or 0 with m_strError set.
  int GetServerNames(CStringArray* names);
  // Appends, at the same index, the file path and file name of every database of server, until
  // m_bStop is set. 1 when the list was read (also after a stop), 0 with m_strError set.
  int GetServerDatabases(CString server, CStringArray* paths, CStringArray* fileNames);

  // The item loop: saves every item of the PST folder into the Notes folder of path ("Outlook\" + PST
  // folder path, the text CreateFolder was given), which stays the current folder m_folder. 1 when the
  // loop ran to its end (or the folder has no item collection); 0 when the Notes folder cannot be
  // opened, m_bStop ended the loop or the target database failed. An item that cannot be fetched,
  // classified or saved is skipped and recorded in m_notConverted; nothing the loop calls escapes it.
  // The folder's documents are flushed to the file when the loop ends; when a write or that flush
  // fails for the database as a whole (a full disk), the conversion stops: every document of the
  // folder that is not in the file is recorded as not saved, m_strError says why with the file's path,
  // and IsTargetFailed holds until the next CreateOrOpenDatabase. Runs on the conversion worker.
  // itemsBefore: the items of the earlier folders that share path, so that the record numbers the items
  // of all of them in one run.
  int SaveFolderItems(CString path, RdoFolderDispatch* folder, long itemsBefore = 0);
  // The target database can no longer be written; the conversion must not go on.
  BOOL IsTargetFailed() const { return m_bTargetFailed; }
  // The file at the target's path was found not to be the one the conversion opened (removed or
  // replaced by another program: a platform that lets it do so while the file is open), or, as
  // CloseTarget ends its use, no longer a database (another program wrote over it). Checked when the
  // item loop flushes and when CloseTarget ends the use of the file; the target has failed then, unless
  // nothing of the conversion had been written into it.
  BOOL IsTargetLost() const { return m_bTargetLost; }
  // The PST file itself can no longer be read (IsPstUnreadable): it was cut short or written by another
  // program after it was opened, or its disk no longer answers. The item loop stops at once, recording the
  // rest of its folder, and every later folder it is given is recorded whole; the conversion must not go on.
  // Holds until the next CreateOrOpenDatabase.
  BOOL IsSourceFailed() const { return m_bSourceFailed; }
  // The server's words for that failure.
  CString GetSourceFailure() const { return m_strSourceFailure; }
  // Records that the PST file can no longer be read, with the server's words (the first failure's are
  // kept). Called by the item loop and by the folder converter.
  void NoteSourceFailure(const CString& description);

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
  // A distribution list becomes a memo whose body holds one line per member ("name <address>", see
  // DistListMemberLine), then the list's notes; a member that cannot be read or written is recorded
  // in m_notConverted once the memo is filed.
  int SaveDistList(RdoDistListDispatch* item);
  // Records the attachments of a contact, which the contact saver leaves behind, as not converted.
  void NoteContactAttachments(RdoContactDispatch* item);
  // Records a saved appointment that repeats: its calendar entry holds the first occurrence only.
  void NoteRecurrence(RdoAppointmentDispatch* item);

  // NSF folder listing. Opens the NSF at path on server ("" local) as m_db and lists every folder and
  // the well-known views: each one's name followed by "\" goes to folderPaths (may be null) and, unless
  // quiet, to m_pFolderTree with its kind and entry count, while m_pScanWnd shows the progress and the
  // running counts. 1 when the walk ran (to its end, or until m_bStop was seen during it); 0 with the
  // library's text in m_strError when the database could not be got, opened or listed, or when the walk
  // failed; 0 with an empty m_strError when m_bStop was set before the walk. An entry that cannot be
  // opened is skipped.
  int OpenAndListFolders(CString path, CString server, CStringArray* folderPaths, BOOL quiet);
  // Document listing: opens the view or folder of path (its name, a trailing backslash allowed) in the
  // database OpenAndListFolders opened and lists it into pane when its own name equals path exactly.
  // Failures end it silently; rows already added stay.
  void OpenFolder(IMailListSink* pane, CString path);
  // One row per document of the open m_folder, until m_bStop; m_pScanWnd shows the progress. A
  // document that cannot be got or opened is skipped; a library failure while reading one is thrown to
  // the caller (OpenFolder) after the document was closed.
  void ListFolderDocuments(IMailListSink* pane);

  // Detail readers: the document (open) is read item by item into the record of its kind; names and
  // sizes (each may be null) receive the attachment names and their " Size :%d " texts. Missing items
  // read as "". A library failure that the item getters let through is thrown to the caller.
  CalendarDetails ReadCalendar(LNDocument document, CStringArray* names, CStringArray* sizes);
  ToDoDetails ReadToDo(LNDocument document, CStringArray* names, CStringArray* sizes);
  JournalDetails ReadJournal(LNDocument document, CStringArray* names, CStringArray* sizes);
  MailDetails ReadMail(LNDocument document, CStringArray* names, CStringArray* sizes);
  ContactDetails ReadContact(LNDocument document, CStringArray* names, CStringArray* sizes);

  // The preview of the document noteId of m_db: for a calendar entry, to-do, contact or journal entry
  // its RTF detail page with the plain body inside it; for a mail its plain body, read from the export
  // when the body is large. *kind receives the PreviewKind (PREVIEW_NONE until the page is built);
  // names and sizes receive the attachment lists. "" when m_bStop is set or the document cannot be
  // opened. Catches every failure and returns what it had built; the note is closed on every path.
  // Deletes the RTF temporary file first; a large mail body writes it again.
  CString PreviewDocument(LNNOTEID noteId, int* kind, CStringArray* names, CStringArray* sizes);
  // The whole text file at path, read-only, line ends kept ("" when it cannot be opened), moving
  // m_pReadProgress by line; m_bStop ends the read with the text read so far.
  CString ReadTextFileWithProgress(CString path);
  // Rich-text body export: plainText receives the body's plain text (rich text read in chunks, or the
  // values of a text-list body joined with ";"); a rich-text body is exported to the RTF temporary file
  // when m_nExportMode or previewForm asks for it, and *done is set to 1 once the export succeeded and
  // fileText has the file read back ("" in the preview form). 1, or 0 when the note could not be
  // refreshed. Catches every failure; the error text is not changed.
  int ExportBodyToRtf(LNDocument document, int* done, CString* fileText, CString* plainText, int previewForm);

  // The prompt asked by PreviewDocument before it reads a rich-text body over LARGE_PREVIEW_BYTES while
  // m_bAskLargePreview is set. Without one (null, the default) nobody is asked and the kept answer
  // m_bShowLargePreview stands.
  void SetLargeItemPrompt(ILargeItemPrompt* prompt) { m_pLargeItemPrompt = prompt; }

  // Attaches every attachment of the collection to note, saving the note after each. attachments is
  // a reference this call owns and releases. An attachment that cannot be copied is skipped and
  // recorded in m_notConverted; a note without attachments is not saved. Each attachment passes
  // through its own file in a private folder under the user's temporary directory, deleted once
  // attached; the folder is made by the first attachment of a conversion and removed when the store
  // opens the next database or closes.
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
  IFolderTreeSink* m_pFolderTree;
  // Written by the user-interface thread while a worker's loops poll it.
  std::atomic<int> m_bStop;
  // Set when a loop ended on m_bStop with steps still to do (a stop that cut something short); whoever
  // starts a run clears it.
  BOOL m_bStoppedEarly;
  // Held by the user-interface thread while it asks whether to stop; the workers' loops wait at it.
  CPauseGate m_pause;
  // Wait dialog whose bar and text the folder listing updates; the document listing moves its bar.
  IProgressSink* m_pScanWnd;
  // Rich-text export: 3 tries the export library first, 2 exports with the default exporter, any
  // other value exports only for the preview.
  int m_nExportMode;
  // 1: ask before previewing a rich-text body over 61440 bytes; the answer is kept for the run.
  int m_bAskLargePreview;
  int m_bShowLargePreview;
  // 1: every item saver writes the body as plain text only.
  BYTE m_bPlainTextBody;
  // Every folder, item and attachment of the current conversion that is not in the target database,
  // with why. The wizard reports it, with the PST session's m_notListed, when the conversion ends.
  CNotConvertedList m_notConverted;

 private:
  CNotesStore(const CNotesStore&) = delete;
  CNotesStore& operator=(const CNotesStore&) = delete;

  // At a boundary of a worker's loop: waits while m_pause is held, then FALSE when m_bStop asks the
  // loop to end.
  BOOL ContinueLoop();
  // Files a saved note into m_folder and closes it; a failure is thrown as a status.
  void FileAndClose(LNDocument& note);
  // Removes a note that a failing saver had already saved, so that no document stays outside its
  // folder; a failure to remove it is dropped.
  void RemoveUnfiledNote(LNDocument& note);
  // The target failed with status: the error text names the file, the folder's documents that are
  // not in it are recorded, and the conversion stops. Always 0.
  int StopOnTargetFailure(LNSTATUS status);
  // Why the conversion stopped (the target's failure, else the source's), for what it leaves behind.
  CString StoppedReason() const;
  // Flushes the folder's documents; 0 (through StopOnTargetFailure) when that fails, and 0 when the
  // file at the target's path is no longer the one opened (the target is lost then).
  int FlushFolder();
  // The file's identity on its volume, as a handle on it tells it: the same path may name another
  // file later.
  struct FileIdentity {
    // The file's full path, as it was looked at.
    CString strPath;
    BOOL bKnown = FALSE;
    DWORD nVolume = 0;
    DWORD nIndexHigh = 0;
    DWORD nIndexLow = 0;
  };
  // The identity of the file at path, or one that is not known when it cannot be opened; *pbMissing
  // is set when there is no file there.
  static FileIdentity IdentityOf(const CString& path, BOOL* pbMissing);
  // FALSE, with the target failed and lost and m_strError saying so, when the file at the target's path
  // is gone or is another file than the one opened; TRUE while it is the same, or cannot be told.
  BOOL CheckTargetFile();
  // FALSE when the closed file at path no longer reads as a database: its documents cannot be listed
  // for damage.
  BOOL ReadsAsDatabase(const CString& path);
  // Marks the target lost as loss, with m_strError saying how and what of the conversion went with it.
  void NoteTargetLost(TargetClosing::Loss loss);
  // Records an attachment of the item being saved (fileName "" for all of them) as not copied.
  void NotCopied(const CString& fileName, const CString& reason);
  // Stores the library's message for status as the error text.
  void SetLibraryErrorText(LNSTATUS status);
  // Lists the templates and picks the mail template; 1 with its file path, 0 with the error text set.
  int FindMailTemplate(CString* templatePath);
  // The plain text of a rich-text body, read in chunks when it does not fit one read.
  CString ReadRichTextInChunks(const LNRichText& richText);
  // Exports a rich-text body to path as the export mode says; 1 when the file was written.
  int ExportRichText(const LNRichText& richText, const CString& path, int previewForm);
  // Reads the Body item of the open document for the preview: small rich text and text lists at once,
  // a large rich-text body after the prompt (exported when the document is a mail, into *exportText).
  CString ReadPreviewBody(LNDocument& document, int documentKind, CString* exportText);

  // The private folder of the attachments' temporary files, ending with a backslash, made on first
  // use; "" when it cannot be made.
  CString AttachmentFolder();
  // Removes that folder with whatever is left in it.
  void RemoveAttachmentFolder();
  // The full path of the file that the library takes path for (a relative one inside its data
  // directory).
  CString LibraryFilePath(const CString& path);
  // After a failed save to failedPath: true when the folder was made again or the file at that path
  // is in the way, so that the save may be tried once more under a new path.
  bool CanSaveElsewhere(const CString& failedPath);

  CString m_strAttachmentFolder;
  // Temporary files in that folder whose removal failed: their names are not used again.
  CStringArray m_undeletedAttachmentFiles;

  ITemplateChooser* m_pTemplateChooser;
  ILargeItemPrompt* m_pLargeItemPrompt = nullptr;

  // The conversion's target file, for the messages that name it.
  CString m_strTargetPath;
  BOOL m_bTargetFailed = FALSE;
  BOOL m_bTemplateChoiceCancelled = FALSE;
  BOOL m_bSourceFailed = FALSE;
  CString m_strSourceFailure;
  BOOL m_bTargetLost = FALSE;
  TargetClosing::Loss m_targetLoss = TargetClosing::REMOVED;
  // What the conversion put into the target: whether anything, and how many documents (TargetClosing).
  BOOL m_bTargetWritten = FALSE;
  long m_nSavedDocuments = 0;
  long m_nEarlierDocuments = 0;
  // The target file as it was opened for writing.
  FileIdentity m_targetIdentity;
  // m_db is the conversion's target (CreateOrOpenDatabase ran and CloseTarget has not), and the full
  // path of the file when this conversion created it ("" when it existed before).
  BOOL m_bTargetInUse = FALSE;
  CString m_strCreatedFile;
  // The item the loop is saving: its folder (PST path), position and subject, for the record of
  // what was not converted.
  CString m_strLoopFolder;
  long m_nLoopItem = 0;
  CString m_strLoopSubject;
  // Set by FileAndClose: the note id of the document it filed last.
  LNNOTEID m_lastFiledNote = 0;
  // Documents filed by the running loop since its folder was last flushed.
  struct FiledDocument {
    LNNOTEID noteId;
    long item;
    CString subject;
  };
  std::vector<FiledDocument> m_unflushed;
  // The loop flushes once that many documents are unflushed.
  static const size_t kUnflushedLimit = 1024;
};

// The text of a contact's birthday or anniversary: "MM/DD/YYYY", or "" when the PST carries no date
// (its "no date" is 4501-01-01; zero, or a value outside the years 1601 to 4499, counts as none).
CString ContactDateText(DATE date);

// The Notes folder name for a folder path: the trailing backslash dropped, and a name longer than
// NOTES_FOLDER_NAME_LIMIT cut to its last backslash and what follows. The item loop opens folders by
// the same rule, so it finds the folder CreateFolder made.
CString NotesFolderName(const CString& path);
// The PST folder path of a Notes folder path ("Outlook\\" + PST path): the prefix dropped.
CString PstFolderOf(const CString& path);

// The item kind of a message class: 0 appointment, 1 task, 2 mail or post, 3 journal entry, 4 contact,
// 5 distribution list, -1 anything else (saved as mail). Whole text, exact case.
int GetItemKind(CString messageClass);
// The line a member of a distribution list takes in the list's memo: "name <address>", or whichever of
// the two the member has; "" when it has neither.
CString DistListMemberLine(const CString& name, const CString& address);

// The folder kind of a view or folder named name holding entryCount documents; whole name, exact case.
int GetNotesFolderKind(CString name, int entryCount);
// The document kind by the first of "MiddleInitial", "Location", "DueDate", "DiaryDate" the document
// has; DOCUMENT_MAIL with none. The item test's failure is thrown.
int GetDocumentKind(LNDocument document);
// The RTF temporary file of the preview, "ch111.rtf" in the user's temporary directory; "" when that
// directory cannot be read.
CString GetPreviewRtfPath();

// Text to the library's strings (character set 0, or 1 for the HTML body). An empty text, or one the
// library cannot translate, gives an empty LNString.
LNString CStringToLNString(CString text);
LNString CStringToLNStringCharset1(CString text);
// The library's string to text, whole at any length; a string the library cannot translate is read as
// ANSI bytes.
CString LNStringToCString(LNString s);
