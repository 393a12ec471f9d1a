// CXTPCustomizeSheet: the modal "Customize" property sheet of the command bars. While it runs the
// bars are in customize mode: their controls can be dragged between bars, and a right click on one
// opens the sheet's customize menu, whose commands change that control (reset, delete, name, button
// image, style, group). The two control classes of that menu live here too.
#pragma once

#include "ControlButton.h"
#include "ControlEdit.h"

#include <afxdlgs.h>

class CXTPCommandBars;
class CXTPCustomizeCommandsPage;
class CXTPCustomizeToolbarsPage;
class CXTPImageManager;
class CXTPPopupBar;

// A button of the customize menu: running it closes the menu and tells the sheet (0x2862, then
// WM_COMMAND when the sheet leaves it).
class CXTPCustomizeMenuButton : public CXTPControlButton {
  DECLARE_SERIAL(CXTPCustomizeMenuButton)

 public:
  void OnExecute() override;
};

// The "&Name:" box of the customize menu: Enter, and the loss of the keyboard focus, hand the typed
// name to the sheet.
class CXTPCustomizeMenuNameEdit : public CXTPControlEdit {
  DECLARE_SERIAL(CXTPCustomizeMenuNameEdit)

 public:
  void OnExecute() override;
  void SetFocused(BOOL bFocused) override;
  BOOL IsFocused() const override { return m_bFocused; }

 private:
  BOOL m_bFocused = FALSE;
};

// Made by the frame's customize command on the user-interface thread and run with DoModal; one sheet
// runs at a time in the process. The sheet owns its toolbars and commands pages, the customize menu
// and the set of pictures "Change Button Image" offers; pages the application adds are the
// application's.
class CXTPCustomizeSheet : public CPropertySheet {
  DECLARE_DYNCREATE(CXTPCustomizeSheet)

 public:
  explicit CXTPCustomizeSheet(CXTPCommandBars* pCommandBars, UINT nSelectPage = 0);
  ~CXTPCustomizeSheet() override;

  // The platform's adding, with the toolkit's own template of the page when it has one.
  void AddPage(CPropertyPage* pPage);
  // Runs the sheet with the bars in customize mode; IDCANCEL at once while another sheet runs.
  INT_PTR DoModal() override;
  // Opens the customize menu for the command bars' selected control at the screen point.
  void ContextMenu(int x, int y);

  CXTPCustomizeCommandsPage* GetCommandsPage() const { return m_pCommandsPage; }
  CXTPCustomizeToolbarsPage* GetToolbarsPage() const { return m_pToolbarsPage; }
  CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }
  CXTPPopupBar* GetCustomizeMenu() const { return m_pCustomizeMenu; }
  CXTPImageManager* GetCustomIcons() const { return m_pCustomIcons; }
  // The frame's customize command (35001): a sheet with the keyboard and options pages, the categories
  // of the frame's menu nIDMenu on the keyboard and commands pages, then "All Commands", "Built-in
  // Menus" and "New Menu" on the commands page; the sheet's modal result.
  static INT_PTR PASCAL RunCustomizeSheet(CXTPCommandBars* pCommandBars, UINT nIDMenu);
  // The sheet whose DoModal runs in this process, or NULL.
  static CXTPCustomizeSheet* PASCAL GetRunningSheet();

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnInitDialog() override;

  // The commands of the customize menu on the selected control (also reached through WM_COMMAND).
  void OnCustomizeCommand(UINT nID);
  // Adds the picture of button-image id nIconId to the command bars' images as the control's own.
  void ChangeButtonImage(CXTPControl* pControl, int nIconId);
  void CopyButtonImage(CXTPControl* pControl);
  void PasteButtonImage(CXTPControl* pControl);
  void EditButtonImage(CXTPControl* pControl);

 protected:
  CXTPCustomizeSheet();
  void BuildCustomIcons();
  void BuildCustomizeMenu();
  CXTPImageManager* GetImageManager() const;
  // Whether the selected control is a button or popup (types 1 to 4) with a picture to show.
  static BOOL PASCAL HasButtonImage(CXTPControl* pControl);

  afx_msg LRESULT OnCommandNotify(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInitPopup(WPARAM wParam, LPARAM lParam);
  afx_msg void OnUpdateCustomizeCommand(CCmdUI* pCmdUI);

  CXTPCustomizeToolbarsPage* m_pToolbarsPage = nullptr;
  CXTPCustomizeCommandsPage* m_pCommandsPage = nullptr;
  CWnd* m_pWndParent = nullptr;
  CXTPCommandBars* m_pCommandBars = nullptr;
  CXTPPopupBar* m_pCustomizeMenu = nullptr;
  CXTPImageManager* m_pCustomIcons = nullptr;

  DECLARE_MESSAGE_MAP()
};
