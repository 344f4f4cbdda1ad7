#pragma once

// What the system's accessibility (oleacc) reports of a control, as a screen reader hears it;
// shared by the window's tests and the probe that reads velmora.exe from another process.

#include <oleacc.h>
#include <windows.h>

#include <string>

namespace velmora {

/** A control's accessible name, description and role (0: none reported). */
struct Heard {
    std::u16string name;
    std::u16string description;
    LONG role = 0;
};

/** What oleacc reports of control; all empty when it has no accessible object. */
inline Heard hear(HWND control) {
    Heard heard;
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void **>(&object)))) {
        return heard;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const auto read = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR *)) {
        BSTR text = nullptr;
        std::u16string value;
        if ((object->*get)(self, &text) == S_OK && text != nullptr) {
            value = reinterpret_cast<const char16_t *>(text);
        }
        SysFreeString(text);
        return value;
    };
    heard.name = read(&IAccessible::get_accName);
    heard.description = read(&IAccessible::get_accDescription);
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) {
        heard.role = role.lVal;
    }
    object->Release();
    return heard;
}

}  // namespace velmora
