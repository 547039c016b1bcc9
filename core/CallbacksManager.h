// The registry of host callbacks: one process-wide manager holding the object
// that answers the terminal's questions and receives log lines.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/NonAssignable.h"
#include "core/TalvorenAllowedCharacters.h"
#include "core/zumbra_callbacks.h"

namespace zq::app::callbacks {

class CallbacksManager : public utils::NonAssignable {
 public:
  // What the host offers. Strings are byte strings (Windows-1250 text passed
  // through unchanged); `selected` is a 1-based index written by the host.
  class Callbacks {
   public:
    virtual ~Callbacks() = default;
    virtual bool askForSignature(const std::string& prompt) = 0;
    virtual bool askForCopy(const std::string& prompt) = 0;
    virtual bool askForCurrency(unsigned& selected, const std::vector<std::string>& labels) = 0;
    virtual bool waitForSelection(unsigned& selected, const std::vector<std::string>& options,
                                  const std::string& title) = 0;
    virtual bool waitForCard(const std::string& prompt) = 0;
    virtual void waitForCardRemoval(const std::string& prompt) = 0;
    virtual bool waitForPin(const std::string& prompt) = 0;
    virtual void waitForUserActionNoOutput(const std::string& prompt) = 0;
    virtual bool waitForUserActionYesNoQuestion(const std::string& prompt) = 0;
    virtual void showPrompt(const std::string& prompt) = 0;
    virtual void handleStatusChange(ecr_terminalStatus status) = 0;
    virtual std::string getCashbackAmount(const std::string& prompt, std::uint8_t minLength,
                                          std::uint8_t maxLength) = 0;
    virtual std::string getAuthorizationCode(const std::string& prompt, std::uint8_t minLength,
                                             std::uint8_t maxLength) = 0;
    virtual std::string waitForUserActionProvideData(
        const std::string& prompt, protocols::TalvorenAllowedCharacters allowed,
        std::uint8_t minLength, std::uint8_t maxLength) = 0;
    virtual std::string waitForAmount(const std::string& prompt, std::uint8_t minLength,
                                      std::uint8_t maxLength) = 0;
    virtual void handleDevLog(const std::string& line) = 0;
    virtual void handleCommLog(const std::string& line) = 0;
    virtual void handleBusLog(const std::string& line) = 0;
  };

  // The process-wide manager; holds the built-in defaults until something else
  // is set up, and again whenever it is found holding nothing.
  static CallbacksManager& getInstance();

  // Holds `callbacks` from now on (deleting the object held so far), unless it
  // is that very object. NULL is accepted: the next getInstance() installs the
  // defaults again.
  void setup(Callbacks* callbacks);
  bool ready() const;

  bool askForSignature(const std::string& prompt);
  bool askForCopy(const std::string& prompt);
  bool askForCurrency(unsigned& selected, const std::vector<std::string>& labels);
  bool waitForSelection(unsigned& selected, const std::vector<std::string>& options,
                        const std::string& title);
  bool waitForCard(const std::string& prompt);
  void waitForCardRemoval(const std::string& prompt);
  bool waitForPin(const std::string& prompt);
  void waitForUserActionNoOutput(const std::string& prompt);
  bool waitForUserActionYesNoQuestion(const std::string& prompt);
  void showPrompt(const std::string& prompt);
  void handleStatusChange(ecr_terminalStatus status);
  std::string getCashbackAmount(const std::string& prompt, std::uint8_t minLength,
                                std::uint8_t maxLength);
  std::string getAuthorizationCode(const std::string& prompt, std::uint8_t minLength,
                                   std::uint8_t maxLength);
  std::string waitForUserActionProvideData(const std::string& prompt,
                                           protocols::TalvorenAllowedCharacters allowed,
                                           std::uint8_t minLength, std::uint8_t maxLength);
  std::string waitForAmount(const std::string& prompt, std::uint8_t minLength,
                            std::uint8_t maxLength);
  void handleDevLog(const std::string& line);
  void handleCommLog(const std::string& line);
  void handleBusLog(const std::string& line);

  ~CallbacksManager() override;

 private:
  CallbacksManager();
  CallbacksManager(const CallbacksManager&) = delete;
  Callbacks& held();

  std::atomic<Callbacks*> callbacks_;
};

// Character checkers handed to the host's user-data callback, chosen by the
// prompt's designation ("S", "n", "A", anything else).
bool allCharactersAllowed(char c);
bool numericCharactersAllowed(char c);
bool alphanumericCharactersAllowed(char c);
bool noCharactersAllowed(char c);

}  // namespace zq::app::callbacks
