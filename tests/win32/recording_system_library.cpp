#include "recording_system_library.h"

#include "system_library.h"

#include <unknwn.h>

#include <cstring>
#include <string>

namespace {

// A provider that stands for one window: the window is its only state.
class StandInProvider final : public IUnknown {
  public:
    explicit StandInProvider(HWND window) : window_(window) {}
    HWND window() const { return window_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        *object = iid == IID_IUnknown ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

  private:
    ~StandInProvider() = default;
    HWND window_;
    ULONG references_ = 1;
};

HRESULT WINAPI hostProviderFromHwnd(HWND window, IUnknown **provider)
{
    *provider = new StandInProvider(window);
    return S_OK;
}

HRESULT WINAPI raiseNotificationEvent(IUnknown *provider, int kind, int processing, BSTR text, BSTR activity)
{
    raisedNotifications().push_back({static_cast<StandInProvider *>(provider)->window(), kind, processing,
                                     text ? text : L"", activity ? activity : L""});
    return S_OK;
}

} // namespace

std::vector<RaisedNotification> &raisedNotifications()
{
    static std::vector<RaisedNotification> raised;
    return raised;
}

AnyFunction systemFunction(const wchar_t *library, const char *name)
{
    if (std::wstring_view(library) == L"uiautomationcore.dll") {
        if (std::strcmp(name, "UiaHostProviderFromHwnd") == 0)
            return reinterpret_cast<AnyFunction>(hostProviderFromHwnd);
        if (std::strcmp(name, "UiaRaiseNotificationEvent") == 0)
            return reinterpret_cast<AnyFunction>(raiseNotificationEvent);
    }
    HMODULE module = LoadLibraryW(library);
    return module ? reinterpret_cast<AnyFunction>(GetProcAddress(module, name)) : nullptr;
}
