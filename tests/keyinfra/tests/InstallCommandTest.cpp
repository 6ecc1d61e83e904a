// certinstall's command line, through the same entry the program uses.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "Base64.h"
#include "CertInstaller.h"
#include "StoreLookup.h"

namespace {

struct Outcome {
    int status;
    std::map<std::string, std::string> lines;
    std::string out;
    std::string err;
};

Outcome Invoke(const std::vector<std::wstring>& args)
{
    std::ostringstream out, err;
    Outcome outcome{RunCertInstaller(args, out, err), {}, out.str(), err.str()};
    std::istringstream text(outcome.out);
    std::string line;
    while (std::getline(text, line)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) outcome.lines[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return outcome;
}

class InstallCommandTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Invoke({L"clear"}).status, 0); }
    void TearDown() override { Invoke({L"clear"}); }
};

TEST_F(InstallCommandTest, add_printsWhatItMade)
{
    const Outcome added = Invoke({L"add", L"--subject", L"CN=Printed, O=Org", L"--serial", L"00e5a1", L"--key-usage",
                               L"digitalSignature,nonRepudiation", L"--container", L"keyinfra-printed"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.lines.at("serial"), "00E5A1");
    EXPECT_EQ(added.lines.at("subject"), "CN=Printed, O=Org");
    EXPECT_EQ(added.lines.at("issuer"), "CN=Printed, O=Org");
    EXPECT_EQ(added.lines.at("container"), "keyinfra-printed");
    EXPECT_NE(added.lines.at("provider"), "-");
    EXPECT_EQ(added.lines.at("thumbprint").size(), 40u);
    EXPECT_EQ(added.lines.count("ca.serial"), 0u);

    UniqueCertContext cert = FindBySerial("00E5A1");
    ASSERT_TRUE(cert);
    EXPECT_EQ(added.lines.at("cert"),
              Base64Encode(std::string(reinterpret_cast<const char*>(cert.get()->pbCertEncoded), cert.get()->cbCertEncoded)));
}

TEST_F(InstallCommandTest, addWithCa_printsTheCaCertificate)
{
    const Outcome added = Invoke({L"add", L"--ca", L"CN=Printed CA", L"--serial", L"0102", L"--no-key"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.lines.at("issuer"), "CN=Printed CA");
    EXPECT_EQ(added.lines.at("container"), "-");
    EXPECT_EQ(added.lines.at("ca.serial").size(), 16u);
    EXPECT_FALSE(added.lines.at("ca.cert").empty());
}

TEST_F(InstallCommandTest, responseFile_carriesChineseNames)
{
    const char* path = "keyinfra-args.txt";
    {
        std::ofstream file(path, std::ios::binary);
        file << "\xEF\xBB\xBF# a leading byte-order mark and comments are skipped\n"
             << "--subject\r\nCN=\xE6\x9D\x8E\xE5\x9B\x9B, O=\xE6\xB5\x8B\xE8\xAF\x95\n\n--serial\n7F01\n";
    }
    const Outcome added = Invoke({L"add", L"@keyinfra-args.txt"});
    std::remove(path);
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.lines.at("subject"), "CN=\xE6\x9D\x8E\xE5\x9B\x9B, O=\xE6\xB5\x8B\xE8\xAF\x95");
    EXPECT_TRUE(FindBySerial("7F01"));
}

TEST_F(InstallCommandTest, list_andClear)
{
    ASSERT_EQ(Invoke({L"add", L"--serial", L"0A", L"--subject", L"CN=First", L"--container", L"keyinfra-first"}).status, 0);
    ASSERT_EQ(Invoke({L"add", L"--serial", L"0B", L"--subject", L"CN=Second", L"--no-key"}).status, 0);

    // Wine enumerates a registry store in the order of its keys (thumbprints), not of adding.
    const std::string listed = Invoke({L"list"}).out;
    EXPECT_TRUE(listed == "0A\tkeyinfra-first\tCN=First\n0B\t-\tCN=Second\n" ||
                listed == "0B\t-\tCN=Second\n0A\tkeyinfra-first\tCN=First\n") << listed;
    EXPECT_EQ(Invoke({L"clear"}).status, 0);
    EXPECT_EQ(Invoke({L"list"}).out, "");
}

TEST_F(InstallCommandTest, addFile_addsAFixtureWithoutKey)
{
    const Outcome added = Invoke({L"add-file", PELORIN_FIXTURE_DIR L"/certs/rsa-v3-serial-leading-zero.der"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(Invoke({L"list"}).out.substr(0, 13), "009A0B0C0D\t-\t");
}

struct BadLine {
    const char* name;
    std::vector<std::wstring> args;
};

class InstallCommandUsageTest : public testing::TestWithParam<BadLine> {};

TEST_P(InstallCommandUsageTest, refusedWithStatus2AndNothingAdded)
{
    const std::vector<std::string> before = SerialsInStore();
    const Outcome outcome = Invoke(GetParam().args);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("usage:"), std::string::npos);
    EXPECT_EQ(SerialsInStore(), before);
}

INSTANTIATE_TEST_SUITE_P(Lines, InstallCommandUsageTest,
    testing::Values(BadLine{"noCommand", {}},
                    BadLine{"unknownCommand", {L"remove"}},
                    BadLine{"unknownOption", {L"add", L"--colour", L"red"}},
                    BadLine{"missingValue", {L"add", L"--serial"}},
                    BadLine{"oddHexSerial", {L"add", L"--serial", L"ABC"}},
                    BadLine{"notHexSerial", {L"add", L"--serial", L"0G"}},
                    BadLine{"unknownKeyUsage", {L"add", L"--key-usage", L"digitalSignature,signing"}},
                    BadLine{"badTime", {L"add", L"--not-after", L"2030/01/01"}},
                    BadLine{"caAndIssuer", {L"add", L"--ca", L"CN=A", L"--issuer", L"CN=B"}},
                    BadLine{"missingResponseFile", {L"add", L"@no-such-file.txt"}}),
    [](const testing::TestParamInfo<BadLine>& info) { return std::string(info.param.name); });

} // namespace
