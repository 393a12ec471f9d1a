// The drop targets of customize drags. The drag loop itself comes with the customize sheet.
#include "CustomizeDragSource.h"

CXTPCustomizeDragSource::CXTPCustomizeDragSource(CXTPCommandBars* pCommandBars)
    : m_pCommandBars(pCommandBars) {}

void CXTPCustomizeDragSource::Register(CXTPCommandBar* pBar) { m_arrTargets.Add(pBar); }

void CXTPCustomizeDragSource::Unregister(CXTPCommandBar* pBar) {
  for (INT_PTR i = m_arrTargets.GetSize() - 1; i >= 0; --i) {
    if (m_arrTargets[i] == pBar) m_arrTargets.RemoveAt(i);
  }
}

DROPEFFECT CXTPCustomizeDragSource::DoDragDrop(CXTPControl*, BOOL) { return 5; }
