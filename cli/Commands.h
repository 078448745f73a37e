// The commands of tarnwick-cli; each takes the arguments after its name.
#pragma once

#include <string>
#include <vector>

namespace cli {

enum ExitCode { kExitOk = 0, kExitPartial = 1, kExitUsage = 2 };

int RunStats(const std::vector<std::string>& args);
int RunList(const std::vector<std::string>& args);
int RunExtract(const std::vector<std::string>& args);
int RunPack(const std::vector<std::string>& args);
int RunCat(const std::vector<std::string>& args);

}  // namespace cli
