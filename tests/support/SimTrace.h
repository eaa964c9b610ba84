#pragma once
// What the sentrabus-sim program heard, from the file its --trace-file names.

#include <string>
#include <vector>

// The requests in `traceFile` (a path of the Linux host), oldest first, each
// as its line speed and its bytes without the CRC: "4800 FD FD FD 00 00". The
// simulator hears only frames whose CRC is good, so the CRC says nothing more.
std::vector<std::string> HeardRequests(const std::string& traceFile);
