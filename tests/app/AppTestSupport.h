// Helpers of the wizard tests: modal dialogs run on a thread of their own (as the engine's worker runs
// them), their message boxes, a host window that records the private messages it gets, and a pump
// that feeds the framework's pre-translation (tool tips, key filters).
#pragma once

#include <afxwin.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

// Failed expectations show a CString's text rather than its address.
void PrintTo(const CString& text, std::ostream* os);

namespace apptest {

// A UTF-8 text (the tests' paths and names) as the program's own texts hold it.
CString Text(const std::string& utf8);
// A path as the system spells it in full, lower case and without a trailing backslash, for comparing
// folders that dialogs report.
CString CanonicalPath(const CString& path);
// The user's Documents folder.
CString DocumentsFolder();

// The question the wizard asks before it stops the running conversion.
inline constexpr wchar_t kStopQuestion[] = L"Are you sure you want to stop current process ?";

// Runs a modal call on its own thread and finds the dialog it shows by its caption.
class ModalRun {
 public:
  ModalRun(std::wstring title, std::function<void()> call);
  // A test that stopped early still closes the dialog, so that the thread can end.
  ~ModalRun();
  ModalRun(const ModalRun&) = delete;
  ModalRun& operator=(const ModalRun&) = delete;

  HWND WaitForDialog();
  bool Done() const { return m_done; }
  // Waits for the call to return; a dialog still open after 10 s is cancelled.
  void Finish();

 private:
  void CloseAndJoin();

  std::wstring m_title;
  std::atomic<bool> m_done{false};
  std::thread m_thread;
};

// The visible message box that a window (of any thread) owns, waiting for it to appear; NULL when none
// came in time or the window is gone.
HWND WaitForOwnedMessageBox(HWND owner);
// The text of a message box.
CString MessageBoxText(HWND box);
// A window's text (any thread's window).
CString TextOf(HWND hwnd);
// Clicks the middle of a dialog's control with real input.
void ClickControl(HWND dialog, int id);
// Clicks a message box's button with real input and waits for the box to go; false when it stayed.
bool PressMessageBoxButton(HWND box, int button);
// Clicks a message box's OK with real input and waits for the box to go.
void DismissMessageBox(HWND box);

// Points of a tree item (any thread's tree), found with the control's own hit test: on its label, and
// on its check box ((-1, -1) when it has none).
CPoint TreeLabelPoint(HWND tree, HTREEITEM hItem);
CPoint TreeCheckBoxPoint(HWND tree, HTREEITEM hItem);

// A call of the Notes stand-in that stops until the test releases it (STANDIN_HANG, key as
// "notes.opennote=20"), in the session that Start begins anew; the destructor releases it, so that a
// worker left in it can end.
class NotesHang {
 public:
  explicit NotesHang(const char* key);
  ~NotesHang();
  NotesHang(const NotesHang&) = delete;
  NotesHang& operator=(const NotesHang&) = delete;

  // Runs startSession (a Notes store's InitSession) with the hang named; its result.
  int Start(const std::function<int()>& startSession);
  // Pumps the calling thread's messages until the call has stopped; false after 30 s.
  bool WaitUntilStopped();
  void Release();

 private:
  std::string m_key;
  std::wstring m_name;
  HANDLE m_release;
  HANDLE m_stopped;
};

// Pumps the calling thread's messages through the framework's pre-translation.
void PumpFramework(DWORD milliseconds);
bool PumpFrameworkUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A visible top-level window on the test's thread that records the messages it is told to watch
// (WM_NSF_FOLDER_SELECTED with the text its wParam points at; WM_COMMAND only when no child took it
// by reflection).
// Runs the hand-offs that other threads post to it (CUiHandoff), as the program's frame does.
class CRecordingWnd : public CWnd {
 public:
  struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    CString text;
  };

  // A visible host for controls. Hiding a shown top-level window costs Wine about two seconds without
  // a window manager, so fixtures share one host across their tests where they can.
  BOOL CreateHost(LPCTSTR title, int x, int y, int width, int height);
  // A hidden window that only receives messages (an owner, a notify window): free to make and end.
  BOOL CreateHidden(LPCTSTR title);
  void Watch(UINT message) { m_watched.push_back(message); }
  // How many of the watched messages of this kind arrived.
  int Count(UINT message) const;
  // Called for each watched message before it is recorded; its result is the message's result.
  std::function<LRESULT(UINT, WPARAM, LPARAM)> m_onMessage;
  std::vector<Received> m_received;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  std::vector<UINT> m_watched;
};

}  // namespace apptest
