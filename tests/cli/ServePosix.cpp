// sentrabus-cli serve against the bus simulator and a real Mosquitto broker:
// the retained topics, an unplugged unit's status, the discovery configs, the
// broker killed and started again, the last will, SIGTERM, and the refusals
// at start.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CliProgram.h"
#include "MosquittoBroker.h"
#include "support/SimProgram.h"
#include "support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;
using Messages = std::map<std::string, std::string>;

// sentrabus-cli serve running in the background, its standard error in a file.
class CServe {
public:
    explicit CServe(const std::vector<std::string>& arguments) : m_errPath(FreshTestFile("serve.err")) {
        const char* cli = std::getenv("SENTRABUS_CLI");
        std::vector<char*> argv{const_cast<char*>(cli)};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        m_pid = ::fork();
        if (m_pid == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen(m_errPath.c_str(), "w", stderr);
            ::execv(cli, argv.data());
            ::_exit(127);
        }
    }
    ~CServe() {
        if (m_pid > 0) Signal(SIGKILL);
    }
    CServe(const CServe&) = delete;
    CServe& operator=(const CServe&) = delete;

    // Sends `signal` and waits up to 10 s for the end: the exit status, -1 when it did not end.
    int Signal(int signal) {
        ::kill(m_pid, signal);
        int status = 0;
        const bool ended = WaitUntil([&] { return ::waitpid(m_pid, &status, WNOHANG) == m_pid; }, 10s);
        if (!ended) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
        }
        m_pid = -1;
        return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Err() const {
        std::ifstream file(m_errPath);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

private:
    std::string m_errPath;
    pid_t m_pid = -1;
};

// True once every expected topic holds its payload, within `timeout`.
bool HoldsWithin(const CMosquittoBroker& broker, const Messages& expected, std::chrono::milliseconds timeout,
                 const std::string& filter = "#") {
    Messages held;
    const bool ok = WaitUntil(
        [&] {
            held = broker.Retained(filter);
            for (const auto& [topic, payload] : expected) {
                const auto it = held.find(topic);
                if (it == held.end() || it->second != payload) return false;
            }
            return true;
        },
        timeout);
    if (!ok) {
        for (const auto& [topic, payload] : held) ADD_FAILURE() << "held: " << topic << " = " << payload;
    }
    return ok;
}

std::map<std::string, nlohmann::json> Discovery(const CMosquittoBroker& broker) {
    std::map<std::string, nlohmann::json> configs;
    for (const auto& [topic, payload] : broker.Retained("homeassistant/#")) {
        configs[topic] = nlohmann::json::parse(payload, nullptr, false);
    }
    return configs;
}

TEST(Serve, PublishesTheBusAndComesBackWithTheBroker) {
    CMosquittoBroker broker;
    ASSERT_TRUE(broker.Running());
    const std::string control = FreshTestFile("serve-control");
    std::ofstream(control).close();
    // Unit 20 listens at 4800 bit/s: at 9600 it is never heard.
    CSimProgram bus(0, {"--bus", "th:12,th:13,light:20@4800", "--baud", "9600", "--control", control});
    ASSERT_TRUE(bus.Valid());
    const std::string csv = FreshTestFile("serve.csv");
    CServe serve({"--port", bus.SlavePath(), "--baud", "9600", "serve", "--units", "12,13,20", "--mqtt", broker.Url(),
                  "--topic", "site/bus1", "--interval", "0.2", "--ha-discovery", "--csv", csv});

    EXPECT_TRUE(HoldsWithin(broker,
                            {{"site/bus1/status", "online"},
                             {"site/bus1/12/temperature", "25.0"},
                             {"site/bus1/12/humidity", "60.0"},
                             {"site/bus1/12/status", "online"},
                             {"site/bus1/13/temperature", "25.0"},
                             {"site/bus1/13/status", "online"},
                             {"site/bus1/20/status", "offline"}},
                            10s))
        << serve.Err();
    EXPECT_EQ(broker.Retained("site/bus1/20/#"), (Messages{{"site/bus1/20/status", "offline"}}))
        << "a unit never heard has no values";

    // One config per unit and reading, each a sensor Home Assistant can place.
    std::map<std::string, nlohmann::json> configs = Discovery(broker);
    ASSERT_EQ(configs.size(), 6U);
    const nlohmann::json& temperature = configs["homeassistant/sensor/sentrabus_site_bus1_12_temperature/config"];
    ASSERT_TRUE(temperature.is_object());
    EXPECT_EQ(temperature["unique_id"], "sentrabus_site_bus1_12_temperature");
    EXPECT_EQ(temperature["state_topic"], "site/bus1/12/temperature");
    EXPECT_EQ(temperature["availability_topic"], "site/bus1/12/status");
    EXPECT_EQ(temperature["unit_of_measurement"], "°C");
    EXPECT_EQ(temperature["device_class"], "temperature");
    EXPECT_EQ(temperature["state_class"], "measurement");
    const nlohmann::json& humidity = configs["homeassistant/sensor/sentrabus_site_bus1_12_humidity/config"];
    EXPECT_EQ(humidity["device"], temperature["device"]) << "one device groups a unit's readings";
    EXPECT_EQ(humidity["device_class"], "humidity");
    EXPECT_NE(configs["homeassistant/sensor/sentrabus_site_bus1_13_humidity/config"]["device"], humidity["device"]);

    std::ofstream(control) << "unplug 13\n";
    EXPECT_TRUE(HoldsWithin(broker, {{"site/bus1/13/status", "offline"}, {"site/bus1/12/status", "online"}}, 10s));

    // A broker that restarts has lost every retained message: all come back.
    broker.Stop(/*kill=*/true);
    ASSERT_TRUE(broker.Start());
    EXPECT_TRUE(HoldsWithin(broker,
                            {{"site/bus1/status", "online"},
                             {"site/bus1/12/temperature", "25.0"},
                             {"site/bus1/12/status", "online"},
                             {"site/bus1/13/status", "offline"},
                             {"site/bus1/20/status", "offline"}},
                            10s));
    EXPECT_EQ(Discovery(broker).size(), 6U);

    // Stopped: the gateway and its units offline, the values kept.
    EXPECT_EQ(serve.Signal(SIGTERM), 0) << serve.Err();
    EXPECT_EQ(broker.Retained("site/bus1/#"), (Messages{{"site/bus1/status", "offline"},
                                                        {"site/bus1/12/status", "offline"},
                                                        {"site/bus1/12/temperature", "25.0"},
                                                        {"site/bus1/12/humidity", "60.0"},
                                                        {"site/bus1/13/status", "offline"},
                                                        {"site/bus1/13/temperature", "25.0"},
                                                        {"site/bus1/13/humidity", "60.0"},
                                                        {"site/bus1/20/status", "offline"}}));
    EXPECT_NE(serve.Err().find("unit 13 offline"), std::string::npos) << serve.Err();

    // The log went on while the broker was away; a unit that did not answer has no value.
    std::ifstream log(csv);
    std::string line;
    std::getline(log, line);
    EXPECT_EQ(line, "time,address,temperature,humidity\r");
    int unanswered = 0;
    while (std::getline(log, line)) {
        if (line.find(",20,") != std::string::npos || line.find(",13,no reply") != std::string::npos) {
            EXPECT_TRUE(line.ends_with(",no reply,no reply\r")) << line;
            ++unanswered;
        }
    }
    EXPECT_GT(unanswered, 6);
}

// Over TLS to a broker that wants a password and the client's certificate.
TEST(Serve, TheLastWillSaysOfflineWhenTheGatewayDies) {
    CMosquittoBroker broker(BrokerSetup{"gateway", "right horse", true, true});
    const std::string password = FreshTestFile("mqtt-password");
    std::ofstream(password) << "right horse\n";
    ::chmod(password.c_str(), 0600);
    CSimProgram bus(0, {"--bus", "th:12", "--baud", "9600"});
    CServe serve({"--port", bus.SlavePath(), "--baud", "9600", "serve", "--units", "12", "--mqtt", broker.Url(),
                  "--ca-file", broker.CaFile().string(), "--client-cert", broker.ClientCertFile().string(),
                  "--client-key", broker.ClientKeyFile().string(), "--mqtt-user", "gateway", "--mqtt-password-file",
                  password, "--interval", "0.2"});
    ASSERT_TRUE(HoldsWithin(broker, {{"sentrabus/status", "online"}, {"sentrabus/12/temperature", "25.0"}}, 10s));
    serve.Signal(SIGKILL);
    EXPECT_TRUE(HoldsWithin(broker, {{"sentrabus/status", "offline"}}, 10s));
}

TEST(Serve, RefusalsAtStart) {
    CMosquittoBroker withPassword(BrokerSetup{"gateway", "right horse", false});
    CMosquittoBroker gone;
    const std::string goneUrl = gone.Url();
    gone.Stop();
    CSimProgram bus(0, {"--bus", "th:12", "--baud", "9600"});
    const std::string password = FreshTestFile("mqtt-password");
    std::ofstream(password) << "wrong horse\n";
    const std::string readable = FreshTestFile("mqtt-password-readable");
    std::ofstream(readable) << "right horse\n";
    ::chmod(password.c_str(), 0600);
    const std::string otherLog = FreshTestFile("other.csv");
    std::ofstream(otherLog) << "time,temperature\r\n";
    ::chmod(readable.c_str(), 0644);

    struct Case {
        std::vector<std::string> options;
        int status;
        const char* words;
    };
    const Case cases[] = {
        {{"--mqtt", goneUrl}, 3, "cannot reach the MQTT broker"},
        {{"--mqtt", withPassword.Url(), "--mqtt-user", "gateway", "--mqtt-password-file", password}, 3,
         "refused the user name or password"},
        {{"--mqtt", withPassword.Url(), "--mqtt-user", "gateway", "--mqtt-password-file", readable}, 2, "chmod 600"},
        {{"--mqtt", withPassword.Url(), "--mqtt-user", "gateway"}, 2, "go together"},
        {{"--mqtt", "tcp://broker"}, 2, "mqtt://HOST"},
        {{"--mqtt", goneUrl, "--topic", "site/#"}, 2, "without # or +"},
        {{"--mqtt", goneUrl, "--ca-file", password}, 2, "mqtts://"},
        {{"--mqtt", goneUrl, "--csv", otherLog}, 2, "other readings"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"--port", bus.SlavePath(), "--baud", "9600", "serve", "--units", "12"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, c.status) << c.options[1] << ": " << run.err;
        EXPECT_NE(run.err.find(c.words), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("horse"), std::string::npos) << "the password is never shown: " << run.err;
    }
    EXPECT_TRUE(withPassword.Retained("#").empty()) << "nothing was polled or published";
}

}  // namespace
