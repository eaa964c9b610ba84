#include "WirelessExchange.h"

#include "app/ConfigDlg.h"

TxBuffer WirelessRequest(CConfigDlg& main) { return main.Link().m_txFrame; }

std::optional<ReplyValues> ExchangeFbValue(CConfigDlg& main, std::uint16_t length, ValuesUsed used,
                                           ExchangeVariant variant) {
    const ReplyBytes reply = ReplyOf(main.Link(), main.ExchangeFrame(length, variant));
    if (!IsJudgeable(reply)) return std::nullopt;
    return ParseFbReply(reply, used);
}

std::optional<FbConfigReply> ExchangeFbConfig(CConfigDlg& main, std::uint16_t length, ExchangeVariant variant) {
    const ReplyBytes reply = ReplyOf(main.Link(), main.ExchangeFrame(length, variant));
    if (!IsJudgeable(reply)) return std::nullopt;
    return ParseFbConfigReply(reply);
}
