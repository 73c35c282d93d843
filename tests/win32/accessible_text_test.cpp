// The names a screen reader hears where the system's own would be wrong, on
// a real edit field in this process: where Wine has an accessible object for
// a control, it cannot hand one to another process.
#include "accessibility.h"

#include <gtest/gtest.h>

namespace {

VARIANT child(LONG id)
{
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring taken(BSTR text)
{
    std::wstring copy = text ? text : L"";
    SysFreeString(text);
    return copy;
}

TEST(WindowsAccessibleText, TheFieldIsNamedAndDescribedAndKeepsItsRole)
{
    HWND field =
        CreateWindowExW(0, L"EDIT", L"56", WS_POPUP, 0, 0, 50, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(field, nullptr);
    const ComRef<IAccessible> named = namedAccessible(field, {L"Ответ", L"Сколько будет 7 х 8?"});
    ASSERT_TRUE(named) << "no accessible object for an edit field";

    BSTR name = nullptr, description = nullptr, value = nullptr;
    VARIANT role{};
    EXPECT_EQ(named->get_accName(child(CHILDID_SELF), &name), S_OK);
    EXPECT_EQ(taken(name), L"Ответ");
    EXPECT_EQ(named->get_accDescription(child(CHILDID_SELF), &description), S_OK);
    EXPECT_EQ(taken(description), L"Сколько будет 7 х 8?");
    // What the field itself tells, the system still answers.
    named->get_accRole(child(CHILDID_SELF), &role);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
    named->get_accValue(child(CHILDID_SELF), &value);
    EXPECT_EQ(taken(value), L"56");

    ComRef<IAccessible> query;
    EXPECT_EQ(named->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void **>(query.out())), S_OK);
    EXPECT_EQ(query.get(), named.get()) << "a reader asking again would meet the system's names";
    DestroyWindow(field);
}

} // namespace
