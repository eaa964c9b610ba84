#pragma once
// A CSV file that rows are appended to and that keeps every finished row: each
// row is written whole, flushed and handed to the disk before Append returns,
// so that a crash, a killed program or a pulled cable loses no row already
// appended. Used by the commissioning record and the monitor's log.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class CCsvFile {
public:
    // Opens `path` for appending; writes `header` first when the file is new
    // or empty. Valid() says whether it could; Error() why not.
    CCsvFile(const std::string& path, const std::vector<std::string>& header);

    bool Valid() const { return m_file != nullptr; }
    const std::string& Error() const { return m_error; }

    // False (with Error) when the row could not be written whole.
    bool Append(const std::vector<std::string>& fields);

    // One CSV line (with its end): fields with a comma, a quote or a line
    // break are quoted, their quotes doubled.
    static std::string Line(const std::vector<std::string>& fields);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
    std::string m_error;
};

// The current time as ISO 8601 in UTC with milliseconds: "2026-12-08T21:30:48.120Z".
std::string IsoTimeNow();
