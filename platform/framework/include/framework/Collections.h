// The named collections of the framework, each an instance of a collection template. Collections of
// plain pointers cannot be archived (Serialize throws CNotSupportedException*); collections of
// objects archive the objects with their classes.
#pragma once

#include "framework/Array.h"
#include "framework/List.h"
#include "framework/Map.h"

// Declares a named collection class over a template instance, with the run-time class macros.
#define AFX_DECLARE_COLLECTION(class_name, base, declare) \
  class class_name : public base {                        \
    declare(class_name) public : using base::base;        \
  };

#define AFX_DECLARE_POINTER_COLLECTION(class_name, base) \
  class class_name : public base {                       \
    DECLARE_DYNAMIC(class_name)                          \
   public:                                               \
    using base::base;                                    \
    void Serialize(CArchive& ar) override;               \
  };

typedef CArray<CString, const CString&> CStringArrayBase;
typedef CArray<CObject*, CObject*> CObArrayBase;
typedef CArray<DWORD, DWORD> CDWordArrayBase;
typedef CArray<UINT, UINT> CUIntArrayBase;
typedef CArray<WORD, WORD> CWordArrayBase;
typedef CArray<BYTE, BYTE> CByteArrayBase;
typedef CArray<void*, void*> CPtrArrayBase;
typedef CList<CString, const CString&> CStringListBase;
typedef CList<CObject*, CObject*> CObListBase;
typedef CList<void*, void*> CPtrListBase;
typedef CMap<CString, LPCWSTR, CString, LPCWSTR> CMapStringToStringBase;
typedef CMap<CString, LPCWSTR, CObject*, CObject*> CMapStringToObBase;
typedef CMap<CString, LPCWSTR, void*, void*> CMapStringToPtrBase;
typedef CMap<void*, void*, void*, void*> CMapPtrToPtrBase;
typedef CMap<WORD, WORD, void*, void*> CMapWordToPtrBase;

AFX_DECLARE_COLLECTION(CStringArray, CStringArrayBase, DECLARE_SERIAL)
AFX_DECLARE_COLLECTION(CObArray, CObArrayBase, DECLARE_SERIAL)
AFX_DECLARE_COLLECTION(CDWordArray, CDWordArrayBase, DECLARE_SERIAL)
AFX_DECLARE_COLLECTION(CUIntArray, CUIntArrayBase, DECLARE_DYNAMIC)
AFX_DECLARE_COLLECTION(CWordArray, CWordArrayBase, DECLARE_SERIAL)
AFX_DECLARE_COLLECTION(CByteArray, CByteArrayBase, DECLARE_SERIAL)
AFX_DECLARE_POINTER_COLLECTION(CPtrArray, CPtrArrayBase)

AFX_DECLARE_COLLECTION(CStringList, CStringListBase, DECLARE_SERIAL)
AFX_DECLARE_COLLECTION(CObList, CObListBase, DECLARE_SERIAL)
AFX_DECLARE_POINTER_COLLECTION(CPtrList, CPtrListBase)

AFX_DECLARE_COLLECTION(CMapStringToString, CMapStringToStringBase, DECLARE_SERIAL)
AFX_DECLARE_COLLECTION(CMapStringToOb, CMapStringToObBase, DECLARE_SERIAL)
AFX_DECLARE_POINTER_COLLECTION(CMapStringToPtr, CMapStringToPtrBase)
AFX_DECLARE_POINTER_COLLECTION(CMapPtrToPtr, CMapPtrToPtrBase)
AFX_DECLARE_POINTER_COLLECTION(CMapWordToPtr, CMapWordToPtrBase)

#undef AFX_DECLARE_COLLECTION
#undef AFX_DECLARE_POINTER_COLLECTION
