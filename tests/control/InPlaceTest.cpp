// A container hosting the control: windowless in-place activation, quick
// activation, and what IOleObject reads from the control's registration.
#include <gtest/gtest.h>

#include "Canvas.h"
#include "PlugInDll.h"
#include "TestSite.h"

namespace {

constexpr RECT kPosition = {30, 20, 200, 100};

class InPlaceTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (ole_) ole_->Close(OLECLOSE_NOSAVE);
        if (ole_) ole_->SetClientSite(nullptr);
    }

    ComApartment apartment_;
    ComPtr<IOleObject> ole_ = PlugInDll::Instance().Create<IOleObject>(IID_IOleObject);
};

TEST_F(InPlaceTest, activatesWindowlessWhenTheSiteOffersIt_andDrawsAtItsPosition)
{
    TestSite site(true, kPosition);
    ASSERT_EQ(ole_->SetClientSite(&site), S_OK);
    ASSERT_EQ(ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, nullptr, &kPosition), S_OK);
    EXPECT_TRUE(site.Called("CanInPlaceActivate"));
    EXPECT_TRUE(site.Called("CanWindowlessActivate"));
    EXPECT_TRUE(site.Called("OnInPlaceActivateEx(windowless)"));
    EXPECT_FALSE(site.Called("OnUIActivate")) << "in-place activation alone is not UI activation";

    const auto inPlace = ole_.As<IOleInPlaceObjectWindowless>(IID_IOleInPlaceObjectWindowless);
    HWND window = reinterpret_cast<HWND>(1);
    EXPECT_EQ(inPlace->GetWindow(&window), E_FAIL);
    EXPECT_EQ(window, nullptr) << "no window of its own";

    Canvas canvas;
    const auto view = ole_.As<IViewObject>(IID_IViewObject);
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, canvas.Dc(), nullptr, nullptr, nullptr, 0),
              S_OK);
    EXPECT_TRUE(canvas.Inked(kPosition.left, 60)) << "frame at the site's position";
    EXPECT_FALSE(canvas.Inked(kPosition.left - 1, 60));

    const RECT moved = {0, 0, 50, 50};
    EXPECT_EQ(inPlace->SetObjectRects(&moved, &moved), S_OK);
    Canvas again;
    ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, again.Dc(), nullptr, nullptr, nullptr, 0),
              S_OK);
    EXPECT_TRUE(again.Inked(0, 45)) << "frame at the new position";
    EXPECT_FALSE(again.Inked(kPosition.left, 60));

    ASSERT_EQ(ole_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &site, 0, nullptr, &kPosition), S_OK);
    EXPECT_TRUE(site.Called("OnUIActivate"));
    EXPECT_TRUE(site.Called("SetFocus(1)"));

    site.calls.clear();
    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    EXPECT_TRUE(site.Called("OnUIDeactivate"));
    EXPECT_TRUE(site.Called("OnInPlaceDeactivateEx"));
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, again.Dc(), nullptr, nullptr, nullptr, 0),
              E_INVALIDARG)
        << "an inactive control needs bounds";
}

TEST_F(InPlaceTest, siteThatRefusesActivation_leavesTheControlInactive)
{
    TestSite site(true, kPosition);
    site.canInPlaceActivate = S_FALSE;
    ole_->SetClientSite(&site);
    EXPECT_EQ(ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, nullptr, &kPosition), E_FAIL);
    EXPECT_FALSE(site.Called("OnInPlaceActivateEx(windowless)"));
    EXPECT_FALSE(site.Called("OnInPlaceActivate"));
}

TEST_F(InPlaceTest, releasesTheSiteWhenClosedAndTakenAway)
{
    TestSite site(true, kPosition);
    ole_->SetClientSite(&site);
    ole_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &site, 0, nullptr, &kPosition);
    ole_->Close(OLECLOSE_NOSAVE);
    ole_->SetClientSite(nullptr);
    EXPECT_EQ(site.refs, 1u);
}

// These read the control's registration, as containers do.
class RegisteredControlTest : public InPlaceTest {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(CallExport("DllRegisterServer"), S_OK); }
    static void TearDownTestSuite() { CallExport("DllUnregisterServer"); }

    static HRESULT CallExport(const char* name)
    {
        using Fn = HRESULT(STDAPICALLTYPE*)();
        const auto fn = reinterpret_cast<Fn>(
            reinterpret_cast<void*>(GetProcAddress(PlugInDll::Instance().Module(), name)));
        return fn ? fn() : E_NOTIMPL;
    }
};

TEST_F(RegisteredControlTest, userTypeAndMiscStatusComeFromTheRegistry_andThereAreNoVerbs)
{
    LPOLESTR userType = nullptr;
    ASSERT_EQ(ole_->GetUserType(USERCLASSTYPE_FULL, &userType), S_OK);
    EXPECT_STREQ(userType, L"WevraCtrl Class");
    CoTaskMemFree(userType);

    DWORD status = 0;
    EXPECT_EQ(ole_->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_EQ(status, 131473u);

    // The registration names no verbs (OLEOBJ_E_NOVERBS on Windows, a missing key under Wine).
    ComPtr<IEnumOLEVERB> verbs;
    EXPECT_TRUE(FAILED(ole_->EnumVerbs(verbs.put())));
    EXPECT_FALSE(verbs);
}

TEST_F(RegisteredControlTest, quickActivationTakesTheSiteAndTheEventSink)
{
    TestSite site(true, kPosition);
    EventSink sink;
    QACONTAINER container = {};
    container.cbSize = sizeof(container);
    container.pClientSite = &site;
    container.pUnkEventSink = &sink;
    QACONTROL control = {};
    control.cbSize = sizeof(control);

    const auto quick = ole_.As<IQuickActivate>(IID_IQuickActivate);
    ASSERT_EQ(quick->QuickActivate(&container, &control), S_OK);
    EXPECT_EQ(control.dwMiscStatus, 131473u);
    EXPECT_EQ(control.dwViewStatus, 3u);
    EXPECT_EQ(control.dwEventCookie, 1u);
    ComPtr<IOleClientSite> given;
    EXPECT_EQ(ole_->GetClientSite(given.put()), S_OK);
    EXPECT_EQ(given.get(), static_cast<IOleClientSite*>(&site));

    SIZEL extent = {2540, 1270};
    EXPECT_EQ(quick->SetContentExtent(&extent), S_OK);
    SIZEL read = {};
    EXPECT_EQ(quick->GetContentExtent(&read), S_OK);
    EXPECT_EQ(read.cx, 2540);
    EXPECT_EQ(read.cy, 1270);

    QACONTROL small = {};
    small.cbSize = sizeof(small) - 4;
    EXPECT_EQ(quick->QuickActivate(&container, &small), E_INVALIDARG);
    EXPECT_EQ(quick->QuickActivate(nullptr, &control), E_POINTER);

    const auto points = ole_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
    ComPtr<IConnectionPoint> point;
    points->FindConnectionPoint(DIID__IWevraCtrlEvents, point.put());
    EXPECT_EQ(point->Unadvise(control.dwEventCookie), S_OK);
}

} // namespace
