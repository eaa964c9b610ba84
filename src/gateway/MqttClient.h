#pragma once
// One connection to an MQTT broker through libmosquitto, for a gateway that
// runs for months: a last will, TLS with the broker's certificate verified
// (host name included), a user name and password, retained QoS 1 messages,
// and reconnection by itself with a growing wait (1 s, 2 s, 4 s ... 30 s).
// Linux only.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "protocol/Checked.h"

struct mosquitto;

// mqtt://HOST[:PORT] (1883) or mqtts://HOST[:PORT] (8883, TLS).
struct MqttBroker {
    std::string host;
    int port = 1883;
    bool tls = false;
};
Checked<MqttBroker> ParseBrokerUrl(std::string_view url);

// The password in the first line of `path`. A file that the group or others
// may read is refused: the password of a building's broker is not for every
// user of the machine.
Checked<std::string> ReadPasswordFile(const std::string& path);

struct MqttOptions {
    MqttBroker broker;
    std::string user;      // none when empty
    std::string password;
    std::string caFile;    // with mqtts://: the CA that signed the broker's certificate
    std::string clientCert;  // for brokers that want the client's certificate
    std::string clientKey;
    // Published by the broker, retained, when the connection is lost without
    // a clean disconnect.
    std::string willTopic;
    std::string willPayload;
    int keepAliveSeconds = 30;
};

// Why a connection at start failed, so that the message names the cause.
enum class MqttRefusal { Unreachable, Credentials, Certificate, Other };

struct MqttConnectFailure {
    MqttRefusal refusal;
    std::string message;  // "the broker 127.0.0.1:1883 refused the user name or password"
};

class CMqttClient {
public:
    explicit CMqttClient(MqttOptions options);
    ~CMqttClient();  // disconnects without the last will and stops the network thread
    CMqttClient(const CMqttClient&) = delete;
    CMqttClient& operator=(const CMqttClient&) = delete;

    // Called on the network thread each time the broker accepts the
    // connection, the first time and after every reconnection: a broker that
    // restarted without persistence has forgotten every retained message.
    // Set it before Connect.
    void OnConnected(std::function<void()> callback) { m_onConnected = std::move(callback); }

    // Connects and waits up to `timeout` for the broker's answer; from then on
    // a lost connection is made again by itself. nullopt when connected.
    std::optional<MqttConnectFailure> Connect(std::chrono::milliseconds timeout);
    bool Connected() const;

    // Retained, QoS 1. While the connection is lost nothing is queued (the
    // caller publishes the current values again once connected): false.
    bool Publish(const std::string& topic, std::string_view payload);
    // Waits up to `timeout` until the broker has acknowledged every message
    // published so far; false when some are still unacknowledged.
    bool WaitDelivered(std::chrono::milliseconds timeout);
    // A clean disconnect: the broker does not publish the last will.
    void Disconnect();

private:
    std::string TlsError() const;

    static void OnConnect(mosquitto*, void* self, int rc);
    static void OnDisconnect(mosquitto*, void* self, int rc);
    static void OnPublish(mosquitto*, void* self, int mid);
    static void OnLog(mosquitto*, void* self, int level, const char* text);

    MqttOptions m_options;
    mosquitto* m_mosq = nullptr;
    bool m_loopRunning = false;
    std::function<void()> m_onConnected;

    mutable std::mutex m_mutex;  // the state below, written on the network thread
    std::condition_variable m_changed;
    bool m_connected = false;
    int m_connackCode = -1;      // the broker's answer to the last connection
    std::string m_lastTlsError;  // libmosquitto's words on a failed handshake
    std::set<int> m_unacknowledged;    // published, not yet acknowledged by the broker
};
