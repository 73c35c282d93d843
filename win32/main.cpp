#include "main_window.h"

#include <objbase.h>
#include <windows.h>

#include <cstdlib>

// The standard library's handler for an uncaught exception prints the
// exception's type, demangled: 45 KB of demangler in a program that has no
// console to print to. Ending at once is all it could do here anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    // What a screen reader asks for is answered with COM objects (MSAA and UI
    // Automation), which need the thread's apartment.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    int exitCode = 0;
    {
        MainWindow window(instance);
        exitCode = window.run(showCommand);
    }
    if (com)
        CoUninitialize();
    return exitCode;
}
