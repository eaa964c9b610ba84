// What each fault does to a reply, and the fault names of the command line.

#include <gtest/gtest.h>

#include <algorithm>

#include "protocol/Crc16.h"
#include "protocol/ReplyChecks.h"
#include "sim/Fault.h"

namespace {

using namespace std::chrono_literals;
using sim::Fault;
using sim::Frame;

// FD FD FD 02 05 with its CRC.
const Frame kReply = {0xFD, 0xFD, 0xFD, 0x02, 0x05, 0x28, 0xEB};
const Frame kRequest = {0x05, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC5, 0x8F};

Frame Joined(const std::vector<sim::ReplyPiece>& pieces) {
    Frame all;
    for (const auto& p : pieces) all.insert(all.end(), p.bytes.begin(), p.bytes.end());
    return all;
}

TEST(Fault, ShapesTheReply) {
    ASSERT_TRUE(HasValidCrc(kReply));

    auto pieces = sim::ShapeReply(Fault::None(), kReply, kRequest);
    ASSERT_EQ(pieces.size(), 1U);
    EXPECT_EQ(pieces[0].bytes, kReply);
    EXPECT_EQ(pieces[0].after, 0ms);

    EXPECT_TRUE(sim::ShapeReply(Fault::Silent(), kReply, kRequest).empty());

    pieces = sim::ShapeReply(Fault::Delayed(600ms), kReply, kRequest);
    ASSERT_EQ(pieces.size(), 1U);
    EXPECT_EQ(pieces[0].after, 600ms);
    EXPECT_EQ(pieces[0].bytes, kReply);

    EXPECT_EQ(Joined(sim::ShapeReply(Fault::Short(), kReply, kRequest)), Frame(kReply.begin(), kReply.begin() + 2));

    const Frame badCrc = Joined(sim::ShapeReply(Fault::BadCrc(), kReply, kRequest));
    EXPECT_EQ(badCrc.size(), kReply.size());
    EXPECT_FALSE(HasValidCrc(badCrc));

    const Frame swapped = Joined(sim::ShapeReply(Fault::SwappedCrc(), kReply, kRequest));
    EXPECT_EQ(swapped, (Frame{0xFD, 0xFD, 0xFD, 0x02, 0x05, 0xEB, 0x28}));

    pieces = sim::ShapeReply(Fault::Split(10ms), kReply, kRequest);
    ASSERT_EQ(pieces.size(), 2U);
    EXPECT_EQ(pieces[1].after, 10ms);
    EXPECT_EQ(Joined(pieces), kReply);

    pieces = sim::ShapeReply(Fault::Glitch(700ms), kReply, kRequest);
    ASSERT_EQ(pieces.size(), 2U);
    EXPECT_EQ(pieces[0].bytes.size(), 2U);
    EXPECT_EQ(pieces[1].after, 700ms);
    EXPECT_EQ(pieces[1].bytes, kReply);

    const Frame register03 = {0x05, 0x03, 0x02, 0x00, 0x01, 0x88, 0x44};
    ASSERT_TRUE(ParseReadReply(register03, 5, ValuesUsed::First));
    const Frame other = Joined(sim::ShapeReply(Fault::WrongAddress(), register03, kRequest));
    EXPECT_NE(other[0], 0x05);
    EXPECT_TRUE(HasValidCrc(other));
    EXPECT_FALSE(ParseReadReply(other, 5, ValuesUsed::First));

    const Frame exception = Joined(sim::ShapeReply(Fault::Exception(), register03, kRequest));
    EXPECT_EQ(exception.size(), 5U);
    EXPECT_EQ(exception[0], 0x05);
    EXPECT_EQ(exception[1], 0x83);
    EXPECT_TRUE(HasValidCrc(exception));

    // More noise than the tool's queues hold, the same for the same request and
    // not for another one.
    const Frame noise = Joined(sim::ShapeReply(Fault::Noise(256 * 1024), kReply, kRequest));
    EXPECT_EQ(noise.size(), 256U * 1024U);
    EXPECT_EQ(Joined(sim::ShapeReply(Fault::Noise(256 * 1024), kReply, kRequest)), noise);
    EXPECT_NE(Joined(sim::ShapeReply(Fault::Noise(256 * 1024), kReply, kReply)), noise);
    EXPECT_GT(std::count(noise.begin(), noise.end(), noise[0]), 0);
    EXPECT_LT(std::count(noise.begin(), noise.end(), noise[0]), 4096);  // not one byte over and over
}

TEST(Fault, NamesRoundTripAndBadNamesAreRefused) {
    for (const Fault& fault : {Fault::None(), Fault::Silent(), Fault::Delayed(600ms), Fault::Short(), Fault::BadCrc(),
                               Fault::SwappedCrc(), Fault::Split(10ms), Fault::Glitch(700ms), Fault::WrongAddress(),
                               Fault::Exception(), Fault::Noise(4096), Fault::Noise(Fault::kMaxNoiseBytes)}) {
        EXPECT_EQ(sim::ParseFault(sim::FaultName(fault)), fault) << sim::FaultName(fault);
    }
    EXPECT_EQ(sim::ParseFault("delay:600"), Fault::Delayed(600ms));
    EXPECT_EQ(sim::ParseFault("noise:4096"), Fault::Noise(4096));
    EXPECT_EQ(sim::FaultName(Fault::Noise(4096)), "noise:4096");
    for (const char* bad : {"", "delay", "delay:", "delay:x", "delay:-5", "short:3", "loud", "split:10ms", "noise",
                            "noise:0", "noise:1048577", "noise:4k"}) {
        EXPECT_FALSE(sim::ParseFault(bad)) << bad;
    }
}

}  // namespace
