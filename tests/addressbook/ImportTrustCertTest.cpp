#include "AddressBookFormat.h"
#include "EntryText.h"
#include "ExtractResourceToFile.h"
#include "TrustFiles.h"
#include "TrustImport.h"
#include "WholeTextEdit.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

std::string ReadAll(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot read " + path);
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    CloseHandle(file);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

void RemoveTree(const std::string& folder)
{
    for (const std::string& name : Names(folder)) {
        const std::string path = folder + name;
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path + "\\");
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
    RemoveDirectoryA(folder.c_str());
}

void MakeFolders(const std::string& path)
{
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}

std::string SmallBookText()
{
    return MakeAddressBook({BookEntry{std::string("\x30\x03\x02\x01\x05", 5)}}, 1001).text;
}

std::string ResourceBytes(int number)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(number), "olmocerdata");
    if (!found) return {};
    const void* bytes = LockResource(LoadResource(nullptr, found));
    return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

// The book after inserting the given resources one by one, edited whole.
std::string ExpectedAfter(std::string book, const std::vector<int>& resources)
{
    for (int resource : resources) {
        const std::string entryTemplate = ResourceBytes(resource);
        book = EditWhole(book, [&](std::int32_t object) { return FormatEntryTemplate(entryTemplate, object, resource); })
                   .text;
    }
    return book;
}

// With PELORIN_IMPORT_VIA=control the calls go through the registered
// control's IDispatch, as a page's script makes them; else straight to the
// function the control calls.
bool ThroughControl()
{
    const char* via = std::getenv("PELORIN_IMPORT_VIA");
    return via && std::string(via) == "control";
}

std::int32_t ImportThroughControl(std::int32_t lID)
{
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"WevraCtrl.1", &clsid), S_OK);
    IDispatch* control = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&control));
    EXPECT_EQ(hr, S_OK);
    if (FAILED(hr)) return 1000;
    wchar_t name[] = L"ImportTrustCert";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, 8);
    VARIANTARG argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = lID;
    DISPPARAMS parameters{&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    hr = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &result, nullptr, nullptr);
    control->Release();
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    return result.vt == VT_I4 ? result.lVal : 1000;
}

class ImportTrustCertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + "abtest-" + std::to_string(GetCurrentProcessId()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        RemoveTree(root_);
        appData_ = root_ + "AppData\\Roaming";
        cwd_ = root_ + "cwd\\";
        MakeFolders(appData_ + "\\");
        MakeFolders(cwd_);
        SetEnvironmentVariableA("APPDATA", appData_.c_str());
        GetCurrentDirectoryA(MAX_PATH, previousCwd_);
        SetCurrentDirectoryA(cwd_.c_str());
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(previousCwd_);
        RemoveTree(root_);
        CoUninitialize();
    }

    std::string Security(int version) const
    {
        return appData_ + "\\Adobe\\Acrobat\\" + std::to_string(version) + ".0\\Security\\";
    }
    std::string Book(int version = 11) const { return Security(version) + "addressbook.acrodata"; }
    std::string Backup(int version = 11) const { return Security(version) + "temp.acrodata"; }
    // A security folder holding the given address book.
    void PutBook(const std::string& bytes, int version = 11)
    {
        MakeFolders(Security(version));
        WriteAll(Book(version), bytes);
    }
    std::int32_t Import(std::int32_t lID)
    {
        return ThroughControl() ? ImportThroughControl(lID) : ImportTrustCert(GetModuleHandleA(nullptr), lID);
    }

    std::string root_, appData_, cwd_;
    char previousCwd_[MAX_PATH] = {};
};

TEST_F(ImportTrustCertTest, resourcesAreStoredAsOlmocerdataInChinesePrc)
{
    const WORD prc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    ASSERT_EQ(prc, 2052);
    for (int number = 201; number <= 207; ++number) {
        SCOPED_TRACE(number);
        EXPECT_NE(FindResourceExA(nullptr, "OLMOCERDATA", MAKEINTRESOURCEA(number), prc), nullptr);
        EXPECT_EQ(ResourceBytes(number), number == 207 ? DefaultBook() : EntryTemplateOf(number));
    }
}

// (Wine keeps no FILE_ATTRIBUTE_TEMPORARY on its files, so that mark is not checked.)
TEST_F(ImportTrustCertTest, extractResourceToFileOverwritesAnExistingFile)
{
    const std::string path = cwd_ + "out.bin";
    WriteAll(path, std::string(30000, 'x'));
    ASSERT_TRUE(ExtractResourceToFile(nullptr, path.c_str(), "olmocerdata", 203));
    EXPECT_EQ(ReadAll(path), EntryTemplateOf(203));
    EXPECT_FALSE(ExtractResourceToFile(nullptr, (cwd_ + "missing\\out.bin").c_str(), "olmocerdata", 203));
}

TEST_F(ImportTrustCertTest, noSecurityFolder_answersMinusOneAndTouchesNothing)
{
    MakeFolders(appData_ + "\\Adobe\\Acrobat\\8.0\\Security\\");
    EXPECT_EQ(Import(0), -1);
    EXPECT_EQ(Import(1), -1);
    EXPECT_EQ(Import(77), -1);
    SetEnvironmentVariableA("APPDATA", nullptr);
    EXPECT_EQ(Import(0), -1);
    EXPECT_TRUE(Names(appData_ + "\\Adobe\\Acrobat\\8.0\\Security\\").empty());
    EXPECT_TRUE(Names(cwd_).empty());
}

TEST_F(ImportTrustCertTest, folderWithoutBook_writesDefaultAndDoesNothingElse)
{
    MakeFolders(Security(11));
    PutBook(SmallBookText(), 10);
    for (std::int32_t lID : {0, 1, 9}) {
        SCOPED_TRACE(lID);
        DeleteFileA(Book(11).c_str());
        EXPECT_EQ(Import(lID), -2);
        EXPECT_EQ(ReadAll(Book(11)), DefaultBook());
        EXPECT_EQ(Names(Security(11)), std::set<std::string>{"addressbook.acrodata"});
        EXPECT_EQ(Names(Security(10)), std::set<std::string>{"addressbook.acrodata"});
        EXPECT_EQ(ReadAll(Book(10)), SmallBookText());
        EXPECT_TRUE(Names(cwd_).empty());
    }
}

TEST_F(ImportTrustCertTest, olderVersionFolderIsUsedWhenNewerOnesAreMissing)
{
    PutBook(DefaultBook(), 9);
    EXPECT_EQ(Import(2), 0);
    EXPECT_EQ(ReadAll(Book(9)), ExpectedAfter(DefaultBook(), {204}));
}

TEST_F(ImportTrustCertTest, eachSelectorImportsItsResources)
{
    struct Row {
        const char* name;
        std::int32_t lID;
        std::vector<int> resources;
    };
    const Row rows[] = {
        {"all", 0, {201, 202, 203, 204, 205, 206}},
        {"zjca", -1, {201}},
        {"osccaRootCa", 1, {203}},
        {"zjRoot", 2, {204}},
        {"ourRootCa", 3, {205}},
        {"ourUserCa", 4, {206}},
        {"outOfRangeAbove", 5, {}},
        {"outOfRangeBelow", -2, {}},
        {"resourceNumberItself", 202, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PutBook(DefaultBook());
        EXPECT_EQ(Import(row.lID), 0);
        EXPECT_EQ(ReadAll(Book()), ExpectedAfter(DefaultBook(), row.resources));
        EXPECT_EQ(Names(Security(11)), std::set<std::string>{"addressbook.acrodata"});
        EXPECT_TRUE(Names(cwd_).empty());
    }
}

TEST_F(ImportTrustCertTest, allSixIntoTheDefaultBookGiveObjectsElevenToSixteen)
{
    MakeFolders(Security(11));
    ASSERT_EQ(Import(0), -2);
    ASSERT_EQ(Import(0), 0);
    const std::string book = ReadAll(Book());
    const std::size_t oldXref = DefaultBook().find("xref");
    EXPECT_NE(book.find("9 0 R 10 0 R 11 0 R 12 0 R 13 0 R 14 0 R 15 0 R 16 0 R]/NextID 1010/"), std::string::npos);
    std::size_t at = oldXref + 42;
    for (int i = 0; i < 6; ++i) {
        const std::string head = std::to_string(11 + i) + " 0 obj\r<</ABEType 1/Cert<";
        EXPECT_EQ(book.substr(at, head.size()), head) << 11 + i;
        at += ResourceBytes(201 + i).size() - 4 + 2 + 3;
    }
    EXPECT_EQ(book.find("xref"), at);
    EXPECT_EQ(book.size(), at + DefaultBook().size() - oldXref);
}

TEST_F(ImportTrustCertTest, repeatedImportAddsNoDuplicatesAndLeavesNoBackup)
{
    PutBook(DefaultBook());
    ASSERT_EQ(Import(0), 0);
    const std::string once = ReadAll(Book());
    EXPECT_EQ(Import(0), 0);
    EXPECT_EQ(Import(1), 0);
    EXPECT_EQ(Import(-1), 0);
    EXPECT_EQ(ReadAll(Book()), once);
    EXPECT_EQ(Names(Security(11)), std::set<std::string>{"addressbook.acrodata"});
}

TEST_F(ImportTrustCertTest, staleBackupIsOverwrittenAndRemoved)
{
    PutBook(DefaultBook());
    WriteAll(Backup(), "left from a failed run");
    EXPECT_EQ(Import(1), 0);
    EXPECT_EQ(ReadAll(Book()), ExpectedAfter(DefaultBook(), {203}));
    EXPECT_FALSE(Exists(Backup()));
}

TEST_F(ImportTrustCertTest, existingScratchTemplateIsUsedAndDeleted)
{
    PutBook(DefaultBook());
    const std::string own = "\r%d 0 obj\r<</ABEType 1/Cert<00>/ID %d/Trust 96/Note(100%%)>>\rendobj\r";
    WriteAll(cwd_ + "acrodata.tmp", own);
    EXPECT_EQ(Import(1), 0);
    const std::string book = ReadAll(Book());
    EXPECT_NE(book.find("\r11 0 obj\r<</ABEType 1/Cert<00>/ID 203/Trust 96/Note(100%)>>\rendobj\r\rxref"),
              std::string::npos);
    EXPECT_FALSE(Exists(cwd_ + "acrodata.tmp"));
}

TEST_F(ImportTrustCertTest, hostileScratchTemplateIsRefusedAndBookKept)
{
    for (const char* hostile : {"\r%d 0 obj\r%s%s%s%s\r", "%d%n%d", "\r%d 0 obj %d %d\r", "%08x%08x"}) {
        SCOPED_TRACE(hostile);
        PutBook(DefaultBook());
        WriteAll(cwd_ + "acrodata.tmp", hostile);
        EXPECT_EQ(Import(1), 3);
        EXPECT_EQ(ReadAll(Book()), DefaultBook());
        EXPECT_EQ(ReadAll(Backup()), DefaultBook());
        EXPECT_FALSE(Exists(cwd_ + "acrodata.tmp"));
        EXPECT_EQ(Names(Security(11)), (std::set<std::string>{"addressbook.acrodata", "temp.acrodata"}));
    }
}

TEST_F(ImportTrustCertTest, bookHeldOpenWithoutSharing_answersOneAndKeepsBook)
{
    PutBook(DefaultBook());
    HANDLE held = CreateFileA(Book().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Import(0), 1);
    // An old backup can be read, but the book still cannot be written.
    WriteAll(Backup(), "old backup");
    EXPECT_EQ(Import(1), 1);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(Book()), DefaultBook());
    EXPECT_EQ(ReadAll(Backup()), "old backup");
    EXPECT_TRUE(Names(cwd_).empty());
}

TEST_F(ImportTrustCertTest, bookHeldOpenWithReadWriteSharing_isRewrittenInPlace)
{
    PutBook(DefaultBook());
    // Shared for reading and writing but not for deleting: the new text cannot
    // replace the file, so it is written into it.
    HANDLE held = CreateFileA(Book().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Import(2), 0);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(Book()), ExpectedAfter(DefaultBook(), {204}));
    EXPECT_EQ(Names(Security(11)), std::set<std::string>{"addressbook.acrodata"});
}

TEST_F(ImportTrustCertTest, entryWhoseIdStraddlesABlockBoundaryCountsAsPresent)
{
    const std::string withEntry = ExpectedAfter(DefaultBook(), {203});
    const std::size_t id = withEntry.find("/ID 203/Trust");
    for (std::size_t cut : {1u, 6u, 12u}) {
        SCOPED_TRACE(cut);
        const std::size_t target = (id / kBlockSize + 2) * kBlockSize - cut;
        const std::string pad = "%" + std::string(target - id - 2, 'p') + "\r";
        const std::string book = withEntry.substr(0, 13) + pad + withEntry.substr(13);
        ASSERT_EQ(book.find("/ID 203/Trust"), target);
        PutBook(book);
        EXPECT_EQ(Import(1), 0);
        EXPECT_EQ(ReadAll(Book()), book);
    }
}

TEST_F(ImportTrustCertTest, copyFailsWithOldBackupAndWritableBook_answersFive)
{
    PutBook(DefaultBook());
    WriteAll(Backup(), "old backup");
    // Readable by nobody else, writable by others: the copy fails, the write check passes.
    HANDLE held = CreateFileA(Book().c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Import(1), 5);
    CloseHandle(held);
    EXPECT_EQ(ReadAll(Book()), DefaultBook());
    EXPECT_EQ(ReadAll(Backup()), "old backup");
}

TEST_F(ImportTrustCertTest, unwritableCurrentFolder_answersThreeAndKeepsBackup)
{
    PutBook(DefaultBook());
    ASSERT_TRUE(SetCurrentDirectoryA("Z:\\proc"));
    EXPECT_EQ(Import(2), 3);
    EXPECT_EQ(ReadAll(Book()), DefaultBook());
    EXPECT_EQ(ReadAll(Backup()), DefaultBook());
    EXPECT_EQ(Names(Security(11)), (std::set<std::string>{"addressbook.acrodata", "temp.acrodata"}));
}

TEST_F(ImportTrustCertTest, scratchThatCannotBeOpenedStays)
{
    PutBook(DefaultBook());
    WriteAll(cwd_ + "acrodata.tmp", ResourceBytes(203));
    HANDLE held = CreateFileA((cwd_ + "acrodata.tmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Import(1), 3);
    CloseHandle(held);
    EXPECT_TRUE(Exists(cwd_ + "acrodata.tmp"));
    EXPECT_EQ(ReadAll(Book()), DefaultBook());
}

TEST_F(ImportTrustCertTest, bookWithoutEntriesIsLeftAsItWas)
{
    const std::string book = "%PPKLITE-2.1\r1 0 obj\r<</Type/Catalog>>\rendobj\rxref\r\n";
    PutBook(book);
    EXPECT_EQ(Import(0), 0);
    EXPECT_EQ(ReadAll(Book()), book);
    EXPECT_EQ(Names(Security(11)), std::set<std::string>{"addressbook.acrodata"});
}

TEST_F(ImportTrustCertTest, bookWithEntriesButNoXrefIsLeftAndReported)
{
    const std::string book = "%PPKLITE-2.1\r1 0 obj\r<</Entries[2 0 R]>>\rendobj\r2 0 obj\r<<>>\rendobj\r";
    PutBook(book);
    EXPECT_EQ(Import(3), 4);
    EXPECT_EQ(ReadAll(Book()), book);
    EXPECT_EQ(ReadAll(Backup()), book);
    EXPECT_TRUE(Names(cwd_).empty());
}

TEST_F(ImportTrustCertTest, emptyEntriesArrayGetsANumberAboveAllInUse)
{
    const std::string book = "%PPKLITE-2.1\r1 0 obj\r<</Entries[]>>\rendobj\r5 0 obj\r<<>>\rendobj\rxref\r\n";
    PutBook(book);
    EXPECT_EQ(Import(4), 0);
    const std::string edited = ReadAll(Book());
    EXPECT_NE(edited.find("<</Entries[ 6 0 R]>>"), std::string::npos);
    EXPECT_NE(edited.find("\r6 0 obj\r<</ABEType 1/Cert<"), std::string::npos);
}

TEST_F(ImportTrustCertTest, largeBookWithLandmarksOnBlockBoundariesMatchesTheWholeTextEdit)
{
    // Pad with comment lines so "Entries", "]" and "xref" land on boundaries.
    const std::string base = DefaultBook();
    for (std::size_t shift : {0u, 1u, 3u, 5u, 7u}) {
        SCOPED_TRACE(shift);
        const std::size_t xref = base.find("xref");
        const std::string pad = "%" + std::string(3 * kBlockSize - (xref + 42) % kBlockSize - 2 + shift, 'p') + "\r";
        const std::string book = base.substr(0, 13) + pad + base.substr(13);
        PutBook(book);
        EXPECT_EQ(Import(0), 0);
        EXPECT_EQ(ReadAll(Book()), ExpectedAfter(book, {201, 202, 203, 204, 205, 206}));
    }
}

} // namespace
