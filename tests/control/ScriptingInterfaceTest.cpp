// The scripting contract: the type library as scripts see it, and the
// conventions every method keeps at the COM boundary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Base64.h"
#include "Fixtures.h"
#include "Handles.h"
#include "PlugInDll.h"

namespace {

class TypeLibraryTest : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(PlugInDll::Instance().Module(), path, MAX_PATH);
        ASSERT_EQ(LoadTypeLibEx(path, REGKIND_NONE, library_.put()), S_OK);
    }

    ComPtr<ITypeInfo> TypeInfo(const GUID& guid)
    {
        ComPtr<ITypeInfo> info;
        EXPECT_EQ(library_->GetTypeInfoOfGuid(guid, info.put()), S_OK);
        return info;
    }

    ComApartment apartment_;
    ComPtr<ITypeLib> library_;
};

TEST_F(TypeLibraryTest, isWevraPlugInLibVersionOneLocaleNeutral_withoutHelp)
{
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(library_->GetLibAttr(&attr), S_OK);
    EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_WevraPlugInLib));
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->lcid, 0u);
    EXPECT_EQ(attr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    library_->ReleaseTLibAttr(attr);

    BSTR name = nullptr, doc = nullptr, helpFile = nullptr;
    ASSERT_EQ(library_->GetDocumentation(-1, &name, &doc, nullptr, &helpFile), S_OK);
    EXPECT_STREQ(name, L"WevraPlugInLib");
    EXPECT_EQ(doc, nullptr);
    EXPECT_EQ(helpFile, nullptr);
    SysFreeString(name);
    SysFreeString(doc);
    SysFreeString(helpFile);
    EXPECT_EQ(library_->GetTypeInfoCount(), 3u);
}

struct MethodShape {
    const wchar_t* name;
    std::vector<const wchar_t*> params;
    std::vector<VARTYPE> types;        // VT_PTR | VT_x for a pointer to x
    std::vector<USHORT> flags;
};

const USHORT kIn = PARAMFLAG_FIN;
const USHORT kOutRetval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;

const MethodShape kMethods[] = {
    {L"SelectCert", {L"bstrFilter", L"sAutoSelected", L"hwndParent", L"bstrCertSerialNum"},
     {VT_BSTR, VT_I2, VT_I4, VT_PTR | VT_BSTR}, {kIn, kIn, kIn, kOutRetval}},
    {L"ExportUserCert", {L"bstrCertSerialNum", L"lFlag", L"bstrCertB64"},
     {VT_BSTR, VT_I4, VT_PTR | VT_BSTR}, {kIn, kIn, kOutRetval}},
    {L"GetCertInfo", {L"bstrCertB64", L"lInfoType", L"bstrCertInfo"},
     {VT_BSTR, VT_I4, VT_PTR | VT_BSTR}, {kIn, kIn, kOutRetval}},
    {L"SignData", {L"bstrCertSerialNum", L"signType", L"bstrOriginal", L"bstrSignResultB64"},
     {VT_BSTR, VT_I4, VT_BSTR, VT_PTR | VT_BSTR}, {kIn, kIn, kIn, kOutRetval}},
    {L"VerifySignData", {L"bstrCertB64", L"signType", L"bstrOriginal", L"bstrSignResultB64", L"verifyResult"},
     {VT_BSTR, VT_I4, VT_BSTR, VT_BSTR, VT_PTR | VT_I4}, {kIn, kIn, kIn, kIn, kOutRetval}},
    {L"VerifyCertPin", {L"bstrCertSerialNum", L"bstrPin", L"verifyResult"},
     {VT_BSTR, VT_BSTR, VT_PTR | VT_I4}, {kIn, kIn, kOutRetval}},
    {L"GetVersion", {L"bstrVersion"}, {VT_PTR | VT_BSTR}, {kOutRetval}},
    {L"ImportTrustCert", {L"lID", L"plRes"}, {VT_I4, VT_PTR | VT_I4}, {0, kOutRetval}},
};

VARTYPE TypeOf(const TYPEDESC& desc)
{
    return desc.vt == VT_PTR ? static_cast<VARTYPE>(VT_PTR | desc.lptdesc->vt) : desc.vt;
}

TEST_F(TypeLibraryTest, scriptingInterfaceHasTheEightMethodsInOrder)
{
    // The dual interface's v-table half: slots 7 to 14 after IUnknown and IDispatch.
    ComPtr<ITypeInfo> dispatch = TypeInfo(IID_IWevraCtrl);
    HREFTYPE ref = 0;
    ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &ref), S_OK);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(dispatch->GetRefTypeInfo(ref, info.put()), S_OK);

    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
    EXPECT_EQ(attr->cFuncs, 8);
    const WORD expectedFlags = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION;
    EXPECT_EQ(attr->wTypeFlags & expectedFlags, expectedFlags);
    info->ReleaseTypeAttr(attr);

    for (UINT i = 0; i < 8; ++i) {
        const MethodShape& shape = kMethods[i];
        SCOPED_TRACE(testing::Message() << "method " << i + 1);
        FUNCDESC* func = nullptr;
        ASSERT_EQ(info->GetFuncDesc(i, &func), S_OK);
        EXPECT_EQ(func->memid, static_cast<MEMBERID>(i + 1));
        EXPECT_EQ(func->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
        EXPECT_EQ(func->elemdescFunc.tdesc.vt, VT_HRESULT);
        ASSERT_EQ(func->cParams, static_cast<SHORT>(shape.params.size()));

        BSTR names[8] = {};
        UINT count = 0;
        ASSERT_EQ(info->GetNames(func->memid, names, 8, &count), S_OK);
        ASSERT_EQ(count, shape.params.size() + 1);
        EXPECT_STREQ(names[0], shape.name);
        for (SHORT p = 0; p < func->cParams; ++p) {
            EXPECT_STREQ(names[p + 1], shape.params[p]);
            EXPECT_EQ(TypeOf(func->lprgelemdescParam[p].tdesc), shape.types[p]) << p;
            EXPECT_EQ(func->lprgelemdescParam[p].paramdesc.wParamFlags, shape.flags[p]) << p;
        }
        for (UINT n = 0; n < count; ++n) SysFreeString(names[n]);
        info->ReleaseFuncDesc(func);
    }
}

TEST_F(TypeLibraryTest, eventsDispinterfaceIsEmpty_andTheCoclassUsesBoth)
{
    ComPtr<ITypeInfo> events = TypeInfo(DIID__IWevraCtrlEvents);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(events->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    EXPECT_EQ(attr->cFuncs, 0);
    EXPECT_EQ(attr->cVars, 0);
    events->ReleaseTypeAttr(attr);

    ComPtr<ITypeInfo> coclass = TypeInfo(CLSID_WevraCtrl);
    ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
    ASSERT_EQ(attr->cImplTypes, 2);
    coclass->ReleaseTypeAttr(attr);
    INT flags = 0;
    coclass->GetImplTypeFlags(0, &flags);
    EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT);
    coclass->GetImplTypeFlags(1, &flags);
    EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
}

class MethodConventionTest : public testing::Test {
protected:
    ComApartment apartment_;
    ComPtr<IWevraCtrl> control_ = PlugInDll::Instance().Create<IWevraCtrl>(IID_IWevraCtrl);
};

TEST_F(MethodConventionTest, failuresAreSOkWithAnAllocatedEmptyTextOrZero)
{
    const UniqueBstr serial(SysAllocString(L"00no-such-serial"));
    const UniqueBstr garbage(SysAllocString(L"@@@"));
    BSTR text = nullptr;
    long number = 7;

    EXPECT_EQ(control_->GetCertInfo(garbage.get(), 2, &text), S_OK);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 0u);
    SysFreeString(text);

    EXPECT_EQ(control_->ExportUserCert(serial.get(), 0, &text), S_OK);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 0u);
    SysFreeString(text);

    EXPECT_EQ(control_->SignData(serial.get(), 1, garbage.get(), &text), S_OK);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 0u);
    SysFreeString(text);

    EXPECT_EQ(control_->VerifySignData(nullptr, 1, garbage.get(), garbage.get(), &number), S_OK);
    EXPECT_EQ(number, 0);
    number = 7;
    EXPECT_EQ(control_->VerifyCertPin(serial.get(), garbage.get(), &number), S_OK);
    EXPECT_EQ(number, 0);
}

TEST_F(MethodConventionTest, nullResultPointerIsEPointer)
{
    const UniqueBstr text(SysAllocString(L"x"));
    EXPECT_EQ(control_->GetCertInfo(text.get(), 2, nullptr), E_POINTER);
    EXPECT_EQ(control_->SelectCert(text.get(), 1, 0, nullptr), E_POINTER);
    EXPECT_EQ(control_->VerifyCertPin(text.get(), text.get(), nullptr), E_POINTER);
    EXPECT_EQ(control_->GetVersion(nullptr), E_POINTER);
    EXPECT_EQ(control_->ImportTrustCert(0, nullptr), E_POINTER);
}

TEST_F(MethodConventionTest, lowerCaseSerialArgumentsAreNotChanged)
{
    const UniqueBstr serial(SysAllocString(L"00abcdef"));
    const UniqueBstr data(SysAllocString(L"aGVsbG8="));
    BSTR text = nullptr;
    long number = 0;
    control_->ExportUserCert(serial.get(), 0, &text);
    SysFreeString(text);
    control_->SignData(serial.get(), 1, data.get(), &text);
    SysFreeString(text);
    control_->VerifyCertPin(serial.get(), data.get(), &number);
    EXPECT_STREQ(serial.get(), L"00abcdef");
    EXPECT_STREQ(data.get(), L"aGVsbG8=");
}

TEST_F(MethodConventionTest, getCertInfoThroughIDispatch_byNameAndDispid)
{
    ComPtr<IDispatch> dispatch = control_.As<IDispatch>(IID_IDispatch);
    ASSERT_TRUE(dispatch);
    OLECHAR name[] = L"GetCertInfo";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, 3);

    const std::string der = ReadFixture("certs/rsa-v3-dated.der");
    const std::string base64 = Base64Encode(der);
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[0].vt = VT_I4;  // arguments go last first
    args[0].lVal = 2;
    args[1].vt = VT_BSTR;
    args[1].bstrVal = SysAllocStringLen(std::wstring(base64.begin(), base64.end()).c_str(),
                                        static_cast<UINT>(base64.size()));
    DISPPARAMS params = {args, nullptr, 2, 0};
    UniqueVariant result;
    ASSERT_EQ(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.get(), nullptr,
                               nullptr),
              S_OK);
    EXPECT_EQ(result.get()->vt, VT_BSTR);
    EXPECT_STREQ(result.get()->bstrVal, L"2016040508");
    VariantClear(&args[1]);
}

} // namespace
