// The --version and --help options every program of the installation answers before it starts.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::app {

// "kalvintor 4.0.1 (build 1)": the program's name and the version of this build.
std::string versionLine(std::string_view program);

// When the first argument is --version or --help, writes the answer to `out` and returns the
// exit code; otherwise nothing is written and the program goes on.
std::optional<int> answerInfoOption(const std::vector<std::string_view>& args, std::string_view program,
                                    std::string_view help, std::ostream& out);

// The help of the program itself, ending with where this installation keeps its files.
std::string programHelp(const std::filesystem::path& programDir,
                        const std::filesystem::path& machineSettings);

}  // namespace kalvintor::app
