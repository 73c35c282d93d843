#include "accessibility.h"

#include "system_library.h"

#include <oleacc.h>

#include <utility>

namespace {

// Strings as COM passes them, without importing the library for runs that
// never meet a screen reader.
BSTR allocateString(const std::wstring &text)
{
    static const auto allocate =
        systemFunction<BSTR(WINAPI *)(const OLECHAR *, UINT)>(L"oleaut32.dll", "SysAllocStringLen");
    return allocate ? allocate(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

// A string made for COM, and freed with it.
class ComString {
  public:
    explicit ComString(const std::wstring &text) : text_(allocateString(text)) {}
    ~ComString()
    {
        static const auto free = systemFunction<void(WINAPI *)(BSTR)>(L"oleaut32.dll", "SysFreeString");
        if (free)
            free(text_);
    }
    ComString(const ComString &) = delete;
    ComString &operator=(const ComString &) = delete;
    BSTR get() const { return text_; }

  private:
    BSTR text_;
};

// The system's accessible object for a control, with another name and
// description. Every call of IAccessible is passed on unchanged, but no other
// interface is: one of the system's object (IServiceProvider, say) would lead
// a screen reader to that object and its names. IOleWindow, by which a reader
// finds the control's window, is answered here.
class NamedAccessible final : public IAccessible, public IOleWindow {
  public:
    NamedAccessible(HWND control, ComRef<IAccessible> system, AccessibleText text)
        : control_(control), system_(std::move(system)), text_(std::move(text))
    {
    }
    NamedAccessible(const NamedAccessible &) = delete;
    NamedAccessible &operator=(const NamedAccessible &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible))
            *object = static_cast<IAccessible *>(this);
        else if (iid == __uuidof(IOleWindow))
            *object = static_cast<IOleWindow *>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        if (isSelf(child) && !text_.name.empty())
            return copy(text_.name, name);
        return system_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override
    {
        if (isSelf(child) && !text_.description.empty())
            return copy(text_.description, description);
        return system_->get_accDescription(child, description);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        return system_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override
    {
        return system_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override
    {
        return system_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS *parameters,
                                     VARIANT *result, EXCEPINFO *exception, UINT *argumentError) override
    {
        return system_->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return system_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override
    {
        return system_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override
    {
        return system_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return system_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        return system_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        return system_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        return system_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, LONG *topic) override
    {
        return system_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override
    {
        return system_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override { return system_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        return system_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        return system_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        return system_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG *left, LONG *top, LONG *width, LONG *height,
                                          VARIANT child) override
    {
        return system_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT *end) override
    {
        return system_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT *child) override
    {
        return system_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return system_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return system_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return system_->put_accValue(child, value);
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND *window) override
    {
        if (!window)
            return E_POINTER;
        *window = control_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  private:
    ~NamedAccessible() = default;

    static bool isSelf(const VARIANT &child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
    static HRESULT copy(const std::wstring &text, BSTR *out)
    {
        *out = allocateString(text);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    HWND control_;
    ComRef<IAccessible> system_;
    AccessibleText text_;
    LONG references_ = 1;
};

// UI Automation's notification event, of Windows 10 1709 and later.
enum { NotificationKindActionCompleted = 2, NotificationProcessingImportantAll = 0 };
using HostProviderFunction = HRESULT(WINAPI *)(HWND, IUnknown **);
using RaiseNotificationFunction = HRESULT(WINAPI *)(IUnknown *, int, int, BSTR, BSTR);
using CreateStdAccessibleObjectFunction = HRESULT(WINAPI *)(HWND, LONG, REFIID, void **);
using LresultFromObjectFunction = LRESULT(WINAPI *)(REFIID, WPARAM, IUnknown *);

} // namespace

ComRef<IAccessible> namedAccessible(HWND control, const AccessibleText &text)
{
    // Loaded only once a screen reader asks.
    static const auto createStandard =
        systemFunction<CreateStdAccessibleObjectFunction>(L"oleacc.dll", "CreateStdAccessibleObject");
    ComRef<IAccessible> system;
    if (!createStandard || FAILED(createStandard(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void **>(system.out()))))
        return {};
    return ComRef<IAccessible>(new NamedAccessible(control, std::move(system), text));
}

LRESULT answerAccessibleRequest(HWND control, WPARAM wParam, LPARAM lParam, const AccessibleText &text)
{
    static const auto toResult =
        systemFunction<LresultFromObjectFunction>(L"oleacc.dll", "LresultFromObject");
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || !toResult)
        return 0;
    const ComRef<IAccessible> named = namedAccessible(control, text);
    return named ? toResult(__uuidof(IAccessible), wParam, named.get()) : 0;
}

void descriptionChanged(HWND control)
{
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void announce(HWND window, const std::wstring &message)
{
    static const auto hostProvider =
        systemFunction<HostProviderFunction>(L"uiautomationcore.dll", "UiaHostProviderFromHwnd");
    static const auto raise =
        systemFunction<RaiseNotificationFunction>(L"uiautomationcore.dll", "UiaRaiseNotificationEvent");
    if (!hostProvider || !raise || message.empty())
        return;
    ComRef<IUnknown> provider;
    if (FAILED(hostProvider(window, provider.out())) || !provider)
        return;
    const ComString text(message);
    const ComString activity(L"Tsifrolet");
    raise(provider.get(), NotificationKindActionCompleted, NotificationProcessingImportantAll, text.get(),
          activity.get());
}
