// Shared by the saver tests: a target NSF with its "Outlook\Inbox" folder open in the store, a PST
// written by the builder and opened through the Redemption stand-in, and readers of what a saved
// document holds.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "AutomationWrappers.h"
#include "EngineComTest.h"
#include "NotesStore.h"

namespace enginetest {

inline LNString LnOf(const std::string& utf8) {
  return LNString(utf8.data(), static_cast<LNINT>(utf8.size()));
}
inline std::string Utf8Of(const LNString& s) {
  return std::string(s.GetBuf(), static_cast<size_t>(s.GetBufLength()));
}

// One item of a saved note, as the library stored it.
struct NoteItem {
  std::string name;
  LNITEMTYPE type = 0;
  // Text items: the first value (UTF-8). Raw items: the data bytes.
  std::string value;
};

class SaverTest : public EngineComTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // (Re)starts the Notes session with the library faults given (STANDIN_FAULTS is read when a
  // session starts), opens the target NSF and its folder.
  void StartNotes(const char* notesFaults = "");
  // Writes store and opens it through a new stand-in session; the faults apply to that session.
  void OpenPst(const pstbuilder::Store& store, const char* automationFaults = "");
  // The index-th item (1-based) of the top-level PST folder, as a raw reference for a wrapper.
  LPDISPATCH Item(const char* folder, long index = 1);

  // The documents filed in the target folder, in filing order, opened.
  std::vector<LNDocument> Filed();
  // Every document of the database (filed or not).
  int DocumentCount();
  // The single filed document; fails the test when there is not exactly one.
  LNDocument OnlyFiled();

  static std::vector<NoteItem> Items(const LNDocument& note);
  // The items named name, in the order written.
  static std::vector<NoteItem> Named(const LNDocument& note, const std::string& name);
  // The first value of the first text item named name; "<missing>" without one.
  static std::string Text(const LNDocument& note, const std::string& name);
  // The first date-time of the item, as "MM/DD/YYYY HH:MM:SS"; "<missing>" without one.
  static std::string Date(const LNDocument& note, const std::string& name);
  static std::vector<std::string> AttachmentNames(const LNDocument& note);

  CNotesStore store_;
  std::string nsf_;
  RdoSessionDispatch session_;
  RdoStoreDispatch pst_;

 private:
  std::unique_ptr<ScopedFaults> faults_;
};

// Whether call left by an automation exception, which this deletes.
template <class Call>
bool ThrowsAutomationError(Call call) {
  try {
    call();
  } catch (CException* e) {
    e->Delete();
    return true;
  }
  return false;
}

// Message kinds built with the builder.
pstbuilder::Message Appointment(const std::string& subject);
pstbuilder::Message Task(const std::string& subject);
pstbuilder::Message Journal(const std::string& subject);
pstbuilder::Message Contact(const std::string& fullName);

}  // namespace enginetest
