#include "system_library.h"

#include <windows.h>

#include <cstring>
#include <string>

#ifdef TSIFROLET_AS_ON_WINDOWS7
namespace {

// A test build of the program, never shipped: a function Windows 7 lacks is
// missing here too, so that a test under Wine, which has them all, plays the
// way the program runs on Windows 7.
bool inWindows7(const wchar_t *library, const char *name)
{
    // "DLL!function", each known to be in Windows 7.
    static constexpr const char *known[] = {
#include "windows7_functions.inc"
    };
    std::string dll; // DLL names are ASCII
    for (const wchar_t *c = library; *c; ++c)
        dll += static_cast<char>(*c);
    for (const char *entry : known) {
        const char *bang = std::strchr(entry, '!');
        if (std::strcmp(bang + 1, name) == 0 && _stricmp(std::string(entry, bang).c_str(), dll.c_str()) == 0)
            return true;
    }
    return false;
}

} // namespace
#endif

AnyFunction systemFunction(const wchar_t *library, const char *name)
{
#ifdef TSIFROLET_AS_ON_WINDOWS7
    if (!inWindows7(library, name))
        return nullptr;
#endif
    HMODULE module = GetModuleHandleW(library);
    if (!module) {
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return nullptr;
        module = LoadLibraryW((std::wstring(folder, length) + L'\\' + library).c_str());
    }
    return module ? reinterpret_cast<AnyFunction>(GetProcAddress(module, name)) : nullptr;
}
