// Windowed in-place activation: with a site that offers no windowless
// activation, the control makes a child window of its own in the site's
// window. Needs a display (run under Xvfb); skipped when no window can be made.
#include <gtest/gtest.h>

#include <string>

#include "PlugInDll.h"
#include "TestSite.h"

namespace {

class ParentWindow {
public:
    ParentWindow()
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"WevraTestContainer";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"WevraTestContainer", L"container", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~ParentWindow()
    {
        if (window) DestroyWindow(window);
    }
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;
    HWND window = nullptr;
};

TEST(WindowedInPlace, makesAChildWindowAtTheSitePosition_andDestroysItOnDeactivation)
{
    ComApartment apartment;
    ParentWindow parent;
    if (!parent.window) GTEST_SKIP() << "no display: windows cannot be made here";

    const RECT position = {30, 20, 200, 100};
    TestSite site(false, position);
    site.window = parent.window;
    auto ole = PlugInDll::Instance().Create<IOleObject>(IID_IOleObject);
    ASSERT_EQ(ole->SetClientSite(&site), S_OK);
    ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, parent.window, &position), S_OK);
    EXPECT_TRUE(site.Called("OnInPlaceActivate"));
    EXPECT_FALSE(site.Called("CanWindowlessActivate"));

    const auto inPlace = ole.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
    HWND window = nullptr;
    ASSERT_EQ(inPlace->GetWindow(&window), S_OK);
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(GetParent(window), parent.window);
    EXPECT_TRUE(IsWindowVisible(window));
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_EQ(std::wstring(className).rfind(L"ATL:", 0), 0u) << "class name from \"ATL:%p\"";
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 170);
    EXPECT_EQ(client.bottom, 80);

    const RECT moved = {0, 0, 60, 40};
    EXPECT_EQ(inPlace->SetObjectRects(&moved, &moved), S_OK);
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 60);
    EXPECT_EQ(client.bottom, 40);

    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(site.Called("OnInPlaceDeactivate"));
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
}

} // namespace
