#include "accessibility.h"

#include <oleacc.h>

#include "platform/win32/systemfunction.h"

namespace velmora {

namespace {

// oleacc's identifiers, which its import library would otherwise bring in with the DLL.
constexpr CLSID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr MSAAPROPID kDescriptionProperty = {
    0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
constexpr MSAAPROPID kRoleProperty = {
    0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};

// Loaded on first use: a window nobody reads with a screen reader never loads COM or oleacc.
template <typename Function>
Function *ole32(const char *name) {
    return systemFunction<Function>(L"ole32.dll", name);
}

template <typename Function>
Function *oleacc(const char *name) {
    return systemFunction<Function>(L"oleacc.dll", name);
}

BSTR newString(const std::wstring &text) {
    static auto *const allocate =
        systemFunction<decltype(SysAllocString)>(L"oleaut32.dll", "SysAllocString");
    return allocate != nullptr ? allocate(text.c_str()) : nullptr;
}

bool isSelf(const VARIANT &child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

/** The texts the control gives now; nothing once it is gone. */
bool askText(HWND control, AccessibleText &text) {
    return IsWindow(control) &&
           SendMessageW(control, kAccessibleTextMessage, 0, reinterpret_cast<LPARAM>(&text)) != 0;
}

/**
 * The system's accessible object for a control, with the name, description and role the control
 * gives at the time they are asked for; everything else is the system object's.
 */
class ControlAccessible final : public IAccessible {
public:
    ControlAccessible(HWND control, IAccessible *system) : m_control(control), m_system(system) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        if (iid == __uuidof(IEnumVARIANT) || iid == __uuidof(IOleWindow)) {
            return m_system->QueryInterface(iid, object);
        }
        // Nothing else of the system object's, its marshalling least of all: a client in another
        // process is to get this object, not the one inside it.
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&m_references);
        if (left == 0) {
            m_system->Release();
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
        return m_system->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override {
        return m_system->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override {
        return m_system->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception,
                                     UINT *wrongArgument) override {
        return m_system->Invoke(id, iid, locale, flags, parameters, result, exception,
                                wrongArgument);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override {
        AccessibleText text;
        if (name == nullptr || !isSelf(child) || !askText(m_control, text) || text.name.empty()) {
            return m_system->get_accName(child, name);
        }
        *name = newString(text.name);
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override {
        AccessibleText text;
        if (description == nullptr || !isSelf(child) || !askText(m_control, text)) {
            return m_system->get_accDescription(child, description);
        }
        if (text.description.empty()) {
            *description = nullptr;
            return S_FALSE;
        }
        *description = newString(text.description);
        return *description != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override {
        AccessibleText text;
        if (role == nullptr || !isSelf(child) || !askText(m_control, text) || text.role == 0) {
            return m_system->get_accRole(child, role);
        }
        role->vt = VT_I4;
        role->lVal = text.role;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override {
        return m_system->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override {
        return m_system->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override {
        return m_system->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override {
        return m_system->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override {
        return m_system->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override {
        return m_system->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override {
        return m_system->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override {
        return m_system->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override {
        return m_system->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override {
        return m_system->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override {
        return m_system->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return m_system->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                          VARIANT child) override {
        return m_system->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override {
        return m_system->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT *child) override {
        return m_system->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return m_system->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return m_system->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return m_system->put_accValue(child, value);
    }

private:
    ~ControlAccessible() = default;

    HWND m_control;
    IAccessible *m_system;
    LONG m_references = 1;
};

}  // namespace

ControlAccessibility::~ControlAccessibility() {
    if (m_services != nullptr) {
        m_services->Release();
    }
    if (m_comStarted) {
        if (auto *stop = ole32<decltype(CoUninitialize)>("CoUninitialize")) {
            stop();
        }
    }
}

LRESULT ControlAccessibility::getObject(HWND control, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != OBJID_CLIENT) {
        return 0;
    }
    if (m_mode == Mode::Unasked) {
        m_mode = Mode::Answering;
        auto *start = ole32<decltype(CoInitializeEx)>("CoInitializeEx");
        auto *create = ole32<decltype(CoCreateInstance)>("CoCreateInstance");
        m_comStarted = start != nullptr && SUCCEEDED(start(nullptr, COINIT_APARTMENTTHREADED));
        void *services = nullptr;
        if (create != nullptr &&
            SUCCEEDED(create(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                             kAccPropServicesInterface, &services))) {
            m_services = static_cast<IUnknown *>(services);
            m_mode = Mode::Annotating;
            // Every control at once: a client reads the others without asking each of them.
            EnumChildWindows(
                GetParent(control),
                [](HWND child, LPARAM self) {
                    reinterpret_cast<ControlAccessibility *>(self)->annotate(child);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(this));
        }
    }
    if (m_mode == Mode::Annotating) {
        return 0;  // the system's own object, which reads the annotations
    }
    auto *createSystem = oleacc<decltype(CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    auto *answer = oleacc<decltype(LresultFromObject)>("LresultFromObject");
    void *system = nullptr;
    if (createSystem == nullptr || answer == nullptr ||
        FAILED(createSystem(control, OBJID_CLIENT, __uuidof(IAccessible), &system))) {
        return 0;
    }
    auto *object = new ControlAccessible(control, static_cast<IAccessible *>(system));
    const LRESULT result = answer(__uuidof(IAccessible), wParam, object);
    object->Release();
    return result;
}

void ControlAccessibility::annotate(HWND control) {
    AccessibleText text;
    if (m_mode != Mode::Annotating || !askText(control, text)) {
        return;
    }
    auto *services = static_cast<IAccPropServices *>(m_services);
    HRESULT result = S_OK;
    if (!text.name.empty()) {
        result = services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                          kNameProperty, text.name.c_str());
    }
    if (SUCCEEDED(result)) {
        result = services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                          kDescriptionProperty, text.description.c_str());
    }
    if (SUCCEEDED(result) && text.role != 0) {
        VARIANT role;
        role.vt = VT_I4;
        role.lVal = text.role;
        result = services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                       kRoleProperty, role);
    }
    if (FAILED(result)) {
        // No annotations here (wine has none): the controls answer for themselves from now on.
        m_mode = Mode::Answering;
    }
}

void ControlAccessibility::textChanged(HWND control) {
    if (m_mode == Mode::Unasked) {
        return;  // nobody has asked yet; whoever asks first reads the texts as they are then
    }
    annotate(control);
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace velmora
