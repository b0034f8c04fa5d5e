#pragma once
// Replacing a whole file in one step, so that a reader sees either the old or the new file,
// never a half-written one.
#include <string>

namespace zuohao::platform {

// Moves the file at `utf8From` over `utf8To` (replacing it); false when that failed, and
// then `utf8To` is unchanged.
bool ReplaceFileWith(const std::string& utf8From, const std::string& utf8To);

} // namespace zuohao::platform
