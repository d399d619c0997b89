#include "platform/win32/spoken_texts.h"

#include "platform/win32/application.h"

#include <oleacc.h>

#include <new>

namespace vaskelo::win32 {

namespace {

constexpr const wchar_t* kTextsProperty = L"VaskeloSpokenTexts";
constexpr const wchar_t* kProcedureProperty = L"VaskeloControlProcedure";

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT textOut(const std::wstring& text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Windows' own accessible object for the control, answering every question itself
// but the control's name and description where they are given.
class AmendedAccessible final : public IAccessible {
public:
    AmendedAccessible(IAccessible* standard, const SpokenTexts& texts) : standard_(standard), texts_(texts) {}
    AmendedAccessible(const AmendedAccessible&) = delete;
    AmendedAccessible& operator=(const AmendedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The children's enumerator and the window behind the object are the standard one's.
        return standard_->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const auto left = static_cast<ULONG>(InterlockedDecrement(&references_));
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child) || texts_.name.empty()) return standard_->get_accName(child, name);
        return textOut(texts_.name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return standard_->get_accValue(child, value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        if (!isSelf(child) || texts_.description.empty()) return standard_->get_accDescription(child, text);
        return textOut(texts_.description, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return standard_->get_accRole(child, role); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override { return standard_->get_accState(child, state); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return standard_->get_accHelp(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return standard_->get_accSelection(children); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override { return standard_->accHitTest(x, y, child); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override { return standard_->put_accValue(child, value); }

private:
    ~AmendedAccessible() { standard_->Release(); }

    IAccessible* standard_;
    SpokenTexts texts_;
    LONG references_ = 1;
};

LRESULT handleAmendedControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC procedure) {
    auto* texts = static_cast<SpokenTexts*>(GetPropW(control, kTextsProperty));
    if (message == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT && texts != nullptr) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard)))) {
            auto* amended = new (std::nothrow) AmendedAccessible(standard, *texts);
            if (amended == nullptr) {
                standard->Release();
                return 0;
            }
            const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, amended);
            amended->Release();
            return result;
        }
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
        RemovePropW(control, kProcedureProperty);
        RemovePropW(control, kTextsProperty);
        delete texts;
    }
    return CallWindowProcW(procedure, control, message, wParam, lParam);
}

LRESULT CALLBACK amendedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto procedure = reinterpret_cast<WNDPROC>(GetPropW(control, kProcedureProperty));
    return guardedProcedure([&] { return handleAmendedControl(control, message, wParam, lParam, procedure); },
                            [&] { return CallWindowProcW(procedure, control, message, wParam, lParam); });
}

}  // namespace

bool setSpokenTexts(HWND control, SpokenTexts texts) {
    if (auto* existing = static_cast<SpokenTexts*>(GetPropW(control, kTextsProperty))) {
        *existing = std::move(texts);
        return true;
    }
    auto* kept = new (std::nothrow) SpokenTexts(std::move(texts));
    if (kept == nullptr || SetPropW(control, kTextsProperty, kept) == FALSE) {
        delete kept;
        return false;
    }
    const LONG_PTR procedure = GetWindowLongPtrW(control, GWLP_WNDPROC);
    if (SetPropW(control, kProcedureProperty, reinterpret_cast<HANDLE>(procedure)) == FALSE ||
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(amendedControlProc)) == 0) {
        RemovePropW(control, kProcedureProperty);
        RemovePropW(control, kTextsProperty);
        delete kept;
        return false;
    }
    return true;
}

}  // namespace vaskelo::win32
