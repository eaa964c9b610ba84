// Cutting the line's byte stream into requests: every family by its own
// length, whatever pieces the bytes come in, with noise skipped.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>

#include "protocol/RequestFrames.h"
#include "sim/RequestCutter.h"
#include "support/BuiltFrame.h"

namespace {

using sim::Frame;

std::vector<Frame> EveryKindOfRequest() {
    return {
        Built(BuildFdQuery),
        Built(BuildLineSettingsRead),
        Built([](TxBuffer tx) { return BuildLineSettingsWrite(tx, 9, 1); }),
        Built([](TxBuffer tx) { return BuildRegisterWrite(tx, 0xFD, kRegLcdRelay1, 1); }),  // address FD
        Built([](TxBuffer tx) { return BuildRegisterRead(tx, 0xFC, kRegHumidity, 2); }),    // address FC
        Built([](TxBuffer tx) { return BuildFcWrite(tx, kFcLightUpper, 300); }),
        Built(BuildFbEnterConfig),
        Built([](TxBuffer tx) { return BuildFbConfigureReceiver(tx, 7); }),
        Built(BuildFbSleepTimeRead),
        Built([](TxBuffer tx) { return BuildFbSleepTimeWrite(tx, 60); }),
        Built(BuildFbTemperatureHumidityRead),
        Built(BuildFbChannelRead),
        Built([](TxBuffer tx) { return BuildFbChannelWrite(tx, 3); }),
    };
}

Frame Joined(const std::vector<Frame>& frames) {
    Frame all;
    for (const Frame& f : frames) all.insert(all.end(), f.begin(), f.end());
    return all;
}

TEST(RequestCutter, CutsBackToBackRequestsOfEveryFamilyInAnyPieces) {
    const std::vector<Frame> requests = EveryKindOfRequest();
    const Frame stream = Joined(requests);
    for (std::size_t piece : {stream.size(), std::size_t{1}, std::size_t{3}, std::size_t{7}}) {
        sim::CRequestCutter cutter;
        std::vector<Frame> cut;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            const std::size_t n = std::min(piece, stream.size() - at);
            for (Frame& f : cutter.Feed(std::span(stream).subspan(at, n))) cut.push_back(std::move(f));
        }
        EXPECT_EQ(cut, requests) << "pieces of " << piece;
        EXPECT_FALSE(cutter.HasPending());
        EXPECT_EQ(cutter.SkippedBytes(), 0U);
    }
}

TEST(RequestCutter, SkipsNoiseAndBadFramesAroundRequests) {
    const Frame query = Built(BuildFdQuery);
    Frame broken = Built([](TxBuffer tx) { return BuildFcRead(tx, kFcHumidityUpper); });
    broken.back() ^= 0xFF;
    Frame stream = {0x00, 0x55, 0xFD, 0xFD};  // noise, including a false start
    stream.insert(stream.end(), broken.begin(), broken.end());
    stream.insert(stream.end(), query.begin(), query.end());

    sim::CRequestCutter cutter;
    EXPECT_EQ(cutter.Feed(stream), std::vector<Frame>{query});
    EXPECT_EQ(cutter.SkippedBytes(), 4 + broken.size());
}

TEST(RequestCutter, SilenceGivesUpAnUnfinishedFrameButKeepsARequestBehindIt) {
    // A false start of a long function-10 frame swallows the query that follows
    // until the line falls silent.
    const Frame query = Built(BuildFdQuery);
    Frame stream = {0x01, 0x10, 0x00, 0x00, 0x00, 0x7F, 0xFE};
    stream.insert(stream.end(), query.begin(), query.end());

    sim::CRequestCutter cutter;
    EXPECT_TRUE(cutter.Feed(stream).empty());
    EXPECT_TRUE(cutter.HasPending());
    EXPECT_EQ(cutter.Flush(), std::vector<Frame>{query});
    EXPECT_FALSE(cutter.HasPending());

    // A frame cut off by silence is dropped whole.
    EXPECT_TRUE(cutter.Feed(std::span(query).first(5)).empty());
    EXPECT_TRUE(cutter.Flush().empty());
    EXPECT_EQ(cutter.Feed(query), std::vector<Frame>{query});
}

TEST(RequestCutter, AFloodOfNoiseStaysBoundedAndARequestAfterItIsFound) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    sim::CRequestCutter cutter;
    Frame noise(20000);
    for (std::uint8_t& b : noise) b = static_cast<std::uint8_t>(byte(random));
    cutter.Feed(noise);  // frames found by chance in noise are fine; no crash, bounded
    cutter.Flush();
    EXPECT_FALSE(cutter.HasPending());

    const Frame query = Built(BuildFdQuery);
    EXPECT_EQ(cutter.Feed(query), std::vector<Frame>{query});
}

}  // namespace
