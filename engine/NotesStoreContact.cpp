// The contact saver: a Person document of text items, without attachments.
#include "AutomationWrappers.h"
#include "ItemBody.h"
#include "NotesCalls.h"
#include "NotesItemWriters.h"
#include "NotesStore.h"

namespace {

CString LongText(long value) {
  CString text;
  text.Format(L"%ld", value);
  return text;
}

}  // namespace

CString ContactDateText(DATE date) {
  const COleDateTime value(date);
  if (value.GetStatus() != COleDateTime::valid || date == 0) return CString();
  const int year = value.GetYear();
  if (year < 1601 || year >= 4500) return CString();
  CString text;
  text.Format(L"%02d/%02d/%04d", value.GetMonth(), value.GetDay(), year);
  return text;
}

int CNotesStore::SaveContact(RdoContactDispatch* item) {
  LNDocument note;
  CreateOpenDocument(m_db, &note);
  UndoOnFailure removeUnfiled([&] { RemoveUnfiledNote(note); });
  WriteContactBody(item, m_bPlainTextBody, note);

  AddTextItem(L"$AddressFormat", L"1", note);
  AddTextItem(L"$BorderColor", L"7F96A3", note);
  AddTextItem(L"$BusinessAddressFormat", L"1", note);
  AddTextItem(L"$ConflictAction", L"1", note);
  AddTextItem(L"$NameFormat", L"1", note);
  AddTextItem(L"$PersonalAddressFormat", L"1", note);
  AddTextItem(L"$PersonalAddressFormat1", L"1", note);
  AddTextItem(L"$PreviewFormat", L"1", note);
  AddTextItem(L"$PreviewFormat1", L"1", note);
  AddTextItem(L"Form", L"Person", note);

  // Every row reads its property anew, so a full name or address shared by several items is read once
  // per item.
  AddTextItem(L"Subject", item->GetSubject(), note);
  AddTextItem(L"SendTo", item->GetSendTo(), note);
  AddTextItem(L"From", item->GetFrom(), note);
  AddTextItem(L"From", item->GetStringProperty52(), note);
  AddTextItem(L"FullNameInput", item->GetFullName(), note);
  AddTextItem(L"NameHelperInput", item->GetFullName(), note);
  AddTextItem(L"CompanyName", item->GetCompanyName(), note);
  AddTextItem(L"JobTitle", item->GetJobTitle(), note);
  AddTextItem(L"AltFullName", item->GetFullName(), note);
  AddTextItem(L"FirstName", item->GetFirstName(), note);
  AddTextItem(L"MiddleInitial", item->GetMiddleInitial(), note);
  AddTextItem(L"LastName", item->GetLastName(), note);
  AddTextItem(L"Title", item->GetTitle(), note);
  AddTextItem(L"Suffix", item->GetSuffix(), note);
  AddTextItem(L"MailAddress", item->GetMailAddress(), note);
  AddTextItem(L"InternetAddress", LongText(item->GetLongProperty28()), note);
  AddTextItem(L"primaryPhoneNumber", item->GetPrimaryPhoneNumber(), note);
  AddTextItem(L"dspEmail1", item->GetEmail1(), note);
  AddTextItem(L"dspEmail2", item->GetEmail2(), note);
  AddTextItem(L"dspEmail3", item->GetEmail3(), note);
  AddTextItem(L"email_1", item->GetEmail1(), note);
  AddTextItem(L"MiscPhone1", item->GetEmail3(), note);
  AddTextItem(L"email_5", item->GetEmail2(), note);
  AddTextItem(L"OfficePhoneNumber", item->GetOfficePhoneNumber(), note);
  AddTextItem(L"CellPhoneNumber", item->GetCellPhoneNumber(), note);
  AddTextItem(L"OfficeFAXPhoneNumber", item->GetOfficeFAXPhoneNumber(), note);
  AddTextItem(L"HomeFAXPhoneNumber", item->GetHomeFAXPhoneNumber(), note);
  AddTextItem(L"Department", item->GetDepartment(), note);
  AddTextItem(L"Manager", item->GetManager(), note);
  AddTextItem(L"Assistant", item->GetAssistant(), note);
  AddTextItem(L"WebSite", item->GetWebSite(), note);
  AddTextItem(L"Spouse", item->GetSpouse(), note);
  AddTextItem(L"Children", item->GetChildren(), note);
  AddTextItem(L"Birthday", ContactDateText(item->GetBirthday()), note);
  AddTextItem(L"Anniversary", ContactDateText(item->GetAnniversary()), note);
  AddTextItem(L"OfficeStreetAddress", item->GetOfficeStreetAddress(), note);
  AddTextItem(L"OfficeCity", item->GetOfficeCity(), note);
  AddTextItem(L"OfficeState", item->GetOfficeState(), note);
  AddTextItem(L"OfficeZIP", item->GetOfficeZIP(), note);
  AddTextItem(L"OfficeCountry", item->GetOfficeCountry(), note);
  AddTextItem(L"StreetAddress", item->GetOfficeStreetAddress(), note);
  AddTextItem(L"country", item->GetOfficeCountry(), note);
  AddTextItem(L"OtherStreetAddress", item->GetOtherStreetAddress(), note);
  AddTextItem(L"OtherCity", item->GetOtherCity(), note);
  AddTextItem(L"OtherState", item->GetOtherState(), note);
  AddTextItem(L"OtherZip", item->GetOtherZip(), note);
  AddTextItem(L"OtherCountry", item->GetOtherCountry(), note);
  AddTextItem(L"Categories", item->GetCategories(), note);
  AddTextItem(L"FullName", item->GetFullName(), note);
  AddTextItem(L"ShortName", item->GetShortName(), note);
  AddTextItem(L"HomeAddress", item->GetHomeAddress(), note);
  AddTextItem(L"BusinessAddress", item->GetBusinessAddress(), note);

  ThrowIfNotesError(note.Save(0));
  FileAndClose(note);
  return 1;
}
