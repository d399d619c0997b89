#include "platform/win32/spoken_texts.h"

#include "platform/win32/application.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <new>

namespace vaskelo::win32 {

namespace {

// The one amendment a control has; its reference data is the control's SpokenTexts.
constexpr UINT_PTR kAmendment = 1;

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT textOut(const std::wstring& text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Windows' own accessible object for the control, answering every question itself
// but the control's name and description where they are given. It is an object of
// its own: it hands out none of the standard object's other interfaces, whose
// IUnknown would be the standard object's and not this one's.
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
        *object = nullptr;
        return E_NOINTERFACE;
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

LRESULT CALLBACK amendedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR amendment,
                                    DWORD_PTR data);

LRESULT handleAmendedControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, SpokenTexts* texts) {
    if (message == WM_NCDESTROY) {
        // The last message the control gets: the texts go with the amendment. Should the
        // removal fail, nothing is lost: no message follows this one.
        const std::unique_ptr<SpokenTexts> owned(texts);
        RemoveWindowSubclass(control, amendedControlProc, kAmendment);
        return DefSubclassProc(control, message, wParam, lParam);
    }
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
    return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT CALLBACK amendedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*amendment*/,
                                    DWORD_PTR data) {
    auto* texts = reinterpret_cast<SpokenTexts*>(data);
    return guardedProcedure([&] { return handleAmendedControl(control, message, wParam, lParam, texts); },
                            [&] { return DefSubclassProc(control, message, wParam, lParam); });
}

}  // namespace

bool setSpokenTexts(HWND control, SpokenTexts texts) {
    auto owned = std::make_unique<SpokenTexts>(std::move(texts));
    if (SetWindowSubclass(control, amendedControlProc, kAmendment, reinterpret_cast<DWORD_PTR>(owned.get())) == FALSE) {
        return false;
    }
    static_cast<void>(owned.release());  // the amendment's now, until WM_NCDESTROY
    return true;
}

}  // namespace vaskelo::win32
