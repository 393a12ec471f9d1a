// The fault seam's read-side keys: each fails the nth call of its operation with the simulated fault,
// and the calls around it succeed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "NotesTestSupport.h"

using namespace notestest;

TEST(ReadFaults, EachReadKeyFailsItsNthCall) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  std::ofstream(std::filesystem::path(Wide(dir.File("a.txt"))), std::ios::binary) << "abc";
  LNDocument doc;
  ASSERT_EQ(LNNOERROR, db.CreateDocument(&doc));
  ASSERT_EQ(LNNOERROR, doc.CreateItem("Body", LNRichText("rich body"), 8, LNITEMOPTION_APPEND));
  LNDatetimes posted;
  LNDatetime when;
  when.SetDate(1, 2, 2003);
  posted.Append(when);
  ASSERT_EQ(LNNOERROR, doc.CreateItem("PostedDate", posted, 8, LNITEMOPTION_APPEND));
  ASSERT_EQ(LNNOERROR, doc.CreateAttachment(Ln(dir.File("a.txt")), "a.txt", 1));
  ASSERT_EQ(LNNOERROR, doc.Save(0));
  ASSERT_EQ(LNNOERROR, db.CreateFolder("F", nullptr));
  LNViewFolder folder;
  ASSERT_EQ(LNNOERROR, db.GetViewFolder("F", &folder));
  ASSERT_EQ(LNNOERROR, folder.FolderAddDocument(doc));
  const LNNOTEID id = doc.GetNoteID();
  doc.Close();

  SetEnvironmentVariableA("STANDIN_FAULTS",
                          "notes.opennote=2,notes.openfolder,notes.getattachments=2,notes.getfilesize,"
                          "notes.gettext=2,notes.export,notes.getdatesent");
  LNNotesSession session;
  ASSERT_EQ(LNNOERROR, session.Initialize(300, 0, nullptr, 1, nullptr));
  SetEnvironmentVariableA("STANDIN_FAULTS", nullptr);

  EXPECT_EQ(LNERR_SIMULATED_FAULT, folder.Open(0));
  EXPECT_EQ(LNNOERROR, folder.Open(0));
  LNDocument note;
  ASSERT_EQ(LNNOERROR, db.GetDocument(id, &note));
  EXPECT_EQ(LNNOERROR, note.Open(0));
  note.Close();
  EXPECT_EQ(LNERR_SIMULATED_FAULT, note.Open(0));
  ASSERT_EQ(LNNOERROR, note.Open(0));

  LNAttachmentArray attachments;
  EXPECT_EQ(LNNOERROR, note.GetAttachments(&attachments));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, note.GetAttachments(&attachments));
  ASSERT_EQ(1, attachments.GetCount());
  {
    ThrowMode on(true);
    EXPECT_THROW(attachments[0].GetFileSize(), LNSTATUS);
    EXPECT_EQ(3, attachments[0].GetFileSize());
  }

  LNRichText body;
  ASSERT_EQ(LNNOERROR, note.GetItem("Body", &body));
  LNString text;
  LNRTCursor start, end;
  body.GetCursor(&start);
  body.GetEndCursor(&end);
  EXPECT_EQ(LNNOERROR, body.GetText(&text));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, body.GetText(start, end, &text, &start));
  EXPECT_EQ(LNNOERROR, body.GetText(&text, &start));
  EXPECT_EQ("rich body", Str(text));
  EXPECT_EQ(LNERR_SIMULATED_FAULT, body.Export(Ln(dir.File("x.rtf")), "nxrtf2.dll", start, end, "RTF"));
  EXPECT_EQ(LNNOERROR, body.Export(Ln(dir.File("x.rtf")), start, end, "RTF"));

  LNMailMessage mail(note);
  LNDatetime sent;
  EXPECT_EQ(LNERR_SIMULATED_FAULT, mail.GetDateSent(&sent));
  EXPECT_EQ(LNNOERROR, mail.GetDateSent(&sent));
  note.Close();
  ASSERT_EQ(LNNOERROR, session.Initialize(300, 0, nullptr, 1, nullptr));
  db.Close();
}
