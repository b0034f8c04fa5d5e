#pragma once
// What the command line tool needs from the operating system around main(): its arguments
// as UTF-8 and standard streams that pass bytes through unchanged.
#include <string>
#include <vector>

namespace zuohao::cli {

// The arguments after the program name, as UTF-8 (on Windows read from the wide command
// line, so that Chinese paths survive whatever the code page).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard output and error write exactly the bytes given (no LF to CR LF on Windows), so
// the output is the same on every system.
void UseBinaryStandardStreams();

// Writes out what is still buffered for the standard output; the system's reason when that
// or any earlier write to it failed (a full disk, /dev/full, a closed pipe), else empty.
std::string FlushStandardOutput();

} // namespace zuohao::cli
