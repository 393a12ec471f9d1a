// Shared by the tests of the NSF reading side: a Notes store with a target NSF made from the mail
// template and open as m_db, documents written item by item with the library, the store restarted
// with library faults, and the sinks' recorders.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "NotesStore.h"
#include "NotesStoreTestSupport.h"
#include "RecordingSinks.h"

namespace enginetest {

// Tests compare texts as UTF-8, so that failures show them.

class ReadingTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Restarts the session with the library faults given (the library reads them when a session starts)
  // and opens the target again; the faults count calls from here.
  void RestartWithFaults(const char* faults);

  // A new document of the target, open.
  LNDocument NewNote();
  static void AddText(LNDocument& note, const char* name, std::initializer_list<std::string> values);
  static void AddDates(LNDocument& note, const char* name, std::initializer_list<LNDatetime> values);
  static void AddRichBody(LNDocument& note, const std::string& text);
  // An attachment of size bytes named name.
  void AddAttachment(LNDocument& note, const std::string& name, size_t size);
  // Saves the note, files it into folder (made when missing) unless folder is null, closes it.
  LNNOTEID SaveInto(LNDocument& note, const char* folder);
  // The document noteId of the target, open.
  LNDocument Open(LNNOTEID noteId);

  static LNDatetime When(int month, int day, int year, int hour = -1, int minute = 0);

  testsupport::TempDir dir_;
  std::string nsf_;
  CNotesStore store_;
};

}  // namespace enginetest
