#include "CsvFile.h"

#include "FilePath.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Hands what the C library flushed to the disk.
bool SyncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(fileno(file)) == 0;
#endif
}

std::string Reason() { return std::strerror(errno); }

}  // namespace

CCsvFile::CCsvFile(const std::string& path, const std::vector<std::string>& header) {
    std::FILE* file = OpenFile(path, "ab");
    if (file == nullptr) {
        m_error = "cannot write " + path + ": " + Reason();
        return;
    }
    m_file.reset(file);
    if (std::fseek(file, 0, SEEK_END) == 0 && std::ftell(file) == 0 && !Append(header)) m_file.reset();
}

bool CCsvFile::Append(const std::vector<std::string>& fields) {
    if (!m_file) return false;
    const std::string line = Line(fields);
    if (std::fwrite(line.data(), 1, line.size(), m_file.get()) != line.size() || std::fflush(m_file.get()) != 0 ||
        !SyncToDisk(m_file.get())) {
        m_error = "cannot write the record: " + Reason();
        return false;
    }
    return true;
}

std::string CCsvFile::Line(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            line += field;
            continue;
        }
        line += '"';
        for (const char c : field) line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line + "\r\n";
}

std::string IsoTimeNow() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    char withMillis[40];
    std::snprintf(withMillis, sizeof withMillis, "%s.%03dZ", text, static_cast<int>(millis));
    return withMillis;
}
