// Default options of the sanitizer runtimes, linked into every executable of a
// sanitized build: a report (address error, leak or undefined behaviour) ends
// the process at once with status 199 instead of 1, the status of most of the
// program's own fatal errors, so that a report is never taken for an orderly
// error exit.
extern "C" {
const char* __asan_default_options() {
  return "exitcode=199:detect_leaks=1:check_initialization_order=1:strict_init_order=1:"
         "detect_stack_use_after_return=1";
}
const char* __lsan_default_options() { return "exitcode=199"; }
const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1:exitcode=199"; }
}
