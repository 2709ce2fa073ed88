#include "dialog/header_name.h"

namespace {

constexpr CLSID kAccPropServices = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {0x6e26e776,
                                           0x04f0,
                                           0x495d,
                                           {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kNameProperty = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr MSAAPROPID kRoleProperty = {0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};

HRESULT MakeSystemAccPropServices(IAccPropServices** services) {
    return CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesInterface,
                            reinterpret_cast<void**>(services));
}

}  // namespace

AccPropServicesMaker accPropServicesMaker = MakeSystemAccPropServices;

bool NameHeaderPicture(HWND picture, const wchar_t* name) {
    IAccPropServices* services = nullptr;
    if (picture == nullptr || FAILED(accPropServicesMaker(&services)) || services == nullptr) {
        return false;
    }
    VARIANT role = {};
    V_VT(&role) = VT_I4;
    V_I4(&role) = ROLE_SYSTEM_GRAPHIC;
    const bool named =
        SUCCEEDED(
            services->SetHwndPropStr(picture, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kNameProperty, name)) &&
        SUCCEEDED(services->SetHwndProp(picture, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kRoleProperty, role));
    services->Release();
    return named;
}
