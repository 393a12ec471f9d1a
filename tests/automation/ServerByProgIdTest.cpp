// Both servers as the engine reaches them: created by ProgID from the registration in the build's
// Wine prefix, called by fixed dispatch identifier, failing with words, and every process-level
// STANDIN_FAULTS key.
#include "ComTest.h"
#include "DispatchHelpers.h"
#include "TestFiles.h"

#include <fstream>

using namespace automationtest;

namespace {

class ServerByProgId : public ComTest {};

std::wstring Fixture(const std::string& name) { return Widen(testsupport::FixturePath(name)); }

std::wstring RegistryText(const std::wstring& key, const wchar_t* value) {
  wchar_t buffer[512] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return L"<none>";
  return buffer;
}

TEST_F(ServerByProgId, BothProgIdsAreRegisteredAsApartmentInProcessServers) {
  for (const wchar_t* progId : {L"Outlook.Application", L"Redemption.RDOSession"}) {
    CLSID clsid;
    ASSERT_EQ(S_OK, CLSIDFromProgID(progId, &clsid)) << progId;
    wchar_t text[64];
    StringFromGUID2(clsid, text, 64);
    std::wstring key = std::wstring(L"CLSID\\") + text + L"\\InprocServer32";
    EXPECT_EQ(L"Apartment", RegistryText(key, L"ThreadingModel")) << progId;
    EXPECT_NE(std::wstring::npos, RegistryText(key, nullptr).find(L"AutomationStandIns.dll")) << progId;
  }
}

TEST_F(ServerByProgId, OutlookRegistersAReadablePstAndRefusesOtherFiles) {
  DispPtr app;
  ASSERT_EQ(S_OK, CreateByProgId(L"Outlook.Application", app));
  DispPtr ns = Method(app.get(), 0x110, {Arg::Text(L"MAPI")}).Object();
  ASSERT_TRUE(ns);
  EXPECT_EQ(S_OK, Method(ns.get(), 0x2105, {Arg::Text(L""), Arg::Text(L""), Arg::Missing(), Arg::Missing()},
                         Pass::ByReference)
                      .hr);
  EXPECT_EQ(S_OK,
            Method(ns.get(), 0x2119, {Arg::Text(Fixture("pst/hht-three-items.pst"))}, Pass::ByReference).hr);
  EXPECT_EQ(S_OK, Method(ns.get(), 0x2119, {Arg::Text(Fixture("pst/ost-exchange-sample.ost"))}).hr);

  testsupport::TempDir dir;
  CallResult missing = Method(ns.get(), 0x2119, {Arg::Text(Widen(dir.File("no-such-file.pst")))});
  EXPECT_EQ(DISP_E_EXCEPTION, missing.hr);
  EXPECT_EQ(L"Outlook.Application", missing.source);
  EXPECT_NE(std::wstring::npos, missing.description.find(L"does not exist")) << missing.description;
  CallResult notPst = Method(ns.get(), 0x2119, {Arg::Text(Fixture("pst/README.md"))});
  EXPECT_EQ(DISP_E_EXCEPTION, notPst.hr);
  EXPECT_NE(std::wstring::npos, notPst.description.find(L"not a personal folders")) << notPst.description;
  EXPECT_EQ(DISP_E_EXCEPTION, Method(ns.get(), 0x2119, {Arg::Text(Fixture("pst"))}).hr);  // a directory

  EXPECT_EQ(S_OK, Method(ns.get(), 0x2106).hr);
  EXPECT_EQ(S_OK, Method(app.get(), 0x113).hr);
  EXPECT_EQ(DISP_E_EXCEPTION, Method(app.get(), 0x110, {Arg::Text(L"Other")}).hr);
}

TEST_F(ServerByProgId, RedemptionSessionLogsOnAndOff) {
  DispPtr session;
  ASSERT_EQ(S_OK, CreateByProgId(L"Redemption.RDOSession", session));
  CallResult before = Get(session.get(), 0x2);
  EXPECT_EQ(VT_BOOL, V_VT(&before.value));
  EXPECT_EQ(VARIANT_FALSE, V_BOOL(&before.value));
  EXPECT_EQ(DISP_E_EXCEPTION, Get(session.get(), 0x6).hr);  // no stores before log-on
  ASSERT_EQ(S_OK,
            Method(session.get(), 0x4,
                   {Arg::Text(L""), Arg::Int(0), Arg::Int(0), Arg::Int(1), Arg::Int(0x1234), Arg::Int(0)},
                   Pass::ByReference)
                .hr);
  CallResult after = Get(session.get(), 0x2);
  EXPECT_EQ(VARIANT_TRUE, V_BOOL(&after.value));
  DispPtr stores = Get(session.get(), 0x6).Object();
  ASSERT_TRUE(stores);
  CallResult notPst =
      Method(stores.get(), 0x5, {Arg::Text(Fixture("pst/README.md")), Arg::Int(1), Arg::Text(L"")});
  EXPECT_EQ(DISP_E_EXCEPTION, notPst.hr);
  EXPECT_EQ(L"Redemption.RDOSession", notPst.source);
  EXPECT_FALSE(notPst.description.empty());
  EXPECT_EQ(S_OK, Method(session.get(), 0x12).hr);
  CallResult loggedOff = Get(session.get(), 0x2);
  EXPECT_EQ(VARIANT_FALSE, V_BOOL(&loggedOff.value));
}

TEST_F(ServerByProgId, CreationFaultsFailCreationWithTheirName) {
  for (const char* key : {"outlook.create", "rdo.create"}) {
    ScopedFaults faults(key);
    DispPtr object;
    std::wstring description;
    HRESULT hr =
        CreateByProgId(std::string(key) == "rdo.create" ? L"Redemption.RDOSession" : L"Outlook.Application",
                       object, &description);
    EXPECT_TRUE(FAILED(hr)) << key;
    EXPECT_FALSE(object) << key;
    EXPECT_NE(std::wstring::npos, description.find(Widen(key)))
        << key << ": " << std::string(description.begin(), description.end());
  }
  // The other server is not touched by a key that is not its own.
  ScopedFaults faults("rdo.create");
  DispPtr app;
  EXPECT_EQ(S_OK, CreateByProgId(L"Outlook.Application", app));
}

TEST_F(ServerByProgId, CallFaultsRaiseExceptionsNamingThemselves) {
  struct Case {
    const char* key;
    const wchar_t* progId;
  };
  for (const Case& c :
       {Case{"outlook.logon", L"Outlook.Application"}, Case{"outlook.addstore", L"Outlook.Application"},
        Case{"rdo.logon", L"Redemption.RDOSession"}, Case{"rdo.stores", L"Redemption.RDOSession"},
        Case{"rdo.addpststore", L"Redemption.RDOSession"}}) {
    ScopedFaults faults(c.key);
    DispPtr server;
    ASSERT_EQ(S_OK, CreateByProgId(c.progId, server)) << c.key;
    CallResult failed;
    if (std::string(c.key).rfind("outlook.", 0) == 0) {
      DispPtr ns = Method(server.get(), 0x110, {Arg::Text(L"MAPI")}).Object();
      CallResult logon =
          Method(ns.get(), 0x2105, {Arg::Text(L""), Arg::Text(L""), Arg::Missing(), Arg::Missing()});
      failed = std::string(c.key) == "outlook.logon"
                   ? std::move(logon)
                   : Method(ns.get(), 0x2119, {Arg::Text(Fixture("pst/hht-three-items.pst"))});
    } else {
      CallResult logon =
          Method(server.get(), 0x4,
                 {Arg::Text(L""), Arg::Int(0), Arg::Int(0), Arg::Int(1), Arg::Int(0), Arg::Int(0)});
      if (std::string(c.key) == "rdo.logon") {
        failed = std::move(logon);
      } else {
        CallResult stores = Get(server.get(), 0x6);
        if (std::string(c.key) == "rdo.stores") {
          failed = std::move(stores);
        } else {
          DispPtr collection = stores.Object();
          failed = Method(collection.get(), 0x5,
                          {Arg::Text(Fixture("pst/hht-three-items.pst")), Arg::Int(1), Arg::Text(L"")});
        }
      }
    }
    EXPECT_EQ(DISP_E_EXCEPTION, failed.hr) << c.key;
    EXPECT_NE(std::wstring::npos, failed.description.find(Widen(c.key))) << c.key;
  }
}

}  // namespace
