// The frame trace's lines as the logging category sentrabus.frames.

#include <QLoggingCategory>

#include "FrameTrace.h"

namespace {
Q_LOGGING_CATEGORY(lcFrames, "sentrabus.frames", QtWarningMsg)
}  // namespace

bool CFrameTrace::Wanted() {
    if (qgetenv("SENTRABUS_TRACE") == "1") QLoggingCategory::setFilterRules(QStringLiteral("sentrabus.frames.info=true"));
    return lcFrames().isInfoEnabled();
}

void CFrameTrace::WriteLine(const std::string& line) { qCInfo(lcFrames).noquote() << QString::fromStdString(line); }
