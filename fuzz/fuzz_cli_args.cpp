// libFuzzer target: the command-line argument parser and the conditions it applies. The input
// is split at 0x00 into arguments. Any argument list is either a usage error or a set whose
// group index is in range.
#include <cstdint>

#include "cli/Args.h"
#include "support_fuzz.h"

using namespace zuohao;

namespace {
// The options ApplyConditions reads, as the reduce command's table entry lists them.
const std::vector<std::string> kConditionOptions{"--idx", "--sel", "--cnt",   "--dan",
                                                 "--dcc", "--kua", "--route", "--kill"};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> argv =
        fuzz::pieces(std::string_view(reinterpret_cast<const char*>(data), size), '\0', 64);
    try {
        cli::Args args(argv, kConditionOptions, {"--fan"});
        ConditionSet set;
        cli::ApplyConditions(args, set);
        FUZZ_CHECK(set.IDX >= 0 && set.IDX < 12);
        (void)args.integer("--idx", 0, 11, 0);
    } catch (const cli::UsageError&) {
    }
    return 0;
}
