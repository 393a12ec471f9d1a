// Property ids and named-property LIDs the test-file writer sets, from the MAPI property lists.
#pragma once

#include <cstdint>

namespace pstbuilder::prop {

constexpr uint16_t kImportance = 0x0017;
constexpr uint16_t kMessageClass = 0x001A;
constexpr uint16_t kSensitivity = 0x0036;
constexpr uint16_t kSubject = 0x0037;
constexpr uint16_t kClientSubmitTime = 0x0039;
constexpr uint16_t kSentRepresentingName = 0x0042;
constexpr uint16_t kSentRepresentingEmail = 0x0065;
constexpr uint16_t kMessageToMe = 0x0057;
constexpr uint16_t kMessageCcMe = 0x0058;
constexpr uint16_t kConversationTopic = 0x0070;
constexpr uint16_t kSenderName = 0x0C1A;
constexpr uint16_t kSenderEmailAddress = 0x0C1F;
constexpr uint16_t kSenderAddressType = 0x0C1E;
constexpr uint16_t kRecipientType = 0x0C15;
constexpr uint16_t kDisplayBcc = 0x0E02;
constexpr uint16_t kDisplayCc = 0x0E03;
constexpr uint16_t kDisplayTo = 0x0E04;
constexpr uint16_t kMessageDeliveryTime = 0x0E06;
constexpr uint16_t kMessageFlags = 0x0E07;
constexpr uint16_t kMessageSize = 0x0E08;
constexpr uint16_t kMessageStatus = 0x0E17;
constexpr uint16_t kResponsibility = 0x0E0F;
constexpr uint16_t kRtfInSync = 0x0E1F;
constexpr uint16_t kAttachSize = 0x0E20;
constexpr uint16_t kAttachNumber = 0x0E21;
constexpr uint16_t kRecordKey = 0x0FF9;
constexpr uint16_t kObjectType = 0x0FFE;
constexpr uint16_t kEntryId = 0x0FFF;
constexpr uint16_t kBody = 0x1000;
constexpr uint16_t kRtfCompressed = 0x1009;
constexpr uint16_t kHtml = 0x1013;
constexpr uint16_t kNativeBodyInfo = 0x1016;
constexpr uint16_t kRowid = 0x3000;
constexpr uint16_t kDisplayName = 0x3001;
constexpr uint16_t kAddressType = 0x3002;
constexpr uint16_t kEmailAddress = 0x3003;
constexpr uint16_t kCreationTime = 0x3007;
constexpr uint16_t kLastModificationTime = 0x3008;
constexpr uint16_t kSearchKey = 0x300B;
constexpr uint16_t kValidFolderMask = 0x35DF;
constexpr uint16_t kIpmSubtreeEntryId = 0x35E0;
constexpr uint16_t kIpmWastebasketEntryId = 0x35E3;
constexpr uint16_t kFinderEntryId = 0x35E7;
constexpr uint16_t kContentCount = 0x3602;
constexpr uint16_t kContentUnreadCount = 0x3603;
constexpr uint16_t kSubfolders = 0x360A;
constexpr uint16_t kContainerClass = 0x3613;
constexpr uint16_t kAssocContentCount = 0x3617;
constexpr uint16_t kAttachDataBinary = 0x3701;  // PT_BINARY, or PT_OBJECT for an embedded message
constexpr uint16_t kAttachExtension = 0x3703;
constexpr uint16_t kAttachFilename = 0x3704;
constexpr uint16_t kAttachMethod = 0x3705;
constexpr uint16_t kAttachLongFilename = 0x3707;
constexpr uint16_t kRenderingPosition = 0x370B;
constexpr uint16_t kAttachMimeTag = 0x370E;
constexpr uint16_t kDisplayType = 0x3900;
constexpr uint16_t kSmtpAddress = 0x39FE;
constexpr uint16_t kInternetCodepage = 0x3FDE;
constexpr uint16_t kMessageCodepage = 0x3FFD;
constexpr uint16_t kPstPassword = 0x67FF;
constexpr uint16_t kLtpRowId = 0x67F2;
constexpr uint16_t kLtpRowVer = 0x67F3;

// Contact fields.
constexpr uint16_t kGeneration = 0x3A05;
constexpr uint16_t kGivenName = 0x3A06;
constexpr uint16_t kBusinessTelephoneNumber = 0x3A08;
constexpr uint16_t kSurname = 0x3A11;
constexpr uint16_t kPostalAddress = 0x3A15;
constexpr uint16_t kCompanyName = 0x3A16;
constexpr uint16_t kTitle = 0x3A17;
constexpr uint16_t kDepartmentName = 0x3A18;
constexpr uint16_t kPrimaryTelephoneNumber = 0x3A1A;
constexpr uint16_t kMobileTelephoneNumber = 0x3A1C;
constexpr uint16_t kBusinessFaxNumber = 0x3A24;
constexpr uint16_t kHomeFaxNumber = 0x3A25;
constexpr uint16_t kAssistant = 0x3A30;
constexpr uint16_t kWeddingAnniversary = 0x3A41;
constexpr uint16_t kBirthday = 0x3A42;
constexpr uint16_t kMiddleName = 0x3A44;
constexpr uint16_t kDisplayNamePrefix = 0x3A45;
constexpr uint16_t kSpouseName = 0x3A48;
constexpr uint16_t kManagerName = 0x3A4E;
constexpr uint16_t kNickname = 0x3A4F;
constexpr uint16_t kBusinessHomePage = 0x3A51;
constexpr uint16_t kChildrensNames = 0x3A58;
constexpr uint16_t kOtherAddressCity = 0x3A5F;
constexpr uint16_t kOtherAddressCountry = 0x3A60;
constexpr uint16_t kOtherAddressPostalCode = 0x3A61;
constexpr uint16_t kOtherAddressStateOrProvince = 0x3A62;
constexpr uint16_t kOtherAddressStreet = 0x3A63;

}  // namespace pstbuilder::prop

namespace pstbuilder::lid {

// PSETID_Appointment
constexpr uint32_t kLocation = 0x8208;
constexpr uint32_t kAppointmentStartWhole = 0x820D;
constexpr uint32_t kAppointmentEndWhole = 0x820E;
// PSETID_Task
constexpr uint32_t kTaskStartDate = 0x8104;
constexpr uint32_t kTaskDueDate = 0x8105;
// PSETID_Log
constexpr uint32_t kLogType = 0x8700;
constexpr uint32_t kLogStart = 0x8706;
constexpr uint32_t kLogEnd = 0x8708;
// PSETID_Address
constexpr uint32_t kHomeAddress = 0x801A;
constexpr uint32_t kWorkAddress = 0x801B;
constexpr uint32_t kWorkAddressStreet = 0x8045;
constexpr uint32_t kWorkAddressCity = 0x8046;
constexpr uint32_t kWorkAddressState = 0x8047;
constexpr uint32_t kWorkAddressPostalCode = 0x8048;
constexpr uint32_t kWorkAddressCountry = 0x8049;
constexpr uint32_t kEmail1DisplayName = 0x8080;
constexpr uint32_t kEmail1EmailAddress = 0x8083;
constexpr uint32_t kEmail2EmailAddress = 0x8093;
constexpr uint32_t kEmail3EmailAddress = 0x80A3;
constexpr uint32_t kDistributionListOneOffMembers = 0x8054;

}  // namespace pstbuilder::lid
