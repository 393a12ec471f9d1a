// The rich-text control stand-in over the system's rich edit: in-place activation, saved state, the
// two dispatch members and the events of the edit window.
#include "RichTextControl.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "RtfText.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace richtext {

const CLSID CLSID_RichTextControl = {
    0x3b7c8860, 0xd78f, 0x101b, {0xb9, 0xb5, 0x04, 0x02, 0x1c, 0x00, 0x94, 0x02}};
const IID DIID_RichTextEvents = {
    0x5b716071, 0xf4d3, 0x4fbe, {0x89, 0x04, 0x2e, 0x19, 0xbf, 0xfd, 0x9a, 0xb5}};
std::atomic<long> g_liveObjects{0};

const wchar_t* RichEditClassName() {
  // The library stays loaded for the life of the process: edit windows of its class may outlive any
  // one control object's reference to it.
  static const wchar_t* const s_className = [] {
    if (::LoadLibraryW(L"msftedit.dll") != nullptr) return L"RICHEDIT50W";
    if (::LoadLibraryW(L"riched20.dll") != nullptr) return L"RichEdit20W";
    return L"";
  }();
  return s_className;
}

namespace {

const wchar_t kSource[] = L"RichText";
const UINT_PTR kSubclassId = 1;

// ---- Streaming into the edit window ------------------------------------------------------------------
struct StreamSource {
  const BYTE* data;
  size_t size;
  size_t offset;
};

DWORD CALLBACK ReadFromMemory(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb) {
  StreamSource* source = reinterpret_cast<StreamSource*>(cookie);
  const size_t n = std::min(source->size - source->offset, static_cast<size_t>(cb > 0 ? cb : 0));
  if (n != 0) std::memcpy(buffer, source->data + source->offset, n);
  source->offset += n;
  *pcb = static_cast<LONG>(n);
  return 0;
}

// Replaces the whole contents of the edit window. False when the rich edit reported an error.
bool StreamIn(HWND edit, UINT format, const void* data, size_t size) {
  StreamSource source = {static_cast<const BYTE*>(data), size, 0};
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, &ReadFromMemory};
  ::SendMessageW(edit, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0;
}

// ---- Arguments and errors --------------------------------------------------------------------------
HRESULT ArgumentText(const VARIANT& argument, std::wstring* text) {
  VARIANT value;
  ::VariantInit(&value);
  HRESULT hr = ::VariantCopyInd(&value, const_cast<VARIANT*>(&argument));
  if (SUCCEEDED(hr) && (value.vt == VT_NULL || value.vt == VT_EMPTY)) {
    text->clear();
    return S_OK;
  }
  if (SUCCEEDED(hr)) hr = ::VariantChangeType(&value, &value, 0, VT_BSTR);
  if (SUCCEEDED(hr))
    text->assign(value.bstrVal != nullptr ? value.bstrVal : L"", ::SysStringLen(value.bstrVal));
  ::VariantClear(&value);
  return hr;
}

bool IsMissing(const VARIANT& argument) {
  return argument.vt == VT_ERROR && argument.scode == DISP_E_PARAMNOTFOUND;
}

HRESULT ArgumentLong(const VARIANT& argument, long* number) {
  VARIANT value;
  ::VariantInit(&value);
  HRESULT hr = ::VariantCopyInd(&value, const_cast<VARIANT*>(&argument));
  if (SUCCEEDED(hr)) hr = ::VariantChangeType(&value, &value, 0, VT_I4);
  if (SUCCEEDED(hr)) *number = value.lVal;
  ::VariantClear(&value);
  return hr;
}

// A failed call in words: DISP_E_EXCEPTION with the description in EXCEPINFO.
HRESULT RaiseError(EXCEPINFO* info, HRESULT scode, const std::wstring& description) {
  if (info != nullptr) {
    std::memset(info, 0, sizeof *info);
    info->scode = scode;
    info->bstrSource = ::SysAllocString(kSource);
    info->bstrDescription = ::SysAllocString(description.c_str());
  }
  return DISP_E_EXCEPTION;
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The whole file, read with every kind of sharing allowed and closed before this returns, so that the
// caller may delete or rewrite it at once.
HRESULT ReadWholeFile(const std::wstring& path, std::string* bytes, std::wstring* error) {
  FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) {
    const DWORD code = ::GetLastError();
    *error = L"Cannot open the file \"" + path + L"\"";
    return HRESULT_FROM_WIN32(code);
  }
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.Get(), &size)) {
    *error = L"Cannot read the file \"" + path + L"\"";
    return HRESULT_FROM_WIN32(::GetLastError());
  }
  if (static_cast<ULONGLONG>(size.QuadPart) > kMaxLoadFileBytes) {
    *error = L"The file \"" + path + L"\" is too large to show";
    return E_OUTOFMEMORY;
  }
  bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes->size()) {
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes->size() - done, 1u << 20));
    if (!::ReadFile(file.Get(), &(*bytes)[done], want, &read, nullptr)) {
      *error = L"Cannot read the file \"" + path + L"\"";
      return HRESULT_FROM_WIN32(::GetLastError());
    }
    if (read == 0) break;  // the file shrank while it was read
    done += read;
  }
  bytes->resize(done);
  return S_OK;
}

short ShiftState() {
  short shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (::GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (::GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

// What the control shows: RTF bytes, or text.
struct Contents {
  bool isRtf = false;
  std::string rtf;
  std::wstring text;

  static Contents FromWide(const std::wstring& value) {
    Contents c;
    c.isRtf = LooksLikeRtf(value);
    if (c.isRtf)
      c.rtf = RtfBytesFromWide(value);
    else
      c.text = value;
    return c;
  }
  static Contents FromBytes(const std::string& bytes, bool rtfAllowed) {
    Contents c;
    c.isRtf = rtfAllowed && LooksLikeRtf(bytes);
    if (c.isRtf)
      c.rtf = bytes;
    else
      c.text = TextFromBytes(bytes);
    return c;
  }
};

class Control final : public IDispatch,
                      public IOleObject,
                      public IOleInPlaceObject,
                      public IPersistStreamInit,
                      public IConnectionPointContainer,
                      public IProvideClassInfo2 {
 public:
  Control() { ++g_liveObjects; }
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // ---- IUnknown ----
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
    } else if (riid == IID_IOleObject) {
      *object = static_cast<IOleObject*>(this);
    } else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow) {
      *object = static_cast<IOleInPlaceObject*>(this);
    } else if (riid == IID_IPersistStreamInit || riid == IID_IPersist) {
      *object = static_cast<IPersistStreamInit*>(this);
    } else if (riid == IID_IConnectionPointContainer) {
      *object = static_cast<IConnectionPointContainer*>(this);
    } else if (riid == IID_IProvideClassInfo2 || riid == IID_IProvideClassInfo) {
      *object = static_cast<IProvideClassInfo2*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // ---- IDispatch ----
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      if (i == 0 && ::lstrcmpiW(names[0], L"TextRTF") == 0) {
        ids[0] = DISPID_RICHTEXT_TEXTRTF;
      } else if (i == 0 && ::lstrcmpiW(names[0], L"LoadFile") == 0) {
        ids[0] = DISPID_RICHTEXT_LOADFILE;
      } else {
        hr = DISP_E_UNKNOWNNAME;
      }
    }
    return hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* info, UINT* argumentError) override {
    if (result != nullptr) ::VariantInit(result);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    if (params == nullptr) params = &none;
    try {
      if (id == DISPID_RICHTEXT_TEXTRTF) return PutTextRtf(flags, *params, argumentError);
      if (id == DISPID_RICHTEXT_LOADFILE) return CallLoadFile(flags, *params, info, argumentError);
    } catch (const std::bad_alloc&) {
      return RaiseError(info, E_OUTOFMEMORY, L"Not enough memory to show the contents");
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  // ---- IOleObject ----
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    if (site != nullptr) site->AddRef();
    if (site_ != nullptr) site_->Release();
    site_ = site;
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override {
    if (site == nullptr) return E_POINTER;
    *site = site_;
    if (site_ != nullptr) site_->AddRef();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override {
    InPlaceDeactivate();
    return S_OK;
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker != nullptr) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override {
    if (data != nullptr) *data = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND parent,
                      LPCRECT position) override {
    switch (verb) {
      case OLEIVERB_PRIMARY:
      case OLEIVERB_SHOW:
      case OLEIVERB_OPEN:
      case OLEIVERB_INPLACEACTIVATE:
      case OLEIVERB_UIACTIVATE:
        return ActivateInPlace(activeSite != nullptr ? activeSite : site_, parent, position);
      case OLEIVERB_HIDE:
        if (edit_ != nullptr) ::ShowWindow(edit_, SW_HIDE);
        return S_OK;
      default:
        return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override {
    if (verbs != nullptr) *verbs = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override {
    if (clsid == nullptr) return E_POINTER;
    *clsid = CLSID_RichTextControl;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR* type) override {
    if (type != nullptr) *type = nullptr;
    return OLE_S_USEREG;
  }
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override {
    if (aspect != DVASPECT_CONTENT || size == nullptr) return E_INVALIDARG;
    extent_ = *size;
    return S_OK;
  }
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override {
    if (aspect != DVASPECT_CONTENT || size == nullptr) return E_INVALIDARG;
    *size = extent_;
    return S_OK;
  }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP Unadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override {
    if (advise != nullptr) *advise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
  }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
    if (status == nullptr) return E_POINTER;
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
              OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // ---- IOleWindow / IOleInPlaceObject ----
  STDMETHODIMP GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = edit_;
    return edit_ != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override {
    if (edit_ != nullptr) ::DestroyWindow(edit_);
    edit_ = nullptr;
    if (inPlaceSite_ != nullptr) {
      IOleInPlaceSite* site = inPlaceSite_;
      inPlaceSite_ = nullptr;
      site->OnInPlaceDeactivate();
      site->Release();
    }
    return S_OK;
  }
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override {
    if (position == nullptr) return E_POINTER;
    if (edit_ != nullptr) {
      ::MoveWindow(edit_, position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    }
    return S_OK;
  }
  STDMETHODIMP ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }

  // ---- IPersistStreamInit ----
  STDMETHODIMP GetClassID(CLSID* clsid) override {
    if (clsid == nullptr) return E_POINTER;
    *clsid = CLSID_RichTextControl;
    return S_OK;
  }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM stream) override {
    if (stream == nullptr) return E_POINTER;
    // The fixed header first: it says how much follows, which is then read and checked as a whole.
    std::vector<BYTE> bytes(RichTextState::kHeaderSize);
    if (!ReadExactly(stream, bytes.data(), bytes.size())) return STG_E_READFAULT;
    WORD headerSize = 0;
    DWORD contentsLength = 0;
    std::memcpy(&headerSize, &bytes[6], sizeof headerSize);
    std::memcpy(&contentsLength, &bytes[12], sizeof contentsLength);
    RichTextState parsed;
    StateError error = ParseRichTextState(bytes.data(), bytes.size(), &parsed);
    if (error == StateError::kTruncated) {
      if (contentsLength > RichTextState::kMaxContents) return E_FAIL;
      const size_t rest =
          (headerSize > RichTextState::kHeaderSize ? headerSize - RichTextState::kHeaderSize : 0) +
          contentsLength;
      bytes.resize(bytes.size() + rest);
      if (!ReadExactly(stream, bytes.data() + RichTextState::kHeaderSize, rest)) return STG_E_READFAULT;
      error = ParseRichTextState(bytes.data(), bytes.size(), &parsed);
    }
    if (error == StateError::kTruncated) return STG_E_READFAULT;
    if (error != StateError::kNone) return E_FAIL;
    state_ = parsed;
    contents_ = Contents::FromBytes(state_.contents, true);
    if (edit_ != nullptr) ShowContents();
    return S_OK;
  }
  STDMETHODIMP Save(LPSTREAM stream, BOOL) override {
    if (stream == nullptr) return E_POINTER;
    const std::vector<BYTE> bytes = state_.Serialize();
    ULONG written = 0;
    const HRESULT hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    if (FAILED(hr)) return hr;
    return written == bytes.size() ? S_OK : STG_E_WRITEFAULT;
  }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override {
    if (size == nullptr) return E_POINTER;
    size->QuadPart = state_.Serialize().size();
    return S_OK;
  }
  STDMETHODIMP InitNew() override {
    state_ = RichTextState();
    contents_ = Contents();
    if (edit_ != nullptr) ShowContents();
    return S_OK;
  }

  // ---- IConnectionPointContainer ----
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points != nullptr) *points = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    if (point == nullptr) return E_POINTER;
    if (riid != DIID_RichTextEvents) {
      *point = nullptr;
      return CONNECT_E_NOCONNECTION;
    }
    *point = &point_;
    point_.AddRef();
    return S_OK;
  }

  // ---- IProvideClassInfo2 ----
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override {
    if (guid == nullptr) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = DIID_RichTextEvents;
    return S_OK;
  }

 private:
  ~Control() {
    InPlaceDeactivate();
    if (site_ != nullptr) site_->Release();
    if (sink_ != nullptr) sink_->Release();
    --g_liveObjects;
  }

  // The events' one connection point: one container at a time.
  class Point final : public IConnectionPoint {
   public:
    explicit Point(Control* owner) : owner_(owner) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
      if (object == nullptr) return E_POINTER;
      if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
      }
      *object = nullptr;
      return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return owner_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner_->Release(); }
    STDMETHODIMP GetConnectionInterface(IID* iid) override {
      if (iid == nullptr) return E_POINTER;
      *iid = DIID_RichTextEvents;
      return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override {
      if (container == nullptr) return E_POINTER;
      *container = static_cast<IConnectionPointContainer*>(owner_);
      owner_->AddRef();
      return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* unknown, DWORD* cookie) override {
      if (unknown == nullptr || cookie == nullptr) return E_POINTER;
      if (owner_->sink_ != nullptr) return CONNECT_E_ADVISELIMIT;
      IDispatch* sink = nullptr;
      if (FAILED(unknown->QueryInterface(DIID_RichTextEvents, reinterpret_cast<void**>(&sink))) &&
          FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink)))) {
        return CONNECT_E_CANNOTCONNECT;
      }
      owner_->sink_ = sink;
      *cookie = 1;
      return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override {
      if (cookie != 1 || owner_->sink_ == nullptr) return CONNECT_E_NOCONNECTION;
      IDispatch* sink = owner_->sink_;
      owner_->sink_ = nullptr;
      sink->Release();
      return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override {
      if (connections != nullptr) *connections = nullptr;
      return E_NOTIMPL;
    }

   private:
    Control* owner_;
  };

  static bool ReadExactly(IStream* stream, BYTE* out, size_t size) {
    size_t done = 0;
    while (done < size) {
      ULONG read = 0;
      const HRESULT hr = stream->Read(out + done, static_cast<ULONG>(size - done), &read);
      if (FAILED(hr) || read == 0) return false;
      done += read;
    }
    return true;
  }

  // ---- Members ----
  HRESULT PutTextRtf(WORD flags, const DISPPARAMS& params, UINT* argumentError) {
    if (!(flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))) return DISP_E_MEMBERNOTFOUND;
    if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (params.cNamedArgs != 1 || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return DISP_E_PARAMNOTOPTIONAL;
    std::wstring text;
    if (FAILED(ArgumentText(params.rgvarg[0], &text))) {
      if (argumentError != nullptr) *argumentError = 0;
      return DISP_E_TYPEMISMATCH;
    }
    contents_ = Contents::FromWide(text);
    ShowContents();
    return S_OK;
  }

  HRESULT CallLoadFile(WORD flags, const DISPPARAMS& params, EXCEPINFO* info, UINT* argumentError) {
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    if (params.cArgs < 1 || params.cArgs > 2) return DISP_E_BADPARAMCOUNT;
    std::wstring path;
    const UINT pathIndex = params.cArgs - 1;  // arguments come last first
    if (IsMissing(params.rgvarg[pathIndex])) return DISP_E_PARAMNOTOPTIONAL;
    if (FAILED(ArgumentText(params.rgvarg[pathIndex], &path))) {
      if (argumentError != nullptr) *argumentError = pathIndex;
      return DISP_E_TYPEMISMATCH;
    }
    long type = kLoadRtf;
    if (params.cArgs == 2 && !IsMissing(params.rgvarg[0]) && FAILED(ArgumentLong(params.rgvarg[0], &type))) {
      if (argumentError != nullptr) *argumentError = 0;
      return DISP_E_TYPEMISMATCH;
    }
    if (type != kLoadRtf && type != kLoadText) return RaiseError(info, E_INVALIDARG, L"Invalid file type");
    std::string bytes;
    std::wstring error;
    const HRESULT hr = ReadWholeFile(path, &bytes, &error);
    if (FAILED(hr)) return RaiseError(info, hr, error);
    contents_ = Contents::FromBytes(bytes, type == kLoadRtf);
    ShowContents();
    return S_OK;
  }

  // ---- The edit window ----
  HRESULT ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT position) {
    if (edit_ != nullptr) {
      ::ShowWindow(edit_, SW_SHOW);
      return S_OK;
    }
    if (site == nullptr) return E_UNEXPECTED;
    IOleInPlaceSite* inPlaceSite = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite))))
      return E_NOINTERFACE;
    if (inPlaceSite->CanInPlaceActivate() != S_OK) {
      inPlaceSite->Release();
      return E_FAIL;
    }
    inPlaceSite->OnInPlaceActivate();
    HWND window = nullptr;
    if (FAILED(inPlaceSite->GetWindow(&window)) || window == nullptr) window = parent;
    RECT rect = {0, 0, 0, 0};
    if (position != nullptr) {
      rect = *position;
    } else if (window != nullptr) {
      ::GetClientRect(window, &rect);
    }
    inPlaceSite_ = inPlaceSite;
    if (window == nullptr || !CreateEditWindow(window, rect)) {
      InPlaceDeactivate();
      return E_FAIL;
    }
    return S_OK;
  }

  bool CreateEditWindow(HWND parent, const RECT& rect) {
    const wchar_t* className = RichEditClassName();
    if (*className == L'\0') return false;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_MULTILINE | ES_SAVESEL;
    if (state_.scrollBars & 2) style |= WS_VSCROLL | ES_AUTOVSCROLL | ES_DISABLENOSCROLL;
    if (state_.scrollBars & 1) style |= WS_HSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL;
    if (state_.locked) style |= ES_READONLY;
    if (state_.border) style |= WS_BORDER;
    edit_ = ::CreateWindowExW(0, className, L"", style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(1),
                              reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr);
    if (edit_ == nullptr) return false;
    // Bodies are often longer than the rich edit's default limit of 32767 characters.
    ::SendMessageW(edit_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    ::SendMessageW(edit_, EM_SETUNDOLIMIT, 0, 0);
    // A read-only rich edit keeps the window colour: it shows text, it is not a disabled field.
    ::SendMessageW(edit_, EM_SETBKGNDCOLOR, 0, ::GetSysColor(COLOR_WINDOW));
    ::SetWindowSubclass(edit_, &EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    ShowContents();
    return true;
  }

  // Shows contents_ in the edit window (when there is one) and tells the container. RTF the rich edit
  // cannot read, or nested deeper than any reader keeps, shows as its text.
  void ShowContents() {
    if (edit_ != nullptr) {
      bool shown = false;
      if (contents_.isRtf && RtfNestingDepth(contents_.rtf) <= kMaxRtfNesting) {
        shown = StreamIn(edit_, SF_RTF, contents_.rtf.data(), contents_.rtf.size());
      }
      if (!shown) {
        const std::wstring text = contents_.isRtf ? TextFromBytes(contents_.rtf) : contents_.text;
        // Plain text takes the default format, which a previous RTF document may have changed.
        ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                       FALSE);
        StreamIn(edit_, SF_TEXT | SF_UNICODE, text.data(), text.size() * sizeof(wchar_t));
      }
      ::SendMessageW(edit_, EM_SETSEL, 0, 0);
      ::SendMessageW(edit_, WM_VSCROLL, SB_TOP, 0);
      ::InvalidateRect(edit_, nullptr, TRUE);
    }
    Fire(DISPID_RICHTEXT_CHANGE, nullptr, 0);
  }

  // ---- Events ----
  void Fire(DISPID id, VARIANT* arguments, UINT count) {
    IDispatch* sink = sink_;
    if (sink == nullptr) return;
    sink->AddRef();
    DISPPARAMS params = {arguments, nullptr, count, 0};
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    sink->Release();
  }

  void FireMouseDown(short button, LPARAM point) {
    VARIANT arguments[4];
    arguments[3].vt = VT_I2;
    arguments[3].iVal = button;
    arguments[2].vt = VT_I2;
    arguments[2].iVal = ShiftState();
    arguments[1].vt = VT_I4;
    arguments[1].lVal = static_cast<short>(LOWORD(point));
    arguments[0].vt = VT_I4;
    arguments[0].lVal = static_cast<short>(HIWORD(point));
    Fire(DISPID_MOUSEDOWN, arguments, 4);
  }

  // KeyDown and KeyPress: the handler may change or clear (0) the key, which travels by reference.
  short FireKey(DISPID id, short key) {
    VARIANT arguments[2];
    UINT count = 0;
    if (id == DISPID_KEYDOWN) {
      arguments[0].vt = VT_I2;
      arguments[0].iVal = ShiftState();
      count = 1;
    }
    arguments[count].vt = VT_BYREF | VT_I2;
    arguments[count].piVal = &key;
    Fire(id, arguments, count + 1);
    return key;
  }

  static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR reference) {
    Control* self = reinterpret_cast<Control*>(reference);
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN: {
        // The edit window takes the click (focus, capture, caret) before the container hears of it, so
        // that what the container does about it (moving the focus elsewhere) stands.
        const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
        const short button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
        self->buttonsDown_ |= button;
        self->AddRef();
        self->FireMouseDown(button, lParam);
        self->Release();
        return result;
      }
      case WM_LBUTTONUP: {
        const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
        // A click is a press and a release over the control: a release alone (the mouse came in with
        // the button down, or a release was injected) is none.
        if (self->buttonsDown_ & 1) {
          self->buttonsDown_ &= ~1;
          self->AddRef();
          self->Fire(DISPID_CLICK, nullptr, 0);
          self->Release();
        }
        return result;
      }
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        self->buttonsDown_ &= message == WM_RBUTTONUP ? ~2 : ~4;
        break;
      case WM_KEYDOWN:
      case WM_CHAR: {
        self->AddRef();
        const short key = self->FireKey(message == WM_KEYDOWN ? DISPID_KEYDOWN : DISPID_KEYPRESS,
                                        static_cast<short>(wParam));
        self->Release();
        if (key == 0 || !::IsWindow(window)) return 0;
        wParam = static_cast<WPARAM>(static_cast<unsigned short>(key));
        break;
      }
      case WM_NCDESTROY:
        ::RemoveWindowSubclass(window, &EditProc, kSubclassId);
        if (self->edit_ == window) self->edit_ = nullptr;
        break;
      default:
        break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
  }

  std::atomic<ULONG> references_{1};
  RichTextState state_;
  Contents contents_;
  SIZEL extent_ = {0, 0};
  HWND edit_ = nullptr;
  IOleClientSite* site_ = nullptr;
  IOleInPlaceSite* inPlaceSite_ = nullptr;
  IDispatch* sink_ = nullptr;
  Point point_{this};
  short buttonsDown_ = 0;
};

}  // namespace

HRESULT CreateRichTextControl(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  Control* control = new (std::nothrow) Control();
  if (control == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = control->QueryInterface(riid, object);
  control->Release();
  return hr;
}

}  // namespace richtext
