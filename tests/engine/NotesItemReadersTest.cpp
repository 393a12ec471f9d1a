// The item readers: text and date-time items joined with ";", control characters blanked, missing
// items empty, and the attachment list with its two lists kept the same length.
#include "NotesItemReaders.h"
#include "ReadingTestSupport.h"

using namespace enginetest;

namespace {

class ItemReaders : public ReadingTest {
 protected:
  // A saved document with the items of write, opened again.
  template <class Write>
  LNDocument Saved(Write write) {
    LNDocument note = NewNote();
    write(note);
    return Open(SaveInto(note, nullptr));
  }
};

}  // namespace

TEST_F(ItemReaders, TextValuesJoinWithSemicolonsAndControlCharactersBecomeBlanks) {
  LNDocument note = Saved([](LNDocument& n) {
    AddText(n, "SendTo", {"a", "b"});
    AddText(n, "Subject", {"line one\r\nline\ttwo\xC2\x81."});
    AddText(n, "Empty", {""});
  });
  EXPECT_EQ("a;b", Utf8(GetTextItem(L"SendTo", note)));
  EXPECT_EQ("line one  line two .", Utf8(GetTextItem(L"Subject", note)));
  EXPECT_EQ("", Utf8(GetTextItem(L"Empty", note)));
  EXPECT_EQ("", Utf8(GetTextItem(L"Missing", note)));
  EXPECT_EQ("", Utf8(GetDatetimeItem(L"Missing", note)));
  // A text item asked for as a date-time reads as empty, not as a failure.
  EXPECT_EQ("", Utf8(GetDatetimeItem(L"Subject", note)));
  EXPECT_EQ("a b", Utf8(ReplaceControlChars(L"a\tb")));
}

TEST_F(ItemReaders, DateTimeValuesJoinInTheLibrarysText) {
  LNDocument note = Saved([](LNDocument& n) {
    AddDates(n, "STARTDATETIME", {When(5, 6, 2021, 9, 30), When(12, 31, 1999)});
  });
  EXPECT_EQ("05/06/2021 09:30:00;12/31/1999", Utf8(GetDatetimeItem(L"STARTDATETIME", note)));
}

TEST_F(ItemReaders, AttachmentsGiveOneLineEachAndFillBothLists) {
  LNDocument note = Saved([this](LNDocument& n) {
    AddAttachment(n, "report.pdf", 1234);
    AddAttachment(n, u8"caf\u00E9.txt", 0);
  });
  CStringArray names, sizes;
  EXPECT_EQ(u8"report.pdf Size :1234 \r\ncaf\u00E9.txt Size :0 \r\n",
            Utf8(GetAttachmentList(note, &names, &sizes)));
  ASSERT_EQ(2, names.GetSize());
  ASSERT_EQ(2, sizes.GetSize());
  EXPECT_EQ("report.pdf", Utf8(names[0]));
  EXPECT_EQ(" Size :1234 ", Utf8(sizes[0]));
  EXPECT_EQ(" Size :0 ", Utf8(sizes[1]));
  EXPECT_EQ("report.pdf Size :1234 \r\ncaf\xC3\xA9.txt Size :0 \r\n",
            Utf8(GetAttachmentList(note, nullptr, nullptr)));
}

TEST_F(ItemReaders, NoAttachmentsGiveNothingAndLeaveTheListsAlone) {
  LNDocument note = Saved([](LNDocument& n) { AddText(n, "Subject", {"plain"}); });
  CStringArray names, sizes;
  names.Add(L"kept");
  EXPECT_EQ("", Utf8(GetAttachmentList(note, &names, &sizes)));
  EXPECT_EQ(1, names.GetSize());
  EXPECT_EQ(0, sizes.GetSize());
}

TEST_F(ItemReaders, ASizeThatCannotBeReadKeepsTheListsTheSameLength) {
  LNNOTEID id;
  {
    LNDocument note = NewNote();
    AddAttachment(note, "one.txt", 1);
    AddAttachment(note, "two.txt", 2);
    AddAttachment(note, "three.txt", 3);
    id = SaveInto(note, nullptr);
  }
  RestartWithFaults("notes.getfilesize=2");
  CStringArray names, sizes;
  const CString list = GetAttachmentList(Open(id), &names, &sizes);
  EXPECT_EQ("one.txt Size :1 \r\nthree.txt Size :3 \r\n", Utf8(list));
  ASSERT_EQ(3, names.GetSize());
  ASSERT_EQ(3, sizes.GetSize());
  EXPECT_EQ("two.txt", Utf8(names[1]));
  EXPECT_EQ("", Utf8(sizes[1]));
  EXPECT_EQ(" Size :3 ", Utf8(sizes[2]));
}

TEST_F(ItemReaders, AttachmentsThatCannotBeListedGiveNothing) {
  LNNOTEID id;
  {
    LNDocument note = NewNote();
    AddAttachment(note, "one.txt", 1);
    id = SaveInto(note, nullptr);
  }
  RestartWithFaults("notes.getattachments");
  CStringArray names, sizes;
  EXPECT_EQ("", Utf8(GetAttachmentList(Open(id), &names, &sizes)));
  EXPECT_EQ(0, names.GetSize());
  EXPECT_EQ(0, sizes.GetSize());
}
