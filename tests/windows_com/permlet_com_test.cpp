// permlet.ocx through the system's component services, under wine, after
// "regsvr32 permlet.ocx" (run_wine_tests.sh). What the control does with
// the permission file is the native tests' (tests/permlet); the checker
// calls it through IDispatch in checker_permissions_wine_test.cpp.
#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, whose types it uses.
#include <oleauto.h>

#include <vector>

namespace {

const CLSID kControlClsid = {
    0x0FC45993, 0x7C08, 0x4B1D, {0x9F, 0xCC, 0x36, 0x33, 0x21, 0x0F, 0xCA, 0xF9}};
const IID kDPermletIid = {
    0x7A39B829, 0xF630, 0x4261, {0xB5, 0x8B, 0xE4, 0x0E, 0xDA, 0x6B, 0x93, 0x20}};

// A client of the control, as the checker is one: one object made by class
// identifier.
class RegisteredClient : public ::testing::Test {
 protected:
  RegisteredClient() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    created_ = CoCreateInstance(kControlClsid, nullptr, CLSCTX_INPROC_SERVER, kDPermletIid,
                                reinterpret_cast<void**>(&control_));
  }
  ~RegisteredClient() override {
    if (control_ != nullptr) control_->Release();
    CoUninitialize();
  }

  HRESULT created_ = E_FAIL;
  IDispatch* control_ = nullptr;
};

TEST_F(RegisteredClient, NamesGiveTheFixedIdentifiers) {
  ASSERT_EQ(created_, S_OK);
  const wchar_t* names[] = {L"owner",    L"GROUP",       L"mode",  L"free",        L"complete",
                            L"errormsg", L"setfilepath", L"Chmod", L"BeginUpdate", L"endupdate"};
  for (DISPID expected = 1; expected <= 10; ++expected) {
    LPOLESTR name = const_cast<LPOLESTR>(names[expected - 1]);
    DISPID id = 0;
    EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, expected);
  }
}

// The type library that widl compiled gives the methods their arguments'
// and results' types.
TEST_F(RegisteredClient, TheTypeLibraryGivesTheMethodsTypes) {
  ASSERT_EQ(created_, S_OK);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(control_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
  EXPECT_EQ(attributes->cVars, 6);  // the properties 1 to 6
  struct Method {
    std::vector<VARTYPE> arguments;
    VARTYPE result;
  };
  const Method methods[] = {
      {{VT_BSTR}, VT_BOOL},
      {{VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_I2, VT_I2}, VT_I4},
      {{}, VT_I4},
      {{}, VT_I4},
  };
  int found = 0;
  for (UINT i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
    if (function->memid >= 7 && function->memid <= 10) {
      ++found;
      const Method& method = methods[function->memid - 7];
      std::vector<VARTYPE> arguments;
      for (SHORT p = 0; p < function->cParams; ++p)
        arguments.push_back(function->lprgelemdescParam[p].tdesc.vt);
      EXPECT_EQ(arguments, method.arguments) << function->memid;
      EXPECT_EQ(function->elemdescFunc.tdesc.vt, method.result) << function->memid;
    }
    info->ReleaseFuncDesc(function);
  }
  EXPECT_EQ(found, 4);
  info->ReleaseTypeAttr(attributes);
  info->Release();
}

}  // namespace
