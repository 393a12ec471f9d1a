// Late-bound calls as the engine makes them (arguments in reverse order, by value or by reference,
// puts with DISPID_PROPERTYPUT), with the EXCEPINFO of a failure kept for the assertions.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <string>
#include <vector>

namespace automationtest {

struct Releaser {
  void operator()(IUnknown* p) const {
    if (p) p->Release();
  }
};
using DispPtr = std::unique_ptr<IDispatch, Releaser>;

// An owned VARIANT argument.
class Arg {
 public:
  Arg() { VariantInit(&v_); }
  Arg(const Arg& o) {
    VariantInit(&v_);
    VariantCopy(&v_, const_cast<VARIANT*>(&o.v_));
  }
  Arg& operator=(const Arg&) = delete;
  ~Arg() { VariantClear(&v_); }
  static Arg Text(const std::wstring& s) {
    Arg a;
    V_VT(&a.v_) = VT_BSTR;
    V_BSTR(&a.v_) = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return a;
  }
  static Arg Int(long n) {
    Arg a;
    V_VT(&a.v_) = VT_I4;
    V_I4(&a.v_) = n;
    return a;
  }
  static Arg Missing() {
    Arg a;
    V_VT(&a.v_) = VT_ERROR;
    V_ERROR(&a.v_) = DISP_E_PARAMNOTFOUND;
    return a;
  }
  VARIANT& Get() { return v_; }

 private:
  VARIANT v_;
};

struct CallResult {
  HRESULT hr = E_FAIL;
  VARIANT value;
  std::wstring source;
  std::wstring description;
  UINT argErr = 0;
  CallResult() { VariantInit(&value); }
  CallResult(CallResult&& o) noexcept
      : hr(o.hr),
        value(o.value),
        source(std::move(o.source)),
        description(std::move(o.description)),
        argErr(o.argErr) {
    VariantInit(&o.value);
  }
  CallResult& operator=(CallResult&& o) noexcept {
    if (this != &o) {
      VariantClear(&value);
      hr = o.hr;
      value = o.value;
      VariantInit(&o.value);
      source = std::move(o.source);
      description = std::move(o.description);
      argErr = o.argErr;
    }
    return *this;
  }
  ~CallResult() { VariantClear(&value); }
  std::wstring Text() const {
    return V_VT(&value) == VT_BSTR && V_BSTR(&value) ? V_BSTR(&value) : L"<not text>";
  }
  long Integer() const { return V_VT(&value) == VT_I4 ? V_I4(&value) : -999999; }
  double Date() const { return V_VT(&value) == VT_DATE ? V_DATE(&value) : -999999.0; }
  // Takes the object out of the result; null for an empty dispatch.
  DispPtr Object() {
    if (V_VT(&value) != VT_DISPATCH) return nullptr;
    IDispatch* d = V_DISPATCH(&value);
    V_VT(&value) = VT_EMPTY;
    return DispPtr(d);
  }
};

enum class Pass { ByValue, ByReference };

// `args` in the caller's order.
CallResult Call(IDispatch* object, DISPID id, WORD flags, std::vector<Arg> args = {},
                Pass pass = Pass::ByValue);
inline CallResult Get(IDispatch* object, DISPID id, std::vector<Arg> args = {}) {
  return Call(object, id, DISPATCH_PROPERTYGET, std::move(args));
}
inline CallResult Method(IDispatch* object, DISPID id, std::vector<Arg> args = {},
                         Pass pass = Pass::ByValue) {
  return Call(object, id, DISPATCH_METHOD, std::move(args), pass);
}
CallResult Put(IDispatch* object, DISPID id, Arg value);

// Creates a server by ProgID as the engine does (CLSIDFromProgID + CoCreateInstance).
HRESULT CreateByProgId(const wchar_t* progId, DispPtr& object, std::wstring* errorDescription = nullptr);

// Sets or clears STANDIN_FAULTS for the objects created while it lives.
class ScopedFaults {
 public:
  explicit ScopedFaults(const char* faultList) { SetEnvironmentVariableA("STANDIN_FAULTS", faultList); }
  ~ScopedFaults() { SetEnvironmentVariableA("STANDIN_FAULTS", nullptr); }
};

std::wstring Widen(const std::string& utf8);

// The bytes of a stream of a compound file's storage; "<missing>" when there is no such stream.
std::string ReadStream(IStorage* storage, const wchar_t* name);
// UTF-16LE bytes as text.
std::wstring AsWide(const std::string& bytes);

// One identifier's expected value: text for VT_BSTR, `number` for VT_I4 and VT_DATE.
struct Expected {
  DISPID id;
  VARTYPE type;
  std::wstring text;
  double number;
};

// Reads every identifier of `expected` from `item` as a property get and checks type and value.
void ExpectAll(IDispatch* item, const std::vector<Expected>& expected, const char* kind);

}  // namespace automationtest
