#pragma once
// The commands of zuohao-cli. Each takes its parsed options and returns the process exit
// code; output goes to stdout, messages to stderr. A usage error throws UsageError, a
// failure Failure (cli/Args.h).
namespace zuohao::cli {

class Args;

int RunReduce(const Args& args);
int RunStats(const Args& args);
int RunPlan(const Args& args);
int RunMonitor(const Args& args);
int RunFeed(const Args& args);
int RunBacktestCommand(const Args& args);
int RunKillRateCommand(const Args& args);
int RunRiskCommand(const Args& args);
int RunArchiveImport(const Args& args);
int RunArchiveExport(const Args& args);
int RunArchiveGaps(const Args& args);
int RunArchiveInfo(const Args& args);
int RunNotify(const Args& args);

} // namespace zuohao::cli
