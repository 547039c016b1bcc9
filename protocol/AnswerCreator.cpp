#include "protocol/AnswerCreator.h"

#include "core/Converters.h"
#include "core/Validators.h"
#include "core/zumbra_log.h"

namespace zq::app::protocols {

namespace {

// The terminal reads a chosen index of at most four digits.
constexpr size_t kMaxIndexDigits = 4;

}  // namespace

ExpectedDataCharacteristics AnswerCreator::characteristics() const {
  return transactionCtx.getExpectedDataCharacteristics();
}

std::string AnswerCreator::getPromptText() const { return characteristics().getPromptText(); }

std::vector<std::string> AnswerCreator::getOptionsList() const {
  const std::string prompt = getPromptText();
  std::vector<std::string> items;
  if (prompt.empty()) return items;
  size_t start = 0;
  for (;;) {
    const size_t comma = prompt.find(',', start);
    if (comma == std::string::npos) {
      items.push_back(prompt.substr(start));
      return items;
    }
    items.push_back(prompt.substr(start, comma - start));
    start = comma + 1;
  }
}

DataInputMessage* AnswerCreator::prepareDataInputMessage() {
  logDevTrace("Sending answer to terminal");
  return new DataInputMessage(maintenanceCtx, transactionCtx);
}

DataInputMessage* AnswerCreator::sendAnswer(const std::string& answer) {
  transactionCtx.setCharSequenceForTerminal(answer);
  return prepareDataInputMessage();
}

// What the host typed goes into the request as it is, between FS and ETX: an
// answer holding the link's control bytes could add fields to the request or
// cut it, so it counts as no answer at all.
std::string AnswerCreator::fromHost(const std::string& answer) {
  if (utils::validateNoControlBytes(answer)) return answer;
  logDevError("Answer from host holds a control byte, treated as no answer");
  return std::string();
}

std::string AnswerCreator::handleYesNoAnswer(bool yes) {
  if (yes) {
    logDevTrace("User answered YES");
    return getYesAnswer();
  }
  logDevTrace("User answered NO");
  return getNoAnswer();
}

std::string AnswerCreator::handleOptionChoiceAnswer(bool chosen, const uint32_t& index) {
  if (!chosen) return getNoAnswer();
  std::string text = utils::uint64ToAscii(index);
  if (text.size() > kMaxIndexDigits) text.resize(kMaxIndexDigits);
  return text;
}

DataInputMessage* AnswerCreator::getSignatureAnswer() {
  logDevTrace("Asking user if signature is OK");
  return sendAnswer(handleYesNoAnswer(callbacksManager->askForSignature(getPromptText())));
}

DataInputMessage* AnswerCreator::getCopyAnswer() {
  logDevTrace("Handle asking for copy");
  return sendAnswer(handleYesNoAnswer(callbacksManager->askForCopy(getPromptText())));
}

DataInputMessage* AnswerCreator::getCurrencyAnswer() {
  logDevTrace("Handle asking for currency");
  unsigned choice = 0;
  const bool chosen = callbacksManager->askForCurrency(choice, getOptionsList());
  const uint32_t index = choice;
  return sendAnswer(handleOptionChoiceAnswer(chosen, index));
}

DataInputMessage* AnswerCreator::getSelectionAnswer() {
  logDevTrace("Handle asking for selection");
  std::vector<std::string> options = getOptionsList();
  if (options.empty()) {
    // The first item is the title; without it there is nothing to offer
    // the user, so the question is declined rather than asked blind.
    logDevError("Selection prompt without title and options");
    return sendAnswer(getNoAnswer());
  }
  const std::string title = options.front();
  options.erase(options.begin());
  unsigned choice = 0;
  const bool chosen = callbacksManager->waitForSelection(choice, options, title);
  const uint32_t index = choice;
  return sendAnswer(handleOptionChoiceAnswer(chosen, index));
}

DataInputMessage* AnswerCreator::getAmountAnswer() {
  logDevTrace("Waiting for amount to be provided");
  const ExpectedDataCharacteristics expected = characteristics();
  const std::string amount = fromHost(callbacksManager->waitForAmount(
      expected.getPromptText(), expected.getMinimumCharacters(), expected.getMaximumCharacters()));
  if (amount.empty()) return nullptr;
  return sendAnswer(amount);
}

DataInputMessage* AnswerCreator::getAuthorizationCodeAnswer() {
  logDevTrace("Handle asking for authorization code");
  const ExpectedDataCharacteristics expected = characteristics();
  return sendAnswer(fromHost(callbacksManager->getAuthorizationCode(
      expected.getPromptText(), expected.getMinimumCharacters(), expected.getMaximumCharacters())));
}

DataInputMessage* AnswerCreator::getCashbackAnswer() {
  logDevTrace("Handle asking for cashback");
  const ExpectedDataCharacteristics expected = characteristics();
  return sendAnswer(fromHost(callbacksManager->getCashbackAmount(
      expected.getPromptText(), expected.getMinimumCharacters(), expected.getMaximumCharacters())));
}

DataInputMessage* AnswerCreator::getUserActionAnswer() {
  const ExpectedDataCharacteristics expected = characteristics();
  std::string answer;
  if (expected.getAllowedCharacters() != ALLOWED_CHARACTERS_NONE) {
    answer = handleExpectingInputData();
  } else {
    switch (expected.getAllowedSpecialCharacters()) {
      case SPECIAL_CHARACTERS_NONE:
        answer = handleExpectingInputData();
        break;
      case SPECIAL_CHARACTERS_CANCEL:
        answer = handleExpectingCancelAnswer();
        break;
      case SPECIAL_CHARACTERS_YES_NO:
        answer = handleExpectingYesNoAnswer();
        break;
      case SPECIAL_CHARACTERS_OK:
      default:
        answer = handleExpectingOkAnswer();
        break;
    }
  }
  if (answer.empty()) return nullptr;
  return sendAnswer(answer);
}

DataInputMessage* AnswerCreator::getInterruptioAnswer() {
  logDevTrace("Transaction interrupted - need to end transaction");
  return sendAnswer(getNoAnswer());
}

std::string AnswerCreator::handleExpectingInputData() {
  logDevTrace("Waiting for user action - certain data need to be provided");
  const ExpectedDataCharacteristics expected = characteristics();
  return fromHost(callbacksManager->waitForUserActionProvideData(
      expected.getPromptText(), expected.getAllowedCharacters(), expected.getMinimumCharacters(),
      expected.getMaximumCharacters()));
}

// A prompt without input: with no minimum it is only shown and nothing is
// answered; otherwise the host confirms it and the terminal gets `answer`.
std::string AnswerCreator::answerAfterUserAction(const char* afterwardsLine,
                                                 const std::string& answer) {
  logDevTrace("Waiting for user action - no output required");
  const ExpectedDataCharacteristics expected = characteristics();
  if (expected.getMinimumCharacters() == 0) {
    callbacksManager->showPrompt(expected.getPromptText());
    return std::string();
  }
  callbacksManager->waitForUserActionNoOutput(expected.getPromptText());
  logDevTrace("%s", afterwardsLine);
  return answer;
}

std::string AnswerCreator::handleExpectingOkAnswer() {
  return answerAfterUserAction("Sending OK to terminal afterwards", getYesAnswer());
}

std::string AnswerCreator::handleExpectingCancelAnswer() {
  return answerAfterUserAction("Sending CANCEL to terminal afterwards", getNoAnswer());
}

std::string AnswerCreator::handleExpectingYesNoAnswer() {
  logDevTrace("Waiting for user answer");
  return handleYesNoAnswer(callbacksManager->waitForUserActionYesNoQuestion(getPromptText()));
}

}  // namespace zq::app::protocols
