// A card transaction as the terminal drives it: after the start the library
// reads the terminal's status again and again and answers each state (a
// prompt, a card or PIN wait, a question for the user, the end data) until
// the terminal is ready again.
#pragma once

#include "protocol/AnswerCreator.h"
#include "protocol/MaintenanceSubCtx.h"
#include "protocol/TalvorenFlowInterface.h"
#include "protocol/TransactionSubCtx.h"

namespace zq::app::protocols {

class TransactionFlow : public TalvorenFlowInterface {
 public:
  TransactionFlow(MaintenanceSubCtx& maintenanceCtx, TransactionSubCtx& transactionCtx);
  ~TransactionFlow() override = default;

  Result execute() override = 0;
  // One pass: a status read "20" and the action for the status it reports.
  virtual Result checkTransactionStatusAndChooseAction();
  virtual Result handleWaitingForCard();
  virtual Result handleWaitingForCardRemoval();
  virtual Result handleWaitingForPin();
  virtual Result handleWaitingForSignature();
  virtual Result handleWaitingForUserAction();
  virtual Result handleWaitingForAmount();
  virtual Result handleAskForCopy();
  virtual Result handleAskForAuthorizationCode();
  virtual Result handleAskForCurrency();
  virtual Result handleAskForSelection();
  virtual Result handleAskForCashback();
  virtual Result handleBatchCompleted();
  virtual Result handleSimplePromptIfPresent();
  // Status 6: the terminal has the transaction's end data ready.
  virtual Result endTransaction();
  // Answers "no": the host declined, or the terminal cannot go on.
  virtual Result handleTransactionInterruption();

  // The status loop: passes until the terminal is ready (0) or reports a
  // completed batch (13), or an action fails.
  Result handleTransaction();
  // Whether the library answers the terminal's current request (true) or
  // leaves it to the terminal, from the host's request-handling mode.
  bool checkIfNeededToHandleCurrentRequest();

 protected:
  // Status reads "20" while the terminal is busy (8) or processing (9); the
  // poll of every start. RESULT_OK once the terminal has settled with return
  // code 0, else what ends the start.
  Result pollTerminalStatusUntilSettled();
  // Exchanges an answer of the AnswerCreator (taking ownership of it).
  Result exchangeAnswer(DataInputMessage* answer, TalvorenCommand::DelayCommand mode);
  // The stored transaction kind's host number, or none.
  bool storedTransactionTypeIs(uint32_t type);
  std::string getPrompt() const;

  TransactionSubCtx& transactionCtx;
  AnswerCreator answerCreator;
};

}  // namespace zq::app::protocols
