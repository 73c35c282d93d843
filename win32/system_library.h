#pragma once

// A function of a Windows DLL, looked up while the program runs: one that
// only later versions of Windows have, or one of a DLL that only some runs
// need (a screen reader's requests), so that other runs neither load nor
// depend on it. A DLL not yet loaded is loaded by its full path in the
// system folder: a program run from a USB stick must not load a DLL that
// happens to lie beside it. Null where Windows has no such function.
using AnyFunction = void (*)();
AnyFunction systemFunction(const wchar_t *library, const char *name);

template <typename Function> Function systemFunction(const wchar_t *library, const char *name)
{
    return reinterpret_cast<Function>(systemFunction(library, name));
}
