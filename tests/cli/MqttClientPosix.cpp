// The MQTT client against a real Mosquitto broker: retained messages, the
// reconnection after the broker went away, and the refusals at start, each
// naming its cause.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "MosquittoBroker.h"
#include "gateway/MqttClient.h"
#include "support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;

MqttOptions OptionsFor(const CMosquittoBroker& broker) {
    MqttOptions options;
    options.broker = *ParseBrokerUrl(broker.Url()).value;
    options.willTopic = "test/status";
    options.willPayload = "offline";
    return options;
}

TEST(MqttClient, BrokerUrls) {
    struct Case {
        const char* url;
        const char* host;  // nullptr: refused
        int port;
        bool tls;
    };
    for (const Case& c : {Case{"mqtt://broker.site", "broker.site", 1883, false},
                          Case{"mqtts://10.0.0.2:8884/", "10.0.0.2", 8884, true},
                          Case{"mqtts://broker", "broker", 8883, true}, Case{"mqtt://[::1]:1884", "::1", 1884, false},
                          Case{"http://broker", nullptr, 0, false}, Case{"mqtt://", nullptr, 0, false},
                          Case{"mqtt://broker:0", nullptr, 0, false}, Case{"mqtt://broker:99999", nullptr, 0, false},
                          Case{"mqtt://user@broker", nullptr, 0, false}, Case{"mqtt://broker:", nullptr, 0, false}}) {
        const Checked<MqttBroker> broker = ParseBrokerUrl(c.url);
        ASSERT_EQ(broker.Ok(), c.host != nullptr) << c.url << ": " << broker.refusal;
        if (!broker.Ok()) continue;
        EXPECT_EQ(broker.value->host, c.host);
        EXPECT_EQ(broker.value->port, c.port) << c.url;
        EXPECT_EQ(broker.value->tls, c.tls) << c.url;
    }
}

TEST(MqttClient, PasswordFileReadableByOthersIsRefused) {
    const std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/mqtt-password";
    std::ofstream(path) << "s3cret\n";
    ::chmod(path.c_str(), 0644);
    const Checked<std::string> open = ReadPasswordFile(path);
    EXPECT_FALSE(open.Ok());
    EXPECT_NE(open.refusal.find("chmod 600"), std::string::npos) << open.refusal;
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(ReadPasswordFile(path).value, "s3cret");
    std::remove(path.c_str());
    EXPECT_FALSE(ReadPasswordFile(path).Ok());
}

TEST(MqttClient, PublishesRetainedAndReconnectsAfterTheBrokerCameBack) {
    CMosquittoBroker broker;
    ASSERT_TRUE(broker.Running());
    CMqttClient client(OptionsFor(broker));
    std::atomic<int> connections = 0;
    client.OnConnected([&] { ++connections; });
    ASSERT_EQ(client.Connect(5s), std::nullopt);
    EXPECT_EQ(connections, 1);
    ASSERT_TRUE(client.Publish("test/1/temperature", "25.0"));
    ASSERT_TRUE(client.WaitDelivered(5s));
    EXPECT_EQ(broker.Retained("test/#"), (std::map<std::string, std::string>{{"test/1/temperature", "25.0"}}));

    broker.Stop(/*kill=*/true);
    ASSERT_TRUE(WaitUntil([&] { return !client.Connected(); }, 5s));
    EXPECT_FALSE(client.Publish("test/1/temperature", "26.0")) << "nothing is queued while the broker is away";
    ASSERT_TRUE(broker.Start());
    // The first waits are 1 s and 2 s.
    ASSERT_TRUE(WaitUntil([&] { return connections == 2; }, 10s));
    EXPECT_TRUE(broker.Retained("test/#").empty()) << "the broker came back with nothing retained";
    ASSERT_TRUE(client.Publish("test/1/temperature", "26.0"));
    ASSERT_TRUE(client.WaitDelivered(5s));
    EXPECT_EQ(broker.Retained("test/#")["test/1/temperature"], "26.0");
}

TEST(MqttClient, LeavingWhileTheBrokerIsAwayEndsAtOnce) {
    CMosquittoBroker broker;
    CMqttClient client(OptionsFor(broker));
    ASSERT_EQ(client.Connect(5s), std::nullopt);
    broker.Stop();
    ASSERT_TRUE(WaitUntil([&] { return !client.Connected(); }, 5s));
    const auto start = std::chrono::steady_clock::now();
    client.Disconnect();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << "the network thread left its wait between attempts";
}

TEST(MqttClient, RefusalsAtStartNameTheirCause) {
    CMosquittoBroker plain;
    CMosquittoBroker withPassword(BrokerSetup{"gateway", "right horse", false});
    CMosquittoBroker tls(BrokerSetup{"", "", true});
    CMosquittoBroker clientCertificates(BrokerSetup{"", "", true, true});
    ASSERT_TRUE(plain.Running() && withPassword.Running() && tls.Running() && clientCertificates.Running());
    const int nobodyPort = plain.Port();
    plain.Stop();
    const CSilentListener silent;

    struct Case {
        const char* what;
        const CMosquittoBroker& broker;
        std::string user, password, caFile;
        std::optional<MqttRefusal> refusal;
        const char* words;
        const char* host = nullptr;  // instead of the broker's URL's
        int port = 0;                // instead of the broker's
        bool clientCertificate = false;
    };
    const Case cases[] = {
        {"nobody listening", plain, "", "", "", MqttRefusal::Unreachable, "cannot reach"},
        {"a host that drops the packets", plain, "", "", "", MqttRefusal::Unreachable, "did not answer within 5 s",
         nullptr, silent.Port()},
        {"good password", withPassword, "gateway", "right horse", "", std::nullopt, ""},
        {"wrong password", withPassword, "gateway", "wrong horse", "", MqttRefusal::Credentials, "user name or password"},
        {"no user", withPassword, "", "", "", MqttRefusal::Credentials, "user name or password"},
        {"right CA", tls, "", "", tls.CaFile().string(), std::nullopt, ""},
        {"another CA", tls, "", "", tls.OtherCaFile().string(), MqttRefusal::Certificate, "certificate"},
        {"a host the certificate does not name", tls, "", "", tls.CaFile().string(), MqttRefusal::Certificate,
         "certificate", "127.0.0.1"},
        {"a client certificate", clientCertificates, "", "", clientCertificates.CaFile().string(), std::nullopt, "",
         nullptr, 0, true},
        {"no client certificate", clientCertificates, "", "", clientCertificates.CaFile().string(),
         MqttRefusal::Certificate, "certificate"},
    };
    for (const Case& c : cases) {
        MqttOptions options = OptionsFor(c.broker);
        if (&c.broker == &plain) options.broker.port = nobodyPort;
        if (c.host != nullptr) options.broker.host = c.host;
        if (c.port != 0) options.broker.port = c.port;
        if (c.clientCertificate) {
            options.clientCert = c.broker.ClientCertFile().string();
            options.clientKey = c.broker.ClientKeyFile().string();
        }
        options.user = c.user;
        options.password = c.password;
        options.caFile = c.caFile;
        CMqttClient client(options);
        const std::optional<MqttConnectFailure> failure = client.Connect(5s);
        ASSERT_EQ(failure.has_value(), c.refusal.has_value()) << c.what << ": " << (failure ? failure->message : "");
        if (!failure) continue;
        EXPECT_EQ(failure->refusal, *c.refusal) << c.what << ": " << failure->message;
        EXPECT_NE(failure->message.find(c.words), std::string::npos) << c.what << ": " << failure->message;
        EXPECT_EQ(failure->message.find("horse"), std::string::npos) << "the password is never shown";
    }
}

}  // namespace
