// Files: CFile modes and errors, CStdioFile text lines, CMemFile growth and buffers, CFileFind walks.
#include <afx.h>

#include <gtest/gtest.h>

#include <set>

#include "TestFiles.h"

namespace {

CString Wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  CString s;
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, s.GetBuffer(n), n);
  s.ReleaseBuffer();
  return s;
}

TEST(CFileIo, WritesSeeksReadsAndResizes) {
  testsupport::TempDir dir;
  CString path = Wide(dir.File("data.bin"));
  CFile file;
  ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite));
  EXPECT_EQ(path, file.GetFilePath());
  EXPECT_STREQ(L"data.bin", file.GetFileName());
  EXPECT_STREQ(L"data", file.GetFileTitle());
  file.Write("hello world", 11);
  EXPECT_EQ(11u, file.GetLength());
  EXPECT_EQ(6u, file.Seek(6, CFile::begin));
  char buffer[16] = {};
  EXPECT_EQ(5u, file.Read(buffer, 15));
  EXPECT_STREQ("world", buffer);
  EXPECT_EQ(0u, file.Read(buffer, 15));
  file.SetLength(5);
  EXPECT_EQ(5u, file.GetLength());
  CFileStatus status;
  EXPECT_TRUE(file.GetStatus(status));
  EXPECT_EQ(5u, status.m_size);
  file.Close();

  CFileStatus byName;
  ASSERT_TRUE(CFile::GetStatus(path, byName));
  EXPECT_EQ(5u, byName.m_size);
  CString renamed = Wide(dir.File("renamed.bin"));
  CFile::Rename(path, renamed);
  EXPECT_FALSE(CFile::GetStatus(path, byName));
  CFile::Remove(renamed);
  EXPECT_FALSE(CFile::GetStatus(renamed, byName));
}

TEST(CFileErrors, MissingFilesAndSharingConflictsGiveTheirCauses) {
  testsupport::TempDir dir;
  CString missing = Wide(dir.File("missing.txt"));
  CFileException error;
  CFile file;
  EXPECT_FALSE(file.Open(missing, CFile::modeRead, &error));
  EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, error.m_lOsError);
  try {
    CFile thrown(missing, CFile::modeRead);
    FAIL();
  } catch (CFileException* e) {
    EXPECT_EQ(CFileException::fileNotFound, e->m_cause);
    WCHAR message[256];
    EXPECT_TRUE(e->GetErrorMessage(message, 256));
    EXPECT_NE(nullptr, wcsstr(message, L"missing.txt"));
    e->Delete();
  }
  try {
    CFile::Remove(missing);
    FAIL();
  } catch (CFileException* e) {
    EXPECT_EQ(CFileException::fileNotFound, e->m_cause);
    e->Delete();
  }

  CString locked = Wide(dir.File("locked.txt"));
  CFile owner(locked, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
  CFile second;
  EXPECT_FALSE(second.Open(locked, CFile::modeRead | CFile::shareDenyNone, &error));
  EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
}

TEST(CStdioFileText, ReadStringReturnsLinesWithoutTheirEnds) {
  testsupport::TempDir dir;
  CString path = Wide(dir.File("lines.txt"));
  {
    CFile raw(path, CFile::modeCreate | CFile::modeWrite);
    raw.Write("first\r\nsecond\n\nlast", 19);
  }
  CStdioFile file;
  ASSERT_TRUE(file.Open(path, 0x4002));  // typeText | modeReadWrite
  CString line;
  std::vector<CString> lines;
  while (file.ReadString(line)) lines.push_back(line);
  ASSERT_EQ(4u, lines.size());
  EXPECT_STREQ(L"first", lines[0]);
  EXPECT_STREQ(L"second", lines[1]);
  EXPECT_STREQ(L"", lines[2]);
  EXPECT_STREQ(L"last", lines[3]);
  EXPECT_FALSE(file.ReadString(line));
  EXPECT_TRUE(line.IsEmpty());

  file.Seek(0, CFile::begin);
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_STREQ(L"first", line);
  file.Seek(0, CFile::end);
  file.WriteString(L"\nappended\n");
  file.Close();

  // Text mode wrote CR LF for each new line.
  CFile reread(path, CFile::modeRead);
  char bytes[64] = {};
  UINT n = reread.Read(bytes, 63);
  EXPECT_EQ(31u, n);
  EXPECT_STREQ("first\r\nsecond\n\nlast\r\nappended\r\n", bytes);
}

TEST(CMemFileBuffer, GrowsInStepsAndHandsOverItsBuffer) {
  CMemFile file(1024);
  std::vector<BYTE> data(3000, 0x5A);
  file.Write(data.data(), 3000);
  EXPECT_EQ(3000u, file.GetLength());
  file.Seek(5000, CFile::begin);
  file.Write("!", 1);
  EXPECT_EQ(5001u, file.GetLength());
  BYTE gap = 0xFF;
  file.Seek(4000, CFile::begin);
  EXPECT_EQ(1u, file.Read(&gap, 1));
  EXPECT_EQ(0, gap);  // the gap reads as zeros
  EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException*);
  ULONGLONG length = file.GetLength();
  BYTE* buffer = file.Detach();
  ASSERT_NE(nullptr, buffer);
  EXPECT_EQ(0x5A, buffer[2999]);
  EXPECT_EQ('!', buffer[length - 1]);
  free(buffer);
  EXPECT_EQ(0u, file.GetLength());

  BYTE fixed[4] = {1, 2, 3, 4};
  CMemFile attached;
  attached.Attach(fixed, 4);
  EXPECT_EQ(4u, attached.GetLength());
  BYTE read[4] = {};
  EXPECT_EQ(4u, attached.Read(read, 4));
  EXPECT_EQ(4, read[3]);
  attached.SeekToBegin();
  attached.Write("ab", 2);
  EXPECT_EQ('a', fixed[0]);
  EXPECT_THROW(attached.Write("overflow", 8), CMemoryException*);
}

TEST(CFileFindWalk, VisitsEveryMatchAndTellsTheLastOne) {
  testsupport::TempDir dir;
  for (const char* name : {"a.txt", "b.txt", "c.dat"}) {
    CFile f(Wide(dir.File(name)), CFile::modeCreate | CFile::modeWrite);
  }
  CreateDirectoryW(Wide(dir.File("sub")), nullptr);
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile(Wide(dir.File("*.txt"))));
  std::set<std::wstring> names;
  BOOL more = TRUE;
  while (more) {
    more = finder.FindNextFile();
    names.insert(static_cast<LPCWSTR>(finder.GetFileName()));
    EXPECT_EQ(finder.GetRoot() + L"\\" + finder.GetFileName(), finder.GetFilePath());
  }
  EXPECT_EQ((std::set<std::wstring>{L"a.txt", L"b.txt"}), names);
  finder.Close();

  ASSERT_TRUE(finder.FindFile(Wide(dir.File("*"))));
  int directories = 0, dots = 0;
  more = TRUE;
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots()) {
      ++dots;
    } else if (finder.IsDirectory()) {
      ++directories;
    }
  }
  EXPECT_EQ(1, directories);
  EXPECT_EQ(2, dots);
  EXPECT_FALSE(finder.FindFile(Wide(dir.File("*.none"))));
}

}  // namespace
