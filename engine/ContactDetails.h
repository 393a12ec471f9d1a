// The contact's detail record: the 65 text items of a Notes Person document and its attachment list,
// shown by the NSF browser as three blocks of caption lines in the document list and as an RTF
// detail page in the preview.
#pragma once

#include <afx.h>

// A plain value of 66 texts in the order of ContactFields(); each field is named after the item it
// holds. A field whose item the document lacks is "".
class ContactDetails {
 public:
  CString m_strFrom;
  CString m_strFullNameInput;
  CString m_strNameHelperInput;
  CString m_strCompanyName;
  CString m_strJobTitle;
  CString m_strAltFullName;
  CString m_strFirstName;
  CString m_strMiddleInitial;
  CString m_strLastName;
  CString m_strTitle;
  CString m_strSuffix;
  CString m_strMailAddress;
  CString m_strInternetAddress;
  CString m_strprimaryPhoneNumber;
  CString m_strprimaryAddress;
  CString m_stremail_1;
  CString m_strMiscPhone1;
  CString m_strMiscPhone2;
  CString m_strMiscPhone3;
  CString m_stremail_5;
  CString m_strOfficePhoneNumber;
  CString m_strPhoneNumber;
  CString m_strCellPhoneNumber;
  CString m_strOfficeFAXPhoneNumber;
  CString m_strPhoneNumber_6;
  CString m_strPhoneNumber_8;
  CString m_strHomeFAXPhoneNumber;
  CString m_strPhoneNumber_9;
  CString m_strPhoneNumber_10;
  CString m_strSametimeLogin;
  CString m_strDepartment;
  CString m_strLocation;
  CString m_strManager;
  CString m_strAssistant;
  CString m_strWebSite;
  CString m_strBlogsite;
  CString m_strSpouse;
  CString m_strChildren;
  CString m_strBirthday;
  CString m_strAnniversary;
  CString m_strOfficeStreetAddress;
  CString m_strOfficeCity;
  CString m_strOfficeState;
  CString m_strOfficeZIP;
  CString m_strOfficeCountry;
  CString m_strStreetAddress;
  CString m_strCity;
  CString m_strState;
  CString m_strZip;
  CString m_strcountry;
  CString m_strOtherStreetAddress;
  CString m_strOtherCity;
  CString m_strOtherState;
  CString m_strOtherZip;
  CString m_strOtherCountry;
  CString m_strCategories;
  CString m_strFullName;
  CString m_strShortName;
  CString m_strAltFullNameSort;
  CString m_strMailDomain;
  CString m_strMailSystem;
  CString m_strType;
  CString m_strInternetAddress1;
  CString m_strHomeAddress;
  CString m_strBusinessAddress;
  CString m_strAttachments;

  // Blocks 1 (fields 1-22), 2 (23-40) and 3 (41-66): one line per field, its caption, its text as read,
  // CR LF. An attachment list brings its own CR LF after each attachment.
  CString TextPart1() const;
  CString TextPart2() const;
  CString TextPart3() const;
  // The detail page "Contact Item", one row per field with the field's caption (see CalendarDetails
  // for the page's form and escaping).
  CString ToRtf(const CString& body = CString()) const;
};

// One field of the record: the Notes item it is read from ("" for the attachment list), the caption of
// its line and row, and the block (1 to 3) that shows it.
struct ContactField {
  const char* item;
  const char* caption;
  CString ContactDetails::*member;
  int block;
};

const int CONTACT_FIELD_COUNT = 66;
// The fields in record order.
const ContactField* ContactFields();
