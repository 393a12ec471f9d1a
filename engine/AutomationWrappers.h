// Dispatch drivers for the Outlook and Redemption automation objects the engine reads a PST through.
// Each member is one late-bound call by a fixed dispatch identifier; nothing is looked up by name.
#pragma once

#include <afxdisp.h>

// Every wrapper is a COleDispatchDriver with no data of its own. Members that return an object
// hand back a raw IDispatch reference that the caller binds at once to a driver of the matching
// class (auto-release on). The wrappers catch nothing: a failed call throws the framework's
// COleDispatchException* or COleException*. A call on an empty driver does nothing and leaves the
// result as initialised here (empty text, 0, FALSE, null object). Use a driver on the thread that
// obtained its interface.
#define BRINDLE_DISPATCH_DRIVER(Class, Base)                                                          \
 public:                                                                                              \
  Class() = default;                                                                                  \
  explicit Class(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE) : Base(lpDispatch, bAutoRelease) {} \
  Class(const Class& other) = default;                                                                \
  Class& operator=(const Class& other) = default;

class OutlookApplicationDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(OutlookApplicationDispatch, COleDispatchDriver)
  LPDISPATCH GetNamespace(LPCWSTR type);
  void Quit();
};

class OutlookNameSpaceDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(OutlookNameSpaceDispatch, COleDispatchDriver)
  void Logon(const VARIANT& profile, const VARIANT& password, const VARIANT& showDialog,
             const VARIANT& newSession);
  void Logoff();
  void AddStore(const VARIANT& path);
};

class RdoSessionDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(RdoSessionDispatch, COleDispatchDriver)
  BOOL GetLoggedOn();
  void Logon(const VARIANT& profile, const VARIANT& password, const VARIANT& showDialog,
             const VARIANT& newSession, const VARIANT& parentWindow, const VARIANT& noMailbox);
  LPDISPATCH GetStores();
  void Logoff();
};

class RdoStoresDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(RdoStoresDispatch, COleDispatchDriver)
  LPDISPATCH AddPstStore(LPCWSTR path, const VARIANT& format, const VARIANT& displayName);
};

// The member every Redemption object of the session shares; the store and the folders have it.
class RdoDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(RdoDispatch, COleDispatchDriver)
  void CallMethod6();
};

class RdoStoreDispatch : public RdoDispatch {
  BRINDLE_DISPATCH_DRIVER(RdoStoreDispatch, RdoDispatch)
  LPDISPATCH GetRootFolder();
  CString GetName();
  void SetName(LPCWSTR name);
};

// MAPI's tag of a folder's stated content count (PR_CONTENT_COUNT, PT_LONG).
const long PR_CONTENT_COUNT_TAG = 0x36020003;
// The code a server's failure carries when the PST file itself can no longer be read (MAPI's
// MAPI_E_DISK_ERROR): it was cut short or written by another program after it was opened, or its disk no
// longer answers. Damaged data, and a place that the disk cannot read in a file still whole, fail with
// another code.
const SCODE PST_UNREADABLE_SCODE = static_cast<SCODE>(0x80040116L);
// Whether e is a server's failure of that kind. The exception is not deleted.
BOOL IsPstUnreadable(CException* e);

class RdoFolderDispatch : public RdoDispatch {
  BRINDLE_DISPATCH_DRIVER(RdoFolderDispatch, RdoDispatch)
  CString GetName();
  LPDISPATCH GetItems();
  LPDISPATCH GetFolders();
  // One of the folder's own properties by its MAPI tag; VT_EMPTY when the folder has none.
  COleVariant GetFields(long propTag);
};

class RdoFoldersDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(RdoFoldersDispatch, COleDispatchDriver)
  LPDISPATCH Add(LPCWSTR name, const VARIANT& folderClass);
  // The walk: each returns null after the last folder.
  LPDISPATCH GetFirst();
  LPDISPATCH GetNext();
};

class RdoItemsDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(RdoItemsDispatch, COleDispatchDriver)
  long GetCount();
  // index is 1-based.
  LPDISPATCH Item(const VARIANT& index);
};

class RdoAttachmentsDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(RdoAttachmentsDispatch, COleDispatchDriver)
  long GetCount();
  LPDISPATCH Item(const VARIANT& index);
};

class RdoAttachmentDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(RdoAttachmentDispatch, COleDispatchDriver)
  CString GetFileName();
  void SaveAsFile(LPCWSTR path);
};

// Members of every item kind; the kind classes below derive from it.
class RdoItemDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(RdoItemDispatch, COleDispatchDriver)
  // 1 plain, 2 HTML, 3 rich text.
  long GetBodyFormat();
  LPDISPATCH GetAttachments();
};

class RdoMailDispatch : public RdoItemDispatch {
  BRINDLE_DISPATCH_DRIVER(RdoMailDispatch, RdoItemDispatch)
  CString GetSubject();
  CString GetBcc();
  CString GetBody();
  CString GetCc();
  DATE GetDateProperty18();
  CString GetHtmlBody();
  CString GetMessageClass();
  DATE GetDateProperty41();
  CString GetSenderName();
  DATE GetDateProperty57();
  CString GetTo();
  CString GetStringProperty69();
};

// A distribution list ("IPM.DistList"): the mail members serve its name (the subject), its notes (the
// body), its sender and its dates; its members are address entries.
class RdoDistListDispatch : public RdoMailDispatch {
  BRINDLE_DISPATCH_DRIVER(RdoDistListDispatch, RdoMailDispatch)
  long GetMemberCount();
  // index is 1-based; an RdoAddressEntryDispatch.
  LPDISPATCH GetMember(long index);
};

// One member of a distribution list.
class RdoAddressEntryDispatch : public COleDispatchDriver {
  BRINDLE_DISPATCH_DRIVER(RdoAddressEntryDispatch, COleDispatchDriver)
  CString GetName();
  CString GetAddress();
};

class RdoTaskDispatch : public RdoItemDispatch {
  BRINDLE_DISPATCH_DRIVER(RdoTaskDispatch, RdoItemDispatch)
  CString GetSubject();
  CString GetBody();
  CString GetHtmlBody();
  CString GetFrom();
  CString GetSendTo();
  CString GetStringProperty69();
  DATE GetDateProperty60040011();
  DATE GetDateProperty60040020();
};

class RdoAppointmentDispatch : public RdoItemDispatch {
  BRINDLE_DISPATCH_DRIVER(RdoAppointmentDispatch, RdoItemDispatch)
  CString GetSubject();
  CString GetBody();
  CString GetHtmlBody();
  CString GetFrom();
  CString GetStringProperty52();
  CString GetSendTo();
  CString GetStringProperty69();
  DATE GetDateProperty6004000a();
  DATE GetDateProperty60040042();
  CString GetLocation();
  // Whether the appointment repeats by a recurrence pattern.
  BOOL GetIsRecurring();
};

class RdoJournalDispatch : public RdoItemDispatch {
  BRINDLE_DISPATCH_DRIVER(RdoJournalDispatch, RdoItemDispatch)
  CString GetSubject();
  CString GetBody();
  CString GetCategories();
  CString GetHtmlBody();
  CString GetFrom();
  CString GetStringProperty69();
  DATE GetDateProperty6004000d();
};

class RdoContactDispatch : public RdoItemDispatch {
  BRINDLE_DISPATCH_DRIVER(RdoContactDispatch, RdoItemDispatch)
  CString GetSubject();
  CString GetBody();
  CString GetCategories();
  CString GetHtmlBody();
  long GetLongProperty28();
  CString GetFrom();
  CString GetStringProperty52();
  CString GetSendTo();
  CString GetStringProperty69();

  DATE GetAnniversary();
  CString GetAssistant();
  DATE GetBirthday();
  CString GetOfficePhoneNumber();
  CString GetBusinessAddress();
  CString GetOfficeCity();
  CString GetOfficeCountry();
  CString GetOfficeZIP();
  CString GetOfficeState();
  CString GetOfficeStreetAddress();
  CString GetOfficeFAXPhoneNumber();
  CString GetChildren();
  CString GetCompanyName();
  CString GetDepartment();
  CString GetEmail1();
  CString GetEmail2();
  CString GetEmail3();
  CString GetFirstName();
  CString GetFullName();
  CString GetHomeAddress();
  CString GetHomeFAXPhoneNumber();
  CString GetJobTitle();
  CString GetLastName();
  CString GetMailAddress();
  CString GetManager();
  CString GetMiddleInitial();
  CString GetCellPhoneNumber();
  CString GetShortName();
  CString GetOtherCity();
  CString GetOtherCountry();
  CString GetOtherZip();
  CString GetOtherState();
  CString GetOtherStreetAddress();
  CString GetPrimaryPhoneNumber();
  CString GetSpouse();
  CString GetSuffix();
  CString GetTitle();
  CString GetWebSite();
};
