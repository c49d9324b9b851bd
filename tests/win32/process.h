#pragma once

#include <string>
#include <vector>

// Runs a program to its end with a text on its standard input, capturing what it writes.
namespace testing_support {

struct ProcessResult {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& folder,
                         const std::string& input = std::string());

}  // namespace testing_support
