// Options the ThreadSanitizer runtime reads at start-up in the thread test
// build: the first data race ends the process with an error, so the test fails.

extern "C" const char* __tsan_default_options() {
    return "halt_on_error=1:second_deadlock_stack=1";
}
