// The argument splitting rules restated apart from the front-end: the tests' and fuzzer's model.
#pragma once

#include <string>
#include <vector>

// Quoted arguments run to the next quote (or the end), others to the next space; spaces
// between arguments are skipped.
inline std::vector<std::string> ModelSplit(const std::string &line)
{
    const size_t none = std::string::npos;
    std::vector<std::string> out;
    for (size_t i = line.find_first_not_of(' '); i != none;) {
        bool quoted = line[i] == '"';
        size_t start = i + quoted, end = line.find(quoted ? '"' : ' ', start);
        out.push_back(line.substr(start, end == none ? none : end - start));
        i = end == none ? none : line.find_first_not_of(' ', end + quoted);
    }
    return out;
}
