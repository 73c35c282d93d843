// The names a screen reader hears where the system's own would be wrong, on
// a real edit field in this process: where Wine has an accessible object for
// a control, it cannot hand one to another process.
#include "accessibility.h"

#include <servprov.h>

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

// COM's rule of identity: whatever interface the field's object hands out
// leads back to that same object, never to the system's one behind it,
// whose names a reader asking through it would hear instead.
TEST(WindowsAccessibleText, EveryInterfaceItAnswersLeadsBackToIt)
{
    HWND field = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(field, nullptr);
    const ComRef<IAccessible> named = namedAccessible(field, {L"Ответ", L""});
    ASSERT_TRUE(named);
    ComRef<IUnknown> identity;
    ASSERT_EQ(named->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(identity.out())), S_OK);

    const struct {
        const char *name;
        IID iid;
        bool answered;
    } asked[] = {
        {"IAccessible", __uuidof(IAccessible), true},
        {"IDispatch", IID_IDispatch, true},
        {"IOleWindow", __uuidof(IOleWindow), true},
        {"IServiceProvider", __uuidof(IServiceProvider), false},
        {"IEnumVARIANT", __uuidof(IEnumVARIANT), false},
    };
    for (const auto &a : asked) {
        ComRef<IUnknown> answer;
        const HRESULT result = named->QueryInterface(a.iid, reinterpret_cast<void **>(answer.out()));
        EXPECT_EQ(SUCCEEDED(result), a.answered) << a.name;
        if (!answer)
            continue;
        ComRef<IUnknown> back;
        answer->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(back.out()));
        EXPECT_EQ(back.get(), identity.get()) << a.name << " leads to another object";
    }
    ComRef<IOleWindow> window;
    named->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void **>(window.out()));
    HWND found = nullptr;
    ASSERT_TRUE(window);
    window->GetWindow(&found);
    EXPECT_EQ(found, field);
    DestroyWindow(field);
}

} // namespace
