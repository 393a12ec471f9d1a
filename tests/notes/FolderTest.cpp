// Folders and views: backslash paths, names that exist, filing order, view selections and the mail
// template's design.
#include <gtest/gtest.h>

#include <set>

#include "NotesTestSupport.h"

using namespace notestest;

namespace {

LNNOTEID SaveDocument(LNDatabase& db, const char* form, const char* subject) {
  LNDocument doc;
  db.CreateDocument(&doc);
  doc.CreateItem("Form", LNText(form), 8, LNITEMOPTION_APPEND);
  doc.CreateItem("Subject", LNText(subject), 8, LNITEMOPTION_APPEND);
  EXPECT_EQ(LNNOERROR, doc.Save(0));
  return doc.GetNoteID();
}

}  // namespace

TEST(Folders, NestedBackslashPathsAreCreatedAsNamedAndExistingNamesAreRefused) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNViewFolder created;
  ASSERT_EQ(LNNOERROR, db.CreateFolder("Outlook\\Inbox", &created));
  EXPECT_EQ("Outlook\\Inbox", Str(created.GetName()));
  EXPECT_TRUE(created.IsFolder());
  ASSERT_EQ(LNNOERROR, db.CreateFolder("Outlook\\Inbox\\Projects\\2024", nullptr));
  ASSERT_EQ(LNNOERROR, db.CreateFolder("\\Last segment only", nullptr));
  EXPECT_FALSE(db.ViewFolderExists("Outlook"));

  EXPECT_EQ(LNERR_FOLDER_EXISTS, db.CreateFolder("Outlook\\Inbox", nullptr));
  EXPECT_EQ(LNERR_FOLDER_EXISTS, db.CreateFolder("outlook\\INBOX", nullptr));
  EXPECT_EQ(LNERR_FOLDER_EXISTS, db.CreateFolder("($Inbox)", nullptr));
  EXPECT_EQ(LNERR_FOLDER_EXISTS, db.CreateFolder("($All)", nullptr));
  EXPECT_EQ(LNERR_INVALID_ARGUMENT, db.CreateFolder("", nullptr));
  EXPECT_EQ(LNERR_INVALID_ARGUMENT, db.CreateFolder("\\\\", nullptr));

  LNViewFolder found;
  EXPECT_EQ(LNERR_FOLDER_NOT_FOUND, db.GetViewFolder("Outlook\\Outbox", &found));
  ASSERT_EQ(LNNOERROR, db.GetViewFolder("outlook\\inbox\\projects\\2024", &found));
  EXPECT_EQ("Outlook\\Inbox\\Projects\\2024", Str(found.GetName()));
  db.Close();

  // Folders made before a close are there after it.
  LNNotesSession session;
  LNDatabase again;
  session.GetDatabase(Ln(dir.File("target.nsf")), &again, "");
  ASSERT_EQ(LNNOERROR, again.Open(0));
  EXPECT_TRUE(again.ViewFolderExists("\\Last segment only"));
  again.Close();
}

TEST(Folders, EntriesKeepFilingOrderAndFilingTwiceKeepsOneEntry) {
  ThrowMode off(false);
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  db.CreateFolder("Outlook\\Inbox");
  LNViewFolder folder;
  ASSERT_EQ(LNNOERROR, db.GetViewFolder("Outlook\\Inbox", &folder));
  ASSERT_EQ(LNNOERROR, folder.Open(0));
  EXPECT_EQ(0, folder.GetEntryCount());
  const LNNOTEID a = SaveDocument(db, "Memo", "a"), b = SaveDocument(db, "Memo", "b");
  LNDocument docA, docB;
  db.GetDocument(a, &docA);
  db.GetDocument(b, &docB);
  ASSERT_EQ(LNNOERROR, folder.FolderAddDocument(docB));
  ASSERT_EQ(LNNOERROR, folder.FolderAddDocument(docA));
  ASSERT_EQ(LNNOERROR, folder.FolderAddDocument(docB));
  EXPECT_EQ(2, folder.GetEntryCount());
  folder.Close();
  EXPECT_EQ(0, folder.GetEntryCount());

  ASSERT_EQ(LNNOERROR, folder.Open(0));
  ASSERT_EQ(2, folder.GetEntryCount());
  EXPECT_EQ(b, folder[0].GetNoteID());
  EXPECT_EQ(a, folder[1].GetNoteID());
  LNDocument first;
  ASSERT_EQ(LNNOERROR, folder[0].GetDocument(&first));
  ASSERT_EQ(LNNOERROR, first.Open(0));
  LNText subject;
  first.GetItem("Subject", &subject);
  EXPECT_EQ("b", Str(subject[0]));
  LNVFEntry outside;
  EXPECT_EQ(LNERR_INDEX_OUT_OF_RANGE, folder.GetEntry(2, &outside));

  LNViewFolder view;
  db.GetViewFolder("($All)", &view);
  EXPECT_EQ(LNERR_NOT_A_FOLDER, view.FolderAddDocument(docA));
  db.Close();
}

TEST(Views, TheMailDesignHasTheKnownFoldersAndViewsAndViewsChooseByForm) {
  testsupport::TempDir dir;
  LNDatabase db = NewMailDatabase(dir);
  LNViewFolderArray all;
  ASSERT_EQ(LNNOERROR, db.GetViewFolders(&all, 1));
  std::set<std::string> names, folders;
  for (LNINT i = 0; i < all.GetCount(); ++i) {
    names.insert(Str(all[i].GetName()));
    if (all[i].IsFolder()) folders.insert(Str(all[i].GetName()));
  }
  for (const char* name : {"($Inbox)", "($Sent)", "($Drafts)", "($Trash)", "($JunkMail)", "($Calendar)",
                           "($Meetings)", "($Alarms)", "($ToDo)", "($All)", "My Contacts", "By Category",
                           "By Diary Date", "$Follow-Up", "$Journal"})
    EXPECT_EQ(1u, names.count(name)) << name;
  EXPECT_EQ(1u, folders.count("($Inbox)"));
  EXPECT_EQ(0u, folders.count("($All)"));
  LNViewFolderArray onlyFolders;
  db.GetViewFolders(&onlyFolders, 0);
  EXPECT_EQ(static_cast<LNINT>(folders.size()), onlyFolders.GetCount());

  SaveDocument(db, "Memo", "m");
  const LNNOTEID appointment = SaveDocument(db, "Appointment", "a");
  SaveDocument(db, "Person", "p");
  LNViewFolder calendar, everything;
  db.GetViewFolder("($Calendar)", &calendar);
  calendar.Open(0);
  ASSERT_EQ(1, calendar.GetEntryCount());
  EXPECT_EQ(appointment, calendar[0].GetNoteID());
  db.GetViewFolder("($All)", &everything);
  everything.Open(0);
  EXPECT_EQ(3, everything.GetEntryCount());
  db.Close();
}
