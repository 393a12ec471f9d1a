// The shell icon lists: the system list exists and a file name's icon follows its extension.
#include "ShellIconList.h"

#include "TestFiles.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <fstream>

namespace {

TEST(ShellIconList, SystemListsHoldIcons) {
  CShellIconList icons;
  for (BOOL small : {TRUE, FALSE}) {
    HIMAGELIST list = icons.GetSystemImageList(small);
    ASSERT_NE(list, nullptr);
    EXPECT_GT(ImageList_GetImageCount(list), 0);
  }
}

TEST(ShellIconList, MissingPdfGetsTheIconOfItsExtension) {
  testsupport::TempDir dir;
  { std::ofstream(dir.File("present.pdf")) << "%PDF-1.4\n"; }
  const CString existing(dir.File("present.pdf").c_str());

  // The shell's own answer for a real file of that extension.
  SHFILEINFOW info = {};
  ASSERT_NE(::SHGetFileInfoW(existing, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON), 0u);

  CShellIconList icons;
  const CString missing(dir.File("no such report.pdf").c_str());
  ASSERT_EQ(::GetFileAttributesW(missing), INVALID_FILE_ATTRIBUTES);
  const int index = icons.GetIconIndex(missing, TRUE);
  EXPECT_EQ(index, info.iIcon);
  EXPECT_LT(index, ImageList_GetImageCount(icons.GetSystemImageList(TRUE)));
  EXPECT_EQ(icons.GetIconIndex(L"C:\\nowhere\\other.pdf", TRUE), index);
}

}  // namespace
