#pragma once
// A real Mosquitto broker for the tests, on a free port of 127.0.0.1 with a
// configuration written into its own temporary directory, and what it holds
// read back with mosquitto_sub. Linux only.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct BrokerSetup {
    // A password file made with mosquitto_passwd; anonymous clients refused.
    std::string user;
    std::string password;
    // A TLS-only listener with a certificate for "localhost" alone,
    // signed by a throwaway CA (CaFile()).
    bool tls = false;
    // With tls: the broker wants a client certificate signed by the same CA
    // (ClientCertFile, ClientKeyFile).
    bool clientCertificates = false;
};

class CMosquittoBroker {
public:
    explicit CMosquittoBroker(BrokerSetup setup = {});
    ~CMosquittoBroker();
    CMosquittoBroker(const CMosquittoBroker&) = delete;
    CMosquittoBroker& operator=(const CMosquittoBroker&) = delete;

    // Started and listening; the port stays the same across Stop and Start.
    bool Start();
    void Stop(bool kill = false);  // SIGTERM, or SIGKILL: nothing retained survives either
    bool Running() const { return m_pid > 0; }
    int Port() const { return m_port; }
    std::string Url() const;  // mqtt://127.0.0.1:PORT, or mqtts://localhost:PORT
    const std::filesystem::path& Directory() const { return m_directory; }
    std::filesystem::path CaFile() const { return m_directory / "ca.crt"; }
    // Another CA, which signed nothing the broker shows.
    std::filesystem::path OtherCaFile() const { return m_directory / "other-ca.crt"; }
    std::filesystem::path ClientCertFile() const { return m_directory / "client.crt"; }
    std::filesystem::path ClientKeyFile() const { return m_directory / "client.key"; }

    // The retained messages under `filter` ("sentrabus/#"): topic -> payload.
    std::map<std::string, std::string> Retained(const std::string& filter) const;

private:
    BrokerSetup m_setup;
    std::filesystem::path m_directory;
    int m_port = 0;
    int m_pid = -1;
};

// A port of 127.0.0.1 whose queue of connections is full: the kernel drops
// every further attempt, like a host whose firewall drops the packets.
class CSilentListener {
public:
    CSilentListener();
    ~CSilentListener();
    CSilentListener(const CSilentListener&) = delete;
    CSilentListener& operator=(const CSilentListener&) = delete;
    int Port() const { return m_port; }

private:
    int m_listener = -1;
    int m_fillers[3] = {-1, -1, -1};
    int m_port = 0;
};

// Runs `command` through the shell; its standard output, or nothing on failure.
bool RunShell(const std::string& command, std::string* out = nullptr);
