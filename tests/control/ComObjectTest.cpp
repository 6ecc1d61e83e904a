// The control as a COM client sees it: the interfaces it answers, the class
// factory and its aggregation rules, unloading, safety options, error
// information, the events connection point and the class information.
#include <gtest/gtest.h>

#include <vector>

#include "PlugInDll.h"

namespace {

class ControlTest : public testing::Test {
protected:
    ComApartment apartment_;
    const PlugInDll& dll_ = PlugInDll::Instance();
};

struct NamedIid {
    const char* name;
    const IID* iid;
};

const NamedIid kAnswered[] = {
    {"IWevraCtrl", &IID_IWevraCtrl},
    {"IDispatch", &IID_IDispatch},
    {"IViewObjectEx", &IID_IViewObjectEx},
    {"IViewObject2", &IID_IViewObject2},
    {"IViewObject", &IID_IViewObject},
    {"IOleInPlaceObjectWindowless", &IID_IOleInPlaceObjectWindowless},
    {"IOleInPlaceObject", &IID_IOleInPlaceObject},
    {"IOleWindow", &IID_IOleWindow},
    {"IOleInPlaceActiveObject", &IID_IOleInPlaceActiveObject},
    {"IOleControl", &IID_IOleControl},
    {"IOleObject", &IID_IOleObject},
    {"ISupportErrorInfo", &IID_ISupportErrorInfo},
    {"IConnectionPointContainer", &IID_IConnectionPointContainer},
    {"IQuickActivate", &IID_IQuickActivate},
    {"IDataObject", &IID_IDataObject},
    {"IProvideClassInfo", &IID_IProvideClassInfo},
    {"IProvideClassInfo2", &IID_IProvideClassInfo2},
    {"IObjectSafety", &IID_IObjectSafety},
};

const NamedIid kNotAnswered[] = {
    {"IPersistStreamInit", &IID_IPersistStreamInit},
    {"IPersistStorage", &IID_IPersistStorage},
    {"IPersistPropertyBag", &IID_IPersistPropertyBag},
    {"IPersist", &IID_IPersist},
    {"ISpecifyPropertyPages", &IID_ISpecifyPropertyPages},
    {"IPointerInactive", &IID_IPointerInactive},
    {"IOleCache", &IID_IOleCache},
    {"IRunnableObject", &IID_IRunnableObject},
    {"IClassFactory", &IID_IClassFactory},
};

TEST_F(ControlTest, answersEachInterfaceOfItsTable_withOneIdentity)
{
    const auto control = dll_.Create<IUnknown>(IID_IUnknown);
    for (const auto& entry : kAnswered) {
        ComPtr<IUnknown> answered;
        ASSERT_EQ(control->QueryInterface(*entry.iid, answered.put_void()), S_OK) << entry.name;
        ComPtr<IUnknown> identity;
        ASSERT_EQ(answered->QueryInterface(IID_IUnknown, identity.put_void()), S_OK) << entry.name;
        EXPECT_EQ(identity.get(), control.get()) << entry.name;
    }
}

TEST_F(ControlTest, viewAndInPlaceInterfacesAreOneObjectEach)
{
    const auto control = dll_.Create<IUnknown>(IID_IUnknown);
    auto pointer = [&](const IID& iid) {
        ComPtr<IUnknown> answered;
        control->QueryInterface(iid, answered.put_void());
        return static_cast<void*>(answered.get());
    };
    EXPECT_EQ(pointer(IID_IViewObject), pointer(IID_IViewObjectEx));
    EXPECT_EQ(pointer(IID_IViewObject2), pointer(IID_IViewObjectEx));
    EXPECT_EQ(pointer(IID_IOleInPlaceObject), pointer(IID_IOleInPlaceObjectWindowless));
    EXPECT_EQ(pointer(IID_IOleWindow), pointer(IID_IOleInPlaceObjectWindowless));
    EXPECT_EQ(pointer(IID_IProvideClassInfo), pointer(IID_IProvideClassInfo2));
}

TEST_F(ControlTest, answersNoPersistenceOrOtherInterface)
{
    const auto control = dll_.Create<IUnknown>(IID_IUnknown);
    for (const auto& entry : kNotAnswered) {
        void* answered = reinterpret_cast<void*>(1);
        EXPECT_EQ(control->QueryInterface(*entry.iid, &answered), E_NOINTERFACE) << entry.name;
        EXPECT_EQ(answered, nullptr) << entry.name;
    }
}

TEST_F(ControlTest, classObjectIsOnlyForWevraCtrl)
{
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(dll_.GetClassObject(IID_IWevraCtrl, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(dll_.GetClassObject(CLSID_WevraCtrl, IID_IClassFactory, nullptr), E_POINTER);
    ComPtr<IUnknown> factory;
    EXPECT_EQ(dll_.GetClassObject(CLSID_WevraCtrl, IID_IUnknown, factory.put_void()), S_OK);
    ComPtr<IClassFactory> again;
    EXPECT_EQ(dll_.GetClassObject(CLSID_WevraCtrl, IID_IClassFactory, again.put_void()), S_OK);
    EXPECT_EQ(static_cast<void*>(again.get()), static_cast<void*>(factory.get())) << "one factory for the DLL's life";
}

TEST_F(ControlTest, createInstanceFailsCleanlyForAnUnansweredInterfaceOrNoPointer)
{
    const auto factory = dll_.Factory();
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersistPropertyBag, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IWevraCtrl, nullptr), E_POINTER);
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK) << "the refused object is gone";
}

TEST_F(ControlTest, canUnloadOnlyWithoutInstancesOrLocks)
{
    ASSERT_EQ(dll_.CanUnloadNow(), S_OK);
    {
        const auto control = dll_.Create<IWevraCtrl>(IID_IWevraCtrl);
        EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
        const auto second = dll_.Create<IWevraCtrl>(IID_IWevraCtrl);
        EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);

    const auto factory = dll_.Factory();
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
}

// An outer object that aggregates the control and counts its own references.
class Outer final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }

    ULONG refs = 1;
    ComPtr<IUnknown> inner;
};

TEST_F(ControlTest, aggregationIsOfferedOnlyForIUnknown_andDelegatesToTheOuter)
{
    const auto factory = dll_.Factory();
    Outer outer;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IWevraCtrl, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);

    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, outer.inner.put_void()), S_OK);
    EXPECT_EQ(outer.refs, 1u) << "creating the inner object does not hold the outer";
    {
        ComPtr<IWevraCtrl> control;
        ASSERT_EQ(outer.QueryInterface(IID_IWevraCtrl, control.put_void()), S_OK);
        EXPECT_EQ(outer.refs, 2u) << "the inner object's interfaces count on the outer";
        ComPtr<IUnknown> identity;
        ASSERT_EQ(control->QueryInterface(IID_IUnknown, identity.put_void()), S_OK);
        EXPECT_EQ(identity.get(), static_cast<IUnknown*>(&outer));
    }
    EXPECT_EQ(outer.refs, 1u);
    EXPECT_EQ(dll_.CanUnloadNow(), S_FALSE);
    outer.inner.reset();
    EXPECT_EQ(dll_.CanUnloadNow(), S_OK);
}

TEST_F(ControlTest, safetyOptionsFollowTheMaskRules)
{
    const auto safety = dll_.Create<IObjectSafety>(IID_IObjectSafety);
    DWORD supported = 0, enabled = 0;
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled), S_OK);
    EXPECT_EQ(supported, 3u);
    EXPECT_EQ(enabled, 0u);

    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 4, 4), E_FAIL);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 7, 3), E_FAIL);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 3, 3), S_OK);
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(IID_IWevraCtrl, &supported, &enabled), S_OK);
    EXPECT_EQ(enabled, 3u) << "one set of options for every interface";

    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER, 0), S_OK);
    safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled);
    EXPECT_EQ(enabled, 2u) << "only the masked bit changes";
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IDispatch, 1, 3), S_OK);
    safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled);
    EXPECT_EQ(enabled, 3u);
}

TEST_F(ControlTest, safetyOptionsOfAnUnansweredInterfaceAreRefused)
{
    const auto safety = dll_.Create<IObjectSafety>(IID_IObjectSafety);
    DWORD supported = 9, enabled = 9;
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IPersistPropertyBag, &supported, &enabled), E_NOINTERFACE);
    EXPECT_EQ(supported, 0u);
    EXPECT_EQ(enabled, 0u);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IID_IPersistPropertyBag, 3, 3), E_NOINTERFACE);
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, nullptr, &enabled), E_POINTER);
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, nullptr), E_POINTER);
}

TEST_F(ControlTest, errorInformationOnlyForTheScriptingInterface)
{
    const auto errorInfo = dll_.Create<ISupportErrorInfo>(IID_ISupportErrorInfo);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_IWevraCtrl), S_OK);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    EXPECT_EQ(errorInfo->InterfaceSupportsErrorInfo(IID_IOleObject), S_FALSE);
}

// An event sink that answers the events dispinterface (or not).
class Sink final : public IDispatch {
public:
    explicit Sink(bool answersEvents) : answersEvents_(answersEvents) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
            (answersEvents_ && IsEqualIID(riid, DIID__IWevraCtrlEvents))) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    ULONG refs = 1;

private:
    bool answersEvents_;
};

TEST_F(ControlTest, hasOneConnectionPoint_forTheEventsDispinterface)
{
    const auto container = dll_.Create<IConnectionPointContainer>(IID_IConnectionPointContainer);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID__IWevraCtrlEvents, point.put()), S_OK);
    IID iid = {};
    EXPECT_EQ(point->GetConnectionInterface(&iid), S_OK);
    EXPECT_TRUE(IsEqualIID(iid, DIID__IWevraCtrlEvents));
    ComPtr<IConnectionPointContainer> back;
    EXPECT_EQ(point->GetConnectionPointContainer(back.put()), S_OK);
    EXPECT_EQ(back.get(), container.get());

    ComPtr<IConnectionPoint> other;
    EXPECT_EQ(container->FindConnectionPoint(IID_IPropertyNotifySink, other.put()), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(container->FindConnectionPoint(IID_IWevraCtrl, other.put()), CONNECT_E_NOCONNECTION);
    EXPECT_FALSE(other);

    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
    IConnectionPoint* listed[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(points->Next(2, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(listed[0], point.get());
    listed[0]->Release();
}

TEST_F(ControlTest, sinksGetOneBasedCookies_andAFreedCookieIsUsedAgain)
{
    const auto container = dll_.Create<IConnectionPointContainer>(IID_IConnectionPointContainer);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID__IWevraCtrlEvents, point.put()), S_OK);
    Sink first(true), second(true), refusing(false);
    DWORD cookie1 = 0, cookie2 = 0, cookie3 = 0, refused = 9;
    EXPECT_EQ(point->Advise(&first, &cookie1), S_OK);
    EXPECT_EQ(point->Advise(&second, &cookie2), S_OK);
    EXPECT_EQ(cookie1, 1u);
    EXPECT_EQ(cookie2, 2u);
    EXPECT_EQ(point->Advise(&refusing, &refused), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(refused, 0u);

    ComPtr<IEnumConnections> connections;
    ASSERT_EQ(point->EnumConnections(connections.put()), S_OK);
    CONNECTDATA data[3] = {};
    ULONG fetched = 0;
    connections->Next(3, data, &fetched);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(data[1].dwCookie, 2u);
    for (ULONG i = 0; i < fetched; ++i) data[i].pUnk->Release();
    connections.reset();

    EXPECT_EQ(point->Unadvise(1), S_OK);
    EXPECT_EQ(point->Unadvise(1), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(0), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(7), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(first.refs, 1u) << "an unadvised sink is released";
    EXPECT_EQ(point->Advise(&first, &cookie3), S_OK);
    EXPECT_EQ(cookie3, 1u);
    EXPECT_EQ(point->Unadvise(1), S_OK);
    EXPECT_EQ(point->Unadvise(2), S_OK);
    EXPECT_EQ(second.refs, 1u);
}

TEST_F(ControlTest, classInfoNamesTheCoclassAndTheEventsDispinterface)
{
    const auto info = dll_.Create<IProvideClassInfo2>(IID_IProvideClassInfo2);
    GUID source = {};
    EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
    EXPECT_TRUE(IsEqualGUID(source, DIID__IWevraCtrlEvents));
    EXPECT_EQ(info->GetGUID(2, &source), E_INVALIDARG);

    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(info->GetClassInfo(coclass.put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    EXPECT_TRUE(IsEqualGUID(attr->guid, CLSID_WevraCtrl));
    EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL), TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL);
    coclass->ReleaseTypeAttr(attr);
}

TEST_F(ControlTest, oleObjectReportsItsClassAndExtent)
{
    const auto ole = dll_.Create<IOleObject>(IID_IOleObject);
    CLSID clsid = {};
    EXPECT_EQ(ole->GetUserClassID(&clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_WevraCtrl));
    SIZEL extent = {};
    EXPECT_EQ(ole->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
    EXPECT_EQ(extent.cx, 5080);
    EXPECT_EQ(extent.cy, 5080);
    SIZEL bigger = {10160, 2540};
    EXPECT_EQ(ole->SetExtent(DVASPECT_CONTENT, &bigger), S_OK);
    ole->GetExtent(DVASPECT_CONTENT, &extent);
    EXPECT_EQ(extent.cx, 10160);
    EXPECT_EQ(extent.cy, 2540);
}

TEST_F(ControlTest, viewStatusIsOpaqueWithSolidBackground_andHitsInsideTheBounds)
{
    const auto view = dll_.Create<IViewObjectEx>(IID_IViewObjectEx);
    DWORD status = 0;
    EXPECT_EQ(view->GetViewStatus(&status), S_OK);
    EXPECT_EQ(status, 3u);
    const RECT bounds = {10, 10, 110, 60};
    DWORD hit = 99;
    EXPECT_EQ(view->QueryHitPoint(DVASPECT_CONTENT, &bounds, POINT{50, 30}, 0, &hit), S_OK);
    EXPECT_EQ(hit, static_cast<DWORD>(HITRESULT_HIT));
    EXPECT_EQ(view->QueryHitPoint(DVASPECT_CONTENT, &bounds, POINT{5, 30}, 0, &hit), S_OK);
    EXPECT_EQ(hit, static_cast<DWORD>(HITRESULT_OUTSIDE));
    EXPECT_EQ(view->QueryHitPoint(DVASPECT_ICON, &bounds, POINT{50, 30}, 0, &hit), E_FAIL);
}

} // namespace
