// COleDispatchDriver: the client side of automation. Wraps one IDispatch and calls its members by
// dispatch id with arguments described by a VTS_* string.
#pragma once

#include "framework/OleVariant.h"

// Parameter type codes for InvokeHelper: one byte per argument (a VARTYPE, 0x40 added for a pointer
// to one), concatenated into a string.
#define VT_MFCBYREF 0x40
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_CY "\x06"
#define VTS_DATE "\x07"
#define VTS_BSTR "\x08"  // LPCWSTR
#define VTS_WBSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"  // const VARIANT*, passed by value
#define VTS_UNKNOWN "\x0D"
#define VTS_I1 "\x10"
#define VTS_UI1 "\x11"
#define VTS_UI2 "\x12"
#define VTS_UI4 "\x13"
#define VTS_I8 "\x14"
#define VTS_UI8 "\x15"
#define VTS_COLOR VTS_I4
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PR4 "\x44"
#define VTS_PR8 "\x45"
#define VTS_PCY "\x46"
#define VTS_PDATE "\x47"
#define VTS_PBSTR "\x48"
#define VTS_PDISPATCH "\x49"
#define VTS_PSCODE "\x4A"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"
#define VTS_PUNKNOWN "\x4D"
#define VTS_PI1 "\x50"
#define VTS_PUI1 "\x51"
#define VTS_PUI2 "\x52"
#define VTS_PUI4 "\x53"
#define VTS_PI8 "\x54"
#define VTS_PUI8 "\x55"

// Not thread-safe; use a driver on the thread (apartment) that obtained its interface.
class COleDispatchDriver {
 public:
  COleDispatchDriver();
  // Wraps lpDispatch; with bAutoRelease the driver releases it when done.
  COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
  // Copies share the interface with an AddRef and always release their own reference.
  COleDispatchDriver(const COleDispatchDriver& dispatchSrc);
  const COleDispatchDriver& operator=(const COleDispatchDriver& dispatchSrc);
  ~COleDispatchDriver();

  // Creates the object (releasing any interface held first). FALSE on failure, with pError->m_sc
  // set when pError is given.
  BOOL CreateDispatch(REFCLSID clsid, COleException* pError = nullptr);
  BOOL CreateDispatch(LPCWSTR lpszProgID, COleException* pError = nullptr);

  // Releases the interface held (per its flag) and takes lpDispatch.
  void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
  // Gives up the interface without releasing it; the caller now owns that reference.
  LPDISPATCH DetachDispatch();
  void ReleaseDispatch();

  // Calls member dwDispID. Arguments follow pbParamInfo and are sent in reverse order as the
  // automation convention wants; puts send the value as the named DISPID_PROPERTYPUT argument. The
  // result is converted to vtRet and stored at pvRet: VT_BSTR into a CString, VT_DISPATCH into an
  // LPDISPATCH the caller releases (NULL for an empty result), VT_BOOL into a BOOL, VT_VARIANT into a
  // VARIANT the caller clears. With no interface the call does nothing and pvRet is untouched.
  // Failures throw COleDispatchException* (the server's EXCEPINFO) or COleException* (any other
  // HRESULT). A CString given for a VTS_BSTR argument is passed as its text.
  template <class... Args>
  void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                    const Args&... args) {
    InvokeHelperArgs(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, AfxVarArg(args)...);
  }
  void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                     va_list argList);
  // A put of one value of type vtProp (a put by reference for VT_DISPATCH).
  template <class Arg>
  void SetProperty(DISPID dwDispID, VARTYPE vtProp, const Arg& value) {
    SetPropertyArg(dwDispID, vtProp, AfxVarArg(value));
  }
  void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;

  operator LPDISPATCH() { return m_lpDispatch; }

 private:
  void AFX_CDECL InvokeHelperArgs(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                  const BYTE* pbParamInfo, ...);
  void AFX_CDECL SetPropertyArg(DISPID dwDispID, VARTYPE vtProp, ...);

 public:
  LPDISPATCH m_lpDispatch;
  BOOL m_bAutoRelease;
};

// Initialises OLE on the calling thread once (later calls on that thread return TRUE at once).
// FALSE when the thread is already in an incompatible apartment or OLE fails to start.
BOOL AFXAPI AfxOleInit();
// Ends OLE on the calling thread if AfxOleInit started it there. Threads started with
// AfxBeginThread call it when they end.
void AFXAPI AfxOleTermThread();
