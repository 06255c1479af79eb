#include "gateway_state.h"

#include "escaping.h"

GatewayState::GatewayState(long credit, const std::string& logPath) : m_credit(credit) {
    if (!logPath.empty())
        m_log.open(logPath, std::ios::app);
}

bool GatewayState::accept(const SentMessage& message) {
    const std::lock_guard lock(m_mutex);
    const long cost = parts(message.text);
    if (m_credit < cost)
        return false;
    m_credit -= cost;
    m_sent.push_back(message);
    writeLogLine(message);
    return true;
}

long GatewayState::parts(const std::string& utf8) {
    long characters = 0;
    for (const char byte : utf8)
        characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    if (characters <= 70)
        return 1;
    return (characters + 66) / 67;
}

long GatewayState::arrive() {
    const std::lock_guard lock(m_mutex);
    return ++m_arrived;
}

long GatewayState::credit() const {
    const std::lock_guard lock(m_mutex);
    return m_credit;
}

std::vector<SentMessage> GatewayState::sent() const {
    const std::lock_guard lock(m_mutex);
    return m_sent;
}

void GatewayState::writeLogLine(const SentMessage& message) {
    if (!m_log.is_open())
        return;
    m_log << "{\"movetel\":" << jsonString(message.phone)
          << ",\"name\":" << jsonString(message.name)
          << ",\"message\":" << jsonString(message.text);
    if (message.schedule)
        m_log << ",\"bf\":" << jsonString(*message.schedule);
    // Flushed at once: a test reads the line as soon as the answer arrives.
    m_log << ",\"peer_port\":" << message.peerPort << ",\"credit\":" << m_credit << "}"
          << std::endl;
}
