// A wireless receiver's configuration mode as a scope: when the leave frame
// goes out under each rule, and what the caller learns of it.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "SessionOnDevice.h"
#include "device/ConfigurationScope.h"
#include "device/ProfileEngine.h"

namespace {

// The configuration-mode frames the receiver heard, "enter" or "leave".
std::vector<std::string> ModeFrames(const sim::CSimulator& device) {
    std::vector<std::string> frames;
    for (const sim::Frame& f : device.ReceivedBytes()) {
        if (f.size() < 4 || f[0] != 0xFB) continue;
        if (f[3] == 0x01) frames.emplace_back("enter");
        if (f[3] == 0x02) frames.emplace_back("leave");
    }
    return frames;
}

enum class End { Scope, Release, LeaveSpoiled };

TEST(ConfigurationScope, LeavesByItsRuleAndTellsHowTheLeaveWent) {
    struct Case {
        const char* name;
        LeaveRule rule;
        std::optional<sim::Fault> enterFault;
        End end;
        bool entered;
        std::vector<std::string> frames;
        std::optional<OpStatus> left;  // what Leave() gives, when the case calls it
    };
    const std::vector<std::string> enterOnly{"enter"};
    const std::vector<std::string> enterLeave{"enter", "leave"};
    const Case cases[] = {
        {"good enter", LeaveRule::AfterGoodEnter, std::nullopt, End::Scope, true, enterLeave, std::nullopt},
        {"spoiled enter, window's rule", LeaveRule::AfterGoodEnter, sim::Fault::BadCrc(), End::Scope, false, enterOnly,
         std::nullopt},
        {"spoiled enter, any answer", LeaveRule::AfterAnyAnswer, sim::Fault::BadCrc(), End::Scope, false, enterLeave,
         std::nullopt},
        {"silence, any answer", LeaveRule::AfterAnyAnswer, sim::Fault::Silent(), End::Scope, false, enterOnly,
         std::nullopt},
        {"released", LeaveRule::AfterAnyAnswer, std::nullopt, End::Release, true, enterOnly, std::nullopt},
        {"spoiled leave", LeaveRule::AfterGoodEnter, std::nullopt, End::LeaveSpoiled, true, enterLeave,
         OpStatus::BadReply},
    };
    for (const Case& c : cases) {
        SessionOnDevice line(sim::DeviceKind::Wireless, true);
        line.AssumeFound();
        if (c.enterFault) line.m_device.InjectFault(*c.enterFault);
        std::optional<OpOutcome> left;
        {
            CConfigurationScope mode(line.m_session, c.rule);
            EXPECT_EQ(mode.Entered(), c.entered) << c.name;
            EXPECT_EQ(mode.Enter().Ok(), c.entered) << c.name;
            if (c.entered) {
                EXPECT_EQ(mode.Enter().value.sleepTime, 60) << c.name;
            }
            if (c.end == End::Release) mode.Release();
            if (c.end == End::LeaveSpoiled) line.m_device.InjectFault(sim::Fault::BadCrc());
            if (c.end != End::Scope) {
                left = mode.Leave();
                EXPECT_EQ(mode.Leave().has_value(), left.has_value()) << c.name << ": asked again, the same answer";
            }
        }
        EXPECT_EQ(ModeFrames(line.m_device), c.frames) << c.name << ": the leave is sent once at most";
        if (c.end != End::Scope) {
            EXPECT_EQ(left ? std::optional(left->status) : std::nullopt, c.left) << c.name;
        }
        EXPECT_EQ(line.m_session.InConfiguration(), c.end == End::Release) << c.name << ": only a release stays";
    }
}

// Kind detection leaves again after any answer to its enter frame, as the
// command line does: a spoiled reply may come from a receiver that switched.
TEST(ConfigurationScope, KindDetectionLeavesAReceiverThatSpoiledItsEnterReply) {
    SessionOnDevice line(sim::DeviceKind::Wireless, true);
    line.AssumeFound();
    line.m_device.InjectFault(sim::Fault::BadCrc());
    EXPECT_EQ(DetectProfileKind(line.m_session), std::nullopt);
    EXPECT_EQ(ModeFrames(line.m_device), (std::vector<std::string>{"enter", "leave"}));
}

}  // namespace
