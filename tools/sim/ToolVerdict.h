#pragma once
// How the tool judges the answer to a request, as far as the request's bytes
// tell: the simulator's trace says of each reply it sends whether the tool
// will take it. The tool itself knows its check from the operation it runs;
// here it is worked out from the request, with the request's own address for
// reads.

#include <cstdint>
#include <span>

#include "protocol/ReplyJudge.h"

namespace sim {

ReplyExpectation ToolExpectation(std::span<const std::uint8_t> request);

}  // namespace sim
