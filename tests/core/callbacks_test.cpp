// The callback registry: built-in defaults, the store of host pointers with
// its answers for unset pointers, index checks of choices, data entry and the
// character checkers. The warnings are read from the real log4c.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "LogRecorder.h"
#include "core/CallbacksManager.h"
#include "core/Logger.h"
#include "core/zumbra_log.h"

namespace {

using zq::app::callbacks::CallbacksManager;
using zq::test::journal;
using zq::test::LoggedLine;
using zq::test::textsFrom;
namespace protocols = zq::app::protocols;

using Lines = std::vector<std::string>;

constexpr int WARN = 400;
constexpr int ERROR = 300;

CallbacksManager& manager() { return CallbacksManager::getInstance(); }

std::string yesNo(bool answer) { return answer ? "true" : "false"; }

// One operation of the registry, its answer written as text ("-" for none).
struct Question {
  const char* name;
  std::function<std::string()> ask;
};

std::vector<Question> everyQuestion(unsigned& selected) {
  const std::string prompt = "Prompt";
  return {
      {"askForSignature", [=] { return yesNo(manager().askForSignature(prompt)); }},
      {"askForCopy", [=] { return yesNo(manager().askForCopy(prompt)); }},
      {"askForCurrency",
       [&selected] { return yesNo(manager().askForCurrency(selected, {"PLN", "EUR"})); }},
      {"waitForSelection",
       [&selected] { return yesNo(manager().waitForSelection(selected, {"a", "b"}, "Title")); }},
      {"waitForCard", [=] { return yesNo(manager().waitForCard(prompt)); }},
      {"waitForCardRemoval",
       [=] { manager().waitForCardRemoval(prompt); return std::string("-"); }},
      {"waitForPin", [=] { return yesNo(manager().waitForPin(prompt)); }},
      {"waitForUserActionNoOutput",
       [=] { manager().waitForUserActionNoOutput(prompt); return std::string("-"); }},
      {"waitForUserActionYesNoQuestion",
       [=] { return yesNo(manager().waitForUserActionYesNoQuestion(prompt)); }},
      {"showPrompt", [=] { manager().showPrompt(prompt); return std::string("-"); }},
      {"handleStatusChange",
       [] { manager().handleStatusChange(TERMINAL_STATUS_BUSY); return std::string("-"); }},
      {"getCashbackAmount", [=] { return manager().getCashbackAmount(prompt, 1, 10); }},
      {"getAuthorizationCode", [=] { return manager().getAuthorizationCode(prompt, 2, 6); }},
      {"waitForUserActionProvideData",
       [=] {
         return manager().waitForUserActionProvideData(
             prompt, protocols::ALLOWED_CHARACTERS_NUMERIC, 1, 4);
       }},
      {"waitForAmount", [=] { return manager().waitForAmount(prompt, 1, 12); }},
  };
}

struct Expected {
  std::string answer;
  std::string warning;
};

class CallbacksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(zq::app::logging::initializeLoggers());
    zq::test::recordCategory("developerFile");
    zq::test::recordCategory("businessFile");
    journal().clear();
  }

  static std::vector<LoggedLine> linesOf(const char* category) {
    std::vector<LoggedLine> out;
    for (const LoggedLine& line : journal())
      if (line.source == category) out.push_back(line);
    return out;
  }
};

TEST_F(CallbacksTest, DefaultsAnswerFixedValuesWithADeveloperWarning) {
  const Expected expected[] = {
      {"true", "Asking for signature not implemented, default implementation used, return true"},
      {"false", "Asking for copy not implemented, default implementation used, return false"},
      {"true", "Asking for currency not implemented, default implementation used, return true"},
      {"true", "Asking for selection not implemented, default implementation used, return true"},
      {"true", "Waiting for card not implemented, default implementation used, return true"},
      {"-", "Waiting for card removal not implemented, default implementation used"},
      {"true", "Waiting for PIN not implemented, default implementation used, return true"},
      {"-", "Waiting for user action without output not implemented, default implementation used"},
      {"true",
       "Waiting for answer for yes-no question not implemented, default implementation used, "
       "return true"},
      {"-", "Showing prompt not implemented, default implementation used"},
      {"-", "handling status change not implemented, default implementation used"},
      {"", "Asking for cashback amount not implemented, default implementation used, return empty"},
      {"",
       "Asking for authorization code not implemented, default implementation used, return empty"},
      {"1234",
       "Waiting for user to provide data not implemented, default implementation used, return "
       "1234"},
      {"1234", "Waiting for amount not implemented, default implementation used, return 1234"},
  };
  unsigned selected = 7;
  const std::vector<Question> questions = everyQuestion(selected);
  ASSERT_EQ(questions.size(), std::size(expected));
  for (size_t i = 0; i < questions.size(); ++i) {
    SCOPED_TRACE(questions[i].name);
    journal().clear();
    EXPECT_EQ(questions[i].ask(), expected[i].answer);
    const std::vector<LoggedLine> dev = linesOf("developerFile");
    ASSERT_EQ(dev.size(), 1u);
    EXPECT_EQ(dev[0].priority, WARN);
    EXPECT_EQ(dev[0].text, expected[i].warning);
    EXPECT_EQ(selected, 7u) << "the defaults choose nothing";
  }
  journal().clear();
  manager().handleDevLog("line");
  manager().handleBusLog("line");
  EXPECT_TRUE(journal().empty());
}

TEST_F(CallbacksTest, StoreWithoutPointersAnswersNoWithABusinessWarning) {
  cb_setHandleDevLog(nullptr);  // any registration swaps the defaults for the store
  const Expected expected[] = {
      {"false", "Signature request callback not set, return false by default"},
      {"false", "Copy request callback not set, return false by default"},
      {"false", "Currency request callback not set, return false by default"},
      {"false", "Select request callback not set, return false by default"},
      {"false", "Wait for card callback not set, return false by default"},
      {"-", "Wait for card removal callback not set"},
      {"false", "Wait for PIN callback not set, return false by default"},
      {"-", "Show OK screen callback not set"},
      {"false", "Show yes/no screen not set, return false by default"},
      {"-", "Show prompt screen callback not set"},
      {"-", "handle status change callback not set"},
      {"", "Get cashback amount callback not set, return empty string"},
      {"", "Get authorization code callback not set, return empty string"},
      {"", "Get user data callback not set, return empty string"},
      {"", "Get amount callback not set, return empty string"},
  };
  unsigned selected = 7;
  const std::vector<Question> questions = everyQuestion(selected);
  ASSERT_EQ(questions.size(), std::size(expected));
  for (size_t i = 0; i < questions.size(); ++i) {
    SCOPED_TRACE(questions[i].name);
    journal().clear();
    EXPECT_EQ(questions[i].ask(), expected[i].answer);
    const std::vector<LoggedLine> bus = linesOf("businessFile");
    ASSERT_EQ(bus.size(), 1u);
    EXPECT_EQ(bus[0].priority, WARN);
    EXPECT_EQ(bus[0].text, expected[i].warning);
    EXPECT_TRUE(linesOf("developerFile").empty());
    EXPECT_EQ(selected, 7u);
  }
  journal().clear();
  manager().handleDevLog("line");
  manager().handleCommLog("line");
  manager().handleBusLog("line");
  EXPECT_TRUE(journal().empty()) << "unset log pointers are silent";
}

// What the host callbacks below saw, and what they answer.
struct Host {
  std::string prompt;
  std::string title;
  bool answer = true;
  unsigned writeSelected = 0;
  Lines entries;
  ecr_terminalStatus status = TERMINAL_STATUS_UNRECOGNISED;
  cb_UserProvidedData seen{};
  bool seenZeroed = false;
  std::string fill;
  bool fillWhole = false;
  bool (*checker)(char) = nullptr;
  Lines logLines;
};
Host host;

bool hostQuestion(const char* prompt) {
  host.prompt = prompt;
  return host.answer;
}
void hostScreen(const char* prompt) { host.prompt = prompt; }
void hostStatus(ecr_terminalStatus status) { host.status = status; }
void hostLog(const char* line) { host.logLines.push_back(line); }
bool hostCurrency(const char** labels, size_t count, unsigned* selected) {
  host.entries.assign(labels, labels + count);
  *selected = host.writeSelected;
  return host.answer;
}
bool hostSelect(const char** options, size_t count, unsigned* selected, const char* title) {
  host.title = title;
  return hostCurrency(options, count, selected);
}
void hostValue(const char* prompt, cb_UserProvidedData* data) {
  host.prompt = prompt;
  host.seen = *data;
  host.seenZeroed = true;
  for (char c : data->data) host.seenZeroed = host.seenZeroed && c == 0;
  if (host.fillWhole) {
    std::memset(data->data, '9', sizeof data->data);
  } else {
    std::memcpy(data->data, host.fill.c_str(), host.fill.size() + 1);
  }
}
void hostUserData(const char* prompt, cb_UserProvidedData* data, bool (*isAllowed)(char)) {
  host.checker = isAllowed;
  hostValue(prompt, data);
}

TEST_F(CallbacksTest, StorePassesQuestionsAndAnswersThrough) {
  using Ask = bool (CallbacksManager::*)(const std::string&);
  const struct {
    void (*set)(cb_QuestionHandler);
    Ask ask;
    Lines lines;  // business lines for the prompt "Podpis \xA5" and the answer yes
  } cases[] = {
      {cb_setSignatureRequest, &CallbacksManager::askForSignature,
       {"Ask for signature through callback"}},
      {cb_setCopyRequest, &CallbacksManager::askForCopy, {"Ask for copy through callback"}},
      {cb_setWaitForCard, &CallbacksManager::waitForCard, {"Call waitForCard callback"}},
      {cb_setWaitForPin, &CallbacksManager::waitForPin, {"Call waitForPin callback"}},
      {cb_setShowYesNoScreen, &CallbacksManager::waitForUserActionYesNoQuestion,
       {"Call showYesNoScreen callback, prompt: 'Podpis \xA5'", "User answer: yes"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines[0]);
    c.set(hostQuestion);
    for (bool answer : {true, false}) {
      host = Host{};
      host.answer = answer;
      journal().clear();
      EXPECT_EQ((manager().*c.ask)("Podpis \xA5"), answer);
      EXPECT_EQ(host.prompt, "Podpis \xA5") << "Windows-1250 bytes pass unchanged";
      if (answer) {
        EXPECT_EQ(textsFrom("businessFile"), c.lines);
      }
    }
  }
}

TEST_F(CallbacksTest, StoreShowsScreensAndReportsStatusChanges) {
  using Show = void (CallbacksManager::*)(const std::string&);
  const struct {
    void (*set)(cb_ScreenHandler);
    Show show;
    const char* line;
  } cases[] = {
      {cb_setWaitForCardRemoval, &CallbacksManager::waitForCardRemoval,
       "Call waitForCardRemoval callback"},
      {cb_setShowOkScreen, &CallbacksManager::waitForUserActionNoOutput,
       "Call showOkScreen callback, prompt: 'Zabierz kart\xEA'"},
      {cb_setShowPromptScreen, &CallbacksManager::showPrompt,
       "Call showPromptScreen callback, prompt: 'Zabierz kart\xEA'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    c.set(hostScreen);
    host = Host{};
    journal().clear();
    (manager().*c.show)("Zabierz kart\xEA");
    EXPECT_EQ(host.prompt, "Zabierz kart\xEA");
    EXPECT_EQ(textsFrom("businessFile"), Lines{c.line});
  }

  cb_setHandleStatusChange(hostStatus);
  journal().clear();
  manager().handleStatusChange(TERMINAL_STATUS_ASK_FOR_CURRENCY);
  EXPECT_EQ(host.status, TERMINAL_STATUS_ASK_FOR_CURRENCY);
  EXPECT_EQ(textsFrom("businessFile"), Lines{"Call handleStatusChange callback, new status: 0x0E"});

  cb_setHandleCommLog(hostLog);
  manager().handleCommLog("12:00:00.000 INFO  - x\n");
  EXPECT_EQ(host.logLines, Lines{"12:00:00.000 INFO  - x\n"});
}

struct ChoiceCase {
  unsigned written;
  bool hostAnswer;
  Lines list;
  bool expected;
  std::string lastLine;
  int lastPriority;
};

TEST_F(CallbacksTest, CurrencyIsTakenOnlyForAnIndexInTheList) {
  cb_setCurrencyRequest(hostCurrency);
  const Lines three = {"PLN", "EUR", "USD"};
  const ChoiceCase cases[] = {
      {0, true, three, false, "Wrong currency ID provided: 0, deny user choice, return false",
       ERROR},
      {1, true, three, true, "Selected currency: 1. PLN", 700},
      {3, true, three, true, "Selected currency: 3. USD", 700},
      {4, true, three, false, "Wrong currency ID provided: 4, deny user choice, return false",
       ERROR},
      {2, false, three, false, "Selected currency: 2. EUR", 700},
      {1, true, {}, false, "Wrong currency ID provided: 1, deny user choice, return false",
       ERROR},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.lastLine);
    host = Host{};
    host.writeSelected = c.written;
    host.answer = c.hostAnswer;
    journal().clear();
    unsigned selected = 99;
    EXPECT_EQ(manager().askForCurrency(selected, c.list), c.expected);
    EXPECT_EQ(selected, c.written) << "the host's value is kept";
    EXPECT_EQ(host.entries, c.list);
    const std::vector<LoggedLine> bus = linesOf("businessFile");
    ASSERT_FALSE(bus.empty());
    EXPECT_EQ(bus.back().text, c.lastLine);
    EXPECT_EQ(bus.back().priority, c.lastPriority);
  }

  host = Host{};
  host.writeSelected = 2;
  journal().clear();
  unsigned selected = 0;
  manager().askForCurrency(selected, three);
  EXPECT_EQ(textsFrom("businessFile"),
            (Lines{"Ask for currency through callback", "Available currencies:", "   1. PLN",
                   "   2. EUR", "   3. USD", "Selected currency: 2. EUR"}));
}

TEST_F(CallbacksTest, SelectionIsTakenOnlyForAnIndexInTheList) {
  cb_setSelectRequest(hostSelect);
  const Lines options = {"Karta", "Got\xF3wka"};
  const struct {
    unsigned written;
    bool hostAnswer;
    bool expected;
  } cases[] = {{0, true, false}, {1, true, true}, {2, true, true}, {3, true, false},
               {2, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    host = Host{};
    host.writeSelected = c.written;
    host.answer = c.hostAnswer;
    journal().clear();
    unsigned selected = 0;
    EXPECT_EQ(manager().waitForSelection(selected, options, "Wybierz"), c.expected);
    EXPECT_EQ(selected, c.written);
    EXPECT_EQ(host.entries, options);
    EXPECT_EQ(host.title, "Wybierz");
    const bool inList = c.written >= 1 && c.written <= options.size();
    if (!inList) {
      EXPECT_EQ(textsFrom("businessFile").back(),
                "Wrong index provided: " + std::to_string(c.written) +
                    ", deny user choice, return false");
    }
  }
  host = Host{};
  host.writeSelected = 1;
  journal().clear();
  unsigned selected = 0;
  manager().waitForSelection(selected, options, "Wybierz");
  EXPECT_EQ(textsFrom("businessFile"), (Lines{"Ask for selection through callback",
                                              "Available options:", "   1. Karta",
                                              "   2. Got\xF3wka"}));
}

TEST_F(CallbacksTest, DataEntryHandsBoundsAndReadsAtMost256Characters) {
  using Enter = std::function<std::string(std::uint8_t, std::uint8_t)>;
  const struct {
    const char* name;
    std::function<void()> set;
    Enter enter;
    const char* debugName;
    const char* provided;
  } kinds[] = {
      {"cashback", [] { cb_setGetCashbackAmount(hostValue); },
       [](std::uint8_t lo, std::uint8_t hi) { return manager().getCashbackAmount("P", lo, hi); },
       "getCashbackAmount", "Provided cashback amount: "},
      {"authorization code", [] { cb_setGetAuthorizationCode(hostValue); },
       [](std::uint8_t lo, std::uint8_t hi) {
         return manager().getAuthorizationCode("P", lo, hi);
       },
       "getAuthorizationCode", "Provided authorization code: "},
      {"amount", [] { cb_setGetAmount(hostValue); },
       [](std::uint8_t lo, std::uint8_t hi) { return manager().waitForAmount("P", lo, hi); },
       "getAmount", "Amount provided by user: "},
      {"user data", [] { cb_setGetUserData(hostUserData); },
       [](std::uint8_t lo, std::uint8_t hi) {
         return manager().waitForUserActionProvideData(
             "P", protocols::ALLOWED_CHARACTERS_PRINTABLE, lo, hi);
       },
       "getUserData", "Data provided by user: "},
  };
  const struct {
    const char* name;
    std::string fill;
    bool whole;
    std::string expected;
  } answers[] = {
      {"nothing written", "", false, ""},
      {"an amount", "12345", false, "12345"},
      {"all 257 bytes without a zero", "", true, std::string(256, '9')},
  };
  for (const auto& kind : kinds) {
    kind.set();
    for (const auto& answer : answers) {
      SCOPED_TRACE(std::string(kind.name) + ": " + answer.name);
      host = Host{};
      host.fill = answer.fill;
      host.fillWhole = answer.whole;
      journal().clear();
      EXPECT_EQ(kind.enter(2, 12), answer.expected);
      EXPECT_EQ(host.prompt, "P");
      EXPECT_TRUE(host.seenZeroed);
      EXPECT_EQ(host.seen.minLength, 2u);
      EXPECT_EQ(host.seen.maxLength, 12u);
      EXPECT_EQ(textsFrom("businessFile"),
                (Lines{std::string("Call ") + kind.debugName +
                           " callback, minimum characters: 2, maximum characters 12",
                       kind.provided + answer.expected}));
    }
  }
}

TEST_F(CallbacksTest, SettingNullClearsACallback) {
  cb_setGetAmount(hostValue);
  host = Host{};
  host.fill = "100";
  EXPECT_EQ(manager().waitForAmount("P", 1, 5), "100");
  cb_setGetAmount(nullptr);
  journal().clear();
  EXPECT_EQ(manager().waitForAmount("P", 1, 5), "");
  EXPECT_EQ(textsFrom("businessFile"), Lines{"Get amount callback not set, return empty string"});
}

TEST_F(CallbacksTest, PointersOutliveAReplacedStore) {
  cb_setCopyRequest(hostQuestion);
  host = Host{};
  host.answer = true;
  EXPECT_TRUE(manager().askForCopy("P"));

  manager().setup(nullptr);  // the store goes, the defaults come back
  EXPECT_FALSE(manager().askForCopy("P"));

  cb_setHandleBusLog(nullptr);  // a new store, with the copy pointer set before
  EXPECT_TRUE(manager().askForCopy("P"));
}

// Checkers as the user-data callback receives them.
bool (*checkerFor(protocols::TalvorenAllowedCharacters allowed))(char) {
  cb_setGetUserData(hostUserData);
  host = Host{};
  manager().waitForUserActionProvideData("P", allowed, 0, 4);
  return host.checker;
}

TEST_F(CallbacksTest, CheckerFollowsTheDesignation) {
  const struct {
    int designation;
    std::string accepted;
    std::string refused;
  } cases[] = {
      {'n', "0379", std::string("a /:\xEA\x01")},
      {'S', "aZ9 ~!", std::string("\x01\x7F\xEA\xFF\t")},
      {'A', "aZ09", std::string(" -_\xEA\xB9")},
      {'X', "", std::string("7a \xEA")},
      {0, "", std::string("7a \xEA")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.designation);
    bool (*checker)(char) =
        checkerFor(static_cast<protocols::TalvorenAllowedCharacters>(c.designation));
    ASSERT_NE(checker, nullptr);
    for (char ch : c.accepted) EXPECT_TRUE(checker(ch)) << ch;
    for (char ch : c.refused) EXPECT_FALSE(checker(ch)) << int(static_cast<unsigned char>(ch));
  }

  const struct {
    bool (*checker)(char);
    const char* line;
  } logged[] = {
      {zq::app::callbacks::allCharactersAllowed, "Checking if character 7 is printable"},
      {zq::app::callbacks::numericCharactersAllowed, "Checking if character 7 is numeric"},
      {zq::app::callbacks::alphanumericCharactersAllowed,
       "Checking if character 7 is alphanumeric"},
  };
  for (const auto& c : logged) {
    journal().clear();
    EXPECT_TRUE(c.checker('7'));
    EXPECT_EQ(textsFrom("businessFile"), Lines{c.line});
  }
  journal().clear();
  EXPECT_FALSE(zq::app::callbacks::noCharactersAllowed('7'));
  EXPECT_TRUE(journal().empty());
}

// A held object that counts its deletion.
class CountingCallbacks : public CallbacksManager::Callbacks {
 public:
  explicit CountingCallbacks(int& deleted) : deleted_(deleted) {}
  ~CountingCallbacks() override { ++deleted_; }
  bool askForSignature(const std::string&) override { return false; }
  bool askForCopy(const std::string&) override { return true; }
  bool askForCurrency(unsigned& s, const std::vector<std::string>&) override { s = 5; return true; }
  bool waitForSelection(unsigned&, const std::vector<std::string>&, const std::string&) override {
    return false;
  }
  bool waitForCard(const std::string&) override { return false; }
  void waitForCardRemoval(const std::string&) override {}
  bool waitForPin(const std::string&) override { return false; }
  void waitForUserActionNoOutput(const std::string&) override {}
  bool waitForUserActionYesNoQuestion(const std::string&) override { return false; }
  void showPrompt(const std::string&) override {}
  void handleStatusChange(ecr_terminalStatus) override {}
  std::string getCashbackAmount(const std::string&, std::uint8_t, std::uint8_t) override {
    return "c";
  }
  std::string getAuthorizationCode(const std::string&, std::uint8_t, std::uint8_t) override {
    return "a";
  }
  std::string waitForUserActionProvideData(const std::string&,
                                           protocols::TalvorenAllowedCharacters, std::uint8_t,
                                           std::uint8_t) override {
    return "d";
  }
  std::string waitForAmount(const std::string&, std::uint8_t, std::uint8_t) override {
    return "m";
  }
  void handleDevLog(const std::string&) override {}
  void handleCommLog(const std::string&) override {}
  void handleBusLog(const std::string&) override {}

 private:
  int& deleted_;
};

TEST_F(CallbacksTest, SetupKeepsTheSameObjectAndDeletesAReplacedOne) {
  int firstDeleted = 0;
  int secondDeleted = 0;
  auto* first = new CountingCallbacks(firstDeleted);
  auto* second = new CountingCallbacks(secondDeleted);

  manager().setup(first);
  manager().setup(first);
  EXPECT_EQ(firstDeleted, 0);
  EXPECT_TRUE(manager().askForCopy("P")) << "the held object answers";
  unsigned selected = 0;
  EXPECT_TRUE(manager().askForCurrency(selected, {}));
  EXPECT_EQ(selected, 5u);

  manager().setup(second);
  EXPECT_EQ(firstDeleted, 1);
  EXPECT_EQ(manager().waitForAmount("P", 0, 1), "m");

  CallbacksManager& kept = manager();
  kept.setup(nullptr);
  EXPECT_EQ(secondDeleted, 1);
  EXPECT_FALSE(kept.ready());
  journal().clear();
  EXPECT_EQ(kept.waitForAmount("P", 0, 1), "1234") << "an emptied manager answers as the defaults";
  EXPECT_TRUE(manager().ready());
}

}  // namespace

namespace {

bool answerYes(const char*) { return true; }
std::atomic<int> gForwardedLines{0};
void countLine(const char*) { ++gForwardedLines; }

// A host registers and clears callbacks while calls on other threads' contexts
// raise them: each question is answered through the pointer it found or as
// an unset one, never through a pointer cleared in between, and the first
// registration's swap of the defaults for the store does not pull the
// defaults from under a thread that is answering with them.
TEST(CallbacksAcrossThreads, RegisteringWhileOtherThreadsAskIsSafe) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  std::atomic<bool> stop{false};
  std::atomic<int> answers{0};
  auto ask = [&] {
    while (!stop.load()) {
      manager().askForCopy("Copy?");
      logBusInfo("A line for the host");
      ++answers;
    }
  };
  std::vector<std::thread> askers;
  for (int i = 0; i < 3; ++i) askers.emplace_back(ask);
  while (answers.load() < 100) std::this_thread::yield();
  for (int i = 0; i < 20000; ++i) {
    cb_setCopyRequest(i % 2 == 0 ? answerYes : nullptr);
    cb_setHandleBusLog(i % 2 == 0 ? countLine : nullptr);
  }
  stop = true;
  for (std::thread& asker : askers) asker.join();
  cb_setCopyRequest(answerYes);
  EXPECT_TRUE(manager().askForCopy("Copy?"));
}

}  // namespace
