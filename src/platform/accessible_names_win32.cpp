// The annotation service of Active Accessibility (oleacc), loaded only when a screen reader asks.
#include <initguid.h>

#include "platform/accessible_names_win32.h"

#include <oleacc.h>

namespace brennic {

AccessibleNames::AccessibleNames() {
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   reinterpret_cast<void**>(&services))))
        services_ = services;
}

AccessibleNames::~AccessibleNames() {
    if (services_ != nullptr) services_->Release();
}

void AccessibleNames::setName(HWND control, const wchar_t* name, DWORD childId) {
    if (services_ != nullptr && control != nullptr)
        services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), childId, PROPID_ACC_NAME, name);
}

void AccessibleNames::setDescription(HWND control, const wchar_t* text, DWORD childId) {
    if (services_ != nullptr && control != nullptr)
        services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), childId, PROPID_ACC_DESCRIPTION, text);
}

}  // namespace brennic
