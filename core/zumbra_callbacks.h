/* Host callbacks: the function pointers a host registers so that the library
 * can ask it questions during a transaction and hand it log lines. Until the
 * first cb_set call the library answers with built-in defaults; afterwards a
 * question whose callback is not set answers false or an empty text. Passing
 * NULL to a cb_set function clears that callback. A callback may be set or
 * cleared while calls on other threads raise it: each time it is raised, the
 * pointer set at that moment is called, or none. */
#ifndef ZUMBRA_CALLBACKS_H
#define ZUMBRA_CALLBACKS_H

#include <stddef.h>
#include <stdbool.h>
#include "zumbra_export.h"
#include "zumbra_terminal_status.h"

ZQ_BEGIN_DECLS

/* What a data-entry callback fills: the answer as zero-ended text (at most
 * 256 characters), and the bounds the terminal asked for. */
typedef struct cb_UserProvidedData {
  char data[257];
  size_t maxLength;
  size_t minLength;
} cb_UserProvidedData;

/* One log line: time of day with milliseconds, level, "- ", the message. */
typedef void (*cb_LogHandler)(const char* line);
typedef void (*cb_StatusChangeHandler)(ecr_terminalStatus status);
/* A yes/no question; true is yes. */
typedef bool (*cb_QuestionHandler)(const char* prompt);
/* The host writes the 1-based number of the chosen label into *selected. */
typedef bool (*cb_CurrencyRequestHandler)(const char** labels, size_t count, unsigned* selected);
typedef bool (*cb_SelectRequestHandler)(const char** options, size_t count, unsigned* selected,
                                        const char* title);
typedef void (*cb_ScreenHandler)(const char* prompt);
typedef void (*cb_ValueHandler)(const char* prompt, cb_UserProvidedData* data);
/* isAllowed tells which characters the user may type. */
typedef void (*cb_UserDataHandler)(const char* prompt, cb_UserProvidedData* data,
                                   bool (*isAllowed)(char));

ZQ_API void cb_setHandleDevLog(cb_LogHandler handler);
ZQ_API void cb_setHandleCommLog(cb_LogHandler handler);
ZQ_API void cb_setHandleBusLog(cb_LogHandler handler);
ZQ_API void cb_setHandleStatusChange(cb_StatusChangeHandler handler);
ZQ_API void cb_setSignatureRequest(cb_QuestionHandler handler);
ZQ_API void cb_setCopyRequest(cb_QuestionHandler handler);
ZQ_API void cb_setCurrencyRequest(cb_CurrencyRequestHandler handler);
ZQ_API void cb_setSelectRequest(cb_SelectRequestHandler handler);
ZQ_API void cb_setWaitForCard(cb_QuestionHandler handler);
ZQ_API void cb_setWaitForCardRemoval(cb_ScreenHandler handler);
ZQ_API void cb_setWaitForPin(cb_QuestionHandler handler);
ZQ_API void cb_setShowOkScreen(cb_ScreenHandler handler);
ZQ_API void cb_setShowYesNoScreen(cb_QuestionHandler handler);
ZQ_API void cb_setShowPromptScreen(cb_ScreenHandler handler);
ZQ_API void cb_setGetCashbackAmount(cb_ValueHandler handler);
ZQ_API void cb_setGetAuthorizationCode(cb_ValueHandler handler);
ZQ_API void cb_setGetUserData(cb_UserDataHandler handler);
ZQ_API void cb_setGetAmount(cb_ValueHandler handler);

ZQ_END_DECLS

#endif
