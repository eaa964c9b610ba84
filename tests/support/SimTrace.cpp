#include "SimTrace.h"

#include <fstream>
#include <sstream>

#include "SimProgram.h"

// "rx 4800 FD FD FD 00 00 E9 88 | FD query" -> "4800 FD FD FD 00 00"
std::vector<std::string> HeardRequests(const std::string& traceFile) {
    std::ifstream trace(HostPath(traceFile));
    std::vector<std::string> heard;
    for (std::string line; std::getline(trace, line);) {
        if (!line.starts_with("rx ")) continue;
        std::istringstream fields(line.substr(3, line.find(" |") - 3));
        std::vector<std::string> words;
        for (std::string word; fields >> word;) words.push_back(word);
        std::string request;
        for (std::size_t i = 0; i + 2 < words.size(); ++i) request += (i ? " " : "") + words[i];
        heard.push_back(request);
    }
    return heard;
}
