// Options the sanitizer runtimes read at start-up in the sanitizer test build:
// any finding ends the process with an error, so the test fails.

extern "C" const char* __asan_default_options() {
    return "abort_on_error=1:detect_leaks=1:strict_string_checks=1";
}

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}
