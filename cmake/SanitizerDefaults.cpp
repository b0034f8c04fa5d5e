// What the sanitizer runtimes are told in an instrumented build (ZUOHAO_SANITIZE), compiled
// into every program of that build so that a plain ctest run needs no environment.
extern "C" {

// A finding prints the stack that led to it.
const char* __ubsan_default_options() {
    return "print_stacktrace=1";
}

} // extern "C"
