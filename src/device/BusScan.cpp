#include "BusScan.h"

#include "protocol/FrameCodes.h"

CBusScan::CBusScan(CDeviceSession& session, BusScanPlan plan)
    : m_session(session), m_plan(std::move(plan)), m_next(m_plan.first) {
    if (AddressesPerSpeed() == 0) m_speed = m_plan.speeds.size();
    if (!Done()) {
        ++m_session.m_scans;
        m_counted = true;
    }
}

CBusScan::~CBusScan() { ReleaseSession(); }

void CBusScan::ReleaseSession() {
    if (!m_counted) return;
    m_counted = false;
    --m_session.m_scans;
}

std::size_t CBusScan::AddressesPerSpeed() const {
    return m_plan.first <= m_plan.last ? static_cast<std::size_t>(m_plan.last - m_plan.first + 1) : 0;
}

std::uint32_t CBusScan::Speed() const { return m_lastSpeed != 0 ? m_lastSpeed : PlannedSpeed(); }

std::uint32_t CBusScan::PlannedSpeed() const {
    if (m_plan.speeds.empty()) return 0;
    return m_plan.speeds[std::min(m_speed, m_plan.speeds.size() - 1)];
}

void CBusScan::NextSpeed() {
    ++m_speed;
    m_next = m_plan.first;
    m_lineOpen = false;
    if (Done()) ReleaseSession();
}

bool CBusScan::Step() {
    while (!Done() && !m_lineOpen) {
        m_lineOpen = m_session.OpenPort(m_plan.portNumber, PlannedSpeed());
        if (m_lineOpen) break;
        // Port 0 is the device path the session was given.
        const std::string port = m_plan.portNumber == 0 ? "the port" : "COM" + std::to_string(m_plan.portNumber);
        m_portFailures.push_back(port + " did not open at " + std::to_string(PlannedSpeed()) + " bit/s");
        m_asked += AddressesPerSpeed() - (m_next - m_plan.first);
        NextSpeed();
    }
    if (Done()) return false;

    //   address 03 00 00 00 02 CRC  ->  humidity (0x0000), temperature (0x0001)
    const auto address = static_cast<std::uint8_t>(m_next);
    const OpResult<std::vector<std::uint16_t>> words = m_session.ReadUnitRegisters(address, kRegHumidity, 2,
                                                                                  m_plan.replyTimeout);
    if (words.Ok()) {
        m_found.push_back({address, PlannedSpeed(), words.value[1], words.value[0], {}});
    } else if (words.outcome.status == OpStatus::BadReply && words.outcome.failedCheck.starts_with("exception ")) {
        // An exception reply from this address with a good CRC: a unit that
        // has no such registers, but a unit all the same.
        m_found.push_back({address, PlannedSpeed(), 0, 0, words.outcome.failedCheck});
    }
    m_lastAsked = address;
    m_lastSpeed = PlannedSpeed();
    ++m_asked;
    if (++m_next > m_plan.last) NextSpeed();
    return true;
}
