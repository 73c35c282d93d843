// The installed program, started from its Start menu entry as a learner
// starts it. tests/win32/run.sh runs it once the installer has run.
#include "program_driver.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwctype>

namespace {

std::wstring imageOf(HWND window)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (process) {
        QueryFullProcessImageNameW(process, 0, path, &size);
        CloseHandle(process);
    }
    std::wstring image(path);
    for (wchar_t &c : image)
        c = static_cast<wchar_t>(std::towlower(c));
    return image;
}

TEST(WindowsInstalled, StartsFromItsStartMenuEntry)
{
    const wchar_t *shortcut = _wgetenv(L"TSIFROLET_SHORTCUT");
    const wchar_t *installed = _wgetenv(L"TSIFROLET_INSTALLED");
    ASSERT_TRUE(shortcut && installed)
        << "TSIFROLET_SHORTCUT and TSIFROLET_INSTALLED name the entry and the program";
    const std::wstring entry = shortcut;
    ASSERT_EQ(GetFileAttributesW(entry.c_str()) == INVALID_FILE_ATTRIBUTES, false) << "no Start menu entry";
    ShellExecuteW(nullptr, L"open", entry.c_str(), nullptr, nullptr, SW_SHOWNORMAL);

    HWND form = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (form = FindWindowW(FormClassName, nullptr)) != nullptr; }, 15000));
    std::wstring expected = installed;
    for (wchar_t &c : expected)
        c = static_cast<wchar_t>(std::towlower(c));
    EXPECT_EQ(imageOf(form), expected);
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(form); }));
}

bool exists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Uninstalled while it runs, the program cannot be deleted, and then
// nothing is: the list of programs keeps the entry to remove it by later.
TEST(WindowsInstalled, UninstallingItWhileItRunsRemovesNothing)
{
    const wchar_t *installed = _wgetenv(L"TSIFROLET_INSTALLED");
    ASSERT_TRUE(installed) << "TSIFROLET_INSTALLED names the installed program";
    const std::wstring program = installed;
    const std::wstring folder = program.substr(0, program.rfind(L'\\'));
    const Program running; // TSIFROLET_EXE, the installed program too
    ASSERT_NE(running.form(), nullptr);

    // In place (_?=), so that it ends only once it is done.
    std::wstring command = L"\"" + folder + L"\\uninstall.exe\" /S _?=" + folder;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION uninstaller{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &uninstaller));
    EXPECT_EQ(WaitForSingleObject(uninstaller.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(uninstaller.hProcess, &code);
    CloseHandle(uninstaller.hThread);
    CloseHandle(uninstaller.hProcess);
    EXPECT_EQ(code, 2u) << "the uninstaller did not say that it failed";
    EXPECT_TRUE(exists(program)) << "the running program was deleted";
    EXPECT_TRUE(exists(folder + L"\\uninstall.exe")) << "the uninstaller was deleted";
}

} // namespace
