// libFuzzer target: any bytes on the line go through the simulator's request
// cutter and into every kind of simulated device, with every fault shaping the
// replies. Nothing may crash or read out of bounds; every request cut must
// carry a good CRC.

#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/Crc16.h"
#include "sim/Devices.h"
#include "sim/Fault.h"
#include "sim/RequestCutter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t selector = data[0];
    const std::span<const std::uint8_t> line(data + 1, size - 1);

    const auto kind = static_cast<sim::DeviceKind>(selector % 5);
    sim::DeviceState state = sim::MakeDeviceState(kind, static_cast<std::uint8_t>(selector | 1), 9600);
    const sim::Fault faults[] = {sim::Fault::None(),        sim::Fault::Short(),  sim::Fault::BadCrc(),
                                 sim::Fault::SwappedCrc(),  sim::Fault::Split(std::chrono::milliseconds(1)),
                                 sim::Fault::WrongAddress(), sim::Fault::Exception()};
    const sim::Fault& fault = faults[(selector >> 3) % 7];

    sim::CRequestCutter cutter;
    // Fed in pieces whose size the selector picks, then flushed as after silence.
    const std::size_t piece = 1 + (selector >> 5);
    auto serve = [&](const std::vector<sim::Frame>& requests) {
        for (const sim::Frame& request : requests) {
            if (!HasValidCrc(request)) __builtin_trap();
            if (const auto reply = sim::AnswerRequest(state, request)) {
                if (!HasValidCrc(*reply)) __builtin_trap();
                (void)sim::ShapeReply(fault, *reply, request);
            }
        }
    };
    for (std::size_t at = 0; at < line.size(); at += piece) {
        serve(cutter.Feed(line.subspan(at, std::min(piece, line.size() - at))));
    }
    serve(cutter.Flush());
    if (cutter.HasPending()) __builtin_trap();
    return 0;
}
