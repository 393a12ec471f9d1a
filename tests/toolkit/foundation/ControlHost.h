// A framework top-level window that hosts controls under test (so that owner-draw, colour and
// command notifications are reflected as in a dialog), and the test program's application object,
// which records message boxes instead of showing them.
#pragma once

#include <afxwin.h>

#include <string>
#include <vector>

class ControlHost : public CWnd {
 public:
  // A visible window at (x, y) of the screen, of the given outer size, inside the program's test stage
  // (the foreground window).
  BOOL CreateHost(LPCTSTR lpszTitle, int x, int y, int cx, int cy);
  ~ControlHost() override;

  // Commands the host received from its children: (id, notification).
  std::vector<std::pair<UINT, UINT>> m_commands;
  // Private messages the host received (the caption's notifications).
  std::vector<UINT> m_privateMessages;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Texts of the message boxes shown since the last call, oldest first.
std::vector<std::wstring> TakeMessageBoxes();

// Screen position of a client point of a window.
CPoint ScreenPoint(CWnd* pWnd, int x, int y);
