// The "%D %H %M %S" formatting shared by CTimeSpan and COleDateTimeSpan.
#pragma once

#include "afx.h"

namespace framework_detail {

// Expands %D (days), %H, %M and %S (two digits each) in pFormat; any other "%c" gives c.
CString FormatSpan(LPCWSTR pFormat, LONGLONG days, long hours, long minutes, long seconds);

}  // namespace framework_detail
