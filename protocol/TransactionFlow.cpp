#include "protocol/TransactionFlow.h"

#include <memory>

#include "core/CallbacksManager.h"
#include "core/zumbra_log.h"
#include "protocol/EndDataReadMessage.h"
#include "protocol/StatusReadMessage.h"
#include "protocol/TalvorenTransactionType.h"

namespace zq::app::protocols {

namespace {

constexpr unsigned char kLibraryHandlesRequests = 0;
constexpr unsigned char kTerminalHandlesRequests = 1;

bool settled(ecr_terminalStatus status) {
  return status != TERMINAL_STATUS_BUSY && status != TERMINAL_STATUS_PROCESSING;
}

Result unexpectedStatus() {
  return Result(utils::RESULT_UNEXPECTED_STATUS, resultTexts::kTransactionAborted);
}

}  // namespace

TransactionFlow::TransactionFlow(MaintenanceSubCtx& maintenanceCtx,
                                 TransactionSubCtx& transactionCtx)
    : TalvorenFlowInterface(maintenanceCtx),
      transactionCtx(transactionCtx),
      answerCreator(maintenanceCtx, transactionCtx, &callbacks::CallbacksManager::getInstance()) {}

std::string TransactionFlow::getPrompt() const {
  return transactionCtx.getExpectedDataCharacteristics().getPromptText();
}

bool TransactionFlow::storedTransactionTypeIs(uint32_t type) {
  // No stored kind is a kind of its own: neither the reconciliation nor the
  // connection to the terminal management system.
  std::unique_ptr<TalvorenTransactionType> kind(transactionCtx.getTransactionType());
  return kind && kind->getType() == type;
}

Result TransactionFlow::pollTerminalStatusUntilSettled() {
  // The start waits on a busy or processing terminal without limit; the
  // monitored send's 300 ms is the only pause between the reads.
  do {
    TalvorenCommand command(new StatusReadMessage(maintenanceCtx));
    comm::CommResult r = command.exchange(getLink(), TalvorenCommand::SHORT_DELAY);
    if (!r.isOk()) return Result(utils::RESULT_COMM_ERROR, r.getMessage());
  } while (!settled(maintenanceCtx.getTransactionStatus()) &&
           maintenanceCtx.getLastFunctionReturnCode() == 0);
  return checkLastFunctionReturnCode();
}

Result TransactionFlow::exchangeAnswer(DataInputMessage* answer,
                                       TalvorenCommand::DelayCommand mode) {
  TalvorenCommand command(answer);
  return exchangeCommandAndCheckResult(command, mode);
}

Result TransactionFlow::handleTransaction() {
  Result result(utils::RESULT_UNKNOWN_RETURN_CODE);
  for (;;) {
    logDevTrace("Checking status");
    result = checkTransactionStatusAndChooseAction();
    // A reply with return code 7 (or 64) carries no status, so the stored
    // one is that of an earlier pass, possibly the idle status before the
    // start: testing it would end the loop while the terminal is still
    // busy. Such a pass only means "ask again".
    if (result.getStatus() == utils::RESULT_TERMINAL_CODE_7) continue;
    if (!result.isOk()) return result;
    const ecr_terminalStatus status = maintenanceCtx.getTransactionStatus();
    if (status == TERMINAL_STATUS_READY || status == TERMINAL_STATUS_BATCH_COMPLETED) {
      return result;
    }
  }
}

Result TransactionFlow::checkTransactionStatusAndChooseAction() {
  TalvorenCommand command(new StatusReadMessage(maintenanceCtx));
  Result result = exchangeCommandAndCheckResult(command, TalvorenCommand::SHORT_DELAY);
  if (!result.isOk()) return result;

  const ecr_terminalStatus status = maintenanceCtx.getTransactionStatus();
  logDevTrace("Analyzing transaction status %u", static_cast<unsigned>(status));
  switch (status) {
    case TERMINAL_STATUS_READY:
    case TERMINAL_STATUS_PROMPT_3:
    case TERMINAL_STATUS_PROMPT_4:
    case TERMINAL_STATUS_PROCESSING:
    case TERMINAL_STATUS_PROMPT_16:
      return handleSimplePromptIfPresent();
    case TERMINAL_STATUS_WAITING_FOR_CARD: return handleWaitingForCard();
    case TERMINAL_STATUS_WAITING_FOR_PIN: return handleWaitingForPin();
    case TERMINAL_STATUS_WAITING_FOR_SIGNATURE: return handleWaitingForSignature();
    case TERMINAL_STATUS_END_DATA_READY: return endTransaction();
    case TERMINAL_STATUS_WAITING_FOR_CARD_REMOVAL: return handleWaitingForCardRemoval();
    case TERMINAL_STATUS_ASK_FOR_COPY: return handleAskForCopy();
    case TERMINAL_STATUS_ASK_FOR_AUTHORIZATION_CODE: return handleAskForAuthorizationCode();
    case TERMINAL_STATUS_WAITING_FOR_USER_ACTION: return handleWaitingForUserAction();
    case TERMINAL_STATUS_BATCH_COMPLETED: return handleBatchCompleted();
    case TERMINAL_STATUS_ASK_FOR_CURRENCY: return handleAskForCurrency();
    case TERMINAL_STATUS_ASK_FOR_CASHBACK: return handleAskForCashback();
    case TERMINAL_STATUS_WAITING_FOR_AMOUNT: return handleWaitingForAmount();
    case TERMINAL_STATUS_ASK_FOR_SELECTION: return handleAskForSelection();
    case TERMINAL_STATUS_APPLICATION_ERROR:
      logDevTrace("Transaction aborted - terminal application error");
      return handleTransactionInterruption();
    case TERMINAL_STATUS_RECONCILIATION_NEEDED:
      logDevTrace("Transaction aborted - reconciliation needed");
      return handleTransactionInterruption();
    case TERMINAL_STATUS_BUSY:  // the start waits on it; inside a transaction it is wrong
    case TERMINAL_STATUS_UNRECOGNISED:
    default:
      return unexpectedStatus();
  }
}

bool TransactionFlow::checkIfNeededToHandleCurrentRequest() {
  const unsigned char mode = transactionCtx.getHandleTerminalRequests();
  if (mode == kLibraryHandlesRequests) return true;
  if (mode == kTerminalHandlesRequests) return false;
  const ExpectedDataCharacteristics expected = transactionCtx.getExpectedDataCharacteristics();
  return expected.getAllowedCharacters() != 0 ||
         expected.getAllowedSpecialCharacters() != SPECIAL_CHARACTERS_NONE;
}

Result TransactionFlow::handleSimplePromptIfPresent() {
  const std::string prompt = getPrompt();
  if (prompt.empty()) {
    logDevTrace("No prompt to handle");
  } else {
    logDevTrace("Handle prompt: %s", prompt.c_str());
    callbacks::CallbacksManager::getInstance().showPrompt(prompt);
  }
  return Result(utils::RESULT_OK);
}

Result TransactionFlow::handleWaitingForCard() {
  logDevTrace("Handle waiting for card");
  if (!callbacks::CallbacksManager::getInstance().waitForCard(getPrompt())) {
    return handleTransactionInterruption();
  }
  logDevTrace("User informed");
  return Result(utils::RESULT_OK);
}

Result TransactionFlow::handleWaitingForPin() {
  logDevTrace("Handle waiting for PIN");
  if (!callbacks::CallbacksManager::getInstance().waitForPin(getPrompt())) {
    return handleTransactionInterruption();
  }
  logDevTrace("User informed");
  return Result(utils::RESULT_OK);
}

Result TransactionFlow::handleWaitingForCardRemoval() {
  logDevTrace("Handle waiting for card removal");
  callbacks::CallbacksManager::getInstance().waitForCardRemoval(getPrompt());
  logDevTrace("User informed");
  return Result(utils::RESULT_OK);
}

Result TransactionFlow::handleWaitingForSignature() {
  if (!checkIfNeededToHandleCurrentRequest()) {
    logDevTrace("Terminal is waiting for signature");
    return handleSimplePromptIfPresent();
  }
  logDevTrace("Handle waiting for signature - reading data from terminal");
  // The host judges the signature against the receipt, so the end data
  // comes first.
  TalvorenCommand endData(new EndDataReadMessage(maintenanceCtx, transactionCtx));
  Result result = exchangeCommandAndCheckResult(endData, TalvorenCommand::SHORT_DELAY);
  if (!result.isOk()) return result;
  transactionCtx.setAsTransactionWithSignature();
  return exchangeAnswer(answerCreator.getSignatureAnswer(), TalvorenCommand::SHORT_DELAY);
}

Result TransactionFlow::handleWaitingForUserAction() {
  if (!checkIfNeededToHandleCurrentRequest()) {
    logDevTrace("Terminal is waiting for user action");
    return handleSimplePromptIfPresent();
  }
  DataInputMessage* answer = answerCreator.getUserActionAnswer();
  if (answer == nullptr) return Result(utils::RESULT_OK);
  return exchangeAnswer(answer, TalvorenCommand::SHORT_DELAY);
}

Result TransactionFlow::handleWaitingForAmount() {
  if (!checkIfNeededToHandleCurrentRequest()) {
    logDevTrace("Terminal is waiting for amount");
    return handleSimplePromptIfPresent();
  }
  DataInputMessage* answer = answerCreator.getAmountAnswer();
  if (answer == nullptr) return Result(utils::RESULT_OK);
  return exchangeAnswer(answer, TalvorenCommand::SHORT_DELAY);
}

Result TransactionFlow::handleAskForCopy() {
  if (!checkIfNeededToHandleCurrentRequest()) {
    logDevTrace("Terminal is asking for copy");
    return handleSimplePromptIfPresent();
  }
  logDevTrace("Sending answer to terminal");
  return exchangeAnswer(answerCreator.getCopyAnswer(), TalvorenCommand::SHORT_DELAY);
}

Result TransactionFlow::handleAskForAuthorizationCode() {
  if (!checkIfNeededToHandleCurrentRequest()) {
    logDevTrace("Terminal is asking for authorization code");
    return handleSimplePromptIfPresent();
  }
  return exchangeAnswer(answerCreator.getAuthorizationCodeAnswer(), TalvorenCommand::SHORT_DELAY);
}

Result TransactionFlow::handleAskForCurrency() {
  if (!checkIfNeededToHandleCurrentRequest()) {
    logDevTrace("Terminal is asking for currency");
    return handleSimplePromptIfPresent();
  }
  return exchangeAnswer(answerCreator.getCurrencyAnswer(), TalvorenCommand::SHORT_DELAY);
}

Result TransactionFlow::handleAskForSelection() {
  if (!checkIfNeededToHandleCurrentRequest()) {
    logDevTrace("Terminal is asking for selection");
    return handleSimplePromptIfPresent();
  }
  return exchangeAnswer(answerCreator.getSelectionAnswer(), TalvorenCommand::SHORT_DELAY);
}

Result TransactionFlow::handleAskForCashback() {
  if (!checkIfNeededToHandleCurrentRequest()) return handleSimplePromptIfPresent();
  // The terminal recomputes the totals with the cashback before it answers.
  return exchangeAnswer(answerCreator.getCashbackAnswer(), TalvorenCommand::LONG_DELAY);
}

Result TransactionFlow::handleBatchCompleted() {
  // Only a reconciliation ends by closing the batch.
  if (storedTransactionTypeIs(ECR_TRANSACTION_RECONCILIATION)) return Result(utils::RESULT_OK);
  return unexpectedStatus();
}

Result TransactionFlow::endTransaction() {
  logDevTrace("Transaction end");
  TalvorenCommand command(new EndDataReadMessage(maintenanceCtx, transactionCtx));
  return exchangeCommandAndCheckResult(command, TalvorenCommand::SHORT_DELAY);
}

Result TransactionFlow::handleTransactionInterruption() {
  return exchangeAnswer(answerCreator.getInterruptioAnswer(), TalvorenCommand::SHORT_DELAY);
}

}  // namespace zq::app::protocols
