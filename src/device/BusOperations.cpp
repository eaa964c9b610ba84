// Addressed reads of one unit among several on a bus.

#include <algorithm>

#include "DeviceSession.h"
#include "serial/SerialPort.h"

OpResult<std::vector<std::uint16_t>> CDeviceSession::ReadUnitRegisters(std::uint8_t address, std::uint16_t first,
                                                                      std::uint8_t count,
                                                                      std::chrono::milliseconds replyTimeout) {
    //   address 03 first count CRC  ->  address 03 2*count words CRC
    // The reply is taken as soon as it is whole, in the windows too: a bus is
    // asked address by address, and waiting out the line's silence after
    // every unit would double the time of a scan.
    // The wait covers the reply's own time on the wire (ten bits a byte), so
    // that a short timeout holds at 2400 bit/s as at 9600.
    const std::size_t replyBytes = 5 + 2 * static_cast<std::size_t>(count);
    const std::uint32_t baud = std::max<std::uint32_t>(m_link.Port().Baud(), 1);
    const auto onWire = std::chrono::milliseconds((replyBytes * 10 * 1000 + baud - 1) / baud);
    const bool cut = m_link.CutsOnCompleteReply();
    m_link.SetCutOnCompleteReply(true);
    const ReplyVerdict verdict = ExchangeAndJudge(m_link, BuildRegisterRead(Request(), address, first, count),
                                                  ExchangeVariant::Standard, {ReplyCheck::RegisterBlock, ValuesUsed::None, address},
                                                  replyTimeout + onWire);
    m_link.SetCutOnCompleteReply(cut);
    if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
    return {OpOutcome::Success(), *ParseRegisterBlock(Reply(verdict), address, count)};
}
