#pragma once
// A CSV file that rows are appended to and that keeps every finished row: each
// row is written whole, flushed and handed to the disk before Append returns,
// so that a crash, a killed program or a pulled cable loses no row already
// appended. Used by the commissioning record and the monitor's log.
//
// A file whose last line was cut short (power lost or the disk full mid-row)
// gets that line ended before the first new row, so that the new rows parse
// as rows of their own rather than the tail of the torn one.

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class CCsvFile {
public:
    // Opens `path` for appending; writes `header` first when the file is new
    // or empty, and ends an unterminated last line. Valid() says whether it
    // could; Error() why not.
    CCsvFile(const std::string& path, const std::vector<std::string>& header);

    bool Valid() const { return m_file != nullptr; }
    const std::string& Error() const { return m_error; }
    // Lines found unterminated at the end of the file and ended on opening (0 or 1).
    int EndedLines() const { return m_endedLines; }
    // What the opening did to an existing file, in words; empty when nothing.
    std::string EndedLinesText(const std::string& path) const;

    // False (with Error) when the row could not be written whole; the file is
    // then cut back to where it was, or Error says that part of it is left.
    bool Append(const std::vector<std::string>& fields);

    // One CSV line (with its end): fields with a comma, a quote or a line
    // break are quoted, their quotes doubled.
    static std::string Line(const std::vector<std::string>& fields);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
    bool Write(const std::string& bytes);

    std::string m_error;
    int m_endedLines = 0;
};

// True when the file at `path` begins with a header of other columns than
// `header`: rows appended under it would not read as a table. False when the
// file is new, empty or cannot be read (opening it then says why).
bool HoldsOtherColumns(const std::string& path, const std::vector<std::string>& header);

// The current time as ISO 8601 in UTC with milliseconds: "2026-12-08T21:30:48.120Z".
std::string IsoTimeNow();
// The same for `time`.
std::string IsoTime(std::chrono::system_clock::time_point time);
