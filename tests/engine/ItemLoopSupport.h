// Shared by the item loop and folder converter tests: a Notes store with a fresh target NSF, a PST
// session on a builder PST, a progress sink that records what it is shown, and a reading of what a
// Notes folder holds.
#pragma once

#include <string>
#include <vector>

#include "EngineComTest.h"
#include "NotesStore.h"
#include "PstSession.h"
#include "RecordingSinks.h"

namespace enginetest {

class ItemLoopTest : public EngineComTest {
 protected:
  void SetUp() override {
    EngineComTest::SetUp();
    ASSERT_EQ(1, store_.InitSession());
    ASSERT_EQ(1, store_.CreateOrOpenDatabase(ToCString(dir_.File("target.nsf"))));
    store_.m_pItemProgress = &sink_;
  }
  void TearDown() override {
    // Every automation reference goes before the apartment does.
    session_.Close();
    session_.m_currentFolder.ReleaseDispatch();
    store_.Close();
    EngineComTest::TearDown();
  }

  // Opens pst in the session and lists its folders, as the driver does before converting.
  void OpenPst(const pstbuilder::Store& pst) {
    ASSERT_EQ(1, session_.ReopenPst(WriteStore(pst))) << session_.GetOpenError();
    CStringArray paths;
    session_.GetFolderList(&paths);
  }

  // Creates the Notes folder of the PST folder path, opens the PST folder and runs the loop on it.
  int SaveFolder(const CString& path) {
    EXPECT_EQ(1, store_.CreateFolder(L"Outlook\\" + path)) << store_.GetErrorText();
    RdoFolderDispatch folder;
    session_.OpenFolderByPath(path, folder);
    EXPECT_TRUE(folder.m_lpDispatch) << path;
    return store_.SaveFolderItems(L"Outlook\\" + path, &folder);
  }

  // Documents filed in the Notes folder name; -1 when there is no such folder.
  long DocumentsIn(const CString& name) {
    try {
      LNViewFolder folder;
      store_.m_db.GetViewFolder(CStringToLNString(name), &folder);
      folder.Open(0);
      return folder.GetEntryCount();
    } catch (LNSTATUS) {
      return -1;
    }
  }

  // The text item of every document filed in the Notes folder name, in filing order.
  std::vector<CString> TextsIn(const CString& name, const char* item) {
    std::vector<CString> texts;
    LNViewFolder folder;
    store_.m_db.GetViewFolder(CStringToLNString(name), &folder);
    folder.Open(0);
    for (LNINT i = 0; i < folder.GetEntryCount(); ++i) {
      LNDocument document;
      folder[i].GetDocument(&document);
      document.Open(0);
      LNText value;
      LNString text;
      document.GetItem(LNString(item), &value);
      value.GetText(&text);
      texts.push_back(LNStringToCString(text));
      document.Close();
    }
    return texts;
  }
  std::vector<CString> FormsIn(const CString& name) { return TextsIn(name, "Form"); }

  static pstbuilder::Message Item(const std::string& messageClass, const std::string& subject) {
    pstbuilder::Message message = Mail(subject);
    message.messageClass = messageClass;
    return message;
  }

  static pstbuilder::Store MailFolder(const std::string& name, int count) {
    pstbuilder::Store pst;
    pstbuilder::Folder& folder = pst.AddFolder(name);
    for (int i = 1; i <= count; ++i) folder.messages.push_back(Mail("subject " + std::to_string(i)));
    return pst;
  }

  // The items the store recorded as not converted, each as "<item> TAB <subject> TAB <reason>".
  std::vector<CString> SkippedItems() const {
    std::vector<CString> lines;
    for (INT_PTR i = 0; i < store_.m_notConverted.GetCount(); ++i) {
      const NotConvertedEntry& entry = store_.m_notConverted.GetAt(i);
      if (entry.kind != NotConvertedEntry::ITEM) continue;
      CString line;
      line.Format(L"%ld\t", entry.item);
      lines.push_back(line + entry.subject + L"\t" + entry.reason);
    }
    return lines;
  }
  int SkippedCount() const { return static_cast<int>(SkippedItems().size()); }

  CNotesStore store_;
  CPstSession session_;
  RecordingSink sink_;
};

}  // namespace enginetest
