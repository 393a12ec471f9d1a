// The program's document: the single-document template needs one, and it holds no data of its own
// (the wizard state lives in the main frame).
#pragma once

#include <afxwin.h>

// Created by the document template on the user-interface thread.
class CBrindleEmlConverterGuiDoc : public CDocument {
  DECLARE_DYNCREATE(CBrindleEmlConverterGuiDoc)

 public:
  CBrindleEmlConverterGuiDoc();
  ~CBrindleEmlConverterGuiDoc() override;

  BOOL OnNewDocument() override;
};
