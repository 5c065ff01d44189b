// PRAVOLIN_ASAN is defined in builds with AddressSanitizer, whose processes
// cannot run with a limited address space (ulimit -v, RLIMIT_AS): tests that
// limit it skip themselves there.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define PRAVOLIN_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PRAVOLIN_ASAN 1
#endif
#endif
