// Turns the terminal's current question (the expected-data characteristics
// of the last status reply) into a call of the host's callbacks, and the
// host's reply into a data-input message "23".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/CallbacksManager.h"
#include "protocol/DataInputMessage.h"
#include "protocol/ExpectedDataCharacteristics.h"
#include "protocol/MaintenanceSubCtx.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class AnswerCreator {
 public:
  AnswerCreator(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx,
                callbacks::CallbacksManager* callbacksManager)
      : maintenanceCtx(maintenanceCtx),
        transactionCtx(transactionCtx),
        callbacksManager(callbacksManager) {}
  AnswerCreator(const AnswerCreator&) = delete;
  AnswerCreator& operator=(const AnswerCreator&) = delete;
  virtual ~AnswerCreator() = default;

  // Each stores the answer text in the transaction view and returns a new
  // message owned by the caller; NULL means nothing is to be sent.
  DataInputMessage* getSignatureAnswer();
  DataInputMessage* getCopyAnswer();
  DataInputMessage* getCurrencyAnswer();
  DataInputMessage* getSelectionAnswer();
  DataInputMessage* getAmountAnswer();
  DataInputMessage* getAuthorizationCodeAnswer();
  DataInputMessage* getCashbackAnswer();
  DataInputMessage* getUserActionAnswer();
  DataInputMessage* getInterruptioAnswer();

  std::string getYesAnswer() const { return DataInputMessage::getYesAnswer(); }
  std::string getNoAnswer() const { return DataInputMessage::getNoAnswer(); }
  std::string handleYesNoAnswer(bool yes);
  std::string handleOptionChoiceAnswer(bool chosen, const uint32_t& index);
  std::string getPromptText() const;
  // The prompt text cut at every ',' (nothing trimmed; a trailing ',' gives
  // an empty last item; an empty prompt gives no item).
  std::vector<std::string> getOptionsList() const;
  DataInputMessage* prepareDataInputMessage();

  std::string handleExpectingOkAnswer();
  std::string handleExpectingCancelAnswer();
  std::string handleExpectingYesNoAnswer();
  std::string handleExpectingInputData();

 private:
  std::string answerAfterUserAction(const char* afterwardsLine, const std::string& answer);
  DataInputMessage* sendAnswer(const std::string& answer);
  // The host's typed answer, or nothing when it holds a control byte.
  static std::string fromHost(const std::string& answer);
  ExpectedDataCharacteristics characteristics() const;

  MaintenanceSubCtx& maintenanceCtx;
  TransactionSubCtx& transactionCtx;
  callbacks::CallbacksManager* callbacksManager;
};

}  // namespace zq::app::protocols
