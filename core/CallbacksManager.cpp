#include "core/CallbacksManager.h"

#include <atomic>
#include <cctype>
#include <cstring>

#include "core/ExportGuard.h"
#include "core/zumbra_log.h"

namespace zq::app::callbacks {

namespace {

using protocols::TalvorenAllowedCharacters;

// The host's function pointers. They live outside the store object so that a
// replaced store hands them on to the next one. A host may register while
// other threads' calls raise callbacks (contexts on several threads), so
// each is an atomic, loaded once per use: the pointer tested is the one
// called.
std::atomic<cb_LogHandler> HANDLE_DEV_LOG{nullptr};
std::atomic<cb_LogHandler> HANDLE_COMM_LOG{nullptr};
std::atomic<cb_LogHandler> HANDLE_BUS_LOG{nullptr};
std::atomic<cb_StatusChangeHandler> HANDLE_STATUS_CHANGE{nullptr};
std::atomic<cb_QuestionHandler> SIGNATURE_REQUEST{nullptr};
std::atomic<cb_QuestionHandler> COPY_REQUEST{nullptr};
std::atomic<cb_CurrencyRequestHandler> CURRENCY_REQUEST{nullptr};
std::atomic<cb_SelectRequestHandler> SELECT_REQUEST{nullptr};
std::atomic<cb_QuestionHandler> WAIT_FOR_CARD{nullptr};
std::atomic<cb_ScreenHandler> WAIT_FOR_CARD_REMOVAL{nullptr};
std::atomic<cb_QuestionHandler> WAIT_FOR_PIN{nullptr};
std::atomic<cb_ScreenHandler> SHOW_OK_SCREEN{nullptr};
std::atomic<cb_QuestionHandler> SHOW_YES_NO_SCREEN{nullptr};
std::atomic<cb_ScreenHandler> SHOW_PROMPT_SCREEN{nullptr};
std::atomic<cb_ValueHandler> GET_CASHBACK_AMOUNT{nullptr};
std::atomic<cb_ValueHandler> GET_AUTHORIZATION_CODE{nullptr};
std::atomic<cb_UserDataHandler> GET_USER_DATA{nullptr};
std::atomic<cb_ValueHandler> GET_AMOUNT{nullptr};

// True while a CallbacksStore is the manager's held object.
std::atomic<bool> READY{false};

// The longest answer a host may give; the record's last byte is room for the
// terminating zero, which a careless host may overwrite.
constexpr size_t MAX_USER_DATA = sizeof(cb_UserProvidedData{}.data) - 1;

// Answers of a host that registered nothing: fixed values, with a warning so
// that a missing integration shows in the developer log.
class DefaultCallbacks : public CallbacksManager::Callbacks {
 public:
  bool askForSignature(const std::string&) override {
    logDevWarn("Asking for signature not implemented, default implementation used, return true");
    return true;
  }
  bool askForCopy(const std::string&) override {
    logDevWarn("Asking for copy not implemented, default implementation used, return false");
    return false;
  }
  bool askForCurrency(unsigned&, const std::vector<std::string>&) override {
    logDevWarn("Asking for currency not implemented, default implementation used, return true");
    return true;
  }
  bool waitForSelection(unsigned&, const std::vector<std::string>&, const std::string&) override {
    logDevWarn("Asking for selection not implemented, default implementation used, return true");
    return true;
  }
  bool waitForCard(const std::string&) override {
    logDevWarn("Waiting for card not implemented, default implementation used, return true");
    return true;
  }
  void waitForCardRemoval(const std::string&) override {
    logDevWarn("Waiting for card removal not implemented, default implementation used");
  }
  bool waitForPin(const std::string&) override {
    logDevWarn("Waiting for PIN not implemented, default implementation used, return true");
    return true;
  }
  void waitForUserActionNoOutput(const std::string&) override {
    logDevWarn(
        "Waiting for user action without output not implemented, default implementation used");
  }
  bool waitForUserActionYesNoQuestion(const std::string&) override {
    logDevWarn(
        "Waiting for answer for yes-no question not implemented, default implementation used, "
        "return true");
    return true;
  }
  void showPrompt(const std::string&) override {
    logDevWarn("Showing prompt not implemented, default implementation used");
  }
  void handleStatusChange(ecr_terminalStatus) override {
    logDevWarn("handling status change not implemented, default implementation used");
  }
  std::string getCashbackAmount(const std::string&, std::uint8_t, std::uint8_t) override {
    logDevWarn(
        "Asking for cashback amount not implemented, default implementation used, return empty");
    return "";
  }
  std::string getAuthorizationCode(const std::string&, std::uint8_t, std::uint8_t) override {
    logDevWarn(
        "Asking for authorization code not implemented, default implementation used, return "
        "empty");
    return "";
  }
  std::string waitForUserActionProvideData(const std::string&, TalvorenAllowedCharacters,
                                           std::uint8_t, std::uint8_t) override {
    logDevWarn(
        "Waiting for user to provide data not implemented, default implementation used, return "
        "1234");
    return "1234";
  }
  std::string waitForAmount(const std::string&, std::uint8_t, std::uint8_t) override {
    logDevWarn("Waiting for amount not implemented, default implementation used, return 1234");
    return "1234";
  }
  void handleDevLog(const std::string&) override {}
  void handleCommLog(const std::string&) override {}
  void handleBusLog(const std::string&) override {}
};

// Calls a host data-entry callback with a zeroed record and reads the answer
// back, never past the record's text field.
template <typename Call>
std::string askForData(const std::string& prompt, std::uint8_t minLength, std::uint8_t maxLength,
                       Call call) {
  cb_UserProvidedData data;
  std::memset(&data, 0, sizeof data);
  data.minLength = minLength;
  data.maxLength = maxLength;
  call(prompt.c_str(), &data);
  return std::string(data.data, strnlen(data.data, MAX_USER_DATA));
}

// A choice is taken only when the host's index names an entry of the list.
bool indexInList(unsigned selected, size_t count) { return selected >= 1 && selected <= count; }

std::vector<const char*> textsOf(const std::vector<std::string>& list) {
  std::vector<const char*> texts;
  texts.reserve(list.size());
  for (const std::string& entry : list) texts.push_back(entry.c_str());
  return texts;
}

bool (*checkerFor(TalvorenAllowedCharacters allowed))(char) {
  switch (allowed) {
    case protocols::ALLOWED_CHARACTERS_PRINTABLE:
      return allCharactersAllowed;
    case protocols::ALLOWED_CHARACTERS_NUMERIC:
      return numericCharactersAllowed;
    case protocols::ALLOWED_CHARACTERS_ALPHANUMERIC:
      return alphanumericCharactersAllowed;
    default:
      return noCharactersAllowed;
  }
}

// Forwards to the host's function pointers. An unset pointer gives the
// cautious answer (no, nothing, empty) with a warning.
class CallbacksStore : public CallbacksManager::Callbacks {
 public:
  ~CallbacksStore() override { READY = false; }

  bool askForSignature(const std::string& prompt) override {
    const cb_QuestionHandler handler = SIGNATURE_REQUEST.load();
    if (!handler) {
      logBusWarn("Signature request callback not set, return false by default");
      return false;
    }
    logBusDebug("Ask for signature through callback");
    return handler(prompt.c_str());
  }

  bool askForCopy(const std::string& prompt) override {
    const cb_QuestionHandler handler = COPY_REQUEST.load();
    if (!handler) {
      logBusWarn("Copy request callback not set, return false by default");
      return false;
    }
    logBusDebug("Ask for copy through callback");
    return handler(prompt.c_str());
  }

  bool askForCurrency(unsigned& selected, const std::vector<std::string>& labels) override {
    const cb_CurrencyRequestHandler handler = CURRENCY_REQUEST.load();
    if (!handler) {
      logBusWarn("Currency request callback not set, return false by default");
      return false;
    }
    logBusDebug("Ask for currency through callback");
    std::vector<const char*> texts = textsOf(labels);
    logBusTrace("Available currencies:");
    for (size_t i = 0; i < labels.size(); ++i) logBusTrace("   %zu. %s", i + 1, texts[i]);
    bool answer = handler(texts.data(), texts.size(), &selected);
    if (!indexInList(selected, labels.size())) {
      logBusError("Wrong currency ID provided: %u, deny user choice, return false", selected);
      return false;
    }
    logBusDebug("Selected currency: %u. %s", selected, texts[selected - 1]);
    return answer;
  }

  bool waitForSelection(unsigned& selected, const std::vector<std::string>& options,
                        const std::string& title) override {
    const cb_SelectRequestHandler handler = SELECT_REQUEST.load();
    if (!handler) {
      logBusWarn("Select request callback not set, return false by default");
      return false;
    }
    logBusDebug("Ask for selection through callback");
    std::vector<const char*> texts = textsOf(options);
    logBusTrace("Available options:");
    for (size_t i = 0; i < options.size(); ++i) logBusTrace("   %zu. %s", i + 1, texts[i]);
    bool answer = handler(texts.data(), texts.size(), &selected, title.c_str());
    if (!indexInList(selected, options.size())) {
      logBusError("Wrong index provided: %u, deny user choice, return false", selected);
      return false;
    }
    return answer;
  }

  bool waitForCard(const std::string& prompt) override {
    const cb_QuestionHandler handler = WAIT_FOR_CARD.load();
    if (!handler) {
      logBusWarn("Wait for card callback not set, return false by default");
      return false;
    }
    logBusDebug("Call waitForCard callback");
    return handler(prompt.c_str());
  }

  void waitForCardRemoval(const std::string& prompt) override {
    const cb_ScreenHandler handler = WAIT_FOR_CARD_REMOVAL.load();
    if (!handler) {
      logBusWarn("Wait for card removal callback not set");
      return;
    }
    logBusDebug("Call waitForCardRemoval callback");
    handler(prompt.c_str());
  }

  bool waitForPin(const std::string& prompt) override {
    const cb_QuestionHandler handler = WAIT_FOR_PIN.load();
    if (!handler) {
      logBusWarn("Wait for PIN callback not set, return false by default");
      return false;
    }
    logBusDebug("Call waitForPin callback");
    return handler(prompt.c_str());
  }

  void waitForUserActionNoOutput(const std::string& prompt) override {
    const cb_ScreenHandler handler = SHOW_OK_SCREEN.load();
    if (!handler) {
      logBusWarn("Show OK screen callback not set");
      return;
    }
    logBusDebug("Call showOkScreen callback, prompt: '%s'", prompt.c_str());
    handler(prompt.c_str());
  }

  bool waitForUserActionYesNoQuestion(const std::string& prompt) override {
    const cb_QuestionHandler handler = SHOW_YES_NO_SCREEN.load();
    if (!handler) {
      logBusWarn("Show yes/no screen not set, return false by default");
      return false;
    }
    logBusDebug("Call showYesNoScreen callback, prompt: '%s'", prompt.c_str());
    bool yes = handler(prompt.c_str());
    logBusTrace("User answer: %s", yes ? "yes" : "no");
    return yes;
  }

  void showPrompt(const std::string& prompt) override {
    const cb_ScreenHandler handler = SHOW_PROMPT_SCREEN.load();
    if (!handler) {
      logBusWarn("Show prompt screen callback not set");
      return;
    }
    logBusDebug("Call showPromptScreen callback, prompt: '%s'", prompt.c_str());
    handler(prompt.c_str());
  }

  void handleStatusChange(ecr_terminalStatus status) override {
    const cb_StatusChangeHandler handler = HANDLE_STATUS_CHANGE.load();
    if (!handler) {
      logBusWarn("handle status change callback not set");
      return;
    }
    logBusDebug("Call handleStatusChange callback, new status: 0x%02X",
                static_cast<unsigned>(status));
    handler(status);
  }

  std::string getCashbackAmount(const std::string& prompt, std::uint8_t minLength,
                                std::uint8_t maxLength) override {
    const cb_ValueHandler handler = GET_CASHBACK_AMOUNT.load();
    if (!handler) {
      logBusWarn("Get cashback amount callback not set, return empty string");
      return "";
    }
    logBusDebug("Call getCashbackAmount callback, minimum characters: %d, maximum characters %d",
                minLength, maxLength);
    std::string answer = askForData(prompt, minLength, maxLength, handler);
    logBusTrace("Provided cashback amount: %s", answer.c_str());
    return answer;
  }

  std::string getAuthorizationCode(const std::string& prompt, std::uint8_t minLength,
                                   std::uint8_t maxLength) override {
    const cb_ValueHandler handler = GET_AUTHORIZATION_CODE.load();
    if (!handler) {
      logBusWarn("Get authorization code callback not set, return empty string");
      return "";
    }
    logBusDebug(
        "Call getAuthorizationCode callback, minimum characters: %d, maximum characters %d",
        minLength, maxLength);
    std::string answer = askForData(prompt, minLength, maxLength, handler);
    logBusTrace("Provided authorization code: %s", answer.c_str());
    return answer;
  }

  std::string waitForUserActionProvideData(const std::string& prompt,
                                           TalvorenAllowedCharacters allowed,
                                           std::uint8_t minLength,
                                           std::uint8_t maxLength) override {
    const cb_UserDataHandler handler = GET_USER_DATA.load();
    if (!handler) {
      logBusWarn("Get user data callback not set, return empty string");
      return "";
    }
    logBusDebug("Call getUserData callback, minimum characters: %d, maximum characters %d",
                minLength, maxLength);
    bool (*checker)(char) = checkerFor(allowed);
    std::string answer = askForData(
        prompt, minLength, maxLength,
        [handler, checker](const char* text, cb_UserProvidedData* data) {
          handler(text, data, checker);
        });
    logBusTrace("Data provided by user: %s", answer.c_str());
    return answer;
  }

  std::string waitForAmount(const std::string& prompt, std::uint8_t minLength,
                            std::uint8_t maxLength) override {
    const cb_ValueHandler handler = GET_AMOUNT.load();
    if (!handler) {
      logBusWarn("Get amount callback not set, return empty string");
      return "";
    }
    logBusDebug("Call getAmount callback, minimum characters: %d, maximum characters %d",
                minLength, maxLength);
    std::string answer = askForData(prompt, minLength, maxLength, handler);
    logBusTrace("Amount provided by user: %s", answer.c_str());
    return answer;
  }

  void handleDevLog(const std::string& line) override { forwardLine(HANDLE_DEV_LOG, line); }
  void handleCommLog(const std::string& line) override { forwardLine(HANDLE_COMM_LOG, line); }
  void handleBusLog(const std::string& line) override { forwardLine(HANDLE_BUS_LOG, line); }

 private:
  static void forwardLine(const std::atomic<cb_LogHandler>& slot, const std::string& line) {
    const cb_LogHandler handler = slot.load();
    if (handler) handler(line.c_str());
  }
};

// The first registration swaps the defaults for the store, once however
// many threads register at the same moment; later ones only store their
// pointer.
template <typename Pointer>
void registerCallback(std::atomic<Pointer>& slot, Pointer handler) {
  if (!READY.exchange(true)) {
    try {
      CallbacksManager::getInstance().setup(new CallbacksStore());
    } catch (...) {
      // No store came: the next registration tries again.
      READY.store(false);
      throw;
    }
  }
  slot.store(handler);
}

// A registration that cannot make its store (out of memory) leaves the
// pointer unset and says so, instead of throwing to the host.
template <typename Pointer>
void registerExported(const char* function, std::atomic<Pointer>& slot, Pointer handler) noexcept {
  utils::guardExportVoid(function, [&] { registerCallback(slot, handler); });
}

// The defaults keep no state, so one object serves for the whole process and
// is never deleted: a thread that is inside one of its answers when the
// first registration swaps in the store goes on in a live object.
DefaultCallbacks& sharedDefaults() {
  static DefaultCallbacks* const defaults = new DefaultCallbacks();
  return *defaults;
}

}  // namespace

CallbacksManager::CallbacksManager() : callbacks_(&sharedDefaults()) {}

CallbacksManager::~CallbacksManager() { setup(nullptr); }

CallbacksManager& CallbacksManager::getInstance() {
  // Never destroyed, nor is the object it holds: a host calls the library
  // from its atexit handlers and the destructors of its globals, and their
  // log lines and questions must find the manager and the host's callbacks.
  static CallbacksManager* const instance = new CallbacksManager();
  instance->held();
  return *instance;
}

void CallbacksManager::setup(Callbacks* callbacks) {
  Callbacks* previous = callbacks_.exchange(callbacks);
  if (previous == callbacks || previous == &sharedDefaults()) return;
  delete previous;
}

bool CallbacksManager::ready() const { return callbacks_.load() != nullptr; }

// A manager emptied by setup(NULL) and used through a kept reference answers
// with the defaults rather than dereferencing nothing.
CallbacksManager::Callbacks& CallbacksManager::held() {
  Callbacks* current = callbacks_.load();
  if (current != nullptr) return *current;
  Callbacks* defaults = &sharedDefaults();
  // Another thread may have installed something meanwhile: that one wins.
  if (callbacks_.compare_exchange_strong(current, defaults)) return *defaults;
  return *current;
}

bool CallbacksManager::askForSignature(const std::string& prompt) {
  return held().askForSignature(prompt);
}
bool CallbacksManager::askForCopy(const std::string& prompt) { return held().askForCopy(prompt); }
bool CallbacksManager::askForCurrency(unsigned& selected, const std::vector<std::string>& labels) {
  return held().askForCurrency(selected, labels);
}
bool CallbacksManager::waitForSelection(unsigned& selected,
                                        const std::vector<std::string>& options,
                                        const std::string& title) {
  return held().waitForSelection(selected, options, title);
}
bool CallbacksManager::waitForCard(const std::string& prompt) { return held().waitForCard(prompt); }
void CallbacksManager::waitForCardRemoval(const std::string& prompt) {
  held().waitForCardRemoval(prompt);
}
bool CallbacksManager::waitForPin(const std::string& prompt) { return held().waitForPin(prompt); }
void CallbacksManager::waitForUserActionNoOutput(const std::string& prompt) {
  held().waitForUserActionNoOutput(prompt);
}
bool CallbacksManager::waitForUserActionYesNoQuestion(const std::string& prompt) {
  return held().waitForUserActionYesNoQuestion(prompt);
}
void CallbacksManager::showPrompt(const std::string& prompt) { held().showPrompt(prompt); }
void CallbacksManager::handleStatusChange(ecr_terminalStatus status) {
  held().handleStatusChange(status);
}
std::string CallbacksManager::getCashbackAmount(const std::string& prompt, std::uint8_t minLength,
                                                std::uint8_t maxLength) {
  return held().getCashbackAmount(prompt, minLength, maxLength);
}
std::string CallbacksManager::getAuthorizationCode(const std::string& prompt,
                                                   std::uint8_t minLength,
                                                   std::uint8_t maxLength) {
  return held().getAuthorizationCode(prompt, minLength, maxLength);
}
std::string CallbacksManager::waitForUserActionProvideData(
    const std::string& prompt, protocols::TalvorenAllowedCharacters allowed,
    std::uint8_t minLength, std::uint8_t maxLength) {
  return held().waitForUserActionProvideData(prompt, allowed, minLength, maxLength);
}
std::string CallbacksManager::waitForAmount(const std::string& prompt, std::uint8_t minLength,
                                            std::uint8_t maxLength) {
  return held().waitForAmount(prompt, minLength, maxLength);
}
void CallbacksManager::handleDevLog(const std::string& line) { held().handleDevLog(line); }
void CallbacksManager::handleCommLog(const std::string& line) { held().handleCommLog(line); }
void CallbacksManager::handleBusLog(const std::string& line) { held().handleBusLog(line); }

// The character arrives as a plain char from the host or the Java binding;
// bytes above 0x7F (Polish letters in Windows-1250) are negative there and
// must reach the <cctype> tests as unsigned values.
bool allCharactersAllowed(char c) {
  logBusTrace("Checking if character %c is printable", c);
  return std::isprint(static_cast<unsigned char>(c)) != 0;
}

bool numericCharactersAllowed(char c) {
  logBusTrace("Checking if character %c is numeric", c);
  unsigned char byte = static_cast<unsigned char>(c);
  return byte >= '0' && byte <= '9';
}

bool alphanumericCharactersAllowed(char c) {
  logBusTrace("Checking if character %c is alphanumeric", c);
  return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool noCharactersAllowed(char) { return false; }

}  // namespace zq::app::callbacks

// Exported registration: plain C entry points over the store's pointers.
namespace cb = zq::app::callbacks;

void cb_setHandleDevLog(cb_LogHandler handler) {
  cb::registerExported(__func__, cb::HANDLE_DEV_LOG, handler);
}
void cb_setHandleCommLog(cb_LogHandler handler) {
  cb::registerExported(__func__, cb::HANDLE_COMM_LOG, handler);
}
void cb_setHandleBusLog(cb_LogHandler handler) {
  cb::registerExported(__func__, cb::HANDLE_BUS_LOG, handler);
}
void cb_setHandleStatusChange(cb_StatusChangeHandler handler) {
  cb::registerExported(__func__, cb::HANDLE_STATUS_CHANGE, handler);
}
void cb_setSignatureRequest(cb_QuestionHandler handler) {
  cb::registerExported(__func__, cb::SIGNATURE_REQUEST, handler);
}
void cb_setCopyRequest(cb_QuestionHandler handler) {
  cb::registerExported(__func__, cb::COPY_REQUEST, handler);
}
void cb_setCurrencyRequest(cb_CurrencyRequestHandler handler) {
  cb::registerExported(__func__, cb::CURRENCY_REQUEST, handler);
}
void cb_setSelectRequest(cb_SelectRequestHandler handler) {
  cb::registerExported(__func__, cb::SELECT_REQUEST, handler);
}
void cb_setWaitForCard(cb_QuestionHandler handler) {
  cb::registerExported(__func__, cb::WAIT_FOR_CARD, handler);
}
void cb_setWaitForCardRemoval(cb_ScreenHandler handler) {
  cb::registerExported(__func__, cb::WAIT_FOR_CARD_REMOVAL, handler);
}
void cb_setWaitForPin(cb_QuestionHandler handler) {
  cb::registerExported(__func__, cb::WAIT_FOR_PIN, handler);
}
void cb_setShowOkScreen(cb_ScreenHandler handler) {
  cb::registerExported(__func__, cb::SHOW_OK_SCREEN, handler);
}
void cb_setShowYesNoScreen(cb_QuestionHandler handler) {
  cb::registerExported(__func__, cb::SHOW_YES_NO_SCREEN, handler);
}
void cb_setShowPromptScreen(cb_ScreenHandler handler) {
  cb::registerExported(__func__, cb::SHOW_PROMPT_SCREEN, handler);
}
void cb_setGetCashbackAmount(cb_ValueHandler handler) {
  cb::registerExported(__func__, cb::GET_CASHBACK_AMOUNT, handler);
}
void cb_setGetAuthorizationCode(cb_ValueHandler handler) {
  cb::registerExported(__func__, cb::GET_AUTHORIZATION_CODE, handler);
}
void cb_setGetUserData(cb_UserDataHandler handler) {
  cb::registerExported(__func__, cb::GET_USER_DATA, handler);
}
void cb_setGetAmount(cb_ValueHandler handler) { cb::registerExported(__func__, cb::GET_AMOUNT, handler); }
