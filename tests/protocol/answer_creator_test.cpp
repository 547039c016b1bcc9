// The answers to the terminal's prompts: which host callback each prompt
// calls, and the data-input request "23" the terminal then receives.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "protocol/AnswerCreator.h"
#include "protocol/message_session.h"

namespace zq::app::protocols::testing {
namespace {

using Operation = DataInputMessage* (AnswerCreator::*)();

const std::string kYes = "\x5C\x6E";
const std::string kNo = "\x5C\x65";

struct AnswerCase {
  const char* name;
  ExpectedDataCharacteristics prompt;
  HostScript host;
  Operation operation;
  std::vector<std::string> calls;
  bool sent;
  std::string answer;
};

ExpectedDataCharacteristics prompt(const std::string& text, uint8_t minimum = 0,
                                   uint8_t maximum = 99,
                                   TalvorenAllowedCharacters allowed = ALLOWED_CHARACTERS_NONE,
                                   TalvorenAllowedSpecialCharacters special =
                                       SPECIAL_CHARACTERS_NONE) {
  return ExpectedDataCharacteristics(minimum, maximum, allowed, special, text);
}

HostScript host(bool yes, unsigned choice = 0, const std::string& text = "") {
  HostScript script;
  script.yes = yes;
  script.choice = choice;
  script.text = text;
  return script;
}

const AnswerCase kCases[] = {
    {"signature accepted", prompt("Signature OK?"), host(true), &AnswerCreator::getSignatureAnswer,
     {"askForSignature(Signature OK?)"}, true, kYes},
    {"signature refused", prompt("Signature OK?"), host(false),
     &AnswerCreator::getSignatureAnswer, {"askForSignature(Signature OK?)"}, true, kNo},
    {"copy wanted", prompt("Copy?"), host(true), &AnswerCreator::getCopyAnswer,
     {"askForCopy(Copy?)"}, true, kYes},
    {"currency chosen, trailing ',' offers an empty item", prompt("PLN,EUR,"), host(true, 2),
     &AnswerCreator::getCurrencyAnswer, {"askForCurrency(PLN|EUR|)"}, true, "2"},
    {"currency declined", prompt("PLN,EUR"), host(false, 1), &AnswerCreator::getCurrencyAnswer,
     {"askForCurrency(PLN|EUR)"}, true, kNo},
    {"selection: the first item is the title", prompt("Pick fuel,ON,PB95,LPG"), host(true, 3),
     &AnswerCreator::getSelectionAnswer, {"waitForSelection(Pick fuel;ON|PB95|LPG)"}, true, "3"},
    {"selection index of five digits keeps four", prompt("Title,a"), host(true, 123456),
     &AnswerCreator::getSelectionAnswer, {"waitForSelection(Title;a)"}, true, "1234"},
    {"selection declined", prompt("Title,a,b"), host(false, 1), &AnswerCreator::getSelectionAnswer,
     {"waitForSelection(Title;a|b)"}, true, kNo},
    {"selection without a title is declined unasked", prompt(""), host(true, 1),
     &AnswerCreator::getSelectionAnswer, {}, true, kNo},
    {"amount", prompt("Amount", 1, 12), host(true, 0, "1500"), &AnswerCreator::getAmountAnswer,
     {"waitForAmount(Amount,1,12)"}, true, "1500"},
    {"empty amount sends nothing", prompt("Amount", 1, 12), host(true), &AnswerCreator::getAmountAnswer,
     {"waitForAmount(Amount,1,12)"}, false, ""},
    {"authorisation code", prompt("Code", 6, 6), host(true, 0, "AB12CD"),
     &AnswerCreator::getAuthorizationCodeAnswer, {"getAuthorizationCode(Code,6,6)"}, true, "AB12CD"},
    {"empty authorisation code is sent empty", prompt("Code", 0, 6), host(true),
     &AnswerCreator::getAuthorizationCodeAnswer, {"getAuthorizationCode(Code,0,6)"}, true, ""},
    {"cashback", prompt("Cashback", 1, 9), host(true, 0, "200"), &AnswerCreator::getCashbackAnswer,
     {"getCashbackAmount(Cashback,1,9)"}, true, "200"},
    {"empty cashback is sent empty", prompt("Cashback"), host(true),
     &AnswerCreator::getCashbackAnswer, {"getCashbackAmount(Cashback,0,99)"}, true, ""},
    {"user action with allowed characters asks for data despite OK",
     prompt("PIN2", 4, 4, ALLOWED_CHARACTERS_NUMERIC, SPECIAL_CHARACTERS_OK), host(true, 0, "4321"),
     &AnswerCreator::getUserActionAnswer, {"waitForUserActionProvideData(PIN2,110,4,4)"}, true,
     "4321"},
    {"user action data, empty answer sends nothing", prompt("Data", 0, 10), host(true),
     &AnswerCreator::getUserActionAnswer, {"waitForUserActionProvideData(Data,0,0,10)"}, false,
     ""},
    {"OK with minimum 0 only shows the prompt",
     prompt("Note", 0, 0, ALLOWED_CHARACTERS_NONE, SPECIAL_CHARACTERS_OK), host(true),
     &AnswerCreator::getUserActionAnswer, {"showPrompt(Note)"}, false, ""},
    {"OK with minimum 1 waits, then sends yes",
     prompt("Press OK", 1, 1, ALLOWED_CHARACTERS_NONE, SPECIAL_CHARACTERS_OK), host(false),
     &AnswerCreator::getUserActionAnswer, {"waitForUserActionNoOutput(Press OK)"}, true, kYes},
    {"cancel with minimum 1 waits, then sends no",
     prompt("Cancel", 1, 1, ALLOWED_CHARACTERS_NONE, SPECIAL_CHARACTERS_CANCEL), host(true),
     &AnswerCreator::getUserActionAnswer, {"waitForUserActionNoOutput(Cancel)"}, true, kNo},
    {"cancel with minimum 0 only shows the prompt",
     prompt("Cancel", 0, 1, ALLOWED_CHARACTERS_NONE, SPECIAL_CHARACTERS_CANCEL), host(true),
     &AnswerCreator::getUserActionAnswer, {"showPrompt(Cancel)"}, false, ""},
    {"yes/no question answered no",
     prompt("Continue?", 0, 1, ALLOWED_CHARACTERS_NONE, SPECIAL_CHARACTERS_YES_NO), host(false),
     &AnswerCreator::getUserActionAnswer, {"waitForUserActionYesNoQuestion(Continue?)"}, true, kNo},
    {"unknown special answer is treated as OK",
     prompt("Odd", 1, 1, ALLOWED_CHARACTERS_NONE, static_cast<TalvorenAllowedSpecialCharacters>(7)),
     host(true), &AnswerCreator::getUserActionAnswer, {"waitForUserActionNoOutput(Odd)"}, true,
     kYes},
    {"interruption asks nobody", prompt("Card?"), host(true), &AnswerCreator::getInterruptioAnswer,
     {}, true, kNo},
    // A typed answer holding a control byte of the link counts as no answer:
    // it would add a field to the request or end the frame early.
    {"amount holding FS sends nothing", prompt("Amount", 1, 12), host(true, 0, "15\x1C" "00"),
     &AnswerCreator::getAmountAnswer, {"waitForAmount(Amount,1,12)"}, false, ""},
    {"authorisation code holding ETX is sent empty", prompt("Code", 6, 6), host(true, 0, "AB\x03" "CD"),
     &AnswerCreator::getAuthorizationCodeAnswer, {"getAuthorizationCode(Code,6,6)"}, true, ""},
    {"cashback holding STX is sent empty", prompt("Cashback", 1, 9), host(true, 0, "\x02" "200"),
     &AnswerCreator::getCashbackAnswer, {"getCashbackAmount(Cashback,1,9)"}, true, ""},
    {"user data holding NAK sends nothing", prompt("Data", 0, 10, ALLOWED_CHARACTERS_PRINTABLE),
     host(true, 0, "ab\x15"), &AnswerCreator::getUserActionAnswer,
     {"waitForUserActionProvideData(Data,83,0,10)"}, false, ""},
};

TEST(AnswerCreator, PromptsBecomeCallbacksAndDataInput) {
  for (const AnswerCase& c : kCases) {
    SCOPED_TRACE(c.name);
    TerminalSimulator terminal;
    if (c.sent) {
      terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"23", "1", "12", c.answer}),
                                               TerminalSimulator::fields({"23", "0"})));
    }
    Session library(terminal);
    library.script = c.host;
    library.maintenance().setPromptNumber(12);
    library.maintenance().setExpectedDataCharacteristics(c.prompt);
    AnswerCreator creator(library.maintenance(), library.transaction(),
                          &callbacks::CallbacksManager::getInstance());

    std::unique_ptr<DataInputMessage> message((creator.*c.operation)());

    EXPECT_EQ(library.calls, c.calls);
    ASSERT_EQ(message != nullptr, c.sent);
    if (!c.sent) continue;
    DataInputMessage* owned = message.release();
    EXPECT_TRUE(library.exchange([&] { return owned; }).isOk());
    ASSERT_TRUE(terminal.waitForSteps(1, 1000));
    EXPECT_TRUE(terminal.mismatches().empty()) << ::testing::PrintToString(terminal.mismatches());
  }
}

TEST(AnswerCreator, NoPromptNumberNoAnswer) {
  recordDeveloperLog();
  TerminalSimulator terminal;
  Session library(terminal);
  AnswerCreator creator(library.maintenance(), library.transaction(),
                        &callbacks::CallbacksManager::getInstance());
  DataInputMessage* message = creator.getInterruptioAnswer();
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(library.exchange([&] { return message; }),
            Result(utils::RESULT_ARGUMENT_MISSING, "Unable to build Talvoren message"));
  EXPECT_TRUE(logged(kErrorPriority, "Prompt number missing"));
  EXPECT_TRUE(terminal.received().empty());
}

// The prompt text is cut at every ',' with nothing trimmed.
TEST(AnswerCreator, OptionsListKeepsEveryItem) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {}},
      {"one", {"one"}},
      {" a , b ", {" a ", " b "}},
      {",", {"", ""}},
      {"a,,b,", {"a", "", "b", ""}},
  };
  TerminalSimulator terminal;
  Session library(terminal);
  AnswerCreator creator(library.maintenance(), library.transaction(),
                        &callbacks::CallbacksManager::getInstance());
  for (const auto& c : cases) {
    library.maintenance().setExpectedDataCharacteristics(prompt(c.first));
    EXPECT_EQ(creator.getOptionsList(), c.second) << "prompt '" << c.first << "'";
  }
}

}  // namespace
}  // namespace zq::app::protocols::testing
