// Run-time classes of the named collections.
#include "afxcoll.h"

IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)

// Raw pointers mean nothing in another process.
void CPtrArray::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CPtrList::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapStringToPtr::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapPtrToPtr::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapWordToPtr::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
