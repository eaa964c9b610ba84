// The frame trace's lines on the program's standard error: a program of the
// GUI subsystem has one only when it was started with one (from a shell that
// redirects it, or under Wine), and then SENTRABUS_TRACE=1 turns the lines on.

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "FrameTrace.h"

bool CFrameTrace::Wanted() {
    const char* value = std::getenv("SENTRABUS_TRACE");
    return value != nullptr && std::string_view(value) == "1";
}

void CFrameTrace::WriteLine(const std::string& line) {
    std::fprintf(stderr, "sentrabus.frames: %s\n", line.c_str());
    std::fflush(stderr);
}
