// The contact's detail record: its field table, its three text blocks and its RTF detail page.
#include "ContactDetails.h"

#include "ItemDetails.h"
#include "RtfPage.h"

namespace {

// "MiscPhone2" is captioned like its neighbours.
const ContactField kFields[CONTACT_FIELD_COUNT] = {
    {"From", "From : ", &ContactDetails::m_strFrom, 1},
    {"FullNameInput", "Full Name : ", &ContactDetails::m_strFullNameInput, 1},
    {"NameHelperInput", "Name Helper : ", &ContactDetails::m_strNameHelperInput, 1},
    {"CompanyName", "Company Name : ", &ContactDetails::m_strCompanyName, 1},
    {"JobTitle", "Job Title : ", &ContactDetails::m_strJobTitle, 1},
    {"AltFullName", "Alt FullName : ", &ContactDetails::m_strAltFullName, 1},
    {"FirstName", "First Name : ", &ContactDetails::m_strFirstName, 1},
    {"MiddleInitial", "Middle Initial : ", &ContactDetails::m_strMiddleInitial, 1},
    {"LastName", "Last Name : ", &ContactDetails::m_strLastName, 1},
    {"Title", "Title : ", &ContactDetails::m_strTitle, 1},
    {"Suffix", "Suffix : ", &ContactDetails::m_strSuffix, 1},
    {"MailAddress", "Mail Address : ", &ContactDetails::m_strMailAddress, 1},
    {"InternetAddress", "Internet Address : ", &ContactDetails::m_strInternetAddress, 1},
    {"primaryPhoneNumber", "Primary PhoneNumber : ", &ContactDetails::m_strprimaryPhoneNumber, 1},
    {"primaryAddress", "Primary Address : ", &ContactDetails::m_strprimaryAddress, 1},
    {"email_1", "Email 1 : ", &ContactDetails::m_stremail_1, 1},
    {"MiscPhone1", "Misc Phone1 : ", &ContactDetails::m_strMiscPhone1, 1},
    {"MiscPhone2", "Misc Phone2 : ", &ContactDetails::m_strMiscPhone2, 1},
    {"MiscPhone3", "Misc Phone3 : ", &ContactDetails::m_strMiscPhone3, 1},
    {"email_5", "Email 5 : ", &ContactDetails::m_stremail_5, 1},
    {"OfficePhoneNumber", "Office Phone Number : ", &ContactDetails::m_strOfficePhoneNumber, 1},
    {"PhoneNumber", "Phone Number : ", &ContactDetails::m_strPhoneNumber, 1},
    {"CellPhoneNumber", "Cell Phone Number : ", &ContactDetails::m_strCellPhoneNumber, 2},
    {"OfficeFAXPhoneNumber", "Office FAX Phone Number : ", &ContactDetails::m_strOfficeFAXPhoneNumber, 2},
    {"PhoneNumber_6", "Phone Number 6 : ", &ContactDetails::m_strPhoneNumber_6, 2},
    {"PhoneNumber_8", "Phone Number 8 : ", &ContactDetails::m_strPhoneNumber_8, 2},
    {"HomeFAXPhoneNumber", "Home FAX Phone Number : ", &ContactDetails::m_strHomeFAXPhoneNumber, 2},
    {"PhoneNumber_9", "Phone Number 9 : ", &ContactDetails::m_strPhoneNumber_9, 2},
    {"PhoneNumber_10", "Phone Number 10 : ", &ContactDetails::m_strPhoneNumber_10, 2},
    {"SametimeLogin", "Sametime Login : ", &ContactDetails::m_strSametimeLogin, 2},
    {"Department", "Department : ", &ContactDetails::m_strDepartment, 2},
    {"Location", "Location : ", &ContactDetails::m_strLocation, 2},
    {"Manager", "Manager : ", &ContactDetails::m_strManager, 2},
    {"Assistant", "Assistant : ", &ContactDetails::m_strAssistant, 2},
    {"WebSite", "WebSite : ", &ContactDetails::m_strWebSite, 2},
    {"Blogsite", "Blogsite : ", &ContactDetails::m_strBlogsite, 2},
    {"Spouse", "Spouse : ", &ContactDetails::m_strSpouse, 2},
    {"Children", "Children : ", &ContactDetails::m_strChildren, 2},
    {"Birthday", "Birthday : ", &ContactDetails::m_strBirthday, 2},
    {"Anniversary", "Anniversary : ", &ContactDetails::m_strAnniversary, 2},
    {"OfficeStreetAddress", "Office Street Address : ", &ContactDetails::m_strOfficeStreetAddress, 3},
    {"OfficeCity", "Office City : ", &ContactDetails::m_strOfficeCity, 3},
    {"OfficeState", "Office State : ", &ContactDetails::m_strOfficeState, 3},
    {"OfficeZIP", "Office ZIP : ", &ContactDetails::m_strOfficeZIP, 3},
    {"OfficeCountry", "Office Country : ", &ContactDetails::m_strOfficeCountry, 3},
    {"StreetAddress", "Street Address : ", &ContactDetails::m_strStreetAddress, 3},
    {"City", "City : ", &ContactDetails::m_strCity, 3},
    {"State", "State : ", &ContactDetails::m_strState, 3},
    {"Zip", "Zip : ", &ContactDetails::m_strZip, 3},
    {"country", "Country : ", &ContactDetails::m_strcountry, 3},
    {"OtherStreetAddress", "Other StreetAddress : ", &ContactDetails::m_strOtherStreetAddress, 3},
    {"OtherCity", "Other City : ", &ContactDetails::m_strOtherCity, 3},
    {"OtherState", "Other State : ", &ContactDetails::m_strOtherState, 3},
    {"OtherZip", "Other Zip : ", &ContactDetails::m_strOtherZip, 3},
    {"OtherCountry", "Other Country : ", &ContactDetails::m_strOtherCountry, 3},
    {"Categories", "Categories : ", &ContactDetails::m_strCategories, 3},
    {"FullName", "Full Name : ", &ContactDetails::m_strFullName, 3},
    {"ShortName", "Short Name : ", &ContactDetails::m_strShortName, 3},
    {"AltFullNameSort", "Alt FullNameSort : ", &ContactDetails::m_strAltFullNameSort, 3},
    {"MailDomain", "Mail Domain : ", &ContactDetails::m_strMailDomain, 3},
    {"MailSystem", "MailSystem : ", &ContactDetails::m_strMailSystem, 3},
    {"Type", "Type : ", &ContactDetails::m_strType, 3},
    {"InternetAddress1", "Internet Address1 : ", &ContactDetails::m_strInternetAddress1, 3},
    {"HomeAddress", "Home Address : ", &ContactDetails::m_strHomeAddress, 3},
    {"BusinessAddress", "Business Address : ", &ContactDetails::m_strBusinessAddress, 3},
    {"", "Attachments : ", &ContactDetails::m_strAttachments, 3},
};

CString Block(const ContactDetails& record, int block) {
  CString text;
  for (const ContactField& field : kFields) {
    if (field.block != block) continue;
    text += CString(field.caption);
    text += record.*field.member;
    text += L"\r\n";
  }
  return text;
}

}  // namespace

const ContactField* ContactFields() { return kFields; }

CString ContactDetails::TextPart1() const { return Block(*this, 1); }

CString ContactDetails::TextPart2() const { return Block(*this, 2); }

CString ContactDetails::TextPart3() const { return Block(*this, 3); }

CString ContactDetails::ToRtf(const CString& body) const {
  CString rows;
  for (const ContactField& field : kFields)
    rows += CalendarDetails::RtfRow(CString(field.caption), this->*field.member);
  return BuildRtfPage(L"Contact Item", nullptr, rows, body);
}
