// permlet.ocx as the system's component services see it, under wine: the
// registry entries that regsvr32 leaves, and a client that creates the
// control by class identifier and calls it through IDispatch. The suites
// Registered* run after "regsvr32 permlet.ocx", Unregistered* after
// "regsvr32 /u permlet.ocx" (run_wine_tests.sh); the suites Container* are
// in container_test.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/windows_com/com_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace permlet_com_test;

const char kControlKey[] = "CLSID\\{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}";
const char kPropPageKey[] = "CLSID\\{53101AB9-ABDD-44A1-BFCE-8C550076E3C8}";
const char kTypeLibKey[] = "TypeLib\\{58A6311B-FE0B-49B3-B014-8688FA50D77A}\\1.0";

// The default (or named) text value of a key below HKEY_CLASSES_ROOT; "<none>"
// when there is none.
std::string RegistryText(const std::string& key, const char* name = nullptr) {
  char value[1024];
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return "<none>";
  return value;
}

bool KeyExists(const std::string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A typed argument, owned.
struct Arg {
  VARIANT value;
  explicit Arg(const wchar_t* text) {
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text);
  }
  explicit Arg(short number) {
    VariantInit(&value);
    value.vt = VT_I2;
    value.iVal = number;
  }
  Arg(const Arg& other) {
    VariantInit(&value);
    VariantCopy(&value, const_cast<VARIANT*>(&other.value));
  }
  ~Arg() { VariantClear(&value); }
};

// A client of the control, as the checker is one: the component services
// of this thread, one object made by class identifier, calls by dispatch
// identifier.
class RegisteredClient : public ::testing::Test {
 protected:
  RegisteredClient() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    created_ = CoCreateInstance(kControlClsid, nullptr, CLSCTX_INPROC_SERVER, kDPermletIid,
                                reinterpret_cast<void**>(&control_));
    folder_ = fs::temp_directory_path() / ("permlet-com-" + std::to_string(GetCurrentProcessId()) +
                                           "-" + std::to_string(count_++));
    fs::create_directories(folder_);
  }
  ~RegisteredClient() override {
    if (control_ != nullptr) control_->Release();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    CoUninitialize();
  }

  // Calls `id` with `args` in their natural order; IDispatch takes them last first.
  HRESULT Call(DISPID id, WORD kind, std::vector<Arg> args, VARIANT* result = nullptr) {
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->value);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (kind == DISPATCH_PROPERTYPUT) {
      params.rgdispidNamedArgs = &put;
      params.cNamedArgs = 1;
    }
    UINT argError = 0;
    return control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr,
                            &argError);
  }
  HRESULT Chmod(const wchar_t* mode, const fs::path& path, short complete, short free) {
    VARIANT result;
    VariantInit(&result);
    const HRESULT called =
        Call(8, DISPATCH_METHOD,
             {Arg(mode), Arg(L"bob"), Arg(L"users"), Arg(path.c_str()), Arg(complete), Arg(free)},
             &result);
    if (SUCCEEDED(called)) {
      EXPECT_EQ(result.vt, VT_I4);
      EXPECT_EQ(result.lVal, 0);
    }
    return called;
  }
  std::wstring Property(DISPID id) {
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(Call(id, DISPATCH_PROPERTYGET, {}, &result), S_OK);
    std::wstring text = result.vt == VT_BSTR ? result.bstrVal : L"<not a text>";
    VariantClear(&result);
    return text;
  }
  std::string Acl() const { return ReadBytes(folder_ / ".raidenftpd.acl"); }
  void Touch(const std::string& name) const { std::ofstream(folder_ / name) << "x"; }

  static inline int count_ = 0;
  HRESULT created_ = E_FAIL;
  IDispatch* control_ = nullptr;
  fs::path folder_;
};

TEST(RegisteredKeys, ControlClassHasEveryEntry) {
  EXPECT_EQ(RegistryText(kControlKey), "Permlet Control");
  EXPECT_EQ(RegistryText(std::string(kControlKey) + "\\ProgID"), "PERMLET.PermletCtrl.1");
  const std::string server = RegistryText(std::string(kControlKey) + "\\InprocServer32");
  EXPECT_TRUE(server.ends_with("\\permlet.ocx")) << server;
  EXPECT_EQ(RegistryText(std::string(kControlKey) + "\\InprocServer32", "ThreadingModel"),
            "Apartment");
  EXPECT_TRUE(KeyExists(std::string(kControlKey) + "\\Control"));
  EXPECT_FALSE(KeyExists(std::string(kControlKey) + "\\Insertable"));
  EXPECT_EQ(RegistryText(std::string(kControlKey) + "\\MiscStatus\\1"), "131217");  // 0x20091
  EXPECT_EQ(RegistryText(std::string(kControlKey) + "\\ToolboxBitmap32"), server + ", 1");
  EXPECT_EQ(RegistryText(std::string(kControlKey) + "\\TypeLib"),
            "{58A6311B-FE0B-49B3-B014-8688FA50D77A}");
  EXPECT_EQ(RegistryText(std::string(kControlKey) + "\\Version"), "1.0");
  EXPECT_EQ(RegistryText("PERMLET.PermletCtrl.1\\CLSID"), "{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}");
}

TEST(RegisteredKeys, PropertyPageAndTypeLibrary) {
  EXPECT_EQ(RegistryText(kPropPageKey), "Permlet Property Page");
  EXPECT_EQ(RegistryText("PERMLET.PermletPropPage.1\\CLSID"),
            "{53101AB9-ABDD-44A1-BFCE-8C550076E3C8}");
  EXPECT_EQ(RegistryText(std::string(kPropPageKey) + "\\InprocServer32", "ThreadingModel"),
            "Apartment");
  EXPECT_FALSE(KeyExists(std::string(kPropPageKey) + "\\Control"));
  EXPECT_EQ(RegistryText(kTypeLibKey), "Permlet ActiveX Control module");
  EXPECT_TRUE(RegistryText(std::string(kTypeLibKey) + "\\409\\win64").ends_with("permlet.ocx"));
  EXPECT_EQ(RegistryText("Interface\\{7A39B829-F630-4261-B58B-E40EDA6B9320}"), "_DPermlet");
}

TEST(UnregisteredKeys, EveryEntryIsGone) {
  for (const char* key : {kControlKey, kPropPageKey, kTypeLibKey, "PERMLET.PermletCtrl.1",
                          "PERMLET.PermletPropPage.1"})
    EXPECT_FALSE(KeyExists(key)) << key;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IDispatch* control = nullptr;
  EXPECT_EQ(CoCreateInstance(kControlClsid, nullptr, CLSCTX_INPROC_SERVER, kDPermletIid,
                             reinterpret_cast<void**>(&control)),
            REGDB_E_CLASSNOTREG);
  CoUninitialize();
}

TEST_F(RegisteredClient, ArgumentsAreCoercedAndCheckedLikeAutomation) {
  ASSERT_EQ(created_, S_OK);
  Touch("abc");
  VARIANT result;
  VariantInit(&result);
  // complete passed as text, as a script would.
  EXPECT_EQ(Call(8, DISPATCH_METHOD,
                 {Arg(L"554"), Arg(L"bob"), Arg(L"users"), Arg((folder_ / "abc").c_str()),
                  Arg(L"1"), Arg(short{0})},
                 &result),
            S_OK);
  EXPECT_EQ(Acl(), "RD2 2238185766=bob|users|554|1|0|\r\n");
  EXPECT_EQ(Call(8, DISPATCH_METHOD, {Arg(L"554")}, &result), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Call(8, DISPATCH_METHOD,
                 {Arg(L"554"), Arg(L"bob"), Arg(L"users"), Arg(L"x"), Arg(L"not a number"),
                  Arg(short{0})},
                 &result),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Call(11, DISPATCH_METHOD, {}, &result), DISP_E_MEMBERNOTFOUND);
}

// The system's own search finds what its listing leaves out: hidden and
// system entries, and "." and ".." for "*".
TEST_F(RegisteredClient, HiddenTargetsAndTheDotNamesGetEntries) {
  ASSERT_EQ(created_, S_OK);
  Touch("hidden.txt");
  fs::create_directory(folder_ / "Hidden");
  SetFileAttributesA((folder_ / "hidden.txt").string().c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA((folder_ / "Hidden").string().c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Chmod(L"554", folder_ / "hidden.txt", 0, 0), S_OK);
  EXPECT_EQ(Chmod(L"554", folder_ / "Hidden", 0, 0), S_OK);
  EXPECT_EQ(Acl(),
            "RD2 4128179194=bob|users|554|0|0|\r\n"
            "RD2 2237727340=bob|users|554|0|0|\r\n");
  EXPECT_EQ(Chmod(L"555", folder_ / "*", 0, 0), S_OK);
  for (const char* key : {"150863918", "3631349852"})  // "." and ".."
    EXPECT_NE(Acl().find(std::string("RD2 ") + key + "=bob|users|555|1|0|\r\n"), std::string::npos)
        << key;
}

// While the server holds the file open without sharing its deletion, the
// replace is refused: the file is written in place instead, once for the
// whole update.
TEST_F(RegisteredClient, AnUpdateWritesAFileHeldOpenInPlace) {
  ASSERT_EQ(created_, S_OK);
  Touch("abc");
  Touch("def");
  std::ofstream(folder_ / ".raidenftpd.acl", std::ios::binary) << "RD2 77=a|b|c|1|0|\r\n";
  HANDLE server = CreateFileA((folder_ / ".raidenftpd.acl").string().c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(Call(9, DISPATCH_METHOD, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(Chmod(L"554", folder_ / "abc", 0, 0), S_OK);
  EXPECT_EQ(Chmod(L"554", folder_ / "def", 1, 0), S_OK);
  EXPECT_EQ(Acl(), "RD2 77=a|b|c|1|0|\r\n");
  ASSERT_EQ(Call(10, DISPATCH_METHOD, {}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 0);
  CloseHandle(server);
  EXPECT_EQ(Acl(),
            "RD2 216203567=bob|users|554|1|0|\r\n"
            "RD2 2238185766=bob|users|554|0|0|\r\n"
            "RD2 77=a|b|c|1|0|\r\n");
}

TEST_F(RegisteredClient, PropertiesAndSetFilePath) {
  ASSERT_EQ(created_, S_OK);
  EXPECT_EQ(Property(3), L"000");
  EXPECT_EQ(Call(1, DISPATCH_PROPERTYPUT, {Arg(L"someone")}), S_OK);
  EXPECT_EQ(Property(1), L"someone");
  Touch("abc");
  ASSERT_EQ(Chmod(L"755", folder_ / "abc", 1, 0), S_OK);
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(Call(7, DISPATCH_METHOD, {Arg((folder_ / "abc").c_str())}, &result), S_OK);
  EXPECT_EQ(result.vt, VT_BOOL);
  EXPECT_EQ(result.boolVal, VARIANT_TRUE);
  EXPECT_EQ(Property(1), L"bob");
  EXPECT_EQ(Property(2), L"users");
  EXPECT_EQ(Property(3), L"755");
  EXPECT_EQ(Property(5), L"1");
  ASSERT_EQ(Call(7, DISPATCH_METHOD, {Arg((folder_ / "other").c_str())}, &result), S_OK);
  EXPECT_EQ(result.boolVal, VARIANT_FALSE);
  EXPECT_EQ(Property(6), L"Error getting file entry");
}

TEST_F(RegisteredClient, NamesGiveTheFixedIdentifiers) {
  ASSERT_EQ(created_, S_OK);
  const wchar_t* names[] = {L"owner",    L"GROUP",       L"mode",  L"free",        L"complete",
                            L"errormsg", L"setfilepath", L"Chmod", L"BeginUpdate", L"endupdate"};
  for (DISPID expected = 1; expected <= 10; ++expected) {
    LPOLESTR name = const_cast<LPOLESTR>(names[expected - 1]);
    DISPID id = 0;
    EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, expected) << expected;
  }
  LPOLESTR withParams[] = {const_cast<LPOLESTR>(L"Chmod"), const_cast<LPOLESTR>(L"fullpath"),
                           const_cast<LPOLESTR>(L"free")};
  DISPID ids[3] = {};
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, withParams, 3, LOCALE_USER_DEFAULT, ids), S_OK);
  EXPECT_EQ(ids[1], 3);
  EXPECT_EQ(ids[2], 5);
  LPOLESTR unknown = const_cast<LPOLESTR>(L"Chmod2");
  EXPECT_EQ(control_->GetIDsOfNames(IID_NULL, &unknown, 1, LOCALE_USER_DEFAULT, ids),
            DISP_E_UNKNOWNNAME);
}

// The type library that widl compiled agrees with the identifiers and types.
TEST_F(RegisteredClient, TypeInformationDescribesTheControl) {
  ASSERT_EQ(created_, S_OK);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(control_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
  LPOLESTR name = const_cast<LPOLESTR>(L"Chmod");
  MEMBERID id = 0;
  EXPECT_EQ(info->GetIDsOfNames(&name, 1, &id), S_OK);
  EXPECT_EQ(id, 8);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
  EXPECT_TRUE(IsEqualIID(attributes->guid, kDPermletIid));
  EXPECT_EQ(attributes->cVars, 6);
  for (UINT i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &function), S_OK);
    if (function->memid == 8) {
      ASSERT_EQ(function->cParams, 6);
      const VARTYPE expected[] = {VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_I2, VT_I2};
      for (int p = 0; p < 6; ++p) EXPECT_EQ(function->lprgelemdescParam[p].tdesc.vt, expected[p]);
      EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_I4);
    }
    if (function->memid == 9 || function->memid == 10) {
      EXPECT_EQ(function->cParams, 0);
      EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_I4);
    }
    info->ReleaseFuncDesc(function);
  }
  info->ReleaseTypeAttr(attributes);
  info->Release();

  IProvideClassInfo* provider = nullptr;
  ASSERT_EQ(control_->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&provider)),
            S_OK);
  ITypeInfo* classInfo = nullptr;
  ASSERT_EQ(provider->GetClassInfo(&classInfo), S_OK);
  ASSERT_EQ(classInfo->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
  EXPECT_NE(attributes->wTypeFlags & TYPEFLAG_FCONTROL, 0);
  EXPECT_EQ(attributes->cImplTypes, 2);
  classInfo->ReleaseTypeAttr(attributes);
  HREFTYPE sourceType = 0;
  ITypeInfo* source = nullptr;
  ASSERT_EQ(classInfo->GetRefTypeOfImplType(1, &sourceType), S_OK);
  ASSERT_EQ(classInfo->GetRefTypeInfo(sourceType, &source), S_OK);
  ASSERT_EQ(source->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualIID(attributes->guid, kDPermletEventsIid));
  EXPECT_EQ(attributes->cFuncs, 0);  // no events
  source->ReleaseTypeAttr(attributes);
  source->Release();
  classInfo->Release();
  provider->Release();
}

// What a container asks before hosting the control.
TEST_F(RegisteredClient, DrawsWhiteWithAnInscribedEllipse) {
  ASSERT_EQ(created_, S_OK);
  IViewObject2* view = nullptr;
  ASSERT_EQ(control_->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&view)), S_OK);
  HDC screen = GetDC(nullptr);
  HDC context = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 41, 31);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(context, bitmap);
  const RECT all = {0, 0, 41, 31};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(context, &all, red);
  const RECTL bounds = {0, 0, 41, 31};
  EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, context, &bounds, nullptr,
                       nullptr, 0),
            S_OK);
  // The corners are the white fill, the edge's middle the context's black
  // pen, the inside its white brush.
  EXPECT_EQ(GetPixel(context, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(context, 40, 30), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(context, 0, 15), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(context, 20, 15), RGB(255, 255, 255));
  EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, context, &bounds, nullptr,
                       nullptr, 0),
            DV_E_DVASPECT);
  SelectObject(context, previous);
  DeleteObject(red);
  DeleteObject(bitmap);
  DeleteDC(context);
  view->Release();
}

TEST_F(RegisteredClient, PersistsVersionOneAndNamesItsPropertyPage) {
  ASSERT_EQ(created_, S_OK);
  IPersistStreamInit* persist = nullptr;
  ASSERT_EQ(control_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)),
            S_OK);
  EXPECT_EQ(persist->InitNew(), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  EXPECT_EQ(Call(2, DISPATCH_PROPERTYPUT, {Arg(L"staff")}), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_OK);  // a written property marks the control modified
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  EXPECT_EQ(persist->Save(stream, TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  const LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  DWORD version = 0;
  ULONG read = 0;
  ASSERT_EQ(stream->Read(&version, sizeof version, &read), S_OK);
  EXPECT_EQ(read, sizeof version);
  EXPECT_EQ(version, 0x00010000u);  // 1.0, and none of the properties
  ULARGE_INTEGER end{};
  const LARGE_INTEGER none{};
  stream->Seek(none, STREAM_SEEK_END, &end);
  EXPECT_EQ(end.QuadPart, sizeof version);
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(persist->Load(stream), S_OK);
  EXPECT_EQ(Property(2), L"staff");  // loading touches no property
  stream->Release();
  CLSID clsid{};
  EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, kControlClsid));
  persist->Release();

  ISpecifyPropertyPages* pages = nullptr;
  ASSERT_EQ(control_->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages)),
            S_OK);
  CAUUID named{};
  ASSERT_EQ(pages->GetPages(&named), S_OK);
  ASSERT_EQ(named.cElems, 1u);
  EXPECT_TRUE(IsEqualCLSID(named.pElems[0], kPropPageClsid));
  CoTaskMemFree(named.pElems);
  pages->Release();
}

using RegisteredPropertyPage = PropertyPage;

TEST_F(RegisteredPropertyPage, GivesItsCaptionAndSize) {
  ASSERT_EQ(created_, S_OK);
  PROPPAGEINFO info{};
  ASSERT_EQ(page_->GetPageInfo(&info), S_OK);
  EXPECT_STREQ(info.pszTitle, L"General");
  EXPECT_GT(info.size.cy, 0);
  EXPECT_GT(info.size.cx, 3 * info.size.cy);  // 250 x 62 dialog units
  CoTaskMemFree(info.pszTitle);
  EXPECT_EQ(page_->IsPageDirty(), S_FALSE);  // it exchanges no properties
  EXPECT_EQ(page_->Apply(), S_OK);
}

TEST(RegisteredLibrary, ClassFactoriesAndUnloadCheck) {
  const std::string path = RegistryText(std::string(kControlKey) + "\\InprocServer32");
  HMODULE library = LoadLibraryA(path.c_str());
  ASSERT_NE(library, nullptr);
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
  auto getClassObject = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
  auto canUnloadNow = reinterpret_cast<CanUnloadNow>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
  ASSERT_NE(getClassObject, nullptr);
  ASSERT_NE(canUnloadNow, nullptr);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (const CLSID* clsid : {&kControlClsid, &kPropPageClsid}) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(*clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IUnknown* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)),
              S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    object->Release();
    EXPECT_EQ(canUnloadNow(), S_OK);
    factory->LockServer(TRUE);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    factory->LockServer(FALSE);
    EXPECT_EQ(factory->CreateInstance(object, IID_IUnknown, reinterpret_cast<void**>(&object)),
              CLASS_E_NOAGGREGATION);
    factory->Release();
  }
  IClassFactory* none = nullptr;
  EXPECT_EQ(getClassObject(kDPermletIid, IID_IClassFactory, reinterpret_cast<void**>(&none)),
            CLASS_E_CLASSNOTAVAILABLE);
  CoUninitialize();
  FreeLibrary(library);
}

// The version resource marks the library as self-registering.
TEST(RegisteredLibrary, VersionResource) {
  const std::string path = RegistryText(std::string(kControlKey) + "\\InprocServer32");
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  auto text = [&](const char* name) -> std::string {
    void* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), &value, &length)) return "<none>";
    return static_cast<const char*>(value);
  };
  EXPECT_EQ(text("FileDescription"), "Permlet ActiveX Control Module");
  EXPECT_EQ(text("ProductName"), "Permlet ActiveX Control Module");
  EXPECT_EQ(text("InternalName"), "Permlet");
  EXPECT_EQ(text("OriginalFilename"), "Permlet.OCX");
  EXPECT_NE(text("OLESelfRegister"), "<none>");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
}

}  // namespace
