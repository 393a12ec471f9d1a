// Recorders that stand where the wizard's windows would: what the engine reports through its sinks is
// kept in order for the tests to read.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "FolderTreeSink.h"
#include "LargeItemPrompt.h"
#include "MailListSink.h"
#include "ProgressSink.h"

namespace enginetest {

class RecordingSink : public IProgressSink {
 public:
  struct Scan {
    int folders;
    int entries;
    CString lastFolder;
  };
  void SetText(const CString& text) override { texts.push_back(text); }
  void SetPos(int percent) override { positions.push_back(percent); }
  void SetScanProgressText(int foldersFound, int entriesFound, const CString& lastFolder) override {
    scans.push_back({foldersFound, entriesFound, lastFolder});
  }
  std::vector<CString> texts;
  std::vector<int> positions;
  std::vector<Scan> scans;
};

class RecordingTree : public IFolderTreeSink {
 public:
  struct Folder {
    CString path;
    int kind;
    int entries;
  };
  void AddFolderPath(const CString& path, int kind, int entryCount) override {
    folders.push_back({path, kind, entryCount});
    if (onAdd) onAdd();
  }
  const Folder* Find(const CString& path) const {
    for (const Folder& f : folders)
      if (f.path == path) return &f;
    return nullptr;
  }
  std::vector<Folder> folders;
  std::function<void()> onAdd;
};

class RecordingMailList : public IMailListSink {
 public:
  struct Row {
    CString cells[5];
    int kind = 0;
    DWORD data = 0;
    bool attachmentSet = false;
  };
  void AddRow(const CString& text, int kind) override {
    rows.emplace_back();
    rows.back().cells[MAIL_COLUMN_FROM] = text;
    rows.back().kind = kind;
  }
  void SetLastRowCell(int column, const CString& text) override {
    if (rows.empty() || column < 0 || column > 4) {
      misplaced++;
      return;
    }
    rows.back().cells[column] = text;
    if (column == MAIL_COLUMN_ATTACHMENT) rows.back().attachmentSet = true;
  }
  void SetLastRowData(DWORD value) override {
    if (rows.empty()) {
      misplaced++;
      return;
    }
    rows.back().data = value;
  }
  std::vector<Row> rows;
  int misplaced = 0;
};

// Answers the large-item question as told and counts how often it was asked.
class ScriptedPrompt : public ILargeItemPrompt {
 public:
  int AskLargeItem(BOOL* dontShowAgain) override {
    asked++;
    *dontShowAgain = dontShow;
    return answer;
  }
  int answer = IDOK;
  BOOL dontShow = FALSE;
  int asked = 0;
};

}  // namespace enginetest
