#include "MqttClient.h"

#include <mosquitto.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

// libmosquitto's global state (OpenSSL among it): set up before the first
// client and torn down at exit, after the last.
void InitLibraryOnce() {
    struct CLibrary {
        CLibrary() { mosquitto_lib_init(); }
        ~CLibrary() { mosquitto_lib_cleanup(); }
    };
    static const CLibrary library;
}

std::string Where(const MqttBroker& broker) { return broker.host + ":" + std::to_string(broker.port); }

}  // namespace

Checked<MqttBroker> ParseBrokerUrl(std::string_view url) {
    const auto refused = [&] {
        return Checked<MqttBroker>::Refused("--mqtt takes mqtt://HOST[:PORT] or mqtts://HOST[:PORT], not \"" +
                                            std::string(url) + "\"");
    };
    MqttBroker broker;
    std::string_view rest;
    if (url.starts_with("mqtt://")) {
        rest = url.substr(7);
    } else if (url.starts_with("mqtts://")) {
        rest = url.substr(8);
        broker.tls = true;
        broker.port = 8883;
    } else {
        return refused();
    }
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    // [v6 address]:port, or host:port with one colon.
    std::string_view port;
    if (rest.starts_with('[')) {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) return refused();
        broker.host = std::string(rest.substr(1, close - 1));
        rest = rest.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(':')) return refused();
        if (!rest.empty()) port = rest.substr(1);
    } else {
        const std::size_t colon = rest.find(':');
        broker.host = std::string(rest.substr(0, colon));
        if (colon != std::string_view::npos) port = rest.substr(colon + 1);
        if (port.find(':') != std::string_view::npos) return refused();
    }
    if (broker.host.empty() || broker.host.find_first_of("/@ ") != std::string::npos) return refused();
    if (port.data() != nullptr) {
        int number = 0;
        for (const char c : port) {
            if (c < '0' || c > '9' || number > 65535) return refused();
            number = number * 10 + (c - '0');
        }
        if (port.empty() || number < 1 || number > 65535) return refused();
        broker.port = number;
    }
    return {broker, {}};
}

Checked<std::string> ReadPasswordFile(const std::string& path) {
    using Result = Checked<std::string>;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return Result::Refused("--mqtt-password-file: cannot read " + path + ": " + std::strerror(errno));
    }
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        return Result::Refused("--mqtt-password-file: " + path +
                               " may be read by other users of this machine (its mode lets the group or others in); "
                               "make it private with chmod 600 " + path);
    }
    std::ifstream file(path, std::ios::binary);
    std::string password;
    if (!file || !std::getline(file, password)) {
        return Result::Refused("--mqtt-password-file: cannot read " + path + " (empty or unreadable)");
    }
    if (!password.empty() && password.back() == '\r') password.pop_back();
    if (password.empty()) return Result::Refused("--mqtt-password-file: the first line of " + path + " is empty");
    return {password, {}};
}

CMqttClient::CMqttClient(MqttOptions options) : m_options(std::move(options)) {
    InitLibraryOnce();
    // A clean session: a gateway that comes back publishes everything anew,
    // and the broker keeps nothing for it meanwhile.
    m_mosq = mosquitto_new(nullptr, true, this);
    if (m_mosq == nullptr) return;
    mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(m_mosq, &CMqttClient::OnConnect);
    mosquitto_disconnect_callback_set(m_mosq, &CMqttClient::OnDisconnect);
    mosquitto_publish_callback_set(m_mosq, &CMqttClient::OnPublish);
    mosquitto_log_callback_set(m_mosq, &CMqttClient::OnLog);
    mosquitto_reconnect_delay_set(m_mosq, 1, 30, true);
}

CMqttClient::~CMqttClient() {
    if (m_mosq == nullptr) return;
    Disconnect();
    mosquitto_destroy(m_mosq);
}

std::optional<MqttConnectFailure> CMqttClient::Connect(std::chrono::milliseconds timeout) {
    const MqttBroker& broker = m_options.broker;
    const auto fail = [&](MqttRefusal refusal, const std::string& message) {
        Disconnect();
        return std::optional<MqttConnectFailure>(MqttConnectFailure{refusal, message});
    };
    if (m_mosq == nullptr) return fail(MqttRefusal::Other, "the MQTT client could not be made (out of memory)");
    const MqttOptions& o = m_options;
    if (!o.willTopic.empty()) {
        mosquitto_will_set(m_mosq, o.willTopic.c_str(), static_cast<int>(o.willPayload.size()), o.willPayload.data(),
                           1, true);
    }
    if (!o.user.empty()) mosquitto_username_pw_set(m_mosq, o.user.c_str(), o.password.c_str());
    if (broker.tls) {
        // Without a CA file the system's trusted CAs vouch for the broker.
        if (o.caFile.empty()) mosquitto_int_option(m_mosq, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
        const auto text = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
        const int rc = mosquitto_tls_set(m_mosq, text(o.caFile), nullptr, text(o.clientCert), text(o.clientKey), nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            return fail(MqttRefusal::Certificate,
                        "the TLS files could not be used (--ca-file, --client-cert, --client-key): " +
                            std::string(mosquitto_strerror(rc)));
        }
        // The broker's certificate must be signed by the CA and name the host.
        mosquitto_tls_opts_set(m_mosq, 1, nullptr, nullptr);
        mosquitto_tls_insecure_set(m_mosq, false);
    }

    // Asynchronous, so that a broker whose host drops the packets ends in the
    // wait below instead of the kernel's two minutes of connection attempts.
    // A refusal on the spot and an unknown name still come back here.
    const int rc = mosquitto_connect_async(m_mosq, broker.host.c_str(), broker.port, o.keepAliveSeconds);
    if (rc == MOSQ_ERR_ERRNO && broker.tls && (errno == EPROTO || !TlsError().empty())) {
        // The handshake can end on the spot too, when the broker refuses the
        // client's certificate or the lack of one.
        const std::string why = TlsError();
        return fail(MqttRefusal::Certificate, "the MQTT broker at " + Where(broker) +
                                                  " broke off the TLS handshake: a certificate was refused "
                                                  "(--ca-file, --client-cert, --client-key): " +
                                                  (why.empty() ? std::strerror(EPROTO) : why));
    }
    if (rc == MOSQ_ERR_ERRNO) {
        return fail(MqttRefusal::Unreachable, "cannot reach the MQTT broker at " + Where(broker) + ": " +
                                                  std::strerror(errno));
    }
    if (rc == MOSQ_ERR_EAI) {
        return fail(MqttRefusal::Unreachable, "cannot reach the MQTT broker at " + Where(broker) +
                                                  ": the host name is not known");
    }
    if (rc == MOSQ_ERR_TLS) {
        const std::string why = TlsError();
        return fail(MqttRefusal::Certificate, "the MQTT broker at " + Where(broker) +
                                                  " failed the TLS check of its certificate (--ca-file, host name)" +
                                                  (why.empty() ? "" : ": " + why));
    }
    if (rc != MOSQ_ERR_SUCCESS) {
        return fail(MqttRefusal::Other,
                    "cannot connect to the MQTT broker at " + Where(broker) + ": " + mosquitto_strerror(rc));
    }
    if (mosquitto_loop_start(m_mosq) != MOSQ_ERR_SUCCESS) {
        return fail(MqttRefusal::Other, "the MQTT client's network thread did not start");
    }
    m_loopRunning = true;

    std::unique_lock lock(m_mutex);
    const bool answered = m_changed.wait_for(lock, timeout, [&] { return m_connackCode >= 0 || !m_lastTlsError.empty(); });
    const int code = m_connackCode;
    const std::string tlsError = m_lastTlsError;
    lock.unlock();
    if (code == 0) return std::nullopt;
    if (!tlsError.empty()) {
        return fail(MqttRefusal::Certificate, "the MQTT broker at " + Where(broker) +
                                                  " failed the TLS check of its certificate (--ca-file, host name): " +
                                                  tlsError);
    }
    if (!answered) {
        return fail(MqttRefusal::Unreachable, "the MQTT broker at " + Where(broker) + " did not answer within " +
                                                  std::to_string(timeout.count() / 1000) + " s");
    }
    // MQTT 3.1.1: 4 bad user name or password, 5 not authorised.
    if (code == 4 || code == 5) {
        return fail(MqttRefusal::Credentials, "the MQTT broker at " + Where(broker) +
                                                  " refused the user name or password (--mqtt-user, "
                                                  "--mqtt-password-file): " + mosquitto_connack_string(code));
    }
    return fail(MqttRefusal::Other,
                "the MQTT broker at " + Where(broker) + " refused the connection: " + mosquitto_connack_string(code));
}

std::string CMqttClient::TlsError() const {
    std::lock_guard lock(m_mutex);
    return m_lastTlsError;
}

bool CMqttClient::Connected() const {
    std::lock_guard lock(m_mutex);
    return m_connected;
}

bool CMqttClient::Publish(const std::string& topic, std::string_view payload) {
    if (m_mosq == nullptr) return false;
    // Held across the call, so that the acknowledgement, which the network
    // thread notes under the same lock, cannot come before the message is
    // noted as waiting for it. libmosquitto's network thread sends it and
    // calls back; publishing calls back nothing on this thread.
    std::lock_guard lock(m_mutex);
    if (!m_connected) return false;
    int mid = 0;
    if (mosquitto_publish(m_mosq, &mid, topic.c_str(), static_cast<int>(payload.size()), payload.data(), 1, true) !=
        MOSQ_ERR_SUCCESS) {
        return false;
    }
    m_unacknowledged.insert(mid);
    return true;
}

bool CMqttClient::WaitDelivered(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_unacknowledged.empty(); });
}

void CMqttClient::Disconnect() {
    if (m_mosq == nullptr) return;
    const bool wasConnected = Connected();
    mosquitto_disconnect(m_mosq);
    if (m_loopRunning) {
        // Connected, the thread ends after the disconnect, or leaves its wait
        // before a reconnection when told to stop. Not connected, it may be
        // waiting on a connection the broker's host never answers, until the
        // keep-alive runs out: it is cancelled instead.
        mosquitto_loop_stop(m_mosq, !wasConnected);
        m_loopRunning = false;
    }
    std::lock_guard lock(m_mutex);
    m_connected = false;
}

void CMqttClient::OnConnect(mosquitto*, void* self, int rc) {
    auto* client = static_cast<CMqttClient*>(self);
    if (rc == 0) {
        {
            std::lock_guard lock(client->m_mutex);
            client->m_connected = true;
            client->m_lastTlsError.clear();
            // Messages of the lost connection are sent again by libmosquitto
            // or published anew by the owner: none is waited for.
            client->m_unacknowledged.clear();
        }
        // Before Connect returns: the owner's first publication follows it.
        if (client->m_onConnected) client->m_onConnected();
    }
    {
        std::lock_guard lock(client->m_mutex);
        client->m_connackCode = rc;
    }
    client->m_changed.notify_all();
}

void CMqttClient::OnDisconnect(mosquitto*, void* self, int) {
    auto* client = static_cast<CMqttClient*>(self);
    {
        std::lock_guard lock(client->m_mutex);
        client->m_connected = false;
    }
    client->m_changed.notify_all();
}

void CMqttClient::OnPublish(mosquitto*, void* self, int mid) {
    auto* client = static_cast<CMqttClient*>(self);
    {
        std::lock_guard lock(client->m_mutex);
        client->m_unacknowledged.erase(mid);
    }
    client->m_changed.notify_all();
}

void CMqttClient::OnLog(mosquitto*, void* self, int level, const char* text) {
    if (level != MOSQ_LOG_ERR || text == nullptr) return;
    const std::string_view line(text);
    // The handshake's failure reaches the owner only through the log.
    if (line.find("OpenSSL") == std::string_view::npos && line.find("certificate") == std::string_view::npos) return;
    auto* client = static_cast<CMqttClient*>(self);
    {
        std::lock_guard lock(client->m_mutex);
        client->m_lastTlsError = std::string(line);
    }
    client->m_changed.notify_all();
}
