// The terminal's status "20", general information "26" and batch summary
// "25", each read from the scripted terminal over a real loopback link.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/BatchSummaryReadMessage.h"
#include "protocol/GeneralInformationMessage.h"
#include "protocol/StatusReadMessage.h"
#include "protocol/message_session.h"

namespace zq::app::protocols::testing {
namespace {

const Result kParseFailed(utils::RESULT_COMM_ERROR, "Unable to parse POS response");

struct StatusCase {
  const char* name;
  std::vector<std::string> fields;  // after "20" and the return code 0
  bool parses;
  ecr_terminalStatus status;
  uint32_t prompt;
  // What the characteristics read back as afterwards.
  unsigned minimum, maximum, allowed, special;
  std::string text;
  std::string error;  // the developer error logged, if any
};

// Before each reply the context holds prompt 77 and these characteristics,
// so that a reply that fails shows they were left alone, status included.
const ExpectedDataCharacteristics kEarlier(5, 9, ALLOWED_CHARACTERS_ALPHANUMERIC,
                                           SPECIAL_CHARACTERS_YES_NO, "earlier");

const StatusCase kStatusCases[] = {
    {"status only keeps the prompt number and resets the characteristics", {"06"}, true,
     TERMINAL_STATUS_END_DATA_READY, 77, 0, 0, 0, 0, "", ""},
    {"prompt number without characteristics", {"01", "5"}, true,
     TERMINAL_STATUS_WAITING_FOR_CARD, 5, 0, 0, 0, 0, "", ""},
    {"empty characteristics field", {"0C", "12", ""}, true,
     TERMINAL_STATUS_WAITING_FOR_USER_ACTION, 12, 0, 0, 0, 0, "", ""},
    {"five fields with an empty special answer", {"0C", "12", "0,20,n,,Enter code"}, true,
     TERMINAL_STATUS_WAITING_FOR_USER_ACTION, 12, 0, 20, 'n', 0, "Enter code", ""},
    {"prompt text keeps its commas", {"12", "3", "1,4,,1,Pick,one,two,"}, true,
     TERMINAL_STATUS_PROMPT_16, 3, 1, 4, 0, 1, "Pick,one,two,", ""},
    {"four fields, no prompt text", {"0C", "12", "2,12,S,3"}, true,
     TERMINAL_STATUS_WAITING_FOR_USER_ACTION, 12, 2, 12, 'S', 3, "", ""},
    // The last ',' closes the fourth field: four fields, not three.
    {"four fields ending with an empty special answer", {"0C", "12", "0,20,A,"}, true,
     TERMINAL_STATUS_WAITING_FOR_USER_ACTION, 12, 0, 20, 'A', 0, "", ""},
    {"empty minimum counts as 0", {"0C", "12", ",8,n,2,Code"}, true,
     TERMINAL_STATUS_WAITING_FOR_USER_ACTION, 12, 0, 8, 'n', 2, "Code", ""},
    {"raw status 0x81", {"81"}, true, TERMINAL_STATUS_RECONCILIATION_NEEDED, 77, 0, 0, 0, 0, "",
     ""},
    {"three fields", {"0C", "12", "0,20,n"}, false, TERMINAL_STATUS_UNRECOGNISED, 77, 5,
     9, 'A', 3, "earlier", "3 arguments provided in data characteristics 0,20,n"},
    {"three-digit maximum", {"0C", "12", "0,100,n,,Amount"}, false,
     TERMINAL_STATUS_UNRECOGNISED, 77, 5, 9, 'A', 3, "earlier",
     "Invalid max length 100"},
    {"empty maximum", {"0C", "12", "0,,n,,Amount"}, false,
     TERMINAL_STATUS_UNRECOGNISED, 77, 5, 9, 'A', 3, "earlier", "Invalid max length "},
    {"minimum not a number", {"0C", "12", "a,10,n,,Amount"}, false,
     TERMINAL_STATUS_UNRECOGNISED, 77, 5, 9, 'A', 3, "earlier", "Invalid min length a"},
    {"unknown character designation", {"0C", "12", "0,10,x,,Amount"}, false,
     TERMINAL_STATUS_UNRECOGNISED, 77, 5, 9, 'A', 3, "earlier",
     "Invalid allowed characters designation x"},
    {"two designation letters", {"0C", "12", "0,10,nA,,Amount"}, false,
     TERMINAL_STATUS_UNRECOGNISED, 77, 5, 9, 'A', 3, "earlier",
     "Invalid allowed characters designation nA"},
    {"unknown special answer", {"0C", "12", "0,10,n,4,Amount"}, false,
     TERMINAL_STATUS_UNRECOGNISED, 77, 5, 9, 'A', 3, "earlier",
     "Invalid allowed special characters designation 4"},
    {"no status at all", {}, false, TERMINAL_STATUS_UNRECOGNISED, 77, 5, 9, 'A', 3, "earlier",
     "Unable to extract transaction status"},
    {"lower-case hex status", {"0c"}, false, TERMINAL_STATUS_UNRECOGNISED, 77, 5, 9, 'A', 3,
     "earlier", "Unable to extract transaction status"},
};

std::vector<unsigned char> reply(const char* id, const std::vector<std::string>& fields) {
  std::vector<unsigned char> out = TerminalSimulator::fields({id, "0"});
  for (const std::string& field : fields) {
    out.push_back(TerminalSimulator::FS);
    out.insert(out.end(), field.begin(), field.end());
  }
  return out;
}

TEST(StatusRead, RepliesSetStatusPromptAndCharacteristics) {
  for (const StatusCase& c : kStatusCases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    terminal.addStep(
        TerminalSimulator::step(TerminalSimulator::fields({"20", "1"}), reply("20", c.fields)));
    Session library(terminal);
    library.maintenance().setPromptNumber(77);
    library.maintenance().setExpectedDataCharacteristics(kEarlier);

    const Result result =
        library.exchange([&] { return new StatusReadMessage(library.maintenance()); });

    EXPECT_EQ(result, c.parses ? Result(utils::RESULT_OK) : kParseFailed);
    EXPECT_TRUE(terminal.mismatches().empty());
    EXPECT_EQ(library.maintenance().getTransactionStatus(), c.status);
    ASSERT_TRUE(library.transaction().getPromptNumber().isPresent());
    EXPECT_EQ(*library.transaction().getPromptNumber(), c.prompt);
    const ExpectedDataCharacteristics read =
        library.transaction().getExpectedDataCharacteristics();
    EXPECT_EQ(read.getMinimumCharacters(), c.minimum);
    EXPECT_EQ(read.getMaximumCharacters(), c.maximum);
    EXPECT_EQ(static_cast<unsigned>(read.getAllowedCharacters()), c.allowed);
    EXPECT_EQ(static_cast<unsigned>(read.getAllowedSpecialCharacters()), c.special);
    EXPECT_EQ(read.getPromptText(), c.text);
    if (c.parses) {
      // Stored, not defaulted: the maximum of a prompt without
      // characteristics is 0 in the store.
      EXPECT_TRUE(library.maintenance().getByte(TAG_PROMPT_MAX_ENTRY_LEN).isPresent());
      EXPECT_TRUE(developerLines(kErrorPriority).empty());
    } else {
      EXPECT_TRUE(logged(kErrorPriority, c.error))
          << "errors: " << ::testing::PrintToString(developerLines(kErrorPriority));
    }
  }
}

TEST(StatusRead, HostHearsOnlyOfChangedStatuses) {
  const char* raw[] = {"06", "06", "01", "01", "06", "10", "13"};
  TerminalSimulator terminal;
  for (const char* status : raw) {
    terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"20", "1"}),
                                             TerminalSimulator::fields({"20", "0", status})));
  }
  Session library(terminal);
  for (size_t i = 0; i < std::size(raw); ++i) {
    EXPECT_TRUE(
        library.exchange([&] { return new StatusReadMessage(library.maintenance()); }).isOk());
  }
  // 0x10 and 0x13 are gaps of the terminal's numbering: both are
  // "not recognised", so the second of them changes nothing.
  EXPECT_EQ(library.statuses,
            (std::vector<ecr_terminalStatus>{TERMINAL_STATUS_END_DATA_READY,
                                             TERMINAL_STATUS_WAITING_FOR_CARD,
                                             TERMINAL_STATUS_END_DATA_READY,
                                             TERMINAL_STATUS_UNRECOGNISED}));
}

struct InformationCase {
  const char* name;
  std::string text;
  bool parses;
  std::string address1, address2, address3, mid, tid;
};

const char* const kAbsent = "<absent>";

const InformationCase kInformationCases[] = {
    {"five fields", "Shop 7,Long St 1,00-950 City,M123,T456", true, "Shop 7", "Long St 1",
     "00-950 City", "M123", "T456"},
    {"empty fields leave their tags absent", "Shop 7,,00-950 City,M123,", true, "Shop 7", kAbsent,
     "00-950 City", "M123", kAbsent},
    // A reply that fails keeps what the last good one stored.
    {"four fields", "Shop 7,Long St 1,00-950 City,M123", false, "old 1", "old 2", "old 3", "old MID",
     "old TID"},
    {"six fields", "Shop 7,Long St 1,00-950 City,M123,T456,X", false, "old 1", "old 2", "old 3",
     "old MID", "old TID"},
    {"no information", "", true, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent},
};

TEST(GeneralInformation, FiveFieldsOrNothing) {
  for (const InformationCase& c : kInformationCases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    terminal.addStep(TerminalSimulator::step(TerminalSimulator::fields({"26", "1", "2"}),
                                             reply("26", {c.text})));
    Session library(terminal);
    library.api().setTagValue(TAG_TERMINAL_INDEX, bytesOf("2"));
    // What an earlier reply left: replaced by a good reply, kept by a bad one.
    library.maintenance().setAddress(bytesOf("old 1"), bytesOf("old 2"), bytesOf("old 3"));
    library.maintenance().setMid(bytesOf("old MID"));
    library.maintenance().setTid(bytesOf("old TID"));

    const Result result =
        library.exchange([&] { return new GeneralInformationMessage(library.maintenance()); });

    EXPECT_EQ(result, c.parses ? Result(utils::RESULT_OK) : kParseFailed);
    EXPECT_TRUE(terminal.mismatches().empty());
    EXPECT_EQ(library.tag(TAG_TERMINAL_ADDRESS_1), c.address1);
    EXPECT_EQ(library.tag(TAG_TERMINAL_ADDRESS_2), c.address2);
    EXPECT_EQ(library.tag(TAG_TERMINAL_ADDRESS_3), c.address3);
    EXPECT_EQ(library.tag(TAG_MID), c.mid);
    EXPECT_EQ(library.tag(TAG_TID), c.tid);
    if (!c.parses) {
      EXPECT_TRUE(logged(kErrorPriority, "Invalid terminal data aquired: " + c.text));
    }
  }
}

TEST(GeneralInformation, NoTerminalIndexNoRequest) {
  recordDeveloperLog();
  TerminalSimulator terminal;
  Session library(terminal);
  const Result result =
      library.exchange([&] { return new GeneralInformationMessage(library.maintenance()); });
  EXPECT_EQ(result, Result(utils::RESULT_ARGUMENT_MISSING, "Unable to build Talvoren message"));
  EXPECT_TRUE(logged(kErrorPriority, "Unable to get terminal index"));
  EXPECT_TRUE(terminal.received().empty());
}

struct BatchTag {
  tlv::TlvTag tag;
  const char* value;
};

struct BatchCase {
  const char* name;
  std::vector<std::string> fields;
  bool parses;
  std::vector<BatchTag> tags;
  std::string error;
};

const std::vector<std::string> kFullBatch = {
    "-12550", "3",  "1",   "123456789012", "42", "2023-05-17",
    "12:30:00", "1", "T456", "7",          "12", "EV 2 vouchers"};

const BatchCase kBatchCases[] = {
    {"all twelve fields",
     kFullBatch,
     true,
     {{TAG_TOTAL_AMOUNT_SUM, "-12550"},
      {TAG_BATCH_TRANSACTION_COUNT, "3"},
      {TAG_BATCH_STATUS, "1"},
      {TAG_ACQUIER_IDENTIFIER, "123456789012"},
      {TAG_BATCH_NUMBER, "42"},
      {TAG_BATCH_DATE, "2023-05-17"},
      {TAG_BATCH_TIME, "12:30:00"},
      {TAG_PRINTING_INDICATOR, "1"},
      {TAG_TID, "T456"},
      {TAG_ACTIVATION_SEQUENCE_NUMBER, "7"},
      {TAG_CASHIER_IDENTIFIER, "12"},
      {TAG_EVOUCHER_INFO, "EV 2 vouchers"}},
     ""},
    {"empty numbers read as 0 and fields after the twelfth are ignored",
     {"", "", "", "", "", "", "", "0", "", "", "", "", "extra"},
     true,
     {{TAG_TOTAL_AMOUNT_SUM, "0"},
      {TAG_BATCH_TRANSACTION_COUNT, "0"},
      {TAG_BATCH_STATUS, "0"},
      {TAG_BATCH_DATE, kAbsent},
      {TAG_PRINTING_INDICATOR, "0"},
      {TAG_TID, kAbsent},
      {TAG_CASHIER_IDENTIFIER, "0"},
      {TAG_EVOUCHER_INFO, kAbsent}},
     ""},
    // A reply that fails stores nothing and clears nothing.
    {"cut after the TID",
     {"-12550", "3", "1", "123456789012", "42", "2023-05-17", "12:30:00", "0", "T456"},
     false,
     {{TAG_TOTAL_AMOUNT_SUM, kAbsent},
      {TAG_PRINTING_INDICATOR, kAbsent},
      {TAG_TID, kAbsent},
      {TAG_ACTIVATION_SEQUENCE_NUMBER, "99"},
      {TAG_CASHIER_IDENTIFIER, "99"},
      {TAG_EVOUCHER_INFO, kAbsent}},
     "Unable to extract activation sequence number"},
    {"a letter in the count",
     {"100", "3x"},
     false,
     {{TAG_TOTAL_AMOUNT_SUM, kAbsent}, {TAG_BATCH_TRANSACTION_COUNT, kAbsent}, {TAG_CASHIER_IDENTIFIER, "99"}},
     "Unable to extract transaction count"},
    {"no field at all", {}, false, {{TAG_TOTAL_AMOUNT_SUM, kAbsent}, {TAG_CASHIER_IDENTIFIER, "99"}},
     "Unable to extract total transaction amount"},
};

TEST(BatchSummary, AReplyIsStoredWholeOrNotAtAll) {
  for (const BatchCase& c : kBatchCases) {
    SCOPED_TRACE(c.name);
    recordDeveloperLog();
    TerminalSimulator terminal;
    terminal.addStep(
        TerminalSimulator::step(TerminalSimulator::fields({"25", "1"}), reply("25", c.fields)));
    Session library(terminal);
    // Left from an earlier summary: cleared by a good reply, kept by a bad one.
    library.api().setTagValue(TAG_ACTIVATION_SEQUENCE_NUMBER, bytesOf("99"));
    library.api().setTagValue(TAG_CASHIER_IDENTIFIER, bytesOf("99"));

    const Result result = library.exchange(
        [&] { return new BatchSummaryReadMessage(library.maintenance(), library.report()); });

    EXPECT_EQ(result, c.parses ? Result(utils::RESULT_OK) : kParseFailed);
    EXPECT_TRUE(terminal.mismatches().empty());
    for (const BatchTag& tag : c.tags) {
      EXPECT_EQ(library.tag(tag.tag), tag.value) << "tag " << std::hex << tag.tag;
    }
    if (!c.parses) {
      EXPECT_TRUE(logged(kErrorPriority, c.error))
          << "errors: " << ::testing::PrintToString(developerLines(kErrorPriority));
    }
  }
}

}  // namespace
}  // namespace zq::app::protocols::testing
