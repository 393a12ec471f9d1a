// Notes class library (lcppn30i.dll): sessions, databases, folders and views, documents and their
// items, date-times, rich text and attachments, over one SQLite file per database.
//
// Conventions shared by every class:
// - Calls return an LNSTATUS, 0 on success. After LNSetThrowAllErrorsGlobal(1) every failure is thrown
//   as that LNSTATUS value instead (on every thread); LNWARN_MORE_TEXT is a warning and is always
//   returned, never thrown. LNGetErrorMessageText turns any status into English text.
// - Objects are handles. Copying a database, note, folder, entry or attachment handle shares the
//   object it refers to; copying an item, string, text list or date-time copies the value.
// - A note keeps the items written to it in memory until LNNote::Save; Save is atomic.
// - Durability: saved documents reach the file at flush points: every few hundred saves, a few
//   hundred milliseconds after the first unflushed save, and on LNDatabase::Close and
//   LNNotesSession::Term. A crash loses at most what was saved since the last flush, never part of a
//   document. Other readers of the file see every flushed document while the database is open.
// - A flush may leave what it wrote in a journal beside the file; the file alone (a copy of it taken
//   elsewhere) holds everything saved once the database is closed, the session ends, or a thread ends
//   its use of the library (LNNotesSession::TermThread), also while databases stay open. Folding the
//   journal in needs room on the disk: where there is none, the journal stays beside the file, which is
//   whole only together with it (LNDatabase::GetJournalFilepath names it), until the database is next
//   opened with room.
// - One database may be used from several threads; calls on one database are serialized.
#pragma once

#include <cstddef>

#if !defined(_WIN32)
#define LNIMPEXP
#elif defined(LNNOTES_BUILDING_DLL)
#define LNIMPEXP __declspec(dllexport)
#else
#define LNIMPEXP __declspec(dllimport)
#endif

typedef unsigned int LNSTATUS;  // 32 bits on every Windows target
typedef int LNINT;
typedef int LNBOOL;
typedef unsigned int LNNOTEID;
typedef unsigned short LNITEMTYPE;

// Statuses. Messages: LNGetErrorMessageText.
#define LNNOERROR ((LNSTATUS)0)
#define LNERR_NOT_INITIALIZED ((LNSTATUS)0x0A01)
#define LNERR_CONFIG_MISSING ((LNSTATUS)0x0A02)
#define LNERR_DATA_DIRECTORY_MISSING ((LNSTATUS)0x0A03)
#define LNERR_FILE_NOT_FOUND ((LNSTATUS)0x0A04)
#define LNERR_NOT_A_DATABASE ((LNSTATUS)0x0A05)
#define LNERR_ALREADY_EXISTS ((LNSTATUS)0x0A06)
#define LNERR_FOLDER_EXISTS ((LNSTATUS)0x0A07)
#define LNERR_FOLDER_NOT_FOUND ((LNSTATUS)0x0A08)
#define LNERR_TEMPLATE_NOT_FOUND ((LNSTATUS)0x0A09)
#define LNERR_SERVER_UNKNOWN ((LNSTATUS)0x0A0A)
#define LNERR_INVALID_DATETIME ((LNSTATUS)0x0A0B)
#define LNERR_NOTE_NOT_SAVED ((LNSTATUS)0x0A0C)
#define LNERR_DATABASE_NOT_OPEN ((LNSTATUS)0x0A0D)
#define LNERR_NOTE_NOT_OPEN ((LNSTATUS)0x0A0E)
#define LNERR_NOTE_NOT_FOUND ((LNSTATUS)0x0A0F)
#define LNERR_ITEM_NOT_FOUND ((LNSTATUS)0x0A10)
#define LNERR_WRONG_ITEM_TYPE ((LNSTATUS)0x0A11)
#define LNERR_INVALID_ARGUMENT ((LNSTATUS)0x0A12)
#define LNERR_NULL_OBJECT ((LNSTATUS)0x0A13)
#define LNERR_NOT_A_FOLDER ((LNSTATUS)0x0A14)
#define LNERR_FILE_IO ((LNSTATUS)0x0A15)
#define LNERR_DATABASE_IO ((LNSTATUS)0x0A16)
#define LNERR_DATABASE_CORRUPT ((LNSTATUS)0x0A17)
#define LNERR_EXPORT_LIBRARY ((LNSTATUS)0x0A18)
#define LNERR_EXPORT_FORMAT ((LNSTATUS)0x0A19)
#define LNERR_INDEX_OUT_OF_RANGE ((LNSTATUS)0x0A1A)
#define LNERR_TRANSLATION ((LNSTATUS)0x0A1B)
#define LNERR_BUFFER_TOO_SMALL ((LNSTATUS)0x0A1C)
#define LNERR_OUT_OF_MEMORY ((LNSTATUS)0x0A1D)
#define LNERR_SIMULATED_FAULT ((LNSTATUS)0x0A1E)
#define LNERR_INTERNAL ((LNSTATUS)0x0A1F)
#define LNERR_DISK_FULL ((LNSTATUS)0x0A20)
#define LNERR_ACCESS_DENIED ((LNSTATUS)0x0A21)
#define LNERR_IS_A_DIRECTORY ((LNSTATUS)0x0A22)
// Another program holds the database's write lock, and kept it for as long as a call waits for it.
#define LNERR_DATABASE_IN_USE ((LNSTATUS)0x0A23)
// Warning of a chunked rich-text read: the text went on past what this call returned.
#define LNWARN_MORE_TEXT ((LNSTATUS)0xD000014F)

// Item types.
#define LNITEMTYPE_RICHTEXT ((LNITEMTYPE)1)
#define LNITEMTYPE_RAW ((LNITEMTYPE)21)
#define LNITEMTYPE_DATETIMES ((LNITEMTYPE)0x400)
#define LNITEMTYPE_TEXT ((LNITEMTYPE)0x501)

// CreateItem options: append a new item even when the note holds one of that name. Without it, the
// new item replaces every item of that name.
#define LNITEMOPTION_APPEND 0x10000

// LNDatabase::Open options: open for writing. The open waits a few seconds for another program's write
// lock on the file to go, then fails with LNERR_DATABASE_IN_USE, so that a writer learns of the lock
// before its first write rather than at each write.
#define LNDBOPEN_WRITE 0x0001

// GetDatabases types.
#define LNDBTYPE_DATABASE 5
#define LNDBTYPE_TEMPLATE 6

// Character sets of LNStringTranslate. Both round-trip any Unicode text.
#define LNCHARSET_NATIVE 0
#define LNCHARSET_BODY 1

namespace lnimpl {
struct DatabaseState;
struct NoteState;
struct FolderState;
struct ItemValue;
struct AttachmentRef;
struct HandleList;
}  // namespace lnimpl

LNIMPEXP LNSTATUS LNSetThrowAllErrorsGlobal(LNBOOL throwAll);
LNIMPEXP LNBOOL LNGetThrowAllErrorsGlobal();
// Fills buf with the NUL-terminated text of status, cut to len - 1 bytes; returns the bytes written
// without the NUL. Never throws.
LNIMPEXP LNINT LNGetErrorMessageText(LNSTATUS status, char* buf, LNINT len, LNINT reserved);

// A byte string in the library's encoding (UTF-8). Built from plain ANSI bytes, it keeps them as given.
class LNIMPEXP LNString {
 public:
  LNString();
  LNString(const char* text);  // NUL-terminated; null gives an empty string
  LNString(const char* bytes, LNINT length);
  LNString(const LNString& other);
  LNString& operator=(const LNString& other);
  ~LNString();

  const char* GetBuf() const;  // NUL-terminated, never null
  LNINT GetBufLength() const;  // bytes, without the NUL
  LNBOOL IsNull() const;       // empty
  bool operator==(const LNString& other) const;
  bool operator!=(const LNString& other) const;
  LNString& operator+=(const LNString& other);

 private:
  char* m_buf;
  LNINT m_len;
};

// UTF-16 to a library string, character set 0 or 1. resultLength receives the result's bytes.
LNIMPEXP LNSTATUS LNStringTranslate(const wchar_t* text, LNINT charset, LNString* result,
                                    LNINT* resultLength);
// A library string to UTF-16. capacityBytes bounds what is written to buffer; a result that does
// not fit fails with LNERR_BUFFER_TOO_SMALL. The text is NUL-terminated when there is room;
// resultLength receives the UTF-16 units written.
LNIMPEXP LNSTATUS LNStringTranslate(const LNString& text, LNINT charset, LNINT capacityBytes, wchar_t* buffer,
                                    LNINT* resultLength);

// A calendar date (years 1 to 9999) and a time of day, each optional. Times carry no zone.
class LNIMPEXP LNDatetime {
 public:
  LNDatetime();
  // Impossible fields fail with LNERR_INVALID_DATETIME and leave the value unchanged.
  LNSTATUS SetDate(LNINT month, LNINT day, LNINT year);
  LNSTATUS SetTime(LNINT hour, LNINT minute, LNINT second, LNINT hundredths);
  LNSTATUS GetDate(LNINT* month, LNINT* day, LNINT* year) const;
  LNSTATUS GetTime(LNINT* hour, LNINT* minute, LNINT* second, LNINT* hundredths) const;
  LNBOOL IsNull() const;
  // "MM/DD/YYYY HH:MM:SS": the date part, a blank and the time part, each only when set; "" when
  // neither is. Hundredths are not shown.
  LNSTATUS GetText(LNString* text) const;
  bool operator==(const LNDatetime& other) const;

  // Days since 1 January of year 1 (-1: no date) and hundredths since midnight (-1: no time).
  LNINT GetDayNumber() const { return m_day; }
  LNINT GetHundredths() const { return m_hundredths; }
  static LNDatetime FromParts(LNINT dayNumber, LNINT hundredths);

 private:
  LNINT m_day;
  LNINT m_hundredths;
};

class LNIMPEXP LNDatetimeRange {
 public:
  LNDatetimeRange();
  LNSTATUS SetBegin(const LNDatetime& begin);
  LNSTATUS SetEnd(const LNDatetime& end);
  LNDatetime GetBegin() const;
  LNDatetime GetEnd() const;

 private:
  LNDatetime m_begin;
  LNDatetime m_end;
};

// A rich-text position: a byte offset into the text.
class LNIMPEXP LNRTCursor {
 public:
  LNRTCursor();
  LNINT GetPosition() const;
  void SetPosition(LNINT position);

 private:
  LNINT m_position;
};

// One item of a note, a copy of its name, type, flags and value taken when it was read.
class LNIMPEXP LNItem {
 public:
  LNItem();
  LNItem(const LNItem& other);
  LNItem& operator=(const LNItem& other);
  virtual ~LNItem();

  LNString GetName() const;
  LNITEMTYPE GetType() const;
  LNINT GetFlags() const;
  LNINT GetValueSize() const;  // bytes of the stored value
  // The stored value bytes: the raw data for a raw item, the library's encoding for the others.
  LNSTATUS GetValue(const void** data, LNINT* length) const;

 protected:
  explicit LNItem(LNITEMTYPE type);
  lnimpl::ItemValue* m_value;
  friend class LNNote;
  friend class LNItemArray;
};

class LNIMPEXP LNItemArray {
 public:
  LNItemArray();
  LNItemArray(const LNItemArray& other);
  LNItemArray& operator=(const LNItemArray& other);
  ~LNItemArray();
  LNINT GetCount() const;
  LNItem operator[](LNINT index) const;  // an empty item outside the range

 private:
  lnimpl::HandleList* m_list;
  friend class LNNote;
};

class LNIMPEXP LNTextElement {
 public:
  LNTextElement();
  explicit LNTextElement(const LNString& text);
  LNString GetText() const;
  operator LNString() const;

 private:
  LNString m_text;
};

// A text list (type 0x501).
class LNIMPEXP LNText : public LNItem {
 public:
  LNText();
  explicit LNText(const LNString& text);
  LNSTATUS Append(const LNString& text);
  LNINT GetCount() const;
  LNTextElement operator[](LNINT index) const;  // empty outside the range
  // All values joined with separator.
  LNSTATUS GetText(LNString* text, const LNString& separator = LNString(";")) const;
};

// A list of date-times (type 0x400).
class LNIMPEXP LNDatetimes : public LNItem {
 public:
  LNDatetimes();
  LNINT GetDatetimeCount() const;
  // position 0..count; inserts before it.
  LNSTATUS Insert(LNINT position, const LNDatetime& value);
  LNSTATUS Append(const LNDatetime& value);
  LNDatetime operator[](LNINT index) const;  // a null date-time outside the range
  LNSTATUS GetText(LNString* text, const LNString& separator = LNString(";")) const;
};

// Rich text (type 1): paragraphs of text.
class LNIMPEXP LNRichText : public LNItem {
 public:
  LNRichText();
  explicit LNRichText(const LNString& text);
  LNSTATUS Append(const LNString& text);
  LNINT GetValueSize() const;
  LNSTATUS GetCursor(LNRTCursor* start) const;
  LNSTATUS GetEndCursor(LNRTCursor* end) const;
  // Without a cursor: the whole text. From a cursor: at most one chunk (LN_RICHTEXT_CHUNK bytes);
  // LNWARN_MORE_TEXT when the text goes on.
  LNSTATUS GetText(LNString* text, const LNRTCursor* from = nullptr) const;
  // The text between start and end, at most one chunk; next receives where the next chunk starts.
  // LNWARN_MORE_TEXT while text before end remains.
  LNSTATUS GetText(const LNRTCursor& start, const LNRTCursor& end, LNString* text, LNRTCursor* next) const;
  // Writes the text between the cursors to a file in format ("RTF"), with the built-in exporter or
  // the named export library.
  LNSTATUS Export(const LNString& path, const LNRTCursor& start, const LNRTCursor& end,
                  const LNString& format) const;
  LNSTATUS Export(const LNString& path, const LNString& exportLibrary, const LNRTCursor& start,
                  const LNRTCursor& end, const LNString& format) const;
};

#define LN_RICHTEXT_CHUNK 60000

class LNIMPEXP LNAttachment {
 public:
  LNAttachment();
  LNAttachment(const LNAttachment& other);
  LNAttachment& operator=(const LNAttachment& other);
  ~LNAttachment();
  LNString GetAttachmentName() const;
  LNINT GetFileSize() const;
  // Writes the attachment's bytes to path.
  LNSTATUS Extract(const LNString& path) const;

 private:
  lnimpl::AttachmentRef* m_ref;
  friend class LNNote;
  friend class LNAttachmentArray;
};

class LNIMPEXP LNAttachmentArray {
 public:
  LNAttachmentArray();
  LNAttachmentArray(const LNAttachmentArray& other);
  LNAttachmentArray& operator=(const LNAttachmentArray& other);
  ~LNAttachmentArray();
  LNINT GetCount() const;
  LNAttachment operator[](LNINT index) const;

 private:
  lnimpl::HandleList* m_list;
  friend class LNNote;
};

class LNDatabase;

// A note of a database. Items are read and written only while the note is open (a created note is
// open); Save writes them all, or nothing, and gives a new note its note id and universal id.
class LNIMPEXP LNNote {
 public:
  LNNote();
  LNNote(const LNNote& other);
  LNNote& operator=(const LNNote& other);
  virtual ~LNNote();

  LNSTATUS Open(LNINT flags = 0);
  LNSTATUS Close();  // harmless on a note that is closed or not attached
  LNBOOL IsOpen() const;
  LNSTATUS Save(LNINT flags = 0);

  LNSTATUS CreateItem(const LNString& name, const LNText& value, LNINT flags = 0, LNINT options = 0,
                      LNItem* newItem = nullptr);
  LNSTATUS CreateItem(const LNString& name, const LNDatetimes& value, LNINT flags = 0, LNINT options = 0,
                      LNItem* newItem = nullptr);
  LNSTATUS CreateItem(const LNString& name, const LNRichText& value, LNINT flags = 0, LNINT options = 0,
                      LNItem* newItem = nullptr);
  // An item of any type holding length bytes of data as given.
  LNSTATUS CreateItem(const LNString& name, LNITEMTYPE type, const void* data, LNINT length, LNINT flags = 0,
                      LNINT options = 0, LNItem* newItem = nullptr);

  // Look-ups by name (case-insensitive) see the first item of that name, passing over raw items
  // (type 21) when the note holds another item of that name.
  LNBOOL HasItem(const LNString& name) const;
  LNITEMTYPE GetItemType(const LNString& name) const;  // 0 after a failure that is not thrown
  LNSTATUS GetItem(const LNString& name, LNItem* item) const;
  LNSTATUS GetItem(const LNString& name, LNText* item) const;
  LNSTATUS GetItem(const LNString& name, LNDatetimes* item) const;
  LNSTATUS GetItem(const LNString& name, LNRichText* item) const;
  LNSTATUS GetItems(LNItemArray* items) const;  // every item, in the order written

  // Copies the file's bytes into the note now; they reach the database with the next Save.
  LNSTATUS CreateAttachment(const LNString& path, const LNString& attachmentName, LNBOOL compress = 1,
                            LNAttachment* newAttachment = nullptr);
  LNSTATUS GetAttachments(LNAttachmentArray* attachments) const;

  LNINT GetSize() const;            // bytes of items and attachments
  LNNOTEID GetNoteID() const;       // 0 until saved
  LNString GetUniversalID() const;  // 32 hex digits, "" until saved
  LNSTATUS RefreshObjectFromNoteHandle();

 protected:
  lnimpl::NoteState* m_note;
  friend class LNDatabase;
  friend class LNViewFolder;
  friend class LNVFEntry;
  friend class LNNoteArray;
};

class LNIMPEXP LNDocument : public LNNote {
 public:
  LNDocument();
};

class LNIMPEXP LNMailMessage : public LNDocument {
 public:
  LNMailMessage();
  LNMailMessage(const LNDocument& document);  // the same note
  // The "PostedDate" item; LNERR_ITEM_NOT_FOUND without it.
  LNSTATUS GetDateSent(LNDatetime* sent) const;
};

class LNIMPEXP LNCalendarEntry : public LNDocument {
 public:
  LNCalendarEntry();
  LNCalendarEntry(const LNDocument& document);
  // Writes the range as the date items "STARTDATETIME" and "EndDateTime", replacing earlier ones.
  LNSTATUS SetDatetimeRange(const LNDatetimeRange& range);
  LNSTATUS GetDatetimeRange(LNDatetimeRange* range) const;
  LNSTATUS Save(LNINT flags = 0, LNBOOL updateCalendar = 1);
};

class LNIMPEXP LNNoteArray {
 public:
  LNNoteArray();
  LNNoteArray(const LNNoteArray& other);
  LNNoteArray& operator=(const LNNoteArray& other);
  ~LNNoteArray();
  LNINT GetCount() const;
  LNDocument operator[](LNINT index) const;  // not yet open

 private:
  lnimpl::HandleList* m_list;
  friend class LNDatabase;
};

// One document of a view or folder.
class LNIMPEXP LNVFEntry {
 public:
  LNVFEntry();
  LNVFEntry(const LNVFEntry& other);
  LNVFEntry& operator=(const LNVFEntry& other);
  ~LNVFEntry();
  LNSTATUS GetDocument(LNDocument* document) const;  // not yet open
  LNNOTEID GetNoteID() const;

 private:
  lnimpl::DatabaseState* m_db;
  LNNOTEID m_noteId;
  friend class LNViewFolder;
};

// A view (documents chosen by form) or a folder (documents filed into it). Entries are read by Open
// and kept in the order documents were filed (folders) or saved (views).
class LNIMPEXP LNViewFolder {
 public:
  LNViewFolder();
  LNViewFolder(const LNViewFolder& other);
  LNViewFolder& operator=(const LNViewFolder& other);
  ~LNViewFolder();

  LNSTATUS Open(LNINT flags = 0);
  LNSTATUS Close();
  LNString GetName() const;
  LNBOOL IsFolder() const;
  LNINT GetEntryCount() const;  // 0 while closed
  LNVFEntry operator[](LNINT index) const;
  LNSTATUS GetEntry(LNINT index, LNVFEntry* entry) const;
  // Files a saved document into this folder; filing it twice keeps one entry.
  LNSTATUS FolderAddDocument(const LNDocument& document);

 private:
  lnimpl::FolderState* m_folder;
  friend class LNDatabase;
  friend class LNViewFolderArray;
};

class LNIMPEXP LNViewFolderArray {
 public:
  LNViewFolderArray();
  LNViewFolderArray(const LNViewFolderArray& other);
  LNViewFolderArray& operator=(const LNViewFolderArray& other);
  ~LNViewFolderArray();
  LNINT GetCount() const;
  LNViewFolder operator[](LNINT index) const;

 private:
  lnimpl::HandleList* m_list;
  friend class LNDatabase;
};

class LNIMPEXP LNCreateDatabaseOptions {
 public:
  LNCreateDatabaseOptions();
  // Title of the new database; empty takes its file name without the extension.
  void SetTitle(const LNString& title);
  LNString GetTitle() const;

 private:
  LNString m_title;
};

// A database file, local or on a server. GetDatabase binds the handle to a file; Open opens it.
class LNIMPEXP LNDatabase {
 public:
  LNDatabase();
  LNDatabase(const LNDatabase& other);
  LNDatabase& operator=(const LNDatabase& other);
  ~LNDatabase();

  // flags: 0, or LNDBOPEN_WRITE. Opening a file whose journal was left beside it folds the journal in.
  LNSTATUS Open(LNINT flags = 0);
  // Flushes and closes; harmless when not open or not attached. The file's last open handle folds the
  // journal into the file. The database is closed whatever fails; a failed flush or fold is reported
  // (a fold that fails leaves the journal beside the file, see GetJournalFilepath).
  LNSTATUS Close();
  LNBOOL IsOpen() const;
  // The journal beside the file while it holds writes that are not in the file: the file is whole only
  // together with it. "" when the file alone holds everything saved to it. Open or closed.
  LNString GetJournalFilepath() const;

  LNString GetFilename() const;  // the file name alone
  // The path relative to the data directory or server directory that holds the file, else the full path.
  LNString GetFilepath() const;
  LNString GetServer() const;
  LNString GetTitle() const;
  LNString GetTemplateName() const;  // the design template name of a template, else ""
  LNString GetInheritsFromTemplateName() const;

  LNSTATUS CreateFolder(const LNString& name, LNViewFolder* newFolder = nullptr);
  LNSTATUS GetViewFolder(const LNString& name, LNViewFolder* viewFolder) const;
  // Every view and folder; with includeViews 0, only folders.
  LNSTATUS GetViewFolders(LNViewFolderArray* viewFolders, LNBOOL includeViews = 1) const;
  LNBOOL ViewFolderExists(const LNString& name) const;

  LNSTATUS CreateDocument(LNDocument* document);
  LNSTATUS GetDocument(LNNOTEID noteId, LNDocument* document) const;  // not yet open
  // Removes a saved document, its attachments and its folder entries; the handle stays attached but
  // no longer names a saved note.
  LNSTATUS DeleteDocument(LNDocument* document);
  // Writes everything saved so far to the file. A save or filing is kept in memory until a flush;
  // the library flushes on its own (after a number of writes or a short delay, never while a saved
  // document is still open) and on Close. A failed flush loses the writes since the one before: it
  // is reported here and by every write after it until it was reported here.
  LNSTATUS Flush();
  LNSTATUS GetDocuments(LNNoteArray* documents) const;

 private:
  lnimpl::DatabaseState* m_db;
  friend class LNNotesSession;
  friend class LNDatabaseArray;
};

class LNIMPEXP LNDatabaseArray {
 public:
  LNDatabaseArray();
  LNDatabaseArray(const LNDatabaseArray& other);
  LNDatabaseArray& operator=(const LNDatabaseArray& other);
  ~LNDatabaseArray();
  LNINT GetCount() const;
  LNDatabase operator[](LNINT index) const;

 private:
  lnimpl::HandleList* m_list;
  friend class LNNotesSession;
};

// The Notes session of the process. Any number of session objects share it: Initialize starts it
// once, Term ends it; worker threads bracket their calls with InitThread and TermThread.
class LNIMPEXP LNNotesSession {
 public:
  LNNotesSession();
  ~LNNotesSession();

  // Reads the installation beside the library: its configuration file names the data directory and
  // the servers. Fails with LNERR_CONFIG_MISSING or LNERR_DATA_DIRECTORY_MISSING.
  LNSTATUS Initialize(LNINT apiVersion = 300, LNINT argc = 0, char** argv = nullptr, LNBOOL quiet = 1,
                      const char* reserved = nullptr);
  // Flushes every open database and ends the session.
  LNSTATUS Term(LNINT flags = 0);
  LNSTATUS InitThread();
  // Ends the calling thread's use of the library. Every open database's file then holds alone what
  // was saved to it, apart from a document that another thread is still writing.
  LNSTATUS TermThread();
  LNBOOL IsInitialized() const;

  // server "" is the local data directory; a relative path is taken inside the data or server directory.
  LNSTATUS GetDatabase(const LNString& path, LNDatabase* database, const LNString& server = LNString());
  // type 6 (templates, ".ntf") or 5 (databases, ".nsf") under directory ("" for the top), sorted by path.
  LNSTATUS GetDatabases(LNDatabaseArray* databases, const LNString& server = LNString(),
                        const LNString& directory = LNString(), LNINT type = LNDBTYPE_DATABASE);
  LNSTATUS GetServerNames(LNText* names);
  // A new database at targetPath with a copy of the template's design, recording its template name.
  LNSTATUS CreateDatabaseFromTemplate(const LNString& templatePath, const LNString& templateServer,
                                      const LNString& targetPath, const LNString& targetServer,
                                      const LNCreateDatabaseOptions& options = LNCreateDatabaseOptions(),
                                      LNDatabase* newDatabase = nullptr);
  LNString GetDataDirectory() const;
};
