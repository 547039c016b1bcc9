/* The calls a host makes while its process exits, and what each is checked
 * against. A host first prepares a call (its first library calls, with the
 * log callbacks registered and whatever the call needs, done once as a
 * reference), then runs it from the place under test: an atexit handler, a
 * global's destructor, a thread_local's destructor. Both print each failed
 * check and answer its count. */
#ifndef ZQ_EXIT_CALLS_H
#define ZQ_EXIT_CALLS_H

#ifdef __cplusplus
extern "C" {
#endif

/* The calls: "cleanup", "close", "failed-link", "command", "purchase",
 * "result-tags", "receipt", "full-summary", "dictionary-phrase", "log",
 * "callback". `port` is the simulated terminal's, 0 when none runs. */
int exitCallPrepare(const char* call, unsigned port);
/* `loggersUp`: the loggers are still up where the call is made, so its log
 * lines reach the host's callback; otherwise they must reach no one. */
int exitCallRun(const char* call, int loggersUp);

#ifdef __cplusplus
}
#endif

#endif
