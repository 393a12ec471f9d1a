// The saving page's last words: the status line and the message box for each result of the
// conversion driver and after a stop, with the texts (and their odd blanks) that users see.
#include "3TovinSaveNsfToPst.h"

#include "MainFrame.h"

#include <gtest/gtest.h>

namespace {

const CString kTail =
    L"\r\nClick Next button to convert another file or click Exit button to close the software";
const CString kCancelled = L"Saving cancelled  by user , " + kTail;
const CString kNsfReason = L"Unable to create or open nsf file";

CString Status(BOOL bAborted, int nResult, const CString& strLeft = kNsfReason) {
  return C3TovinSaveNsfToPst::FinalStatusText(bAborted, nResult, strLeft);
}
CString Message(BOOL bAborted, int nResult, const CString& strStatus) {
  return C3TovinSaveNsfToPst::FinalMessageText(bAborted, nResult, strStatus);
}

}  // namespace

TEST(SavingPageTexts, EachResultEndsWithItsStatusAndMessage) {
  EXPECT_EQ(Status(FALSE, CONVERSION_DONE),
            L"Saving Complete , Click Next button to convert another file or click Exit button to close the "
            L"software");
  EXPECT_EQ(Message(FALSE, CONVERSION_DONE, Status(FALSE, CONVERSION_DONE)), L"")
      << "the saving-complete dialog shows instead";

  EXPECT_EQ(Status(FALSE, CONVERSION_PST_FAILED), L"Outlook is not installed or no profile exist");
  EXPECT_EQ(Message(FALSE, CONVERSION_PST_FAILED, Status(FALSE, CONVERSION_PST_FAILED)),
            L"Outlook is not installed or no profile exist , " + kTail);

  EXPECT_EQ(Status(FALSE, CONVERSION_CANCELLED), L"Saving cancelled by user");
  EXPECT_EQ(Message(FALSE, CONVERSION_CANCELLED, Status(FALSE, CONVERSION_CANCELLED)), kCancelled);

  // The NSF's failure: the status the driver left, then the tail.
  EXPECT_EQ(Status(FALSE, CONVERSION_NSF_FAILED), kNsfReason);
  EXPECT_EQ(Message(FALSE, CONVERSION_NSF_FAILED, kNsfReason), kNsfReason + kTail);
}

TEST(SavingPageTexts, AStopWinsOverEveryResult) {
  const CString kAbortedStatus =
      L"Process aborted by user , Click Next button to convert another file or click Exit button to close "
      L"the "
      L"software";
  for (int nResult : {CONVERSION_PST_FAILED, CONVERSION_DONE, CONVERSION_CANCELLED, CONVERSION_NSF_FAILED}) {
    EXPECT_EQ(Status(TRUE, nResult), kAbortedStatus) << nResult;
    EXPECT_EQ(Message(TRUE, nResult, kAbortedStatus), L"Process aborted by user , " + kTail) << nResult;
  }
}

TEST(SavingPageTexts, AnNsfFailureWithoutWordsShowsNoStatusAndTheCancelledMessage) {
  EXPECT_EQ(Status(FALSE, CONVERSION_NSF_FAILED, CString()), L"");
  EXPECT_EQ(Message(FALSE, CONVERSION_NSF_FAILED, CString()), kCancelled);
}
