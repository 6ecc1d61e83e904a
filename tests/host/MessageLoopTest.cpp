#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "FakePlatform.h"
#include "HostBytes.h"
#include "MessageLoop.h"

namespace {

using namespace std::string_literals;

const std::string kVerinfo = FrameOf("{\"errCode\":0,\"ver\":\"1.0.0\"}\n");
const std::string kUnsupported =
    FrameOf("{\"errCode\":10001,\"errMsg\":\"\xB2\xBB\xD6\xA7\xB3\xD6\xB5\xC4\xB9\xA6\xC4\xDC\",\"errShow\":1}\n");
const std::string kVerinfoRequest = FrameOf(R"({"cmd":"getVerinfo"})");

struct LoopCase {
    const char* name;
    std::string input;
    std::string output; // "" when no frame may be written
    int pauses;
};

class MessageLoopTest : public testing::TestWithParam<LoopCase> {};

TEST_P(MessageLoopTest, answersExactly)
{
    std::istringstream in(GetParam().input);
    std::ostringstream out;
    FakePlatform platform;
    int pauses = 0;
    const HostOutcome outcome = RunHost(in, out, platform, [&] { ++pauses; });
    EXPECT_EQ(Hex(out.str()), Hex(GetParam().output));
    EXPECT_EQ(outcome, GetParam().output.empty() ? HostOutcome::InputEnded : HostOutcome::Answered);
    EXPECT_EQ(pauses, GetParam().pauses);
}

std::string Padded(const std::string& json, std::size_t size)
{
    return json + std::string(size - json.size(), ' ');
}

INSTANTIATE_TEST_SUITE_P(Frames, MessageLoopTest,
    testing::Values(
        LoopCase{"getVerinfo_1C000000", kVerinfoRequest,
                 "\x1C\0\0\0{\"errCode\":0,\"ver\":\"1.0.0\"}\n"s, 0},
        LoopCase{"messageWrapper", FrameOf(R"({"message":{"cmd":"getVerinfo"}})"), kVerinfo, 0},
        LoopCase{"messageWrapperWinsOverOuterCmd", FrameOf(R"({"cmd":"signData","message":{"cmd":"getVerinfo"}})"),
                 kVerinfo, 0},
        LoopCase{"zeroLengthFrameFirst_pausesOnce", LengthBytes(0) + kVerinfoRequest, kVerinfo, 1},
        LoopCase{"unparsableFrameFirst_dropped", FrameOf("{\"cmd\":") + kVerinfoRequest, kVerinfo, 0},
        LoopCase{"body256Bytes", FrameOf(Padded(R"({"cmd":"getVerinfo"})", 256)), kVerinfo, 0},
        LoopCase{"body512Bytes", FrameOf(Padded(R"({"cmd":"getVerinfo"})", 512)), kVerinfo, 0},
        LoopCase{"lengthByte1A_notEndOfFile", FrameOf(R"({"cmd":"importCertIssue"})"), FrameOf("{\"errCode\":0}\n"), 0},
        LoopCase{"zeroByteInBody_endsTheText", FrameOf("{\"cmd\":\"getVerinfo\"}\0{{{"s), kVerinfo, 0},
        LoopCase{"zeroByteInsideTheJson_unparsable", FrameOf("{\"cmd\":\0\"getVerinfo\"}"s) + kVerinfoRequest,
                 kVerinfo, 0},
        LoopCase{"comments", FrameOf("/* c */ {\"cmd\" : // x\n \"getVerinfo\"}"), kVerinfo, 0},
        LoopCase{"jsonNull_unsupported", FrameOf("null"), kUnsupported, 0},
        LoopCase{"noCmd_unsupported", FrameOf(R"({"issuer":"x"})"), kUnsupported, 0},
        LoopCase{"nullCmd_unsupported", FrameOf(R"({"cmd":null})"), kUnsupported, 0},
        LoopCase{"cmdInOtherCase_unsupported", FrameOf(R"({"cmd":"GetVerinfo"})"), kUnsupported, 0},
        LoopCase{"cmdNumber_unsupported", FrameOf(R"({"cmd":5})"), kUnsupported, 0},
        LoopCase{"cmdArray_unsupported", FrameOf(R"({"cmd":["getVerinfo"]})"), kUnsupported, 0},
        LoopCase{"cmdObject_unsupported", FrameOf(R"({"cmd":{"cmd":"getVerinfo"}})"), kUnsupported, 0},
        LoopCase{"rootArray_unsupported", FrameOf(R"([{"cmd":"getVerinfo"}])"), kUnsupported, 0},
        LoopCase{"rootString_unsupported", FrameOf(R"("getVerinfo")"), kUnsupported, 0},
        LoopCase{"rootNumber_unsupported", FrameOf("7"), kUnsupported, 0},
        LoopCase{"messageNotObject_unsupported", FrameOf(R"({"message":true})"), kUnsupported, 0},
        LoopCase{"messageNull_unsupported", FrameOf(R"({"message":null,"cmd":"getVerinfo"})"), kUnsupported, 0},
        LoopCase{"qq_null5Bytes", FrameOf(R"({"cmd":"qq"})"), "\x05\0\0\0null\n"s, 0},
        LoopCase{"onlyOneRequestAnswered", kVerinfoRequest + FrameOf(R"({"cmd":"qq"})"), kVerinfo, 0},
        LoopCase{"inputEnded_noAnswer", "", "", 0},
        LoopCase{"inputEndedAfterDroppedFrames_noAnswer", LengthBytes(0) + FrameOf("{") + FrameOf("]"), "", 1},
        LoopCase{"inputEndedInsideLength_noAnswer", "\x10\0"s, "", 0},
        LoopCase{"inputEndedInsideBody_whatArrivedIsAnswered", LengthBytes(300) + R"({"cmd":"getVerinfo"})",
                 kVerinfo, 0},
        LoopCase{"inputEndedInsideUnparsableBody_noAnswer", LengthBytes(300) + R"({"cmd":"getVer)", "", 0},
        LoopCase{"lengthFFFFFFFF_shortBodyAnswered", LengthBytes(0xFFFFFFFFu) + R"({"cmd":"getVerinfo"})", kVerinfo,
                 0},
        LoopCase{"deeplyNestedArrays_dropped",
                 FrameOf(std::string(100000, '[') + std::string(100000, ']')) + kVerinfoRequest, kVerinfo, 0},
        LoopCase{"deeplyNestedObjects_dropped",
                 FrameOf([] {
                     std::string s;
                     for (int i = 0; i < 5000; ++i) s += "{\"a\":";
                     return s + "1" + std::string(5000, '}');
                 }()) + kVerinfoRequest,
                 kVerinfo, 0},
        LoopCase{"nestingJsoncppAccepts_answered",
                 FrameOf(R"({"cmd":"getVerinfo","x":)" + std::string(500, '[') + std::string(500, ']') + "}"),
                 kVerinfo, 0},
        LoopCase{"bodyOfSeveralMiB_answered",
                 FrameOf(R"({"cmd":"getVerinfo","pad":")" + std::string(6 << 20, 'p') + "\"}"), kVerinfo, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageLoop, leavesFramesAfterTheRequestUnread)
{
    const std::string rest = FrameOf(R"({"cmd":"qq"})");
    std::istringstream in(kVerinfoRequest + rest);
    std::ostringstream out;
    FakePlatform platform;
    RunHost(in, out, platform, [] {});
    EXPECT_EQ(static_cast<std::size_t>(in.tellg()), kVerinfoRequest.size());
    EXPECT_TRUE(platform.calls.empty());
}

} // namespace
