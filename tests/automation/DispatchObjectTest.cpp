// The dispatch base as late-bound callers reach it: kind checks, argument passing and coercion,
// missing arguments, puts, and failures carried in EXCEPINFO.
#include "ComTest.h"
#include "DispatchHelpers.h"
#include "FakePst.h"
#include "RdoSession.h"

using namespace automationtest;

namespace {

class DispatchCalls : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    store_ = std::make_shared<FakeStore>();
    auto inbox = store_->top->Add(u"Inbox");
    inbox->AddMessage(u"IPM.Note")->Text(0x0037, u"first");
    inbox->AddMessage(u"IPM.Note")->Text(0x0037, u"second");
    session_.reset(new automation::RdoSession(FakeOpener(store_)));
  }
  DispPtr Store() {
    EXPECT_EQ(S_OK, Method(session_.get(), 0x4,
                           {Arg::Text(L""), Arg::Int(0), Arg::Int(0), Arg::Int(1), Arg::Int(0), Arg::Int(0)})
                        .hr);
    DispPtr stores = Get(session_.get(), 0x6).Object();
    return Method(stores.get(), 0x5, {Arg::Text(L"c:\\x.pst"), Arg::Int(1), Arg::Text(L"")}).Object();
  }
  DispPtr Items() {
    DispPtr root = Get(Store().get(), 0x68).Object();
    DispPtr folders = Get(root.get(), 0x12).Object();
    DispPtr inbox = Method(folders.get(), 0x5).Object();
    return Get(inbox.get(), 0x11).Object();
  }
  std::shared_ptr<FakeStore> store_;
  DispPtr session_;
};

TEST_F(DispatchCalls, KindIsCheckedAgainstTheTable) {
  // GetStores is a property: a plain method call does not reach it, the combined form does.
  EXPECT_EQ(S_OK, Method(session_.get(), 0x4).hr);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Method(session_.get(), 0x6).hr);
  EXPECT_EQ(S_OK, Call(session_.get(), 0x6, DISPATCH_METHOD | DISPATCH_PROPERTYGET).hr);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Get(session_.get(), 0x4).hr);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Get(session_.get(), 0x77).hr);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Put(session_.get(), 0x2, Arg::Int(1)).hr);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXPECT_EQ(DISP_E_UNKNOWNINTERFACE,
            session_->Invoke(0x2, IID_IDispatch, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr));
}

TEST_F(DispatchCalls, ArgumentsByReferenceAndByValueAreTheSame) {
  DispPtr items = Items();
  CallResult byValue = Method(items.get(), 0x9, {Arg::Int(2)});
  CallResult byRef = Method(items.get(), 0x9, {Arg::Int(2)}, Pass::ByReference);
  ASSERT_EQ(S_OK, byValue.hr);
  ASSERT_EQ(S_OK, byRef.hr);
  EXPECT_EQ(L"second", Get(byValue.Object().get(), 0x0).Text());
  EXPECT_EQ(L"second", Get(byRef.Object().get(), 0x0).Text());
  // Text that reads as a number is coerced; other text is a type mismatch.
  EXPECT_EQ(S_OK, Method(items.get(), 0x9, {Arg::Text(L"1")}).hr);
  CallResult bad = Method(items.get(), 0x9, {Arg::Text(L"first")});
  EXPECT_EQ(DISP_E_TYPEMISMATCH, bad.hr);
  EXPECT_EQ(0u, bad.argErr);
}

TEST_F(DispatchCalls, ArgumentCountsAndMissingArguments) {
  DispPtr items = Items();
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, Method(items.get(), 0x9).hr);
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, Method(items.get(), 0x9, {Arg::Int(1), Arg::Int(2)}).hr);
  EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, Method(items.get(), 0x9, {Arg::Missing()}).hr);
  // Log-on takes six optional arguments; missing ones are accepted in any position.
  EXPECT_EQ(S_OK, Method(session_.get(), 0x4, {Arg::Text(L""), Arg::Missing(), Arg::Missing()}).hr);
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, Method(session_.get(), 0x4, std::vector<Arg>(7, Arg::Int(0))).hr);
}

TEST_F(DispatchCalls, PutNeedsTheNamedPutArgument) {
  DispPtr store = Store();
  Arg name = Arg::Text(L"Renamed");
  DISPPARAMS unnamed = {&name.Get(), nullptr, 1, 0};
  EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL,
            store->Invoke(0xA, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr, nullptr));
  EXPECT_EQ(L"Personal Folders", Get(store.get(), 0xA).Text());
  EXPECT_EQ(S_OK, Put(store.get(), 0xA, Arg::Text(L"Renamed")).hr);
  EXPECT_EQ(L"Renamed", Get(store.get(), 0xA).Text());
}

TEST_F(DispatchCalls, FailureReachesTheCallerAsExceptionWithWords) {
  DispPtr items = Items();
  CallResult outOfRange = Method(items.get(), 0x9, {Arg::Int(3)});
  EXPECT_EQ(DISP_E_EXCEPTION, outOfRange.hr);
  EXPECT_EQ(L"Redemption.RDOSession", outOfRange.source);
  EXPECT_NE(std::wstring::npos, outOfRange.description.find(L"out of range")) << outOfRange.description;
  // A caller without an EXCEPINFO still gets the failure.
  Arg index = Arg::Int(0);
  DISPPARAMS params = {&index.Get(), nullptr, 1, 0};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(DISP_E_EXCEPTION,
            items->Invoke(0x9, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr));
  EXPECT_EQ(VT_EMPTY, V_VT(&result));
}

TEST_F(DispatchCalls, NamesResolveToTheFixedIdentifiers) {
  const wchar_t* names[] = {L"stores"};
  DISPID id = 0;
  EXPECT_EQ(S_OK, session_->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(names), 1, 0, &id));
  EXPECT_EQ(0x6, id);
  const wchar_t* unknown[] = {L"Nothing"};
  EXPECT_EQ(DISP_E_UNKNOWNNAME, session_->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(unknown), 1, 0, &id));
}

}  // namespace
