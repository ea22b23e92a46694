// What the COM tests of permlet.ocx share: the identifiers they bind to and
// the property page as a client makes it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, whose types they use.
#include <ocidl.h>
#include <oleauto.h>

namespace permlet_com_test {

inline const CLSID kControlClsid = {
    0x0FC45993, 0x7C08, 0x4B1D, {0x9F, 0xCC, 0x36, 0x33, 0x21, 0x0F, 0xCA, 0xF9}};
inline const CLSID kPropPageClsid = {
    0x53101AB9, 0xABDD, 0x44A1, {0xBF, 0xCE, 0x8C, 0x55, 0x00, 0x76, 0xE3, 0xC8}};
inline const IID kDPermletIid = {
    0x7A39B829, 0xF630, 0x4261, {0xB5, 0x8B, 0xE4, 0x0E, 0xDA, 0x6B, 0x93, 0x20}};
inline const IID kDPermletEventsIid = {
    0xA76AE382, 0x05BD, 0x4931, {0xB1, 0x54, 0xB0, 0x01, 0xBE, 0x79, 0xAC, 0x6D}};

// The property page "General" as a container's property frame uses it.
class PropertyPage : public ::testing::Test {
 protected:
  PropertyPage() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    created_ = CoCreateInstance(kPropPageClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                reinterpret_cast<void**>(&page_));
  }
  ~PropertyPage() override {
    if (page_ != nullptr) page_->Release();
    CoUninitialize();
  }
  HRESULT created_ = E_FAIL;
  IPropertyPage* page_ = nullptr;
};

}  // namespace permlet_com_test
