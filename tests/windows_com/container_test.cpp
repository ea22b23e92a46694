// permlet.ocx in containers, on a display (run_wine_tests.sh runs the suite
// Container under Xvfb with the control registered): the system's ATL host,
// a plain container without windowless activation, and a property frame.
#include <gtest/gtest.h>

#include "tests/windows_com/com_test_support.h"

namespace {

using namespace permlet_com_test;

// A real container: the system's ATL host creates the control by its
// program identifier, embeds it and activates it in place.
TEST(Container, AtlHostEmbedsAndActivatesTheControl) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HMODULE atl = LoadLibraryA("atl.dll");
  ASSERT_NE(atl, nullptr);
  auto init = reinterpret_cast<BOOL(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  auto getControl = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(
      reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
  ASSERT_TRUE(init != nullptr && getControl != nullptr);
  ASSERT_TRUE(init());
  HWND host = CreateWindowExW(0, L"AtlAxWin", L"PERMLET.PermletCtrl.1", WS_OVERLAPPEDWINDOW, 0, 0,
                              120, 80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(host, nullptr);
  IUnknown* control = nullptr;
  ASSERT_EQ(getControl(host, &control), S_OK);
  IOleInPlaceObject* inPlace = nullptr;
  ASSERT_EQ(control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)),
            S_OK);
  // The host offers windowless activation, which the control takes.
  HWND window = nullptr;
  EXPECT_EQ(inPlace->GetWindow(&window), E_FAIL);
  EXPECT_EQ(GetWindow(host, GW_CHILD), nullptr);
  inPlace->Release();
  IOleInPlaceObjectWindowless* windowless = nullptr;
  ASSERT_EQ(control->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                    reinterpret_cast<void**>(&windowless)),
            S_OK);
  windowless->Release();
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  LPOLESTR name = const_cast<LPOLESTR>(L"Chmod");
  DISPID id = 0;
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 8);
  dispatch->Release();
  control->Release();
  DestroyWindow(host);
  CoUninitialize();
}

// A container that offers in-place activation without windowless
// activation: the control then shows itself in a child window.
class PlainSite final : public IOleClientSite, public IOleInPlaceSite {
 public:
  explicit PlainSite(HWND window) : window_(window) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
      *object = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
      *object = static_cast<IOleInPlaceSite*>(this);
    else
      return E_NOINTERFACE;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override {
    active = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT position, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO) override {
    *frame = nullptr;
    *doc = nullptr;
    *position = {10, 10, 51, 41};
    *clip = *position;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
    active = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

  bool active = false;

 private:
  HWND window_;
};

TEST(Container, PlainContainerShowsTheControlInAChildWindow) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HWND frame = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(frame, nullptr);
  IOleObject* control = nullptr;
  ASSERT_EQ(CoCreateInstance(kControlClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                             reinterpret_cast<void**>(&control)),
            S_OK);
  PlainSite site(frame);
  EXPECT_EQ(control->SetClientSite(&site), S_OK);
  DWORD status = 0;
  EXPECT_EQ(control->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
  EXPECT_EQ(status, 0x20091u);
  ASSERT_EQ(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, frame, nullptr), S_OK);
  EXPECT_TRUE(site.active);
  HWND window = GetWindow(frame, GW_CHILD);
  ASSERT_NE(window, nullptr);
  char className[64] = "";
  GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "PermletCtrlWindow");
  RECT area{};
  GetClientRect(window, &area);
  EXPECT_EQ(area.right, 41);
  EXPECT_EQ(area.bottom, 31);
  // The window shows the placeholder: white, and the ellipse's black edge.
  UpdateWindow(window);
  HDC context = GetDC(window);
  EXPECT_EQ(GetPixel(context, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(context, 0, 15), RGB(0, 0, 0));
  ReleaseDC(window, context);
  EXPECT_EQ(control->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_FALSE(site.active);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(control->SetClientSite(nullptr), S_OK);
  control->Release();
  DestroyWindow(frame);
  CoUninitialize();
}

using ContainerPropertyPage = PropertyPage;

TEST_F(ContainerPropertyPage, ShowsItsDialogInTheFrame) {
  ASSERT_EQ(created_, S_OK);
  HWND frame = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 500, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(frame, nullptr);
  const RECT position = {5, 5, 420, 110};
  ASSERT_EQ(page_->Activate(frame, &position, TRUE), S_OK);
  HWND dialog = GetWindow(frame, GW_CHILD);
  ASSERT_NE(dialog, nullptr);
  char text[128] = "";
  GetWindowTextA(GetWindow(dialog, GW_CHILD), text, sizeof text);
  EXPECT_STREQ(text,
               "TODO: Place controls to manipulate properties of Permlet Control on this dialog.");
  EXPECT_EQ(page_->Deactivate(), S_OK);
  EXPECT_FALSE(IsWindow(dialog));
  DestroyWindow(frame);
}

}  // namespace
