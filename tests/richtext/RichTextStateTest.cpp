// The control's saved state: what it writes reads back the same, and damaged states are refused with
// what was wrong, at every length, never read past their end.
#include "RichTextState.h"

#include <gtest/gtest.h>

using richtext::ParseRichTextState;
using richtext::RichTextState;
using richtext::StateError;

namespace {

RichTextState Sample() {
  RichTextState state;
  state.scrollBars = 3;
  state.locked = 0;
  state.border = 0;
  state.contents = "{\\rtf1 saved}";
  return state;
}

TEST(RichTextState, SerializedStateReadsBackTheSame) {
  const std::vector<BYTE> bytes = Sample().Serialize();
  ASSERT_EQ(bytes.size(), 16u + 13u);
  RichTextState read;
  ASSERT_EQ(ParseRichTextState(bytes.data(), bytes.size(), &read), StateError::kNone);
  EXPECT_EQ(read.scrollBars, 3);
  EXPECT_EQ(read.locked, 0);
  EXPECT_EQ(read.border, 0);
  EXPECT_EQ(read.contents, "{\\rtf1 saved}");
}

TEST(RichTextState, DefaultsAreReadOnlyWithAVerticalBar) {
  const RichTextState state;
  EXPECT_EQ(state.scrollBars, 2);
  EXPECT_EQ(state.locked, 1);
  EXPECT_TRUE(state.contents.empty());
}

TEST(RichTextState, EveryTruncationIsRefusedAndLeavesTheOutputAlone) {
  const std::vector<BYTE> bytes = Sample().Serialize();
  for (size_t size = 0; size < bytes.size(); ++size) {
    RichTextState out;
    out.contents = "untouched";
    EXPECT_EQ(ParseRichTextState(bytes.data(), size, &out), StateError::kTruncated) << size;
    EXPECT_EQ(out.contents, "untouched");
    EXPECT_EQ(out.scrollBars, 2);
  }
}

TEST(RichTextState, WrongMagicVersionHeaderAndValuesAreNamed) {
  std::vector<BYTE> bytes = Sample().Serialize();
  RichTextState out;
  auto damaged = [&](size_t offset, BYTE value) {
    std::vector<BYTE> copy = bytes;
    copy[offset] = value;
    return ParseRichTextState(copy.data(), copy.size(), &out);
  };
  EXPECT_EQ(damaged(0, 'X'), StateError::kBadMagic);
  EXPECT_EQ(damaged(4, 0), StateError::kBadVersion);
  EXPECT_EQ(damaged(4, 9), StateError::kBadVersion);
  EXPECT_EQ(damaged(6, 8), StateError::kBadHeader);
  EXPECT_EQ(damaged(8, 4), StateError::kBadValue);
  EXPECT_EQ(damaged(9, 2), StateError::kBadValue);
  EXPECT_EQ(damaged(10, 7), StateError::kBadValue);
}

TEST(RichTextState, ALongerHeaderIsSkippedAndHugeContentsRefused) {
  std::vector<BYTE> bytes = Sample().Serialize();
  // A header of 20 bytes: four unknown bytes before the contents.
  bytes[6] = 20;
  bytes.insert(bytes.begin() + 16, {1, 2, 3, 4});
  RichTextState out;
  ASSERT_EQ(ParseRichTextState(bytes.data(), bytes.size(), &out), StateError::kNone);
  EXPECT_EQ(out.contents, "{\\rtf1 saved}");

  std::vector<BYTE> huge = Sample().Serialize();
  const DWORD length = RichTextState::kMaxContents + 1;
  memcpy(&huge[12], &length, sizeof length);
  EXPECT_EQ(ParseRichTextState(huge.data(), huge.size(), &out), StateError::kTooLong);
  EXPECT_EQ(ParseRichTextState(nullptr, 5, &out), StateError::kTruncated);
}

}  // namespace
