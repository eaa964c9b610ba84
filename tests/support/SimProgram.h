#pragma once
// The sentrabus-sim program serving one device on a pseudo-terminal, with the
// list entry COM<n> leading to that terminal, for the life of the object. On
// Linux it is a child of the test; under Wine the line server runs it.

#include <memory>
#include <string>
#include <vector>

class CSimProgram {
public:
    // `options` as on sentrabus-sim's command line ("--device", "th", ...);
    // port number 0 maps no list entry.
    CSimProgram(int portNumber, const std::vector<std::string>& options);
    ~CSimProgram();
    CSimProgram(const CSimProgram&) = delete;
    CSimProgram& operator=(const CSimProgram&) = delete;

    bool Valid() const { return !m_slavePath.empty(); }
    const std::string& SlavePath() const { return m_slavePath; }

    // The technician pulls the unit, and plugs in a fresh one with factory
    // settings (the program's SIGUSR1 and SIGUSR2). The program acts on them
    // a moment later: its trace file says when.
    bool Unplug();
    bool PlugInFresh();

private:
    struct CProcess;
    std::unique_ptr<CProcess> m_process;
    std::string m_slavePath;
};

// The list entry COM<n> leads to a path that does not exist, for the life of
// the object: opening it fails on either platform.
class CPortNowhere {
public:
    explicit CPortNowhere(int portNumber);
    ~CPortNowhere();
    CPortNowhere(const CPortNowhere&) = delete;
    CPortNowhere& operator=(const CPortNowhere&) = delete;

private:
    struct CMapping;
    std::unique_ptr<CMapping> m_mapping;
};

// A path of the Linux host as this platform opens it (under Wine through Z:).
std::string HostPath(const std::string& path);
