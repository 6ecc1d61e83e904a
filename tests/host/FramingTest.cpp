#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Framing.h"
#include "HostBytes.h"

namespace {

using namespace std::string_literals;

TEST(Framing, readsLengthThenBody_andLeavesTheNextFrame)
{
    std::istringstream in(FrameOf("abc") + FrameOf("de"));
    Frame first = ReadFrame(in);
    EXPECT_EQ(first.kind, Frame::Kind::Body);
    EXPECT_EQ(first.body, "abc");
    EXPECT_EQ(ReadFrame(in).body, "de");
    EXPECT_EQ(ReadFrame(in).kind, Frame::Kind::Ended);
}

TEST(Framing, zeroLength_isAnEmptyFrame)
{
    std::istringstream in(LengthBytes(0) + FrameOf("x"));
    EXPECT_EQ(ReadFrame(in).kind, Frame::Kind::Empty);
    EXPECT_EQ(ReadFrame(in).body, "x");
}

TEST(Framing, inputEndingInsideTheLength_ends)
{
    for (std::size_t have : {0u, 1u, 3u}) {
        std::istringstream in(LengthBytes(5).substr(0, have));
        EXPECT_EQ(ReadFrame(in).kind, Frame::Kind::Ended) << have << " length bytes";
    }
}

TEST(Framing, inputEndingInsideTheBody_givesWhatArrived)
{
    std::istringstream in(LengthBytes(100) + "{\"a\":1}");
    Frame frame = ReadFrame(in);
    EXPECT_EQ(frame.kind, Frame::Kind::Body);
    EXPECT_EQ(frame.body, "{\"a\":1}");
    EXPECT_EQ(ReadFrame(in).kind, Frame::Kind::Ended);
}

TEST(Framing, hugeLengthWithLittleInput_allocatesOnlyWhatArrived)
{
    std::istringstream in(LengthBytes(0xFFFFFFFFu) + "short");
    Frame frame = ReadFrame(in);
    EXPECT_EQ(frame.body, "short");
    EXPECT_LT(frame.body.capacity(), 1u << 20);
}

TEST(Framing, bodyLongerThanOneReadChunk_readWhole)
{
    const std::string body(200000, 'q');
    std::istringstream in(FrameOf(body) + FrameOf("n"));
    EXPECT_EQ(ReadFrame(in).body, body);
    EXPECT_EQ(ReadFrame(in).body, "n");
}

TEST(Framing, bodyText_stopsAtFirstZeroByte)
{
    EXPECT_EQ(BodyText("ab\0cd"s), "ab");
    EXPECT_EQ(BodyText("abc"), "abc");
    EXPECT_EQ(BodyText("\0abc"s), "");
}

TEST(Framing, writesNativeOrderLengthThenText)
{
    std::ostringstream out;
    WriteFrame(out, std::string(0x0102, 'x'));
    EXPECT_EQ(Hex(out.str().substr(0, 4)), "02 01 00 00 ");
    EXPECT_EQ(out.str().size(), 4u + 0x0102);
}

} // namespace
