#pragma once
// The command-line tool's own English wording of the engine's and the archive's errors,
// made from the error's code and the value it is about (the windows show their Chinese
// texts; this tool never shows or reads them).
#include <string>

#include "core/model/Result.h"

namespace zuohao::cli {

// `idx` is the position group of the conditions, for a kill-list piece outside its space.
std::string Describe(const Error& error, int idx = 0);

// "cannot write FILE: why" for a file that could not be written: the user's file named (not
// the temporary one written beside it) and the likely reason.
std::string WriteFailureText(const std::string& path);

} // namespace zuohao::cli
