// The property exchange: registry and archive round trips, sections and enumerators, defaults and
// schema, and damaged or hostile stores.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "PropExchangeArchive.h"
#include "PropExchangeRegistry.h"
#include "PropItemEnumerator.h"

namespace {

class CTestShape : public CObject {
  DECLARE_SERIAL(CTestShape)
 public:
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << m_nSides;
    } else {
      ar >> m_nSides;
    }
  }
  long m_nSides = 0;
};
IMPLEMENT_SERIAL(CTestShape, CObject, 1)

class CTestSquare : public CTestShape {
  DECLARE_SERIAL(CTestSquare)
};
IMPLEMENT_SERIAL(CTestSquare, CTestShape, 1)

// A temporary key under HKCU, removed with everything in it.
class RegistryKey : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = L"Software\\BrindleTests\\ToolkitFoundation-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(::GetTickCount());
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    ::RegCloseKey(key_);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
  }

  // Writes a raw value into the section key.
  void SetRaw(const wchar_t* section, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY hSection = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(key_, section, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hSection, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(hSection, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(hSection);
  }
  bool HasValue(const wchar_t* section, const wchar_t* name) {
    return ::RegGetValueW(key_, section, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  std::wstring path_;
  HKEY key_ = nullptr;
};

// Everything a persistent object might store, with defaults.
struct Settings {
  long nCount = 0;
  BOOL bVisible = FALSE;
  CString strTitle;
  RECT rcWindow = {};
  SIZE szIcon = {};
  float fScale = 0;
  double dRatio = 0;
  short nSmall = 0;
  BYTE byFlags = 0;
  long nNested = 0;

  void Exchange(CXTPPropExchange* pPX) {
    PropExchangeLong(pPX, _T("Count"), nCount, 0);
    PropExchangeBool(pPX, _T("Visible"), bVisible, TRUE);
    PropExchangeString(pPX, _T("Title"), strTitle, _T("Standard"));
    PropExchangeRect(pPX, _T("Window"), rcWindow, 0, 0, 0, 0);
    PropExchangeSize(pPX, _T("Icon"), szIcon, 16, 16);
    const float fDefault = 1.0f;
    pPX->ExchangeProp(_T("Scale"), VT_R4, &fScale, &fDefault);
    const double dDefault = 0.5;
    pPX->ExchangeProp(_T("Ratio"), VT_R8, &dRatio, &dDefault);
    const short nSmallDefault = 0;
    pPX->ExchangeProp(_T("Small"), VT_I2, &nSmall, &nSmallDefault);
    const BYTE byDefault = 0;
    pPX->ExchangeProp(_T("Flags"), VT_UI1, &byFlags, &byDefault);
    CXTPPropExchangeSection section(pPX, _T("Nested"));
    PropExchangeLong(section, _T("Value"), nNested, 0);
  }
};

Settings SampleSettings() {
  Settings s;
  s.nCount = 42;
  s.bVisible = FALSE;
  s.strTitle = _T("My Bar \x00e9");
  s.rcWindow = {-10, 20, 300, 400};
  s.szIcon = {24, 32};
  s.fScale = 1.25f;
  s.dRatio = 3.0 / 7.0;
  s.nSmall = -2;
  s.byFlags = 0xA5;
  s.nNested = 7;
  return s;
}

void ExpectSame(const Settings& a, const Settings& b) {
  EXPECT_EQ(a.nCount, b.nCount);
  EXPECT_EQ(a.bVisible, b.bVisible);
  EXPECT_STREQ(static_cast<LPCTSTR>(a.strTitle), static_cast<LPCTSTR>(b.strTitle));
  EXPECT_TRUE(::EqualRect(&a.rcWindow, &b.rcWindow));
  EXPECT_EQ(a.szIcon.cx, b.szIcon.cx);
  EXPECT_EQ(a.szIcon.cy, b.szIcon.cy);
  EXPECT_EQ(a.fScale, b.fScale);
  EXPECT_EQ(a.dRatio, b.dRatio);
  EXPECT_EQ(a.nSmall, b.nSmall);
  EXPECT_EQ(a.byFlags, b.byFlags);
  EXPECT_EQ(a.nNested, b.nNested);
}

// An exchange that keeps text values in memory: the base class's own blob and archive behaviour.
class TextExchange : public CXTPPropExchange {
 public:
  TextExchange(std::map<CString, CString>& values, BOOL bLoading) : values_(values) { m_bLoading = bLoading; }
  BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                    const void* pvDefault = nullptr) override {
    if (vtProp != VT_LPSTR) return FALSE;
    if (IsStoring()) {
      values_[pszPropName] = *static_cast<CString*>(pvProp);
      return TRUE;
    }
    auto it = values_.find(pszPropName);
    if (it == values_.end()) return CopyPropValue(vtProp, pvProp, pvDefault);
    *static_cast<CString*>(pvProp) = it->second;
    return TRUE;
  }
  CXTPPropExchange* GetSection(LPCTSTR) override { return nullptr; }

 private:
  std::map<CString, CString>& values_;
};

}  // namespace

// ---- registry ------------------------------------------------------------------------------------

TEST_F(RegistryKey, RoundTripsEveryValueKindWithSections) {
  const Settings saved = SampleSettings();
  {
    CXTPPropExchangeRegistry px(FALSE, key_, _T("Bars"));
    Settings copy = saved;
    copy.Exchange(&px);
  }
  EXPECT_TRUE(HasValue(L"Bars\\Nested", L"Value"));
  Settings loaded;
  CXTPPropExchangeRegistry px(TRUE, key_, _T("Bars"));
  loaded.Exchange(&px);
  ExpectSame(saved, loaded);
}

TEST_F(RegistryKey, FloatsWrittenAreReadBack) {
  float fValue = -0.375f;
  double dValue = 1e-300;
  {
    CXTPPropExchangeRegistry px(FALSE, key_, _T("Floats"));
    EXPECT_TRUE(px.ExchangeProp(_T("Single"), VT_R4, &fValue));
    EXPECT_TRUE(px.ExchangeProp(_T("Double"), VT_R8, &dValue));
  }
  float fLoaded = 0;
  double dLoaded = 0;
  CXTPPropExchangeRegistry px(TRUE, key_, _T("Floats"));
  EXPECT_TRUE(px.ExchangeProp(_T("Single"), VT_R4, &fLoaded));
  EXPECT_TRUE(px.ExchangeProp(_T("Double"), VT_R8, &dLoaded));
  EXPECT_EQ(fLoaded, fValue);
  EXPECT_EQ(dLoaded, dValue);
}

TEST_F(RegistryKey, ValueEqualToDefaultDeletesTheStoredOne) {
  long value = 5;
  {
    CXTPPropExchangeRegistry px(FALSE, key_, _T("S"));
    PropExchangeLong(&px, _T("Width"), value, 0);
  }
  ASSERT_TRUE(HasValue(L"S", L"Width"));
  value = 0;
  {
    CXTPPropExchangeRegistry px(FALSE, key_, _T("S"));
    EXPECT_TRUE(PropExchangeLong(&px, _T("Width"), value, 0));
  }
  EXPECT_FALSE(HasValue(L"S", L"Width"));
  long loaded = 99;
  CXTPPropExchangeRegistry px(TRUE, key_, _T("S"));
  EXPECT_TRUE(PropExchangeLong(&px, _T("Width"), loaded, 0));
  EXPECT_EQ(loaded, 0) << "a missing value loads as its default";
}

TEST_F(RegistryKey, EmptySectionRemovesOldContentsAndSubKeys) {
  SetRaw(L"S", L"Stale", REG_DWORD, "\1\0\0\0", 4);
  SetRaw(L"S\\Child", L"Old", REG_DWORD, "\1\0\0\0", 4);
  long value = 3;
  {
    CXTPPropExchangeRegistry px(FALSE, key_, _T("S"));
    px.EmptySection();
    EXPECT_TRUE(PropExchangeLong(&px, _T("Fresh"), value, 0));
  }
  EXPECT_FALSE(HasValue(L"S", L"Stale"));
  EXPECT_FALSE(HasValue(L"S\\Child", L"Old"));
  EXPECT_TRUE(HasValue(L"S", L"Fresh"));
}

TEST_F(RegistryKey, MalformedRectangleLoadsTheDefault) {
  const wchar_t text[] = L"1, 2, 3";
  SetRaw(L"S", L"Window", REG_SZ, text, sizeof(text));
  RECT rc = {};
  CXTPPropExchangeRegistry px(TRUE, key_, _T("S"));
  PropExchangeRect(&px, _T("Window"), rc, 5, 6, 7, 8);
  EXPECT_EQ(rc.left, 5);
  EXPECT_EQ(rc.bottom, 8);
}

TEST_F(RegistryKey, WrongKindsAndUnterminatedTextLoadAsDefaultsWithFailure) {
  const wchar_t text[] = L"12";
  SetRaw(L"S", L"Number", REG_SZ, text, sizeof(text));
  SetRaw(L"S", L"Text", REG_DWORD, "\1\0\0\0", 4);
  SetRaw(L"S", L"Short", REG_BINARY, "\1\0\0\0\0\0", 6);
  const wchar_t unterminated[] = {L'a', L'b', L'c'};
  SetRaw(L"S", L"Raw", REG_SZ, unterminated, sizeof(unterminated));
  SetRaw(L"S", L"Odd", REG_SZ, "abc", 3);

  CXTPPropExchangeRegistry px(TRUE, key_, _T("S"));
  long number = 1;
  EXPECT_FALSE(PropExchangeLong(&px, _T("Number"), number, 9));
  EXPECT_EQ(number, 9);
  CString strText;
  EXPECT_FALSE(PropExchangeString(&px, _T("Text"), strText, _T("fallback")));
  EXPECT_STREQ(static_cast<LPCTSTR>(strText), _T("fallback"));
  float fValue = 2;
  const float fDefault = 4;
  EXPECT_FALSE(px.ExchangeProp(_T("Short"), VT_R4, &fValue, &fDefault));
  EXPECT_EQ(fValue, 4.0f);
  CString raw;
  EXPECT_TRUE(PropExchangeString(&px, _T("Raw"), raw));
  EXPECT_STREQ(static_cast<LPCTSTR>(raw), _T("abc"));
  CString odd;
  PropExchangeString(&px, _T("Odd"), odd);  // half a character: read without running past the value
}

TEST_F(RegistryKey, BlobsRespectTheCallersBuffer) {
  BYTE data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  {
    CXTPPropExchangeRegistry px(FALSE, key_, _T("S"));
    void* pv = data;
    DWORD n = sizeof(data);
    EXPECT_TRUE(PropExchangeBlob(&px, _T("Blob"), pv, n));
  }
  CXTPPropExchangeRegistry px(TRUE, key_, _T("S"));
  BYTE small[7] = {9, 9, 9, 9, 9, 9, 9};
  void* pv = small;
  DWORD n = sizeof(small);
  EXPECT_FALSE(PropExchangeBlob(&px, _T("Blob"), pv, n));
  for (BYTE b : small) EXPECT_EQ(b, 9) << "the buffer stays untouched";

  void* allocated = nullptr;
  DWORD size = 0;
  ASSERT_TRUE(PropExchangeBlob(&px, _T("Blob"), allocated, size));
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(memcmp(allocated, data, 8), 0);
  free(allocated);

  void* missing = nullptr;
  EXPECT_FALSE(PropExchangeBlob(&px, _T("Nothing"), missing, size));
}

TEST_F(RegistryKey, OversizedValuesAreRefused) {
  std::string big(XTP_PROPEXCHANGE_MAX_VALUE_BYTES + 2, 'A');
  SetRaw(L"S", L"Huge", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
  SetRaw(L"S", L"HugeText", REG_SZ, big.data(), static_cast<DWORD>(big.size()));
  CXTPPropExchangeRegistry px(TRUE, key_, _T("S"));
  void* pv = nullptr;
  DWORD n = 0;
  EXPECT_FALSE(PropExchangeBlob(&px, _T("Huge"), pv, n));
  EXPECT_EQ(pv, nullptr);
  CString text;
  EXPECT_FALSE(PropExchangeString(&px, _T("HugeText"), text, _T("")));
}

TEST_F(RegistryKey, EnumeratorNamesItemsAndRefusesHostileCounts) {
  {
    CXTPPropExchangeRegistry px(FALSE, key_, _T("List"));
    CXTPPropExchangeEnumeratorPtr enumerator(px.GetEnumerator(_T("item")));
    POSITION pos = enumerator->GetPosition(3);
    long index = 0;
    while (pos) {
      CXTPPropExchangeSection section(enumerator->GetNext(pos));
      PropExchangeLong(section, _T("Index"), index, -1);
      ++index;
    }
    EXPECT_EQ(index, 3);
  }
  EXPECT_TRUE(HasValue(L"List\\item0", L"Index"));
  EXPECT_TRUE(HasValue(L"List\\item2", L"Index"));
  {
    CXTPPropExchangeRegistry px(TRUE, key_, _T("List"));
    CXTPPropExchangeEnumeratorPtr enumerator(px.GetEnumerator(_T("item")));
    POSITION pos = enumerator->GetPosition();
    int count = 0;
    while (pos) {
      CXTPPropExchangeSection section(enumerator->GetNext(pos));
      long index = -5;
      PropExchangeLong(section, _T("Index"), index, -1);
      EXPECT_EQ(index, count++);
    }
    EXPECT_EQ(count, 3);
  }
  for (DWORD hostile : {DWORD(0x7FFFFFFF), DWORD(0xFFFFFFFF)}) {
    SetRaw(L"List", L"Count", REG_DWORD, &hostile, 4);
    CXTPPropExchangeRegistry px(TRUE, key_, _T("List"));
    CXTPPropExchangeEnumeratorPtr enumerator(px.GetEnumerator(_T("item")));
    EXPECT_EQ(enumerator->GetPosition(), nullptr) << hostile;
    EXPECT_EQ(px.ReadCount(), 0u);
  }
}

TEST_F(RegistryKey, EmptyCountYieldsNoPosition) {
  CXTPPropExchangeRegistry px(FALSE, key_, _T("List"));
  CXTPPropExchangeEnumeratorPtr enumerator(px.GetEnumerator(_T("item")));
  EXPECT_EQ(enumerator->GetPosition(0), nullptr);
}

TEST_F(RegistryKey, RuntimeClassesAndObjectsByName) {
  {
    CXTPPropExchangeRegistry px(FALSE, key_, _T("S"));
    CRuntimeClass* pClass = RUNTIME_CLASS(CTestSquare);
    EXPECT_TRUE(PropExchangeRuntimeObject(&px, _T("Kind"), pClass, RUNTIME_CLASS(CTestShape)));
    CObject* pObject = nullptr;
    CTestSquare square;
    pObject = &square;
    CXTPPropExchangeSection section(&px, _T("Object"));
    EXPECT_TRUE(section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape)));
  }
  CXTPPropExchangeRegistry px(TRUE, key_, _T("S"));
  CRuntimeClass* pClass = nullptr;
  EXPECT_TRUE(PropExchangeRuntimeObject(&px, _T("Kind"), pClass, RUNTIME_CLASS(CTestShape)));
  EXPECT_EQ(pClass, RUNTIME_CLASS(CTestSquare));
  EXPECT_TRUE(PropExchangeRuntimeObject(&px, _T("Missing"), pClass, RUNTIME_CLASS(CTestShape)));
  EXPECT_EQ(pClass, RUNTIME_CLASS(CTestShape)) << "a missing value gives the default class";

  CXTPPropExchangeSection section(&px, _T("Object"));
  CObject* pObject = nullptr;
  ASSERT_TRUE(section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape)));
  EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CTestSquare)));
  delete pObject;
  pObject = nullptr;
  EXPECT_FALSE(section->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CCmdTarget)))
      << "not of the base asked for";
  EXPECT_EQ(pObject, nullptr);

  const wchar_t unknown[] = L"CNoSuchClass";
  SetRaw(L"S", L"Unknown", REG_SZ, unknown, sizeof(unknown));
  EXPECT_FALSE(PropExchangeRuntimeObject(&px, _T("Unknown"), pClass, RUNTIME_CLASS(CTestShape)));
}

TEST_F(RegistryKey, SerializedObjectsTravelAsBlobs) {
  {
    CXTPPropExchangeRegistry px(FALSE, key_, _T("S"));
    CTestShape shape;
    shape.m_nSides = 6;
    EXPECT_TRUE(PropExchangeSerialize(&px, _T("Shape"), &shape));
  }
  CXTPPropExchangeRegistry px(TRUE, key_, _T("S"));
  CTestShape shape;
  EXPECT_TRUE(PropExchangeSerialize(&px, _T("Shape"), &shape));
  EXPECT_EQ(shape.m_nSides, 6);
  SetRaw(L"S", L"Cut", REG_BINARY, "\1\0", 2);
  EXPECT_FALSE(PropExchangeSerialize(&px, _T("Cut"), &shape)) << "a short archive gives FALSE";
  EXPECT_FALSE(PropExchangeSerialize(&px, _T("Absent"), &shape));
}

TEST_F(RegistryKey, SectionsInheritSchemaAndParameter) {
  CXTPPropExchangeRegistry px(FALSE, key_, _T("S"));
  EXPECT_EQ(px.GetSchema(), 16u);
  EXPECT_TRUE(px.IsRootSection());
  int parameter = 0;
  px.m_dwData = &parameter;
  px.SetSchema(12);
  CXTPPropExchangeSection section(&px, _T("Child"));
  EXPECT_EQ(section->GetSchema(), 12u);
  EXPECT_EQ(section->m_dwData, &parameter);
  EXPECT_FALSE(section->IsRootSection());
  EXPECT_TRUE(section->IsStoring());
}

TEST(PropExchangeRegistry, WithoutParentKeySavingFailsAndLoadingGivesDefaults) {
  CXTPPropExchangeRegistry saving(FALSE, nullptr, _T("S"));
  long value = 4;
  EXPECT_FALSE(PropExchangeLong(&saving, _T("Width"), value, 0));
  CXTPPropExchangeRegistry loading(TRUE, nullptr, _T("S"));
  EXPECT_TRUE(PropExchangeLong(&loading, _T("Width"), value, 11));
  EXPECT_EQ(value, 11);
  EXPECT_FALSE(PropExchangeLong(&loading, _T("Width"), value)) << "no default to fall back on";
}

// ---- archive -------------------------------------------------------------------------------------

TEST(PropExchangeArchive, RoundTripsInCallOrderAndKeepsDefaults) {
  CMemFile file;
  const Settings saved = SampleSettings();
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    EXPECT_FALSE(px.IsAllowDefaultValues());
    Settings copy = saved;
    copy.Exchange(&px);
    ar.Close();
  }
  const ULONGLONG nLength = file.GetLength();
  CMemFile defaultsFile;
  {
    CArchive ar(&defaultsFile, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    Settings defaults;
    defaults.bVisible = TRUE;
    defaults.strTitle = _T("Standard");
    defaults.Exchange(&px);
    ar.Close();
  }
  EXPECT_GT(defaultsFile.GetLength(), 40u) << "values equal to their defaults are still stored";
  EXPECT_GT(nLength, 0u);
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  EXPECT_TRUE(px.IsLoading());
  Settings loaded;
  loaded.Exchange(&px);
  ExpectSame(saved, loaded);
}

TEST(PropExchangeArchive, ClassesObjectsBlobsAndCounts) {
  CMemFile file;
  BYTE data[5] = {1, 2, 3, 4, 5};
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    CRuntimeClass* pClass = RUNTIME_CLASS(CTestSquare);
    EXPECT_TRUE(px.ExchangeRuntimeClass(_T("Kind"), pClass, nullptr));
    CTestSquare square;
    CObject* pObject = &square;
    EXPECT_TRUE(px.ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape)));
    void* pv = data;
    DWORD n = sizeof(data);
    EXPECT_TRUE(px.ExchangeBlob(_T("Blob"), pv, n));
    px.WriteCount(3);
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  CRuntimeClass* pClass = nullptr;
  EXPECT_TRUE(px.ExchangeRuntimeClass(_T("Kind"), pClass, nullptr));
  EXPECT_EQ(pClass, RUNTIME_CLASS(CTestSquare));
  CObject* pObject = nullptr;
  ASSERT_TRUE(px.ExchangeObjectInstance(pObject, RUNTIME_CLASS(CTestShape)));
  EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CTestSquare)));
  delete pObject;
  void* pv = nullptr;
  DWORD n = 0;
  ASSERT_TRUE(px.ExchangeBlob(_T("Blob"), pv, n));
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(memcmp(pv, data, 5), 0);
  free(pv);
  EXPECT_EQ(px.ReadCount(), 3u);
}

TEST(PropExchangeArchive, DamagedBlobCountEndsAtTheArchivesEnd) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar.WriteCount(0x7FFFFFF0);  // claims two gigabytes
    BYTE few[10] = {};
    ar.Write(few, sizeof(few));
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  void* pv = nullptr;
  DWORD n = 0;
  EXPECT_FALSE(px.ExchangeBlob(_T("Blob"), pv, n));
  EXPECT_EQ(pv, nullptr);
}

TEST(PropExchangeArchive, HostileCountAndTruncatedValuesRaiseArchiveErrors) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar.WriteCount(0x10000000);
    ar << static_cast<BYTE>(1);
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  bool thrown = false;
  try {
    px.ReadCount();
  } catch (CArchiveException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
  long value = 0;
  thrown = false;
  try {
    PropExchangeLong(&px, _T("Width"), value);
  } catch (CArchiveException* e) {
    thrown = e->m_cause == CArchiveException::endOfFile;
    e->Delete();
  }
  EXPECT_TRUE(thrown) << "reading past the end reaches the caller as an archive error";
}

TEST(PropExchangeArchive, UnknownStoredClassGivesFalse) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<WORD>(0xFFFF) << static_cast<WORD>(1) << static_cast<WORD>(5);
    ar.Write("CNone", 5);
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  CRuntimeClass* pClass = nullptr;
  EXPECT_FALSE(px.ExchangeRuntimeClass(_T("Kind"), pClass, nullptr));
}

// ---- the base behaviour --------------------------------------------------------------------------

TEST(PropExchange, BlobsAsTextRoundTripAndRefuseOddLengths) {
  std::map<CString, CString> store;
  BYTE data[3] = {0x00, 0xF1, 0x7E};
  {
    TextExchange px(store, FALSE);
    void* pv = data;
    DWORD n = 3;
    EXPECT_TRUE(px.ExchangeBlob(_T("Blob"), pv, n));
  }
  EXPECT_STREQ(static_cast<LPCTSTR>(store[_T("Blob")]), _T("AABPOH"));
  TextExchange px(store, TRUE);
  void* pv = nullptr;
  DWORD n = 0;
  ASSERT_TRUE(px.ExchangeBlob(_T("Blob"), pv, n));
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(memcmp(pv, data, 3), 0);
  free(pv);
  store[_T("Odd")] = _T("ABC");
  pv = nullptr;
  EXPECT_FALSE(px.ExchangeBlob(_T("Odd"), pv, n));
  EXPECT_EQ(pv, nullptr);
}

TEST(PropExchange, SerializeThroughTheBlobArchive) {
  std::map<CString, CString> store;
  {
    TextExchange px(store, FALSE);
    CTestShape shape;
    shape.m_nSides = 12;
    EXPECT_TRUE(PropExchangeSerialize(&px, _T("Shape"), &shape));
  }
  TextExchange px(store, TRUE);
  CTestShape shape;
  EXPECT_TRUE(PropExchangeSerialize(&px, _T("Shape"), &shape));
  EXPECT_EQ(shape.m_nSides, 12);
}

TEST(PropExchange, DefaultsCompareAndCopyByType) {
  RECT a = {1, 2, 3, 4}, b = {1, 2, 3, 4}, c = {1, 2, 3, 5};
  EXPECT_TRUE(CXTPPropExchange::IsSamePropValue(VT_EX_RECT, &a, &b));
  EXPECT_FALSE(CXTPPropExchange::IsSamePropValue(VT_EX_RECT, &a, &c));
  EXPECT_FALSE(CXTPPropExchange::IsSamePropValue(VT_I4, &a, nullptr)) << "no default never equals";
  CString s1(_T("Abc")), s2(_T("abc"));
  EXPECT_FALSE(CXTPPropExchange::IsSamePropValue(VT_LPSTR, &s1, &s2)) << "texts compare with case";
  COleDateTime d1(45000.5), d2(45000.5);
  EXPECT_TRUE(CXTPPropExchange::IsSamePropValue(VT_DATE, &d1, &d2));
  d2.SetStatus(COleDateTime::invalid);
  EXPECT_FALSE(CXTPPropExchange::IsSamePropValue(VT_DATE, &d1, &d2));
  COleVariant v1(12L), v2(12L);
  EXPECT_TRUE(CXTPPropExchange::IsSamePropValue(VT_VARIANT, &v1, &v2));
  BSTR bstr = nullptr;
  BSTR bstrDefault = ::SysAllocString(L"text");
  EXPECT_TRUE(CXTPPropExchange::CopyPropValue(VT_BSTR, &bstr, &bstrDefault));
  EXPECT_STREQ(bstr, L"text");
  ::SysFreeString(bstr);
  ::SysFreeString(bstrDefault);
  short n = 0;
  EXPECT_FALSE(CXTPPropExchange::CopyPropValue(VT_I2, &n, nullptr));
}

TEST(PropExchangeArchive, SectionsAndEnumeratorsShareTheArchiveInOrder) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    CXTPPropExchangeArchive px(ar);
    CXTPPropExchangeEnumeratorPtr enumerator(px.GetEnumerator(_T("item")));
    POSITION pos = enumerator->GetPosition(2);
    for (long value = 10; pos; value += 10) {
      CXTPPropExchangeSection section(enumerator->GetNext(pos));
      EXPECT_TRUE(section->IsStoring());
      PropExchangeLong(section, _T("Value"), value);
    }
    ar.Close();
  }
  EXPECT_EQ(file.GetLength(), 12u) << "a count and two values, no names";
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CXTPPropExchangeArchive px(ar);
  CXTPPropExchangeEnumeratorPtr enumerator(px.GetEnumerator(_T("other")));
  POSITION pos = enumerator->GetPosition();
  long expected = 10;
  while (pos) {
    CXTPPropExchangeSection section(enumerator->GetNext(pos));
    long value = 0;
    PropExchangeLong(section, _T("Anything"), value);
    EXPECT_EQ(value, expected);
    expected += 10;
  }
  EXPECT_EQ(expected, 30);
}
