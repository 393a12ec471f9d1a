// The drop shadows of popups. The shadow windows come with the shadows themselves; the calls are here.
#include "DropShadows.h"

CXTPDropShadows* PASCAL CXTPDropShadows::GetInstance() {
  static CXTPDropShadows shadows;
  return &shadows;
}

void CXTPDropShadows::AddShadow(CXTPCommandBar*, LPCRECT) {}
void CXTPDropShadows::AddControlShadow(CXTPControl*) {}
void CXTPDropShadows::RemoveShadows(CXTPCommandBar*) {}
