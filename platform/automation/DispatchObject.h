// The IDispatch base of every stand-in object: a fixed table of members (dispatch identifier, kind,
// argument count) checked before the object sees a call, argument coercion as late-bound callers
// send them, and C++ failures turned into DISP_E_EXCEPTION with an EXCEPINFO that says what failed.
// Objects live in the apartment of the thread that created them; calls come only from that thread.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <string>
#include <vector>

namespace automation {

// UTF-8 text (a reader's message) as wide text.
std::wstring Widen(const char* text);

// Objects and server locks alive in this module; DllCanUnloadNow answers from them.
extern std::atomic<long> g_moduleReferences;

// The EXCEPINFO code of a call that failed because the file itself can no longer be read (MAPI's
// MAPI_E_DISK_ERROR), so that a caller can tell a file gone bad from damaged data, which fails with
// E_FAIL.
constexpr HRESULT kDiskErrorScode = static_cast<HRESULT>(0x80040116L);

// A failed call in words. Thrown by members; reaches the caller as DISP_E_EXCEPTION.
class DispatchError {
 public:
  explicit DispatchError(std::wstring description, HRESULT scode = E_FAIL)
      : description_(std::move(description)), scode_(scode) {}
  const std::wstring& Description() const { return description_; }
  HRESULT Scode() const { return scode_; }

 private:
  std::wstring description_;
  HRESULT scode_;
};

// A call refused before it ran (wrong member, kind, argument count or type): a plain HRESULT.
struct InvokeRefused {
  HRESULT hr;
  UINT argumentIndex;  // into rgvarg, for DISP_E_TYPEMISMATCH / DISP_E_PARAMNOTOPTIONAL
};

enum MemberKind : WORD {
  kMethod = DISPATCH_METHOD,
  kGet = DISPATCH_PROPERTYGET,
  kPut = DISPATCH_PROPERTYPUT,
};

struct DispatchMember {
  DISPID id;
  MemberKind kind;
  const wchar_t* name;
  unsigned minArgs;
  unsigned maxArgs;
};

// The positional arguments of one call in the caller's order (rgvarg holds them reversed), each
// seen through VT_BYREF|VT_VARIANT; a put's value is kept apart.
class DispatchArgs {
 public:
  DispatchArgs(const DISPPARAMS* params, bool isPut);
  unsigned Count() const { return count_; }
  bool IsMissing(unsigned index) const;  // absent, or VT_ERROR DISP_E_PARAMNOTFOUND
  std::wstring Text(unsigned index) const;
  long Integer(unsigned index) const;
  std::wstring PutText() const;

 private:
  const VARIANT* At(unsigned index) const;
  std::wstring ToText(const VARIANT* value, UINT rgIndex) const;
  const DISPPARAMS* params_;
  unsigned count_;
  bool isPut_;
};

class DispatchObject : public IDispatch {
 public:
  DispatchObject();
  virtual ~DispatchObject();
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excepInfo, UINT* argErr) override;

 protected:
  virtual const std::vector<DispatchMember>& Members() const = 0;
  // The ProgID of the server the object belongs to, named as EXCEPINFO's source.
  virtual const wchar_t* Source() const = 0;
  // Runs one member that passed the table's checks. `result` is null when the caller wants none.
  virtual void Call(const DispatchMember& member, const DispatchArgs& args, VARIANT* result) = 0;

 private:
  std::atomic<ULONG> references_{1};
};

// Result setters: each clears `result` first and does nothing else when it is null.
void SetText(VARIANT* result, const std::wstring& text);
void SetInteger(VARIANT* result, long value);
void SetBoolean(VARIANT* result, bool value);
void SetDate(VARIANT* result, double date);
// Takes over the caller's reference of `object` (which may be null: an absent object).
void SetObject(VARIANT* result, IDispatch* object);

}  // namespace automation
