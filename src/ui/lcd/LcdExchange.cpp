#include "LcdExchange.h"

#include "app/ConfigDlg.h"
#include "protocol/RequestFrames.h"

bool WriteLcdRegister(CConfigDlg& main, std::uint16_t reg, std::uint16_t value) {
    //   address  06  register hi lo  value hi lo  CRC lo hi   -> echoed as sent
    const std::uint16_t length = BuildRegisterWrite(main.Link().m_txFrame, main.m_devAddress, reg, value);
    const ReplyBytes reply = main.ExchangeStandard(length);
    return IsJudgeable(reply) && CheckEchoReply(reply, ReplyBytes(main.TxFrame(), length));
}

std::optional<std::uint16_t> ReadLcdRegister(CConfigDlg& main, std::uint16_t reg) {
    //   address  03  register hi lo  00 01  CRC lo hi
    // -> address  03  02  value hi lo  CRC lo hi
    const std::uint16_t length = BuildRegisterRead(main.Link().m_txFrame, main.m_devAddress, reg, 1);
    const ReplyBytes reply = main.ExchangeStandard(length);
    if (!IsJudgeable(reply)) return std::nullopt;

    // A device found by the register search answers reads from 255, and the
    // main window's reads rely on that. The query itself goes to the
    // controller's own address, though, so in that mode a reply from that
    // address is the controller answering and is taken as well.
    std::optional<ReplyValues> values =
        ParseReadReply(reply, ExpectedReadAddress(main.m_soilMode != 0, main.m_devAddress), ValuesUsed::First);
    if (!values && main.m_soilMode) values = ParseReadReply(reply, main.m_devAddress, ValuesUsed::First);
    if (!values) return std::nullopt;
    return values->value1;
}
