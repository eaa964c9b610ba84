// SENTRABUS_TRACE=1: every frame-log line goes to the message log under
// sentrabus.frames, written by the trace's own thread.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include <QLoggingCategory>

#include "app/FrameTrace.h"

namespace {

std::mutex g_lock;
std::vector<std::string> g_lines;

void Capture(QtMsgType, const QMessageLogContext& context, const QString& message) {
    std::lock_guard lock(g_lock);
    if (std::string(context.category ? context.category : "") == "sentrabus.frames") {
        g_lines.push_back(message.toStdString());
    }
}

TEST(FrameTrace, WritesEveryLineOfTheLogUnderItsCategory) {
    qputenv("SENTRABUS_TRACE", "1");
    ASSERT_TRUE(CFrameTrace::Wanted());
    qunsetenv("SENTRABUS_TRACE");
    const QtMessageHandler previous = qInstallMessageHandler(Capture);
    CFrameLog log;
    log.Append(LogDirection::Port, {}, "before the trace");
    {
        CFrameTrace trace(log);
        const std::uint8_t query[] = {0xFD, 0xFD, 0xFD, 0x00, 0x00, 0xE9, 0x88};
        log.Append(LogDirection::Sent, query, "FD query");
        log.Append(LogDirection::Received, {}, "nothing within 500 ms", "no reply");
    }  // writes what is left before it stops
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules({});

    const auto entries = log.EntriesFrom(1);
    std::lock_guard lock(g_lock);
    ASSERT_EQ(g_lines.size(), 2U);
    EXPECT_EQ(g_lines[0], FrameLogLine(entries[0]));
    EXPECT_EQ(g_lines[1], FrameLogLine(entries[1]));
}

}  // namespace
