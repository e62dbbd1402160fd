// The argument splitting rules restated over std::string, apart from the front-end's code: the
// model the unit tests and the splitter's fuzz target compare against.
#pragma once

#include <string>
#include <vector>

// The splitting rules restated over std::string: quoted arguments run to the next quote,
// others to the next space; spaces between arguments are skipped.
inline std::vector<std::string> ModelSplit(const std::string &line)
{
    std::vector<std::string> out;
    size_t i = 0;
    const size_t n = line.size();
    while (i < n && line[i] == ' ')
        i++;
    while (i < n) {
        size_t end;
        if (line[i] == '"') {
            end = line.find('"', i + 1);
            if (end == std::string::npos)
                end = n;
            out.push_back(line.substr(i + 1, end - i - 1));
            i = end < n ? end + 1 : n;
        } else {
            end = line.find(' ', i);
            if (end == std::string::npos)
                end = n;
            out.push_back(line.substr(i, end - i));
            i = end;
        }
        while (i < n && line[i] == ' ')
            i++;
    }
    return out;
}
