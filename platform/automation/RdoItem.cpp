// Item and attachment objects of the "Redemption.RDOSession" stand-in: where each dispatch
// identifier's value comes from, in terms of the public MAPI property definitions.
#include "RdoItem.h"

#include "HtmlText.h"
#include "MsgFileWriter.h"
#include "OleDates.h"

namespace automation {

namespace {

// Property ids (the high word of the tag) read by the item and attachment objects.
enum : uint16_t {
  kPrImportance = 0x0017,
  kPrMessageClass = 0x001A,
  kPrSubject = 0x0037,
  kPrClientSubmitTime = 0x0039,
  kPrSentRepresentingName = 0x0042,
  kPrSenderName = 0x0C1A,
  kPrDisplayBcc = 0x0E02,
  kPrDisplayCc = 0x0E03,
  kPrDisplayTo = 0x0E04,
  kPrMessageDeliveryTime = 0x0E06,
  kPrBody = 0x1000,
  kPrRtfCompressed = 0x1009,
  kPrHtml = 0x1013,
  kPrNativeBodyInfo = 0x1016,
  kPrDisplayName = 0x3001,
  kPrCreationTime = 0x3007,
  kPrInternetCpid = 0x3FDE,
  kPrAttachFilename = 0x3704,
  kPrAttachMethod = 0x3705,
  kPrAttachLongFilename = 0x3707,
};

std::wstring TextOf(const std::optional<PropValue>& value) {
  if (!value) return std::wstring();
  if (auto s = std::get_if<std::u16string>(&*value)) return ToWide(*s);
  if (auto list = std::get_if<std::vector<std::u16string>>(&*value)) {
    std::wstring joined;
    for (const std::u16string& s : *list) {
      if (!joined.empty()) joined += L"; ";
      joined += ToWide(s);
    }
    return joined;
  }
  if (auto i = std::get_if<int64_t>(&*value)) return std::to_wstring(*i);
  return std::wstring();
}

std::optional<FileTime> TimeOf(const std::optional<PropValue>& value) {
  if (value)
    if (auto t = std::get_if<FileTime>(&*value)) return *t;
  return std::nullopt;
}

std::optional<int64_t> IntegerOf(const std::optional<PropValue>& value) {
  if (value)
    if (auto i = std::get_if<int64_t>(&*value)) return *i;
  return std::nullopt;
}

enum class ItemKind { Other, Appointment, Task, Journal, Contact, DistList };

bool ClassIs(const std::wstring& messageClass, const wchar_t* base) {
  size_t n = wcslen(base);
  if (messageClass.size() < n || _wcsnicmp(messageClass.c_str(), base, n) != 0) return false;
  return messageClass.size() == n || messageClass[n] == L'.';
}

ItemKind KindOf(const std::wstring& messageClass) {
  if (ClassIs(messageClass, L"IPM.Appointment")) return ItemKind::Appointment;
  if (ClassIs(messageClass, L"IPM.Task")) return ItemKind::Task;
  if (ClassIs(messageClass, L"IPM.Activity")) return ItemKind::Journal;
  if (ClassIs(messageClass, L"IPM.Contact")) return ItemKind::Contact;
  if (ClassIs(messageClass, L"IPM.DistList")) return ItemKind::DistList;
  return ItemKind::Other;
}

// A distribution list's members: how many, and each one (1-based) as an address entry.
constexpr DISPID kMemberCount = 0x60040001;
constexpr DISPID kGetMember = 0x60040003;

// An appointment's IsRecurring: PidLidRecurring, or, where a writer left it out, whether the item
// carries a recurrence pattern (PidLidAppointmentRecur).
constexpr DISPID kIsRecurring = 0x60040005;

bool IsRecurring(PstMessage& message) {
  if (auto recurring = IntegerOf(message.NamedProperty(kPsetidAppointment, 0x8223))) return *recurring != 0;
  return message.NamedProperty(kPsetidAppointment, 0x8216).has_value();
}

// Where a kind's 0x600400xx value lives: a tagged property, or a named one (set, LID).
struct KindField {
  ItemKind kind;
  DISPID id;
  bool isDate;
  bool isLocalDate;  // stored as local wall-clock time already
  uint16_t tag;
  const Guid* set;
  uint32_t lid;
};

const KindField kKindFields[] = {
    {ItemKind::Appointment, 0x60040042, true, false, 0, &kPsetidAppointment, 0x820D},   // StartWhole
    {ItemKind::Appointment, 0x6004000A, true, false, 0, &kPsetidAppointment, 0x820E},   // EndWhole
    {ItemKind::Appointment, 0x60040049, false, false, 0, &kPsetidAppointment, 0x8208},  // Location
    {ItemKind::Task, 0x60040020, true, true, 0, &kPsetidTask, 0x8104},                  // TaskStartDate
    {ItemKind::Task, 0x60040011, true, true, 0, &kPsetidTask, 0x8105},                  // TaskDueDate
    {ItemKind::Journal, 0x6004000D, true, false, 0, &kPsetidLog, 0x8706},               // LogStart
    {ItemKind::Contact, 0x60040002, true, false, 0x3A41, nullptr, 0},   // PR_WEDDING_ANNIVERSARY
    {ItemKind::Contact, 0x60040004, false, false, 0x3A30, nullptr, 0},  // PR_ASSISTANT
    {ItemKind::Contact, 0x60040008, true, false, 0x3A42, nullptr, 0},   // PR_BIRTHDAY
    {ItemKind::Contact, 0x6004000A, false, false, 0x3A08, nullptr, 0},  // PR_BUSINESS_TELEPHONE_NUMBER
    {ItemKind::Contact, 0x6004000C, false, false, 0, &kPsetidAddress, 0x801B},  // WorkAddress
    {ItemKind::Contact, 0x6004000E, false, false, 0, &kPsetidAddress, 0x8046},  // WorkAddressCity
    {ItemKind::Contact, 0x60040010, false, false, 0, &kPsetidAddress, 0x8049},  // WorkAddressCountry
    {ItemKind::Contact, 0x60040012, false, false, 0, &kPsetidAddress, 0x8048},  // WorkAddressPostalCode
    {ItemKind::Contact, 0x60040016, false, false, 0, &kPsetidAddress, 0x8047},  // WorkAddressState
    {ItemKind::Contact, 0x60040018, false, false, 0, &kPsetidAddress, 0x8045},  // WorkAddressStreet
    {ItemKind::Contact, 0x6004001A, false, false, 0x3A24, nullptr, 0},          // PR_BUSINESS_FAX_NUMBER
    {ItemKind::Contact, 0x60040024, false, false, 0x3A58, nullptr, 0},          // PR_CHILDRENS_NAMES
    {ItemKind::Contact, 0x6004002D, false, false, 0x3A16, nullptr, 0},          // PR_COMPANY_NAME
    {ItemKind::Contact, 0x60040033, false, false, 0x3A18, nullptr, 0},          // PR_DEPARTMENT_NAME
    {ItemKind::Contact, 0x60040035, false, false, 0, &kPsetidAddress, 0x8083},  // Email1EmailAddress
    {ItemKind::Contact, 0x6004003B, false, false, 0, &kPsetidAddress, 0x8093},  // Email2EmailAddress
    {ItemKind::Contact, 0x60040043, false, false, 0, &kPsetidAddress, 0x80A3},  // Email3EmailAddress
    {ItemKind::Contact, 0x6004004D, false, false, 0x3A06, nullptr, 0},          // PR_GIVEN_NAME
    {ItemKind::Contact, 0x60040051, false, false, 0x3001, nullptr, 0},          // PR_DISPLAY_NAME
    {ItemKind::Contact, 0x6004005D, false, false, 0, &kPsetidAddress, 0x801A},  // HomeAddress
    {ItemKind::Contact, 0x6004006B, false, false, 0x3A25, nullptr, 0},          // PR_HOME_FAX_NUMBER
    {ItemKind::Contact, 0x60040077, false, false, 0x3A17, nullptr, 0},          // PR_TITLE
    {ItemKind::Contact, 0x60040083, false, false, 0x3A11, nullptr, 0},          // PR_SURNAME
    {ItemKind::Contact, 0x60040086, false, false, 0x3A15, nullptr, 0},          // PR_POSTAL_ADDRESS
    {ItemKind::Contact, 0x60040094, false, false, 0x3A4E, nullptr, 0},          // PR_MANAGER_NAME
    {ItemKind::Contact, 0x60040096, false, false, 0x3A44, nullptr, 0},          // PR_MIDDLE_NAME
    {ItemKind::Contact, 0x60040098, false, false, 0x3A1C, nullptr, 0},          // PR_MOBILE_TELEPHONE_NUMBER
    {ItemKind::Contact, 0x6004009E, false, false, 0x3A4F, nullptr, 0},          // PR_NICKNAME
    {ItemKind::Contact, 0x600400A6, false, false, 0x3A5F, nullptr, 0},          // PR_OTHER_ADDRESS_CITY
    {ItemKind::Contact, 0x600400A8, false, false, 0x3A60, nullptr, 0},          // PR_OTHER_ADDRESS_COUNTRY
    {ItemKind::Contact, 0x600400AA, false, false, 0x3A61, nullptr, 0},  // PR_OTHER_ADDRESS_POSTAL_CODE
    {ItemKind::Contact, 0x600400AE, false, false, 0x3A62, nullptr, 0},  // PR_OTHER_ADDRESS_STATE_OR_PROVINCE
    {ItemKind::Contact, 0x600400B0, false, false, 0x3A63, nullptr, 0},  // PR_OTHER_ADDRESS_STREET
    {ItemKind::Contact, 0x600400BA, false, false, 0x3A1A, nullptr, 0},  // PR_PRIMARY_TELEPHONE_NUMBER
    {ItemKind::Contact, 0x600400C4, false, false, 0x3A48, nullptr, 0},  // PR_SPOUSE_NAME
    {ItemKind::Contact, 0x600400C6, false, false, 0x3A05, nullptr, 0},  // PR_GENERATION
    {ItemKind::Contact, 0x600400CA, false, false, 0x3A45, nullptr, 0},  // PR_DISPLAY_NAME_PREFIX
    {ItemKind::Contact, 0x600400D8, false, false, 0x3A51, nullptr, 0},  // PR_BUSINESS_HOME_PAGE
};

std::wstring Latin1(const std::string& bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) out += static_cast<wchar_t>(c);
  return out;
}

std::optional<unsigned> InternetCodePage(PstMessage& message) {
  if (auto cp = IntegerOf(message.Property(kPrInternetCpid)))
    if (*cp > 0 && *cp < 65536) return static_cast<unsigned>(*cp);
  return std::nullopt;
}

std::optional<std::wstring> HtmlBodyOf(PstMessage& message) {
  std::optional<PropValue> html = message.Property(kPrHtml);
  if (html) {
    if (auto s = std::get_if<std::u16string>(&*html)) return ToWide(*s);
    if (auto b = std::get_if<std::string>(&*html)) return DecodeHtmlBytes(*b, InternetCodePage(message));
  }
  if (std::optional<std::u16string> fromRtf = message.HtmlFromRtf()) return ToWide(*fromRtf);
  return std::nullopt;
}

std::wstring PlainBodyOf(PstMessage& message) {
  // Some writers store an empty plain body beside the real HTML or RTF one.
  std::wstring body = TextOf(message.Property(kPrBody));
  if (!body.empty()) return body;
  if (std::optional<std::wstring> html = HtmlBodyOf(message)) return HtmlToPlainText(*html);
  if (std::optional<std::u16string> fromRtf = message.PlainTextFromRtf()) return ToWide(*fromRtf);
  return std::wstring();
}

long BodyFormatOf(PstMessage& message) {
  if (auto native = IntegerOf(message.Property(kPrNativeBodyInfo))) {
    switch (*native) {
      case 1:
        return 1;
      case 2:
        return 3;
      case 3:
        return 2;
    }
  }
  if (message.Property(kPrHtml)) return 2;
  if (message.Property(kPrRtfCompressed)) return 3;
  return 1;
}

std::wstring RecipientsOf(PstMessage& message, uint16_t displayTag, int32_t type) {
  std::wstring display = TextOf(message.Property(displayTag));
  if (!display.empty()) return display;
  std::wstring joined;
  for (const Recipient& r : message.Recipients()) {
    if (r.type != type) continue;
    if (!joined.empty()) joined += L"; ";
    joined += ToWide(r.displayName);
  }
  return joined;
}

std::wstring NonEmptyText(PstMessage& message, uint16_t first, uint16_t second) {
  std::wstring text = TextOf(message.Property(first));
  return text.empty() ? TextOf(message.Property(second)) : text;
}

}  // namespace

const std::vector<DispatchMember>& RdoItem::Members() const {
  static const std::vector<DispatchMember> kMembers = [] {
    std::vector<DispatchMember> members = {
        {0x0, kGet, L"Subject", 0, 0},
        {0x9, kGet, L"BCC", 0, 0},
        {0xB, kGet, L"Body", 0, 0},
        {0xC, kGet, L"BodyFormat", 0, 0},
        {0xD, kGet, L"Categories", 0, 0},
        {0xE, kGet, L"CC", 0, 0},
        {0x12, kGet, L"CreationTime", 0, 0},
        {0x1A, kGet, L"HTMLBody", 0, 0},
        {0x1C, kGet, L"Importance", 0, 0},
        {0x1E, kGet, L"MessageClass", 0, 0},
        {0x29, kGet, L"ReceivedTime", 0, 0},
        {0x32, kGet, L"SenderName", 0, 0},
        {0x34, kGet, L"SentOnBehalfOfName", 0, 0},
        {0x39, kGet, L"SentOn", 0, 0},
        {0x40, kGet, L"To", 0, 0},
        {0x45, kGet, L"RTFBody", 0, 0},
        {0x49, kGet, L"Attachments", 0, 0},
        {kIsRecurring, kGet, L"IsRecurring", 0, 0},
        {kMemberCount, kGet, L"MemberCount", 0, 0},
        {kGetMember, kMethod, L"GetMember", 1, 1},
    };
    for (const KindField& f : kKindFields) {
      bool seen = false;
      for (const DispatchMember& m : members) seen = seen || m.id == f.id;
      if (!seen) members.push_back({f.id, kGet, L"", 0, 0});
    }
    return members;
  }();
  return kMembers;
}

const std::vector<DistListMember>& RdoItem::ListMembers() {
  if (!members_) members_ = DistListMembersOf(*message_);
  return *members_;
}

void RdoItem::Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) {
  PstMessage& m = *message_;
  switch (member.id) {
    case 0x0:
      SetText(result, TextOf(m.Property(kPrSubject)));
      return;
    case 0x9:
      SetText(result, RecipientsOf(m, kPrDisplayBcc, 3));
      return;
    case 0xB:
      SetText(result, PlainBodyOf(m));
      return;
    case 0xC:
      SetInteger(result, BodyFormatOf(m));
      return;
    case 0xD:
      SetText(result, TextOf(m.NamedProperty(kPsPublicStrings, u"Keywords")));
      return;
    case 0xE:
      SetText(result, RecipientsOf(m, kPrDisplayCc, 2));
      return;
    case 0x12:
      SetDate(result, UtcToLocalOleDate(TimeOf(m.Property(kPrCreationTime))));
      return;
    case 0x1A:
      SetText(result, HtmlBodyOf(m).value_or(std::wstring()));
      return;
    case 0x1C:
      SetInteger(result, static_cast<long>(IntegerOf(m.Property(kPrImportance)).value_or(1)));
      return;
    case 0x1E:
      if (context_.session->faults.CountCall("rdo.messageclass")) RaiseInjectedFault("rdo.messageclass");
      SetText(result, TextOf(m.Property(kPrMessageClass)));
      return;
    case 0x29:
      SetDate(result, UtcToLocalOleDate(TimeOf(m.Property(kPrMessageDeliveryTime))));
      return;
    case 0x32:
      SetText(result, NonEmptyText(m, kPrSenderName, kPrSentRepresentingName));
      return;
    case 0x34:
      SetText(result, TextOf(m.Property(kPrSentRepresentingName)));
      return;
    case 0x39:
      SetDate(result, UtcToLocalOleDate(TimeOf(m.Property(kPrClientSubmitTime))));
      return;
    case 0x40:
      SetText(result, RecipientsOf(m, kPrDisplayTo, 1));
      return;
    case 0x45:
      SetText(result, Latin1(m.RtfText().value_or(std::string())));
      return;
    case 0x49:
      SetObject(result, new RdoAttachments(context_, message_));
      return;
    case kMemberCount:
    case kGetMember: {
      if (KindOf(TextOf(m.Property(kPrMessageClass))) != ItemKind::DistList)
        throw InvokeRefused{DISP_E_MEMBERNOTFOUND, 0};
      const std::vector<DistListMember>& members = ListMembers();
      if (member.id == kMemberCount) {
        SetInteger(result, static_cast<long>(members.size()));
        return;
      }
      const long index = args.Integer(0);
      if (context_.session->faults.CountCall("rdo.getmember")) RaiseInjectedFault("rdo.getmember");
      if (index < 1 || static_cast<size_t>(index) > members.size())
        throw DispatchError(L"GetMember: index " + std::to_wstring(index) + L" is out of range (1 to " +
                                std::to_wstring(members.size()) + L")",
                            DISP_E_BADINDEX);
      PstStore* store = context_.store ? context_.store->file.get() : nullptr;
      SetObject(result,
                new RdoAddressEntry(ResolveDistListMember(members[static_cast<size_t>(index - 1)], store)));
      return;
    }
    case kIsRecurring:
      if (KindOf(TextOf(m.Property(kPrMessageClass))) != ItemKind::Appointment)
        throw InvokeRefused{DISP_E_MEMBERNOTFOUND, 0};
      SetBoolean(result, IsRecurring(m));
      return;
    default:
      CallKindMember(member.id, result);
  }
}

void RdoItem::CallKindMember(DISPID id, VARIANT* result) {
  ItemKind kind = KindOf(TextOf(message_->Property(kPrMessageClass)));
  for (const KindField& f : kKindFields) {
    if (f.kind != kind || f.id != id) continue;
    std::optional<PropValue> value =
        f.set ? message_->NamedProperty(*f.set, f.lid) : message_->Property(f.tag);
    if (f.isDate)
      SetDate(result,
              f.isLocalDate ? LocalFileTimeToOleDate(TimeOf(value)) : UtcToLocalOleDate(TimeOf(value)));
    else
      SetText(result, TextOf(value));
    return;
  }
  // The identifier belongs to another kind of item.
  throw InvokeRefused{DISP_E_MEMBERNOTFOUND, 0};
}

const std::vector<DispatchMember>& RdoAddressEntry::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x1, kGet, L"Name", 0, 0},
      {0x2, kGet, L"Address", 0, 0},
      {0x3, kGet, L"Type", 0, 0},
  };
  return kMembers;
}

void RdoAddressEntry::Call(const DispatchMember& member, const DispatchArgs&, VARIANT* result) {
  switch (member.id) {
    case 0x1:
      SetText(result, text_.name);
      return;
    case 0x2:
      SetText(result, text_.address);
      return;
    default:
      SetText(result, text_.type);
  }
}

const std::vector<DispatchMember>& RdoAttachments::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x50, kGet, L"Count", 0, 0},
      {0x0, kGet, L"Item", 1, 1},
  };
  return kMembers;
}

void RdoAttachments::Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) {
  size_t count = message_->AttachmentCount();
  if (member.id == 0x50) {
    SetInteger(result, static_cast<long>(count));
    return;
  }
  long index = args.Integer(0);
  if (index < 1 || static_cast<size_t>(index) > count)
    throw DispatchError(L"Attachments.Item: index " + std::to_wstring(index) + L" is out of range (1 to " +
                            std::to_wstring(count) + L")",
                        DISP_E_BADINDEX);
  std::shared_ptr<PstAttachment> attachment = message_->Attachment(static_cast<size_t>(index - 1));
  if (!attachment)
    throw DispatchError(L"Attachments.Item: attachment " + std::to_wstring(index) + L" cannot be read");
  SetObject(result, new RdoAttachment(context_, message_, std::move(attachment)));
}

std::wstring SafeFileName(const std::wstring& name) {
  std::wstring out;
  for (wchar_t c : name) {
    bool bad = c < 0x20 || c == L'\\' || c == L'/' || c == L':' || c == L'*' || c == L'?' || c == L'"' ||
               c == L'<' || c == L'>' || c == L'|';
    out += bad ? L'_' : c;
  }
  // Windows drops trailing dots and spaces, which would turn ".." or "a." into another name.
  while (!out.empty() && (out.back() == L'.' || out.back() == L' ')) out.pop_back();
  size_t start = out.find_first_not_of(L' ');
  return start == std::wstring::npos ? std::wstring() : out.substr(start);
}

const std::vector<DispatchMember>& RdoAttachment::Members() const {
  static const std::vector<DispatchMember> kMembers = {
      {0x68, kGet, L"FileName", 0, 0},
      {0xB, kMethod, L"SaveAsFile", 1, 1},
  };
  return kMembers;
}

std::wstring RdoAttachment::FileName() {
  std::wstring name;
  if (IntegerOf(attachment_->Property(kPrAttachMethod)).value_or(0) == kAttachEmbeddedMessage) {
    name = TextOf(attachment_->Property(kPrDisplayName));
    if (name.empty()) {
      std::unique_ptr<PstMessage> embedded = attachment_->EmbeddedMessage();
      if (embedded) name = TextOf(embedded->Property(kPrSubject));
    }
    name = SafeFileName(name);
    if (name.size() < 4 || _wcsicmp(name.c_str() + name.size() - 4, L".msg") != 0) name += L".msg";
    return name;
  }
  name = TextOf(attachment_->Property(kPrAttachLongFilename));
  if (name.empty()) name = TextOf(attachment_->Property(kPrAttachFilename));
  if (name.empty()) name = TextOf(attachment_->Property(kPrDisplayName));
  name = SafeFileName(name);
  // A file needs some name: the caller saves the attachment under it.
  return name.empty() ? std::wstring(L"attachment.dat") : name;
}

namespace {

// A file written piece by piece; removed again when writing fails half-way.
class OutputFile {
 public:
  explicit OutputFile(const std::wstring& path) : path_(path) {
    file_ =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
      throw DispatchError(L"SaveAsFile: cannot create " + path + L" (error " +
                          std::to_wstring(GetLastError()) + L")");
  }
  ~OutputFile() {
    if (file_ != INVALID_HANDLE_VALUE) {
      CloseHandle(file_);
      DeleteFileW(path_.c_str());
    }
  }
  void Write(const char* data, size_t size) {
    while (size > 0) {
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 24));
      DWORD written = 0;
      if (!WriteFile(file_, data, chunk, &written, nullptr) || written != chunk)
        throw DispatchError(L"SaveAsFile: cannot write " + path_ + L" (error " +
                            std::to_wstring(GetLastError()) + L")");
      data += chunk;
      size -= chunk;
    }
  }
  void Finish() {
    BOOL ok = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!ok) {
      DeleteFileW(path_.c_str());
      throw DispatchError(L"SaveAsFile: cannot write " + path_);
    }
  }

 private:
  std::wstring path_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace

void RdoAttachment::SaveAsFile(const std::wstring& path) {
  if (path.empty()) throw DispatchError(L"SaveAsFile: no file name was given");
  long method = static_cast<long>(IntegerOf(attachment_->Property(kPrAttachMethod)).value_or(kAttachByValue));
  if (method == kAttachEmbeddedMessage) {
    std::unique_ptr<PstMessage> embedded = attachment_->EmbeddedMessage();
    if (embedded) {
      WriteMessageFile(*embedded, path);
      return;
    }
  } else {
    std::unique_ptr<OutputFile> out;
    bool any = attachment_->ReadData([&](const char* data, size_t size) {
      if (!out) out = std::make_unique<OutputFile>(path);
      out->Write(data, size);
    });
    if (any && out) {
      out->Finish();
      return;
    }
  }
  throw DispatchError(L"SaveAsFile: the attachment \"" + FileName() + L"\" holds no data");
}

void RdoAttachment::Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) {
  if (member.id == 0x68) {
    SetText(result, FileName());
    return;
  }
  std::wstring path = args.Text(0);
  if (context_.session->faults.CountCall("rdo.saveasfile")) RaiseInjectedFault("rdo.saveasfile");
  SaveAsFile(path);
}

}  // namespace automation
