// Memory that runs out inside an exported function: in each family (TLV
// buffer, TLV store, callback registration, terminal functions, printout
// functions, log functions) a call made while every allocation of this
// thread fails answers its failure value, says why on the business
// category, and leaves what it was given as it was; nothing reaches the
// host as an exception.
//
// This program replaces the global operator new: while a call runs under
// FailingAllocations, every allocation of its thread throws std::bad_alloc.
// log4c allocates with malloc, so the library's lines still get written;
// the recording appender below copies them into fixed storage.
#include <gtest/gtest.h>
#include <log4c.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "api/EcrTestHelpers.h"
#include "core/CallbacksManager.h"
#include "core/TagNames.h"
#include "core/zumbra_callbacks.h"
#include "core/zumbra_log.h"
#include "core/zumbra_tlv_buffer.h"
#include "core/zumbra_tlv_store.h"
#include "printouts/engine/PrintDictionary.h"
#include "zumbra_ecr.h"
#include "zumbra_printout.h"

namespace {

thread_local bool tFailAllocations = false;

}  // namespace

// Every form that allocates or frees with malloc, so that the sanitizers'
// own forms (which would not fail) never pair with these.
namespace {
void* allocate(std::size_t size) noexcept {
  return tFailAllocations ? nullptr : std::malloc(size != 0 ? size : 1);
}
void* allocateOrThrow(std::size_t size) {
  if (void* memory = allocate(size)) return memory;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace {

// The business lines of the file category, kept without allocating.
struct Recorded {
  static constexpr int kLines = 64;
  static constexpr size_t kLength = 160;
  char lines[kLines][kLength];
  int count = 0;
} gRecorded;

int recordOpen(log4c_appender_t*) { return 0; }
int recordAppend(log4c_appender_t*, const log4c_logging_event_t* event) {
  if (event->evt_msg != nullptr && gRecorded.count < Recorded::kLines) {
    std::snprintf(gRecorded.lines[gRecorded.count++], Recorded::kLength, "%s", event->evt_msg);
  }
  return 0;
}
const log4c_appender_type_t kRecordingType = {"testFixedRecordingType", recordOpen, recordAppend, nullptr};

bool recorded(const std::string& message) {
  for (int i = 0; i < gRecorded.count; ++i)
    if (message == gRecorded.lines[i]) return true;
  return false;
}

// Every allocation of this thread fails while the object lives.
struct FailingAllocations {
  FailingAllocations() {
    gRecorded.count = 0;
    tFailAllocations = true;
  }
  ~FailingAllocations() { tFailAllocations = false; }
};

int gHostLines = 0;
void countHostLine(const char*) { ++gHostLines; }
void ignoreStatus(ecr_terminalStatus) {}

class AllocationFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The loggers up, the business file category recorded.
    ASSERT_STREQ(ecr_getVersion(), "1.6.0.0");
    log4c_appender_type_set(&kRecordingType);
    // Made once by log4c's own registry, which frees it when log4c stops.
    log4c_appender_t* appender = log4c_appender_get("testFixedRecorder");
    log4c_appender_set_type(appender, &kRecordingType);
    log4c_category_set_appender(log4c_category_get("businessFile"), appender);

    ASSERT_EQ(ecr_initialize(&ecr), ECR_OK);
    ecr_setProtocol(ecr, 0);
    // A refused link still counts as a link: the commands get as far as
    // building their request.
    ASSERT_EQ(ecr_setTcpIpLink(ecr, "127.0.0.1", zq::test::refusedPort(), 100), ECR_COMM_ERROR);
    const uint8_t amount[] = {0x00, 0x00, 0x12, 0x50};
    ASSERT_EQ(ecr_setTag(ecr, zq::app::tlv::TAG_AMOUNT, amount, sizeof amount), ECR_OK);
    ASSERT_EQ(pr_initPrintoutCtx(&printout), 0u);
  }
  void TearDown() override {
    pr_cleanPrintoutCtx(&printout);
    ecr_cleanup(&ecr);
  }

  EcrCtx_s* ecr = nullptr;
  PrintoutCtx_s* printout = nullptr;
};

TEST_F(AllocationFailureTest, EachFamilyAnswersItsFailureValue) {
  uint8_t bytes[64] = {0x5A, 0x02, 0x11, 0x22};  // one item, 5A 02 1122
  TlvBuffer buffer{};
  TlvStore_s* store = nullptr;
  tlv_init(&store);
  ASSERT_NE(store, nullptr);
  const unsigned char storeValue[] = {0x01, 0x02};

  struct Row {
    const char* name;
    std::function<int()> call;  // made while allocations fail
    int expected;
    const char* line;           // business line that says why, if any
    std::function<bool()> unchanged;
  };
  const std::vector<Row> rows = {
      // An item copied from the buffer it goes into is copied out first.
      {"tb_add of a value from its own buffer",
       [&] {
         tb_init(&buffer, bytes, sizeof bytes);
         buffer.length = 4;
         TlvItem item{0x9F02, 2, bytes + 2};
         return tb_add(&buffer, &item, 3);
       },
       -1, "tb_add failed: std::bad_alloc", [&] { return buffer.length == 4; }},
      {"tb_addbuf from its own buffer", [&] { return tb_addbuf(&buffer, bytes, 4, 1); }, -1,
       "tb_addbuf failed: std::bad_alloc", [&] { return buffer.length == 4; }},
      {"tb_rename", [&] { return tb_rename(&buffer, 0x5A, 0x9F02); }, -1, "tb_rename failed: std::bad_alloc",
       [&] { return buffer.length == 4 && bytes[0] == 0x5A; }},
      {"addTag", [&] { return addTag(store, 0x9F02, storeValue, sizeof storeValue); }, TLV_CORRUPTED,
       "Out of memory in TLV store", [&] { return findTag(store, 0x9F02) == TLV_TAG_MISSING; }},
      {"setBuffer", [&] { return setBuffer(store, bytes, 4); }, TLV_CORRUPTED, "Out of memory in TLV store",
       [&] { return findTag(store, 0x5A) == TLV_TAG_MISSING; }},
      // The store's allocation itself answers NULL rather than throwing.
      {"tlv_init",
       [&] {
         TlvStore_s* another = nullptr;
         tlv_init(&another);
         return another == nullptr ? 0 : 1;
       },
       0, nullptr, [] { return true; }},
      // The first registration makes the store of pointers.
      {"the first cb_set",
       [&] {
         zq::app::callbacks::CallbacksManager::getInstance().setup(nullptr);
         cb_setHandleStatusChange(ignoreStatus);
         return 0;
       },
       0, "cb_setHandleStatusChange failed: std::bad_alloc", [] { return true; }},
      {"ecr_initialize",
       [&] {
         EcrCtx_s* another = nullptr;
         const ecr_status status = ecr_initialize(&another);
         return another == nullptr ? static_cast<int>(status) : -1;
       },
       ECR_ERROR, "ecr_initialize failed: std::bad_alloc", [] { return true; }},
      {"a setter", [&] { return static_cast<int>(ecr_setTransactionTitle(ecr, "Loyalty programme 2024")); },
       ECR_ERROR, "ecr_setTransactionTitle failed: std::bad_alloc", [] { return true; }},
      {"a reader",
       [&] {
         uint8_t value[8];
         size_t length = sizeof value;
         return static_cast<int>(ecr_readTag(ecr, zq::app::tlv::TAG_AMOUNT, value, &length));
       },
       ECR_ERROR, "ecr_readTag failed: std::bad_alloc", [] { return true; }},
      {"a command", [&] { return static_cast<int>(ecr_getTerminalStatus(ecr)); }, ECR_ERROR,
       "ecr_getTerminalStatus failed: std::bad_alloc", [&] {
         uint32_t code = 99;
         ecr_getLastReturnCode(ecr, &code);
         return code == 0;
       }},
      {"ecr_setProtocol",
       [&] {
         ecr_setProtocol(ecr, 0);
         return 0;
       },
       0, "ecr_setProtocol failed: std::bad_alloc",
       [&] {
         // The old protocol, with its store, is still there.
         char amount[13] = {};
         return ecr_readTransactionAmount(ecr, amount) == ECR_OK && std::string(amount) == "1250";
       }},
      {"pr_initPrintoutCtx",
       [&] {
         PrintoutCtx_s* another = nullptr;
         const uint32_t status = pr_initPrintoutCtx(&another);
         return another == nullptr ? static_cast<int>(status) : -1;
       },
       1, "pr_initPrintoutCtx failed: std::bad_alloc", [] { return true; }},
      {"a printout", [&] { return static_cast<int>(pr_prepareTransactionPrintout(printout, ecr, false)); }, 1,
       "pr_prepareTransactionPrintout failed: std::bad_alloc", [&] { return pr_getNumberOfLines(printout) == 0; }},
      {"pr_setDictionaryPhrase",
       [&] {
         pr_setDictionaryPhrase(PR_DICT_DATE, "Data transakcji (dzien)");
         return 0;
       },
       0, "pr_setDictionaryPhrase failed: std::bad_alloc",
       [] { return zq::app::printouts::PrintDictionary::phrase(PR_DICT_DATE) != "Data transakcji (dzien)"; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    int answer = -100;
    {
      const FailingAllocations failing;
      answer = row.call();
    }
    EXPECT_EQ(answer, row.expected);
    if (row.line != nullptr) {
      EXPECT_TRUE(recorded(row.line)) << row.line;
    }
    EXPECT_TRUE(row.unchanged());
  }
  // The registration that failed left nothing half done: the next one works.
  cb_setHandleBusLog(countHostLine);
  EXPECT_TRUE(zq::app::callbacks::CallbacksManager::getInstance().ready());
  gHostLines = 0;
  logBusInfo("After the failures");
  EXPECT_EQ(gHostLines, 1);
  tlv_clean(&store);
}

// A line that cannot be rendered for the host is dropped for the host
// alone: the file category still gets it, and the caller goes on.
TEST_F(AllocationFailureTest, ALogLineWithoutMemoryIsDroppedForTheHostOnly) {
  cb_setHandleBusLog(countHostLine);
  // Longer than any line so far, so that its rendering needs new memory.
  const std::string longLine(900, 'x');
  gHostLines = 0;
  {
    const FailingAllocations failing;
    logBusInfo("%s", longLine.c_str());
  }
  EXPECT_EQ(gHostLines, 0);
  EXPECT_TRUE(recorded(longLine.substr(0, Recorded::kLength - 1)));
  logBusInfo("%s", longLine.c_str());
  EXPECT_EQ(gHostLines, 1);
}

}  // namespace
