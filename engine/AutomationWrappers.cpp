// The dispatch drivers of the Outlook and Redemption objects: one InvokeHelper call per member.
#include "AutomationWrappers.h"

namespace {

const BYTE* Params(const char* codes) { return reinterpret_cast<const BYTE*>(codes); }

CString GetText(COleDispatchDriver& driver, DISPID id) {
  CString result;
  driver.InvokeHelper(id, DISPATCH_PROPERTYGET, VT_BSTR, &result, nullptr);
  return result;
}

DATE GetDate(COleDispatchDriver& driver, DISPID id) {
  DATE result = 0;
  driver.InvokeHelper(id, DISPATCH_PROPERTYGET, VT_DATE, &result, nullptr);
  return result;
}

long GetInteger(COleDispatchDriver& driver, DISPID id) {
  long result = 0;
  driver.InvokeHelper(id, DISPATCH_PROPERTYGET, VT_I4, &result, nullptr);
  return result;
}

LPDISPATCH GetObjectProperty(COleDispatchDriver& driver, DISPID id) {
  LPDISPATCH result = nullptr;
  driver.InvokeHelper(id, DISPATCH_PROPERTYGET, VT_DISPATCH, &result, nullptr);
  return result;
}

LPDISPATCH CallForObject(COleDispatchDriver& driver, DISPID id) {
  LPDISPATCH result = nullptr;
  driver.InvokeHelper(id, DISPATCH_METHOD, VT_DISPATCH, &result, nullptr);
  return result;
}

void Call(COleDispatchDriver& driver, DISPID id) {
  driver.InvokeHelper(id, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
}

}  // namespace

#define BRINDLE_TEXT_GET(Class, Member, id) \
  CString Class::Member() { return GetText(*this, id); }
#define BRINDLE_DATE_GET(Class, Member, id) \
  DATE Class::Member() { return GetDate(*this, id); }

LPDISPATCH OutlookApplicationDispatch::GetNamespace(LPCWSTR type) {
  LPDISPATCH result = nullptr;
  InvokeHelper(0x110, DISPATCH_METHOD, VT_DISPATCH, &result, Params(VTS_BSTR), type);
  return result;
}

void OutlookApplicationDispatch::Quit() { Call(*this, 0x113); }

void OutlookNameSpaceDispatch::Logon(const VARIANT& profile, const VARIANT& password,
                                     const VARIANT& showDialog, const VARIANT& newSession) {
  InvokeHelper(0x2105, DISPATCH_METHOD, VT_EMPTY, nullptr,
               Params(VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT), &profile, &password, &showDialog,
               &newSession);
}

void OutlookNameSpaceDispatch::Logoff() { Call(*this, 0x2106); }

void OutlookNameSpaceDispatch::AddStore(const VARIANT& path) {
  InvokeHelper(0x2119, DISPATCH_METHOD, VT_EMPTY, nullptr, Params(VTS_VARIANT), &path);
}

BOOL RdoSessionDispatch::GetLoggedOn() {
  BOOL result = FALSE;
  InvokeHelper(0x2, DISPATCH_PROPERTYGET, VT_BOOL, &result, nullptr);
  return result;
}

void RdoSessionDispatch::Logon(const VARIANT& profile, const VARIANT& password, const VARIANT& showDialog,
                               const VARIANT& newSession, const VARIANT& parentWindow,
                               const VARIANT& noMailbox) {
  InvokeHelper(0x4, DISPATCH_METHOD, VT_EMPTY, nullptr,
               Params(VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT), &profile,
               &password, &showDialog, &newSession, &parentWindow, &noMailbox);
}

LPDISPATCH RdoSessionDispatch::GetStores() { return GetObjectProperty(*this, 0x6); }

void RdoSessionDispatch::Logoff() { Call(*this, 0x12); }

LPDISPATCH RdoStoresDispatch::AddPstStore(LPCWSTR path, const VARIANT& format, const VARIANT& displayName) {
  LPDISPATCH result = nullptr;
  InvokeHelper(0x5, DISPATCH_METHOD, VT_DISPATCH, &result, Params(VTS_BSTR VTS_VARIANT VTS_VARIANT), path,
               &format, &displayName);
  return result;
}

void RdoDispatch::CallMethod6() { Call(*this, 0x6); }

LPDISPATCH RdoStoreDispatch::GetRootFolder() { return GetObjectProperty(*this, 0x68); }
BRINDLE_TEXT_GET(RdoStoreDispatch, GetName, 0xA)

void RdoStoreDispatch::SetName(LPCWSTR name) {
  InvokeHelper(0xA, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, Params(VTS_BSTR), name);
}

BRINDLE_TEXT_GET(RdoFolderDispatch, GetName, 0x0)
LPDISPATCH RdoFolderDispatch::GetItems() { return GetObjectProperty(*this, 0x11); }
LPDISPATCH RdoFolderDispatch::GetFolders() { return GetObjectProperty(*this, 0x12); }

COleVariant RdoFolderDispatch::GetFields(long propTag) {
  VARIANT result;
  VariantInit(&result);
  InvokeHelper(0x14, DISPATCH_PROPERTYGET, VT_VARIANT, &result, Params(VTS_I4), propTag);
  COleVariant value;
  value.Attach(result);
  return value;
}

BOOL IsPstUnreadable(CException* e) {
  const auto* dispatch = dynamic_cast<COleDispatchException*>(e);
  return dispatch != nullptr && dispatch->m_scError == PST_UNREADABLE_SCODE;
}

LPDISPATCH RdoFoldersDispatch::Add(LPCWSTR name, const VARIANT& folderClass) {
  LPDISPATCH result = nullptr;
  InvokeHelper(0x4, DISPATCH_METHOD, VT_DISPATCH, &result, Params(VTS_BSTR VTS_VARIANT), name, &folderClass);
  return result;
}

LPDISPATCH RdoFoldersDispatch::GetFirst() { return CallForObject(*this, 0x5); }
LPDISPATCH RdoFoldersDispatch::GetNext() { return CallForObject(*this, 0x7); }

long RdoItemsDispatch::GetCount() { return GetInteger(*this, 0x1); }

LPDISPATCH RdoItemsDispatch::Item(const VARIANT& index) {
  LPDISPATCH result = nullptr;
  InvokeHelper(0x9, DISPATCH_METHOD, VT_DISPATCH, &result, Params(VTS_VARIANT), &index);
  return result;
}

long RdoAttachmentsDispatch::GetCount() { return GetInteger(*this, 0x50); }

LPDISPATCH RdoAttachmentsDispatch::Item(const VARIANT& index) {
  LPDISPATCH result = nullptr;
  InvokeHelper(0x0, DISPATCH_PROPERTYGET, VT_DISPATCH, &result, Params(VTS_VARIANT), &index);
  return result;
}

BRINDLE_TEXT_GET(RdoAttachmentDispatch, GetFileName, 0x68)

void RdoAttachmentDispatch::SaveAsFile(LPCWSTR path) {
  InvokeHelper(0xB, DISPATCH_METHOD, VT_EMPTY, nullptr, Params(VTS_BSTR), path);
}

long RdoItemDispatch::GetBodyFormat() { return GetInteger(*this, 0xC); }
LPDISPATCH RdoItemDispatch::GetAttachments() { return GetObjectProperty(*this, 0x49); }

BRINDLE_TEXT_GET(RdoMailDispatch, GetSubject, 0x0)
BRINDLE_TEXT_GET(RdoMailDispatch, GetBcc, 0x9)
BRINDLE_TEXT_GET(RdoMailDispatch, GetBody, 0xB)
BRINDLE_TEXT_GET(RdoMailDispatch, GetCc, 0xE)
BRINDLE_DATE_GET(RdoMailDispatch, GetDateProperty18, 0x12)
BRINDLE_TEXT_GET(RdoMailDispatch, GetHtmlBody, 0x1A)
BRINDLE_TEXT_GET(RdoMailDispatch, GetMessageClass, 0x1E)
BRINDLE_DATE_GET(RdoMailDispatch, GetDateProperty41, 0x29)
BRINDLE_TEXT_GET(RdoMailDispatch, GetSenderName, 0x32)
BRINDLE_DATE_GET(RdoMailDispatch, GetDateProperty57, 0x39)
BRINDLE_TEXT_GET(RdoMailDispatch, GetTo, 0x40)
BRINDLE_TEXT_GET(RdoMailDispatch, GetStringProperty69, 0x45)

BRINDLE_TEXT_GET(RdoTaskDispatch, GetSubject, 0x0)
BRINDLE_TEXT_GET(RdoTaskDispatch, GetBody, 0xB)
BRINDLE_TEXT_GET(RdoTaskDispatch, GetHtmlBody, 0x1A)
BRINDLE_TEXT_GET(RdoTaskDispatch, GetFrom, 0x32)
BRINDLE_TEXT_GET(RdoTaskDispatch, GetSendTo, 0x40)
BRINDLE_TEXT_GET(RdoTaskDispatch, GetStringProperty69, 0x45)
BRINDLE_DATE_GET(RdoTaskDispatch, GetDateProperty60040011, 0x60040011)
BRINDLE_DATE_GET(RdoTaskDispatch, GetDateProperty60040020, 0x60040020)

BRINDLE_TEXT_GET(RdoAppointmentDispatch, GetSubject, 0x0)
BRINDLE_TEXT_GET(RdoAppointmentDispatch, GetBody, 0xB)
BRINDLE_TEXT_GET(RdoAppointmentDispatch, GetHtmlBody, 0x1A)
BRINDLE_TEXT_GET(RdoAppointmentDispatch, GetFrom, 0x32)
BRINDLE_TEXT_GET(RdoAppointmentDispatch, GetStringProperty52, 0x34)
BRINDLE_TEXT_GET(RdoAppointmentDispatch, GetSendTo, 0x40)
BRINDLE_TEXT_GET(RdoAppointmentDispatch, GetStringProperty69, 0x45)
BRINDLE_DATE_GET(RdoAppointmentDispatch, GetDateProperty6004000a, 0x6004000A)
BRINDLE_DATE_GET(RdoAppointmentDispatch, GetDateProperty60040042, 0x60040042)
BRINDLE_TEXT_GET(RdoAppointmentDispatch, GetLocation, 0x60040049)

long RdoDistListDispatch::GetMemberCount() { return GetInteger(*this, 0x60040001); }

LPDISPATCH RdoDistListDispatch::GetMember(long index) {
  LPDISPATCH result = nullptr;
  InvokeHelper(0x60040003, DISPATCH_METHOD, VT_DISPATCH, &result, Params(VTS_I4), index);
  return result;
}

BRINDLE_TEXT_GET(RdoAddressEntryDispatch, GetName, 0x1)
BRINDLE_TEXT_GET(RdoAddressEntryDispatch, GetAddress, 0x2)

BOOL RdoAppointmentDispatch::GetIsRecurring() {
  BOOL result = FALSE;
  InvokeHelper(0x60040005, DISPATCH_PROPERTYGET, VT_BOOL, &result, nullptr);
  return result;
}

BRINDLE_TEXT_GET(RdoJournalDispatch, GetSubject, 0x0)
BRINDLE_TEXT_GET(RdoJournalDispatch, GetBody, 0xB)
BRINDLE_TEXT_GET(RdoJournalDispatch, GetCategories, 0xD)
BRINDLE_TEXT_GET(RdoJournalDispatch, GetHtmlBody, 0x1A)
BRINDLE_TEXT_GET(RdoJournalDispatch, GetFrom, 0x32)
BRINDLE_TEXT_GET(RdoJournalDispatch, GetStringProperty69, 0x45)
BRINDLE_DATE_GET(RdoJournalDispatch, GetDateProperty6004000d, 0x6004000D)

BRINDLE_TEXT_GET(RdoContactDispatch, GetSubject, 0x0)
BRINDLE_TEXT_GET(RdoContactDispatch, GetBody, 0xB)
BRINDLE_TEXT_GET(RdoContactDispatch, GetCategories, 0xD)
BRINDLE_TEXT_GET(RdoContactDispatch, GetHtmlBody, 0x1A)
long RdoContactDispatch::GetLongProperty28() { return GetInteger(*this, 0x1C); }
BRINDLE_TEXT_GET(RdoContactDispatch, GetFrom, 0x32)
BRINDLE_TEXT_GET(RdoContactDispatch, GetStringProperty52, 0x34)
BRINDLE_TEXT_GET(RdoContactDispatch, GetSendTo, 0x40)
BRINDLE_TEXT_GET(RdoContactDispatch, GetStringProperty69, 0x45)

BRINDLE_DATE_GET(RdoContactDispatch, GetAnniversary, 0x60040002)
BRINDLE_TEXT_GET(RdoContactDispatch, GetAssistant, 0x60040004)
BRINDLE_DATE_GET(RdoContactDispatch, GetBirthday, 0x60040008)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOfficePhoneNumber, 0x6004000A)
BRINDLE_TEXT_GET(RdoContactDispatch, GetBusinessAddress, 0x6004000C)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOfficeCity, 0x6004000E)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOfficeCountry, 0x60040010)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOfficeZIP, 0x60040012)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOfficeState, 0x60040016)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOfficeStreetAddress, 0x60040018)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOfficeFAXPhoneNumber, 0x6004001A)
BRINDLE_TEXT_GET(RdoContactDispatch, GetChildren, 0x60040024)
BRINDLE_TEXT_GET(RdoContactDispatch, GetCompanyName, 0x6004002D)
BRINDLE_TEXT_GET(RdoContactDispatch, GetDepartment, 0x60040033)
BRINDLE_TEXT_GET(RdoContactDispatch, GetEmail1, 0x60040035)
BRINDLE_TEXT_GET(RdoContactDispatch, GetEmail2, 0x6004003B)
BRINDLE_TEXT_GET(RdoContactDispatch, GetEmail3, 0x60040043)
BRINDLE_TEXT_GET(RdoContactDispatch, GetFirstName, 0x6004004D)
BRINDLE_TEXT_GET(RdoContactDispatch, GetFullName, 0x60040051)
BRINDLE_TEXT_GET(RdoContactDispatch, GetHomeAddress, 0x6004005D)
BRINDLE_TEXT_GET(RdoContactDispatch, GetHomeFAXPhoneNumber, 0x6004006B)
BRINDLE_TEXT_GET(RdoContactDispatch, GetJobTitle, 0x60040077)
BRINDLE_TEXT_GET(RdoContactDispatch, GetLastName, 0x60040083)
BRINDLE_TEXT_GET(RdoContactDispatch, GetMailAddress, 0x60040086)
BRINDLE_TEXT_GET(RdoContactDispatch, GetManager, 0x60040094)
BRINDLE_TEXT_GET(RdoContactDispatch, GetMiddleInitial, 0x60040096)
BRINDLE_TEXT_GET(RdoContactDispatch, GetCellPhoneNumber, 0x60040098)
BRINDLE_TEXT_GET(RdoContactDispatch, GetShortName, 0x6004009E)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOtherCity, 0x600400A6)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOtherCountry, 0x600400A8)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOtherZip, 0x600400AA)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOtherState, 0x600400AE)
BRINDLE_TEXT_GET(RdoContactDispatch, GetOtherStreetAddress, 0x600400B0)
BRINDLE_TEXT_GET(RdoContactDispatch, GetPrimaryPhoneNumber, 0x600400BA)
BRINDLE_TEXT_GET(RdoContactDispatch, GetSpouse, 0x600400C4)
BRINDLE_TEXT_GET(RdoContactDispatch, GetSuffix, 0x600400C6)
BRINDLE_TEXT_GET(RdoContactDispatch, GetTitle, 0x600400CA)
BRINDLE_TEXT_GET(RdoContactDispatch, GetWebSite, 0x600400D8)
