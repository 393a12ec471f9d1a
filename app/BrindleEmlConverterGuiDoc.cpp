// The program's empty document.
#include "BrindleEmlConverterGuiDoc.h"

IMPLEMENT_DYNCREATE(CBrindleEmlConverterGuiDoc, CDocument)

CBrindleEmlConverterGuiDoc::CBrindleEmlConverterGuiDoc() = default;

CBrindleEmlConverterGuiDoc::~CBrindleEmlConverterGuiDoc() = default;

BOOL CBrindleEmlConverterGuiDoc::OnNewDocument() { return CDocument::OnNewDocument(); }
