// Linked into every test program that runs under Wine. A test that crashes
// says so at once, naming itself and the exception, and the program ends
// with an exit code of its own, instead of handing the crash to a debugger
// that waits or to Wine, whose crashed programs can exit 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr UINT CrashedExitCode = 3;

LONG WINAPI reportCrash(EXCEPTION_POINTERS *exception)
{
    const EXCEPTION_RECORD &record = *exception->ExceptionRecord;
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fflush(stdout);
    std::fprintf(stderr, "\nCRASHED: exception 0x%08lx at %p in %s%s%s\n",
                 static_cast<unsigned long>(record.ExceptionCode), record.ExceptionAddress,
                 test ? test->test_suite_name() : "no test", test ? "." : "", test ? test->name() : "");
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), CrashedExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

[[maybe_unused]] const LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(reportCrash);

} // namespace
