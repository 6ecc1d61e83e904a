// GetVersion through the real control: the shipped DLL, and a test build of it
// whose version resource lists two translations.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Handles.h"
#include "WevraClient.h"

namespace {

std::string ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name)
{
    HRSRC found = FindResourceW(module, name, type);
    if (!found) throw std::runtime_error("resource not found");
    HGLOBAL loaded = LoadResource(module, found);
    return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR out)
{
    reinterpret_cast<std::vector<WORD>*>(out)->push_back(language);
    return TRUE;
}

// A copy of the control's DLL whose version resource is replaced by the one
// of two_translations.dll (a test-only resource). It lives in the temporary
// folder: the shipped file and its folder are untouched.
std::wstring TwoTranslationCopy()
{
    wchar_t temp[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, temp)) throw std::runtime_error("GetTempPathW failed");
    const std::wstring copy = std::wstring(temp) + L"WevraPlugIn-two-translations.dll";
    if (!CopyFileW(ControlDllPath().c_str(), copy.c_str(), FALSE)) throw std::runtime_error("CopyFileW failed");

    UniqueModule source(LoadLibraryExW(L"two_translations.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!source) throw std::runtime_error("two_translations.dll not found");
    std::string version = ResourceBytes(source.get(), MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1));

    std::vector<WORD> languages;
    {
        UniqueModule shipped(LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        EnumResourceLanguagesW(shipped.get(), MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
    }
    HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
    if (!update) throw std::runtime_error("BeginUpdateResourceW failed");
    for (WORD language : languages) UpdateResourceW(update, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1), language, nullptr, 0);
    UpdateResourceW(update, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                    version.data(), static_cast<DWORD>(version.size()));
    if (!EndUpdateResourceW(update, FALSE)) throw std::runtime_error("EndUpdateResourceW failed");
    return copy;
}

using GetClassObjectProc = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

TEST(GetVersionCom, shippedDll_answersItsFileVersionWithSOk)
{
    WevraClient client;
    const CallResult version = client.Call(L"GetVersion", {});
    EXPECT_EQ(version.hr, S_OK);
    EXPECT_EQ(version.type, VT_BSTR);
    EXPECT_EQ(version.text, L"1.0.0.1");
}

TEST(GetVersionCom, buildWithTwoTranslations_answersBothFileVersionsRunTogether)
{
    const std::wstring copy = TwoTranslationCopy();
    UniqueModule dll(LoadLibraryW(copy.c_str()));
    ASSERT_TRUE(dll);
    auto getClassObject = reinterpret_cast<GetClassObjectProc>(
        reinterpret_cast<void*>(GetProcAddress(dll.get(), "DllGetClassObject")));
    ASSERT_NE(getClassObject, nullptr);
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(L"WevraCtrl.1", &clsid), S_OK);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IDispatch* control = nullptr;
    const HRESULT created = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&control));
    factory->Release();
    ASSERT_EQ(created, S_OK);
    {
        WevraClient client(control);
        control->Release();
        const CallResult version = client.Call(L"GetVersion", {});
        EXPECT_EQ(version.hr, S_OK);
        EXPECT_EQ(version.text, L"1.0.0.12.0.0.2");
    }
    dll.release(); // the object's module stays loaded until the process ends
    DeleteFileW(copy.c_str());
}

} // namespace
