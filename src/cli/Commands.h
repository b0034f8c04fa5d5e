#pragma once
#include <string>
#include <vector>

namespace zuohao::cli {

// Each returns the process exit code; output goes to stdout, errors to stderr.
int RunReduce(const std::vector<std::string>& args);
int RunStats(const std::vector<std::string>& args);
int RunPlan(const std::vector<std::string>& args);
int RunMonitor(const std::vector<std::string>& args);
int RunFeed(const std::vector<std::string>& args);
int RunBacktestCommand(const std::vector<std::string>& args);
int RunKillRateCommand(const std::vector<std::string>& args);
int RunRiskCommand(const std::vector<std::string>& args);
int RunArchive(const std::vector<std::string>& args);
int RunNotify(const std::vector<std::string>& args);

} // namespace zuohao::cli
