// The sanitizers' options, linked into every test program (also those with
// their own main). The sanitizers read them before main, and a test's
// environment can carry only one variable through test discovery, so they
// live here rather than in the environment.

#if defined(__SANITIZE_THREAD__) && defined(OVK_TSAN_SUPPRESSIONS)
// The toolkit's own C libraries are not built for ThreadSanitizer and their
// reports are suppressed.
extern "C" const char* __tsan_default_options()
{
    return "halt_on_error=1:second_deadlock_stack=1:suppressions=" OVK_TSAN_SUPPRESSIONS;
}
#endif

#if defined(__SANITIZE_ADDRESS__) && defined(OVK_LSAN_SUPPRESSIONS)
extern "C" const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=0"; }
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
// What the toolkit's C libraries keep until exit is not ours to free.
extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0:suppressions=" OVK_LSAN_SUPPRESSIONS;
}
#endif
