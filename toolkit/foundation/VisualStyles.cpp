// UxTheme entry points bound by name, with quiet failure where they are missing, and each call made
// under a structured-exception guard, so that a fault inside the theme library counts as a failure.
#include "VisualStyles.h"

#include "SystemQueries.h"

// The guard: one frame with an exception scope in the image's unwind tables (the compiler has no
// __try/__except, so the frame and its scope table are written here). A fault anywhere below the call
// is dispatched to the system's C scope handler, which asks the filter below and, for a fault, unwinds
// the callee's frames and resumes at the scope's target, where the guard returns FALSE. Nothing is
// registered at run time: each call has its own frame, so calls on several threads at once, and calls
// nested inside a guarded call, are guarded independently.
extern "C" {
// TRUE when pfnCall(pContext) returned, FALSE when a fault ended it.
BOOL XTVisualStylesGuardedCall(void (*pfnCall)(void*), void* pContext);
// The guard's filter: faults (errors in the system's sense) end the call; anything else (C++
// exceptions, debugger notices) goes on to the handlers above. A stack overflow is left alone: the
// thread has lost its guard page then, and carrying on would only move the crash.
LONG XTVisualStylesFaultFilter(EXCEPTION_POINTERS* pPointers, void* pEstablisherFrame);
}

#if defined(__x86_64__)
asm(R"(
    .text
    .p2align 4
    .globl XTVisualStylesGuardedCall
    .def XTVisualStylesGuardedCall; .scl 2; .type 32; .endef
    .seh_proc XTVisualStylesGuardedCall
XTVisualStylesGuardedCall:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_endprologue
    movq %rcx, %rax
    movq %rdx, %rcx
.LXTVisualStylesGuardBegin:
    callq *%rax
    nop
.LXTVisualStylesGuardEnd:
    movl $1, %eax
    jmp .LXTVisualStylesGuardDone
.LXTVisualStylesGuardFault:
    xorl %eax, %eax
.LXTVisualStylesGuardDone:
    addq $40, %rsp
    ret
    .seh_handler __C_specific_handler, @except
    .seh_handlerdata
    .long 1
    .rva .LXTVisualStylesGuardBegin, .LXTVisualStylesGuardEnd, XTVisualStylesFaultFilter, .LXTVisualStylesGuardFault
    .text
    .seh_endproc
)");
#else
#error "The visual-style guard is written for x86-64 Windows."
#endif

LONG XTVisualStylesFaultFilter(EXCEPTION_POINTERS* pPointers, void* /*pEstablisherFrame*/) {
  const DWORD dwCode = pPointers->ExceptionRecord->ExceptionCode;
  if ((dwCode & 0xC0000000) != 0xC0000000 || dwCode == STATUS_STACK_OVERFLOW)
    return EXCEPTION_CONTINUE_SEARCH;
  return EXCEPTION_EXECUTE_HANDLER;
}

namespace {

// Runs call() (a call into UxTheme) under the guard: its result, or failure when it faulted.
template <class Result, class Call>
Result Guarded(Result failure, const Call& call) {
  struct Frame {
    const Call* pCall;
    Result result;
  } frame{&call, failure};
  const BOOL bReturned = XTVisualStylesGuardedCall(
      [](void* pContext) {
        Frame* pFrame = static_cast<Frame*>(pContext);
        pFrame->result = (*pFrame->pCall)();
      },
      &frame);
  return bReturned ? frame.result : failure;
}

const char* const kEntryNames[] = {"IsThemeActive",      "IsAppThemed",         "OpenThemeData",
                                   "CloseThemeData",     "DrawThemeBackground", "GetThemeColor",
                                   "GetCurrentThemeName"};

typedef BOOL(WINAPI* PFNISTHEMEACTIVE)();
typedef BOOL(WINAPI* PFNISAPPTHEMED)();
typedef HTHEME(WINAPI* PFNOPENTHEMEDATA)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* PFNCLOSETHEMEDATA)(HTHEME);
typedef HRESULT(WINAPI* PFNDRAWTHEMEBACKGROUND)(HTHEME, HDC, int, int, const RECT*, const RECT*);
typedef HRESULT(WINAPI* PFNGETTHEMECOLOR)(HTHEME, int, int, int, COLORREF*);
typedef HRESULT(WINAPI* PFNGETCURRENTTHEMENAME)(LPWSTR, int, LPWSTR, int, LPWSTR, int);

template <class T>
T EntryAs(FARPROC pfn) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(pfn));
}

// Calls the UxTheme entry pfnEntry, of type Fn, with args under the guard: its result, or failure when
// the entry is missing or the call faulted.
template <class Fn, class Result, class... Args>
Result CallEntry(FARPROC pfnEntry, Result failure, Args... args) {
  const Fn pfn = EntryAs<Fn>(pfnEntry);
  if (pfn == nullptr) return failure;
  return Guarded<Result>(failure, [&] { return pfn(args...); });
}

DWORD ReadComCtlVersion() {
  DWORD dwVersion = 0;
  if (!XTPSystemQueries()->GetComCtlVersion(&dwVersion)) dwVersion = 0;
  return dwVersion;
}

}  // namespace

CXTVisualStyles::CXTVisualStyles() : CXTVisualStyles(L"UxTheme.dll", ReadComCtlVersion()) {}

CXTVisualStyles::CXTVisualStyles(LPCWSTR lpszUxThemeModule, DWORD dwComCtlVersion)
    : m_hUxTheme(::LoadLibraryW(lpszUxThemeModule)), m_dwComCtlVersion(dwComCtlVersion) {}

CXTVisualStyles::~CXTVisualStyles() {
  if (m_hUxTheme != nullptr) ::FreeLibrary(m_hUxTheme);
}

FARPROC CXTVisualStyles::GetEntry(Entry nEntry) {
  if (!m_bLookedUp[nEntry]) {
    if (m_hUxTheme == nullptr) return nullptr;
    m_entries[nEntry] = ::GetProcAddress(m_hUxTheme, kEntryNames[nEntry]);
    m_bLookedUp[nEntry] = TRUE;
  }
  return m_entries[nEntry];
}

BOOL CXTVisualStyles::IsVisualStyleActive() {
  return m_hUxTheme != nullptr && IsThemeActive() && HIWORD(m_dwComCtlVersion) > 5;
}

BOOL CXTVisualStyles::IsThemeActive() {
  return CallEntry<PFNISTHEMEACTIVE>(GetEntry(entryIsThemeActive), FALSE);
}

BOOL CXTVisualStyles::IsAppThemed() { return CallEntry<PFNISAPPTHEMED>(GetEntry(entryIsAppThemed), FALSE); }

HTHEME CXTVisualStyles::OpenThemeData(HWND hWnd, LPCWSTR pszClassList) {
  return CallEntry<PFNOPENTHEMEDATA>(GetEntry(entryOpenThemeData), static_cast<HTHEME>(nullptr), hWnd,
                                     pszClassList);
}

HRESULT CXTVisualStyles::CloseThemeData(HTHEME hTheme) {
  return CallEntry<PFNCLOSETHEMEDATA>(GetEntry(entryCloseThemeData), E_FAIL, hTheme);
}

HRESULT CXTVisualStyles::DrawThemeBackground(HTHEME hTheme, HDC hDC, int iPartId, int iStateId,
                                             const RECT* pRect, const RECT* pClipRect) {
  return CallEntry<PFNDRAWTHEMEBACKGROUND>(GetEntry(entryDrawThemeBackground), E_FAIL, hTheme, hDC, iPartId,
                                           iStateId, pRect, pClipRect);
}

HRESULT CXTVisualStyles::GetThemeColor(HTHEME hTheme, int iPartId, int iStateId, int iPropId,
                                       COLORREF* pColor) {
  return CallEntry<PFNGETTHEMECOLOR>(GetEntry(entryGetThemeColor), E_FAIL, hTheme, iPartId, iStateId, iPropId,
                                     pColor);
}

HRESULT CXTVisualStyles::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars,
                                             LPWSTR pszColorBuff, int cchMaxColorChars, LPWSTR pszSizeBuff,
                                             int cchMaxSizeChars) {
  return CallEntry<PFNGETCURRENTTHEMENAME>(GetEntry(entryGetCurrentThemeName), E_FAIL, pszThemeFileName,
                                           cchMaxNameChars, pszColorBuff, cchMaxColorChars, pszSizeBuff,
                                           cchMaxSizeChars);
}

CXTVisualStyles* AFXAPI XTVisualStyles() {
  static CXTVisualStyles visualStyles;
  return &visualStyles;
}

BOOL AFXAPI IsVisualStyleActive() { return XTVisualStyles()->IsVisualStyleActive(); }

namespace {
// UxTheme is loaded and the common-controls version read when the program starts.
[[maybe_unused]] const CXTVisualStyles* g_pBoundAtStart = XTVisualStyles();
}  // namespace
