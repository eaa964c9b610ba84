// Register frames (Modbus RTU).
//
//   03  address 03 first(2) count(2) CRC       -> address 03 2*count data CRC
//   06  address 06 register(2) value(2) CRC    -> the same 8 bytes
//   10  address 10 first(2) count(2) n data CRC -> address 10 first(2) count(2) CRC
//
// The register-frame device takes function 03 and 10 at address 255 and at its
// own address; the transmitters take 03 and the LCD controller 03 and 06 at
// their own address. A request for a register the device lacks, or cannot be
// written, gets the Modbus exception reply.

#include "Devices.h"
#include "protocol/BaudCodes.h"

namespace sim {

namespace {

constexpr std::uint16_t kMaxReadCount = 125;

std::uint16_t WordAt(Request request, std::size_t offset) {
    return static_cast<std::uint16_t>(request[offset] << 8 | request[offset + 1]);
}

bool TakesAddress(const DeviceState& state, std::uint8_t address) {
    switch (state.kind) {
        case DeviceKind::Soil: return address == kRegisterModeAddress || address == DeviceAddress(state);
        case DeviceKind::Th:
        case DeviceKind::Lcd:
        case DeviceKind::Light: return address == DeviceAddress(state);
        case DeviceKind::Wireless: return false;
    }
    return false;
}

bool Serves(const DeviceState& state, std::uint8_t function) {
    switch (function) {
        case kFuncReadRegisters: return true;
        case kFuncWriteRegister: return state.kind == DeviceKind::Lcd;
        case kFuncWriteRegisters: return state.kind == DeviceKind::Soil;
        default: return false;
    }
}

const RegisterCell* FindCell(const DeviceState& state, std::uint32_t reg) {
    if (reg > 0xFFFF) return nullptr;
    const auto cell = state.registers.find(static_cast<std::uint16_t>(reg));
    return cell == state.registers.end() ? nullptr : &cell->second;
}

std::optional<Frame> ReadRegisters(DeviceState& state, Request request) {
    if (request.size() != kReadRequestBytes) return std::nullopt;
    const std::uint16_t first = WordAt(request, 2);
    const std::uint16_t count = WordAt(request, 4);
    if (count == 0 || count > kMaxReadCount) {
        return ExceptionReply(request[0], request[1], kExceptionIllegalValue);
    }
    for (std::uint32_t reg = first; reg < first + count; ++reg) {
        const RegisterCell* cell = FindCell(state, reg);
        if (!cell || !cell->readable) return ExceptionReply(request[0], request[1], kExceptionIllegalAddress);
    }
    return MakeFrame([&](CFrameWriter& w) {
        w.Byte(request[0]).Byte(kFuncReadRegisters).Byte(static_cast<std::uint8_t>(2 * count));
        for (std::uint32_t reg = first; reg < first + count; ++reg) w.Word(FindCell(state, reg)->value);
    });
}

std::optional<Frame> WriteRegister(DeviceState& state, Request request) {
    if (request.size() != kWriteRegisterBytes) return std::nullopt;
    const std::uint16_t reg = WordAt(request, 2);
    const auto cell = state.registers.find(reg);
    if (cell == state.registers.end() || !cell->second.writable) {
        return ExceptionReply(request[0], request[1], kExceptionIllegalAddress);
    }
    cell->second.value = WordAt(request, 4);
    return Frame(request.begin(), request.end());
}

// After a write of the line settings the device answers, then takes its new
// address and listens at the new speed (an unknown baud code leaves the speed).
void ApplyLineSettings(DeviceState& state) {
    const auto baud = state.registers.find(kRegLineBaud);
    if (baud == state.registers.end()) return;
    const std::uint32_t rate = RegisterBaudRate(static_cast<std::uint8_t>(baud->second.value & 0xFF));
    if (rate != 0) state.baud = rate;
}

std::optional<Frame> WriteRegisters(DeviceState& state, Request request) {
    if (request.size() < 9) return std::nullopt;
    const std::uint16_t first = WordAt(request, 2);
    const std::uint16_t count = WordAt(request, 4);
    const std::uint8_t byteCount = request[6];
    if (count == 0 || byteCount != 2 * count || request.size() != 9U + byteCount) {
        return ExceptionReply(request[0], request[1], kExceptionIllegalValue);
    }
    for (std::uint32_t reg = first; reg < first + count; ++reg) {
        const RegisterCell* cell = FindCell(state, reg);
        if (!cell || !cell->writable) return ExceptionReply(request[0], request[1], kExceptionIllegalAddress);
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        state.registers[static_cast<std::uint16_t>(first + i)].value = WordAt(request, 7 + 2 * i);
    }
    Frame reply = MakeFrame([&](CFrameWriter& w) {
        w.Byte(request[0]).Byte(kFuncWriteRegisters).Word(first).Word(count);
    });
    ApplyLineSettings(state);
    return reply;
}

}  // namespace

std::optional<Frame> AnswerRegisters(DeviceState& state, Request request) {
    if (request.size() < 2 || !TakesAddress(state, request[0])) return std::nullopt;
    const std::uint8_t function = request[1];
    if (!Serves(state, function)) return ExceptionReply(request[0], function, kExceptionIllegalFunction);
    switch (function) {
        case kFuncReadRegisters: return ReadRegisters(state, request);
        case kFuncWriteRegister: return WriteRegister(state, request);
        case kFuncWriteRegisters: return WriteRegisters(state, request);
        default: return std::nullopt;
    }
}

}  // namespace sim
