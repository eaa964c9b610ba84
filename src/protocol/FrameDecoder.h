#pragma once
// Words for the frames on the bus: what a request asks and what a reply says. Bytes in, words out: any bytes decode, nothing is read beyond them, and
// a family, code or register the tool does not know is named as such with its
// bytes. How a reply fares is the operation's verdict (ReplyJudge.h).
//
//   DescribeRequest(FD FD FD 00 00 E9 88)              "FD query"
//   DescribeReply(FD FD FD 02 05 28 EB, request)       "FD reply: address 5, baud code 2 (4800 bit/s)"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "Exchange.h"

using FrameBytes = std::span<const std::uint8_t>;

// "FD FD FD 00 00 E9 88"; empty for no bytes.
std::string HexText(FrameBytes bytes);

// What the request asks, beginning with its family (FD, register, FC, FB).
std::string DescribeRequest(FrameBytes request);

// What the reply says, its values read the way the window that asked shows
// them. `request` (may be empty) names the registers and the FB command whose
// values the reply carries.
std::string DescribeReply(FrameBytes reply, FrameBytes request);

