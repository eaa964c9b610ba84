#include "CsvFile.h"

#include "FilePath.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/types.h>
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

// Cuts the file back to `size` bytes, taking away what a failed write left.
bool CutBack(std::FILE* file, long size) {
#ifdef _WIN32
    return _chsize_s(_fileno(file), size) == 0;
#else
    return ::ftruncate(fileno(file), static_cast<off_t>(size)) == 0;
#endif
}

// The size of the file and its last byte (EOF when empty or unreadable).
std::pair<long, int> SizeAndLastByte(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return {-1, EOF};
    const long size = std::ftell(file);
    if (size <= 0 || std::fseek(file, size - 1, SEEK_SET) != 0) return {size, EOF};
    const int last = std::fgetc(file);
    std::fseek(file, 0, SEEK_END);  // a write may follow a read only after a seek
    return {size, last};
}

}  // namespace

CCsvFile::CCsvFile(const std::string& path, const std::vector<std::string>& header) {
    // Read as well, for the last byte; every write still goes to the end.
    std::FILE* file = OpenFile(path, "a+b");
    if (file == nullptr) {
        m_error = "cannot write " + path + ": " + Reason();
        return;
    }
    // Unbuffered: a row that fails half-way leaves nothing behind in a buffer
    // that a later flush or the close would still write.
    std::setvbuf(file, nullptr, _IONBF, 0);
    m_file.reset(file);
    const auto [size, last] = SizeAndLastByte(file);
    if (size == 0) {
        if (!Append(header)) m_file.reset();
    } else if (last != EOF && last != '\n') {
        if (!Write("\r\n")) m_file.reset();
        m_endedLines = 1;
    }
}

std::string CCsvFile::EndedLinesText(const std::string& path) const {
    if (m_endedLines == 0) return {};
    return path + ": its last line was cut short (" + std::to_string(m_endedLines) +
           " unterminated line); it is ended, and the new rows start on lines of their own";
}

bool CCsvFile::Append(const std::vector<std::string>& fields) { return m_file && Write(Line(fields)); }

bool CCsvFile::Write(const std::string& bytes) {
    std::FILE* file = m_file.get();
    std::fseek(file, 0, SEEK_END);
    const long before = std::ftell(file);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0 &&
        SyncToDisk(file)) {
        return true;
    }
    m_error = "cannot write the record: " + Reason();
    std::clearerr(file);
    if (before >= 0 && CutBack(file, before)) {
        m_error += "; the unfinished row was taken out again";
    } else {
        m_error += "; part of the row may be left at the end of the file";
    }
    return false;
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

bool HoldsOtherColumns(const std::string& path, const std::vector<std::string>& header) {
    std::ifstream in(FilePath(path), std::ios::binary);
    std::string first;
    if (!in || !std::getline(in, first) || first.empty()) return false;  // new or empty: it gets the header
    std::string expected = CCsvFile::Line(header);
    expected.erase(expected.find_last_not_of("\r\n") + 1);
    if (first.back() == '\r') first.pop_back();
    return first != expected;
}

std::string IsoTimeNow() { return IsoTime(std::chrono::system_clock::now()); }

std::string IsoTime(std::chrono::system_clock::time_point now) {
    using namespace std::chrono;
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
