#include "platform/accessible_object.h"

#include <string>

namespace {

// From the interface's declaration: the import library's IID_IAccessible
// symbol can resolve to a stub's code instead of the identifier.
const IID kAccessible = __uuidof(IAccessible);

// The standard object of the window's client area, passed every question
// except its role and the one its text answers. It holds the window's
// handle, not its C++ object: a tool may keep it after the window is gone.
class RoleOverride final : public IAccessible {
  public:
    RoleOverride(HWND window, IAccessible* standard, long role, TextMeaning text)
        : window(window), standard(standard), role(role), text(text) {}

    // IUnknown: this object stands for the standard one; other interfaces
    // (windows, enumeration) are the standard object's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return standard->QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0) delete this;
        return ULONG(left);
    }

    // IDispatch.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return standard->Invoke(id, iid, locale, flags, params, result, exception, argument);
    }

    // IAccessible: what this control says of itself.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* result) override {
        if (!IsSelf(child)) return standard->get_accRole(child, result);
        if (!result) return E_INVALIDARG;
        result->vt = VT_I4;
        result->lVal = role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* result) override {
        if (text == TextMeaning::kName && IsSelf(child)) return WindowText(result);
        return standard->get_accName(child, result);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* result) override {
        if (text == TextMeaning::kValue && IsSelf(child)) return WindowText(result);
        return standard->get_accValue(child, result);
    }

    // IAccessible: the rest as the system describes the window.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override {
        return standard->get_accChild(child, result);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* result) override {
        return standard->get_accDescription(child, result);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* result) override {
        return standard->get_accState(child, result);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* result) override {
        return standard->get_accHelp(child, result);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* result) override {
        return standard->get_accKeyboardShortcut(child, result);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* result) override {
        return standard->get_accFocus(result);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* result) override {
        return standard->get_accSelection(result);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* result) override {
        return standard->get_accDefaultAction(child, result);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* result) override {
        return standard->accNavigate(direction, start, result);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* result) override {
        return standard->accHitTest(x, y, result);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard->put_accValue(child, value);
    }

  private:
    ~RoleOverride() { standard->Release(); }

    static bool IsSelf(const VARIANT& child) {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }

    HRESULT WindowText(BSTR* result) const {
        if (!result) return E_INVALIDARG;
        *result = nullptr;
        if (!::IsWindow(window)) return E_FAIL;
        const int length = ::GetWindowTextLengthW(window);
        std::wstring text(size_t(length) + 1, L'\0');
        text.resize(size_t(::GetWindowTextW(window, &text[0], length + 1)));
        if (text.empty()) return S_FALSE;
        *result = ::SysAllocStringLen(text.data(), UINT(text.size()));
        return *result ? S_OK : E_OUTOFMEMORY;
    }

    LONG references = 1;
    HWND window;
    IAccessible* standard;
    long role;
    TextMeaning text;
};

}  // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, long role,
                               TextMeaning text) {
    if (DWORD(lParam) != DWORD(OBJID_CLIENT)) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, kAccessible,
                                           reinterpret_cast<void**>(&standard)))) {
        return 0;
    }
    RoleOverride* answer = new RoleOverride(window, standard, role, text);
    const LRESULT result = ::LresultFromObject(kAccessible, wParam, answer);
    answer->Release();  // the result holds its own reference
    return result < 0 ? 0 : result;
}

void NotifyAccessibleChange(HWND window, DWORD event) {
    ::NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
}
