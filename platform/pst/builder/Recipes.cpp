// The sample and bulk stores.
#include "Recipes.h"

#include <string>

#include "PropertyIds.h"

namespace pstbuilder {

namespace {

std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
  std::vector<uint8_t> out(size);
  uint32_t x = seed * 2654435761u + 1;
  for (auto& b : out) {
    x = x * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(x >> 24);
  }
  return out;
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

Message Mail(const std::string& cls, const std::string& subject) {
  Message m;
  m.messageClass = cls;
  m.Subject(subject)
      .Sender("Alice Example", "alice@example.com")
      .AddRecipient(1, "Bob Example", "bob@example.com")
      .SubmitTime(FileTime(2024, 3, 1, 9, 30))
      .DeliveryTime(FileTime(2024, 3, 1, 9, 31))
      .CreationTime(FileTime(2024, 3, 1, 9, 32));
  return m;
}

}  // namespace

Store SampleStore() {
  Store s = Store::WithStandardFolders();
  s.displayName = "Sample Personal Folders";

  Folder& inbox = *s.Find("Inbox");
  {
    Message m = Mail("IPM.Note", "Plain note with attachments");
    m.AddRecipient(1, "Carol Example", "carol@example.com")
        .AddRecipient(2, "Dave Example", "dave@example.com")
        .AddRecipient(3, "Eve Example", "eve@example.com")
        .Body("Hello Bob,\r\nthe files are attached.\r\n")
        .NativeBody(1)
        .Keywords({"Red", "Project X"});
    m.AttachFile("r\xC3\xA9sum\xC3\xA9 \xE5\xB1\xA5\xE6\xAD\xB4\xE6\x9B\xB8.txt",
                 Bytes("Unicode file name\r\n"));
    m.AttachFile("..\\dir/sub\\report:1.bin", Pattern(300, 7));
    m.AttachFile("large.bin", Pattern(100000, 11));
    Message inner = Mail("IPM.Note", "Forwarded inner message");
    inner.Body("Inner body").AttachFile("inner.txt", Bytes("inner attachment"));
    m.AttachMessage("Forwarded inner message", inner);
    inbox.messages.push_back(m);
  }
  {
    Message m = Mail("IPM.Note", "HTML in UTF-8");
    m.HtmlUtf8(
         "<html><head><meta charset=\"utf-8\"></head><body><p>Gr\xC3\xBC\xC3\x9F"
         "e &amp; \xE6\x97\xA5\xE6\x9C\xAC</p></body></html>")
        .Body(
            "Gr\xC3\xBC\xC3\x9F"
            "e & \xE6\x97\xA5\xE6\x9C\xAC")
        .NativeBody(3);
    inbox.messages.push_back(m);
  }
  {
    Message m = Mail("IPM.Note", "HTML in Windows-1256");
    // "العربية" in code page 1256.
    m.Html(Bytes("<html><body><p>\xC7\xE1\xDA\xD1\xC8\xED\xC9</p></body></html>"), 1256).NativeBody(3);
    inbox.messages.push_back(m);
  }
  {
    Message m = Mail("IPM.Note", "Compressed RTF only");
    m.Rtf(
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Rich text body, rich text "
         "body.\\par}")
        .NativeBody(2);
    inbox.messages.push_back(m);
  }
  inbox.messages.push_back(Mail("IPM.Note.SMIME", "Signed message").Body("signed"));
  inbox.messages.push_back(Mail("REPORT.IPM.Note.NDR", "Undeliverable: hello").Body("Delivery failed."));
  inbox.messages.push_back(Mail("ipm.note", "Class in odd case").Body("odd case"));
  {
    Message assoc;
    assoc.messageClass = "IPM.Configuration.Test";
    assoc.Subject("Hidden settings");
    inbox.associated.push_back(assoc);
  }
  Folder& posts = inbox.AddFolder("Posts", "IPF.Note");
  posts.messages.push_back(Mail("IPM.Post", "A post").Body("post body"));

  s.Find("Sent Items")->messages.push_back(Mail("IPM.Note", "Sent mail").Body("sent"));

  {
    Message m = Mail("IPM.Appointment", "Planning meeting");
    m.SetNamed(guids::kAppointment, lid::kAppointmentStartWhole,
               PropValue::SysTime(FileTime(2024, 4, 2, 14, 0)))
        .SetNamed(guids::kAppointment, lid::kAppointmentEndWhole,
                  PropValue::SysTime(FileTime(2024, 4, 2, 15, 30)))
        .SetNamed(guids::kAppointment, lid::kLocation, PropValue::Unicode("Room 4 \xE2\x80\x93 Nord"))
        .Body("Agenda");
    s.Find("Calendar")->messages.push_back(m);
  }
  {
    Message m;
    m.messageClass = "IPM.Contact";
    m.Subject("Jane Q. Doe");
    m.Set(prop::kDisplayName, PropValue::Unicode("Jane Q. Doe"))
        .Set(prop::kGivenName, PropValue::Unicode("Jane"))
        .Set(prop::kMiddleName, PropValue::Unicode("Quinn"))
        .Set(prop::kSurname, PropValue::Unicode("Doe"))
        .Set(prop::kGeneration, PropValue::Unicode("Jr."))
        .Set(prop::kDisplayNamePrefix, PropValue::Unicode("Dr."))
        .Set(prop::kNickname, PropValue::Unicode("JD"))
        .Set(prop::kTitle, PropValue::Unicode("Engineer"))
        .Set(prop::kCompanyName, PropValue::Unicode("Example Ltd"))
        .Set(prop::kDepartmentName, PropValue::Unicode("Research"))
        .Set(prop::kManagerName, PropValue::Unicode("M. Anager"))
        .Set(prop::kAssistant, PropValue::Unicode("A. Ssistant"))
        .Set(prop::kSpouseName, PropValue::Unicode("John Doe"))
        .Set(prop::kChildrensNames, PropValue::MultiUnicode({"Ann", "Ben"}))
        .Set(prop::kBirthday, PropValue::SysTime(FileTime(1980, 5, 17)))
        .Set(prop::kWeddingAnniversary, PropValue::SysTime(FileTime(2005, 6, 11)))
        .Set(prop::kBusinessTelephoneNumber, PropValue::Unicode("+1 555 0100"))
        .Set(prop::kBusinessFaxNumber, PropValue::Unicode("+1 555 0101"))
        .Set(prop::kHomeFaxNumber, PropValue::Unicode("+1 555 0102"))
        .Set(prop::kMobileTelephoneNumber, PropValue::Unicode("+1 555 0103"))
        .Set(prop::kPrimaryTelephoneNumber, PropValue::Unicode("+1 555 0104"))
        .Set(prop::kPostalAddress, PropValue::Unicode("1 Main St\r\nSpringfield"))
        .Set(prop::kOtherAddressStreet, PropValue::Unicode("2 Side St"))
        .Set(prop::kOtherAddressCity, PropValue::Unicode("Shelbyville"))
        .Set(prop::kOtherAddressStateOrProvince, PropValue::Unicode("ST"))
        .Set(prop::kOtherAddressPostalCode, PropValue::Unicode("12345"))
        .Set(prop::kOtherAddressCountry, PropValue::Unicode("Nowhere"))
        .Set(prop::kBusinessHomePage, PropValue::Unicode("https://example.com/"))
        .SetNamed(guids::kAddress, lid::kWorkAddress, PropValue::Unicode("3 Work Rd\r\nCapital City"))
        .SetNamed(guids::kAddress, lid::kWorkAddressStreet, PropValue::Unicode("3 Work Rd"))
        .SetNamed(guids::kAddress, lid::kWorkAddressCity, PropValue::Unicode("Capital City"))
        .SetNamed(guids::kAddress, lid::kWorkAddressState, PropValue::Unicode("CC"))
        .SetNamed(guids::kAddress, lid::kWorkAddressPostalCode, PropValue::Unicode("99999"))
        .SetNamed(guids::kAddress, lid::kWorkAddressCountry, PropValue::Unicode("Examplestan"))
        .SetNamed(guids::kAddress, lid::kHomeAddress, PropValue::Unicode("4 Home Ln\r\nVillage"))
        .SetNamed(guids::kAddress, lid::kEmail1EmailAddress, PropValue::Unicode("jane@example.com"))
        .SetNamed(guids::kAddress, lid::kEmail2EmailAddress, PropValue::Unicode("jane.doe@example.org"))
        .SetNamed(guids::kAddress, lid::kEmail3EmailAddress, PropValue::Unicode("jqd@example.net"));
    s.Find("Contacts")->messages.push_back(m);
    Message list;
    list.messageClass = "IPM.DistList";
    list.Subject("Team list").Set(prop::kDisplayName, PropValue::Unicode("Team list"));
    // One member as a one-off entry id: flags, the one-off provider's UID, version, Unicode flags,
    // then display name, address type and address.
    std::vector<uint8_t> oneOff = {0,    0,    0,    0,    0x81, 0x2B, 0x1F, 0xA4, 0xBE, 0xA3, 0x10, 0x19,
                                   0x9D, 0x6E, 0x00, 0xDD, 0x01, 0x0F, 0x54, 0x02, 0,    0,    0x01, 0x90};
    for (const char* part : {"Bob Example", "SMTP", "bob@example.com"}) {
      const auto utf16 = Utf16(part);
      oneOff.insert(oneOff.end(), utf16.begin(), utf16.end());
      oneOff.push_back(0);
      oneOff.push_back(0);
    }
    list.SetNamed(guids::kAddress, lid::kDistributionListOneOffMembers, PropValue::MultiBinary({oneOff}));
    s.Find("Contacts")->messages.push_back(list);
  }
  {
    Message m = Mail("IPM.Task", "Write the report");
    m.SetNamed(guids::kTask, lid::kTaskStartDate, PropValue::SysTime(FileTime(2024, 5, 1)))
        .SetNamed(guids::kTask, lid::kTaskDueDate, PropValue::SysTime(FileTime(2024, 5, 10)))
        .Body("Task body");
    s.Find("Tasks")->messages.push_back(m);
  }
  {
    Message m = Mail("IPM.Activity", "Phone call with Bob");
    m.SetNamed(guids::kLog, lid::kLogStart, PropValue::SysTime(FileTime(2024, 6, 3, 10, 0)))
        .SetNamed(guids::kLog, lid::kLogEnd, PropValue::SysTime(FileTime(2024, 6, 3, 10, 20)))
        .SetNamed(guids::kLog, lid::kLogType, PropValue::Unicode("Phone call"))
        .Body("Journal body");
    s.Find("Journal")->messages.push_back(m);
  }
  {
    Message m;
    m.messageClass = "IPM.StickyNote";
    m.Subject("Buy milk").Body("Buy milk\r\nand bread");
    s.Find("Notes")->messages.push_back(m);
  }
  s.Find("Deleted Items")->messages.push_back(Mail("IPM.Note", "Deleted mail").Body("gone"));

  Folder& projects = s.AddFolder("Projects", "IPF.Note");
  Folder& quarter = projects.AddFolder("2024 \\ Q1", "IPF.Note");
  quarter.messages.push_back(Mail("IPM.Note", "In a folder with a backslash").Body("q1"));
  Folder& unicode = quarter.AddFolder(
      "\xC3\x9Cn\xC3\xAF"
      "c\xC3\xB6"
      "d\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x93\x81",
      "IPF.Note");
  unicode.messages.push_back(
      Mail("IPM.Note", "\xE4\xBB\xB6\xE5\x90\x8D \xD8\xA7\xD9\x84\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A\xD8\xA9")
          .Body("deep"));
  return s;
}

Store SiblingFoldersStore() {
  Store s;
  Folder& inbox = s.AddFolder("Inbox");
  for (int sibling = 1; sibling <= 2; ++sibling) {
    Folder& projects = inbox.AddFolder("Projects");
    for (int i = 1; i <= 4 - sibling; ++i)
      projects.messages.push_back(
          Message().Subject("projects " + std::to_string(sibling) + "." + std::to_string(i)).Body("body"));
    projects.AddFolder("Old").messages.push_back(Message().Subject("old " + std::to_string(sibling)));
  }
  return s;
}

Message BulkMessage(size_t i, const BulkOptions& options) {
  static const char* const kClasses[] = {"IPM.Note", "IPM.Note",     "IPM.Appointment", "IPM.Contact",
                                         "IPM.Task", "IPM.Activity", "IPM.StickyNote",  "IPM.Note"};
  const std::string cls = kClasses[i % 8];
  Message m = Mail(cls, "Bulk message " + std::to_string(i));
  std::string body;
  if (options.bodyBytes == 0) {
    for (int line = 0; line < 16; ++line)
      body += "Line " + std::to_string(line) + " of message " + std::to_string(i) +
              ": lorem ipsum dolor sit amet.\r\n";
  } else {
    const std::string line = "Message " + std::to_string(i) + ": lorem ipsum dolor sit amet.\r\n";
    while (body.size() < options.bodyBytes) body += line;
    body.resize(options.bodyBytes);
  }
  m.Body(body).NativeBody(1);
  if (i % 3 == 1) m.HtmlUtf8("<html><body><p>" + body + "</p></body></html>").NativeBody(3);
  const uint64_t when = FileTime(2020, 1, 1) + uint64_t{i} * 600 * 10000000ull;
  if (cls == "IPM.Appointment") {
    m.SetNamed(guids::kAppointment, lid::kAppointmentStartWhole, PropValue::SysTime(when))
        .SetNamed(guids::kAppointment, lid::kAppointmentEndWhole, PropValue::SysTime(when + 36000000000ull))
        .SetNamed(guids::kAppointment, lid::kLocation, PropValue::Unicode("Room " + std::to_string(i % 10)));
  } else if (cls == "IPM.Task") {
    m.SetNamed(guids::kTask, lid::kTaskStartDate, PropValue::SysTime(when))
        .SetNamed(guids::kTask, lid::kTaskDueDate, PropValue::SysTime(when + 864000000000ull));
  } else if (cls == "IPM.Activity") {
    m.SetNamed(guids::kLog, lid::kLogStart, PropValue::SysTime(when));
  } else if (cls == "IPM.Contact") {
    m.Set(prop::kGivenName, PropValue::Unicode("Given" + std::to_string(i)))
        .Set(prop::kSurname, PropValue::Unicode("Surname" + std::to_string(i)))
        .SetNamed(guids::kAddress, lid::kEmail1EmailAddress,
                  PropValue::Unicode("c" + std::to_string(i) + "@example.com"));
  }
  if (options.attachmentBytes)
    m.AttachFile("attachment-" + std::to_string(i) + ".bin",
                 Pattern(options.attachmentBytes, static_cast<uint32_t>(i)));
  return m;
}

Store BulkStore(const BulkOptions& options) {
  Store s = Store::WithStandardFolders();
  s.displayName = "Bulk Personal Folders";
  std::vector<Folder*> targets;
  if (options.folders == 0) {
    // Message i goes to folder i % 8: the classes above line up with these folders.
    Folder& archive = s.Find("Inbox")->AddFolder("Archive", "IPF.Note");
    targets = {s.Find("Inbox"), s.Find("Sent Items"), s.Find("Calendar"), s.Find("Contacts"),
               s.Find("Tasks"), s.Find("Journal"),    s.Find("Notes"),    &archive};
  } else {
    Folder& bulk = s.AddFolder("Bulk", "IPF.Note");
    bulk.folders.reserve(options.folders);
    for (size_t f = 0; f < options.folders; ++f) {
      std::string name = std::to_string(f + 1);
      name = "Folder " + std::string(name.size() < 4 ? 4 - name.size() : 0, '0') + name;
      targets.push_back(&bulk.AddFolder(name, "IPF.Note"));
    }
  }
  const size_t n = targets.size();
  for (size_t f = 0; f < n; ++f) {
    targets[f]->generatedCount = options.messages / n + (f < options.messages % n ? 1 : 0);
    targets[f]->generator = [f, n, options](size_t j) { return BulkMessage(j * n + f, options); };
  }
  return s;
}

}  // namespace pstbuilder
