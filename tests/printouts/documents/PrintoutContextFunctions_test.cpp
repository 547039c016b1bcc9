// The printout functions that need no terminal, through their exported
// names: the context's life, the settings and their refusals, and reading
// the lines out.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/EcrTestHelpers.h"
#include "printouts/engine/EngineState.h"
#include "printouts/engine/FiscalFormat.h"
#include "printouts/engine/PrintDictionary.h"
#include "printouts/engine/PrintoutCtx.h"
#include "zumbra_ecr.h"
#include "zumbra_printout.h"

namespace {

using zq::app::printouts::FiscalFormat;
using zq::app::printouts::PrintDictionary;
using zq::app::printouts::RawLineTexts;
using zq::test::hostLinesWith;
using zq::test::journal;

class PrintoutFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zq::test::recordHostLogs();
    ecr_getVersion();  // the loggers start with the first terminal function
    ASSERT_EQ(pr_initPrintoutCtx(&ctx), 0u);
    journal().clear();
  }
  void TearDown() override { pr_cleanPrintoutCtx(&ctx); }

  size_t busCount(const std::string& message) const { return hostLinesWith("bus", message).size(); }

  EngineState engine;
  PrintoutCtx_s* ctx = nullptr;
};

TEST_F(PrintoutFunctionsTest, InitOverANonNullHandleWarnsAndLeavesTheOldContextAlone) {
  PrintoutCtx_s* const first = ctx;
  EXPECT_EQ(pr_initPrintoutCtx(&ctx), 0u);
  EXPECT_NE(ctx, first);
  EXPECT_EQ(busCount("Pointer to printout context not NULL, make sure resources do not leak"), 1u);
  EXPECT_EQ(busCount("Initialize printout context"), 1u);
  // A fresh context, and the one the line adders follow now.
  EXPECT_EQ(ctx->normalLineLen, 64u);
  EXPECT_EQ(ctx->smallLineLen, 64u);
  EXPECT_EQ(ctx->bigLineLen, 64u);
  EXPECT_TRUE(ctx->lines.empty());
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(std::string("x")));
  EXPECT_EQ(ctx->lines.size(), 1u);
  EXPECT_TRUE(first->lines.empty());
  PrintoutCtx_s* old = first;
  pr_cleanPrintoutCtx(&old);  // the host's to free
  EXPECT_EQ(old, nullptr);

  EXPECT_EQ(pr_initPrintoutCtx(nullptr), 1u);
}

TEST_F(PrintoutFunctionsTest, CleanDestroysAndForgetsTheContext) {
  pr_cleanPrintoutCtx(&ctx);
  EXPECT_EQ(ctx, nullptr);
  // The adders are unbound: lines go nowhere, and nothing fails.
  PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts(std::string("x")));
  pr_cleanPrintoutCtx(&ctx);
  EXPECT_EQ(ctx, nullptr);
  pr_cleanPrintoutCtx(nullptr);
  EXPECT_EQ(busCount("Clean printout context"), 3u);
}

TEST_F(PrintoutFunctionsTest, LineLengthsUpTo64AreTakenLargerOnesRefused) {
  using Setter = uint32_t (*)(PrintoutCtx_s*, uint32_t);
  const struct {
    const char* name;
    Setter set;
    uint32_t PrintoutCtx_s::*field;
  } setters[] = {
      {"normal", pr_setNormalLineLen, &PrintoutCtx_s::normalLineLen},
      {"small", pr_setSmallLineLen, &PrintoutCtx_s::smallLineLen},
      {"big", pr_setBigLineLen, &PrintoutCtx_s::bigLineLen},
  };
  const struct {
    uint32_t len;
    uint32_t code;
    uint32_t after;  // starting from 40
  } cases[] = {{64, 0, 64}, {0, 0, 0}, {65, 3, 40}, {0xFFFFFFFFu, 3, 40}};
  for (const auto& s : setters) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(s.name) + " " + std::to_string(c.len));
      ctx->*s.field = 40;
      journal().clear();
      EXPECT_EQ(s.set(ctx, c.len), c.code);
      EXPECT_EQ(ctx->*s.field, c.after);
      EXPECT_EQ(busCount("Provided line length " + std::to_string(c.len) + " exceeds max line len 64"),
                c.code == 3 ? 1u : 0u);
    }
  }
  journal().clear();
  for (const auto& s : setters) EXPECT_EQ(s.set(nullptr, 30), 1u) << s.name;
  EXPECT_EQ(busCount("NULL CTX argument provided"), 3u);
}

TEST_F(PrintoutFunctionsTest, DictionaryIsSetPairByPairOrNotAtAll) {
  const pr_Dictionary ids[] = {PR_DICT_SALE, static_cast<pr_Dictionary>(500)};
  const char* texts[] = {"SALE", "Own phrase", "third"};
  const char* withNull[] = {"SALE", nullptr};

  EXPECT_EQ(pr_setupDictionary(ids, 2, texts, 3), 3u);
  EXPECT_EQ(busCount("Number of provided phrases (2) does not match number of texts (3)"), 1u);
  EXPECT_EQ(pr_setupDictionary(ids, 2, withNull, 2), 3u);
  EXPECT_EQ(pr_setupDictionary(nullptr, 2, texts, 2), 3u);
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SALE), "SPRZEDA\xAF");
  EXPECT_EQ(PrintDictionary::phrase(static_cast<pr_Dictionary>(500)), "");

  EXPECT_EQ(pr_setupDictionary(nullptr, 0, nullptr, 0), 0u);
  EXPECT_EQ(pr_setupDictionary(ids, 2, texts, 2), 0u);
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SALE), "SALE");
  EXPECT_EQ(PrintDictionary::phrase(static_cast<pr_Dictionary>(500)), "Own phrase");
  EXPECT_EQ(busCount("Set phrase 0x1F4 to Own phrase"), 1u);

  pr_setDictionaryPhrase(PR_DICT_SALE, "SPRZEDAZ");
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SALE), "SPRZEDAZ");
  pr_setDictionaryPhrase(PR_DICT_SALE, nullptr);
  EXPECT_EQ(PrintDictionary::phrase(PR_DICT_SALE), "SPRZEDAZ");
}

TEST_F(PrintoutFunctionsTest, FiscalLinesAndSwitchesAreProcessWide) {
  pr_setFiscalFormatLine(PR_FISCAL_GENERIC, pr_FiscalFormatLine{15, 40});
  EXPECT_EQ(FiscalFormat::getInstance().getId(PR_FISCAL_GENERIC), 15u);
  EXPECT_EQ(FiscalFormat::getInstance().getLen(PR_FISCAL_GENERIC), 40u);
  pr_setFiscalFormatLine(static_cast<pr_FiscalFormatId>(77), pr_FiscalFormatLine{3, 9});
  EXPECT_EQ(FiscalFormat::getInstance().getId(static_cast<pr_FiscalFormatId>(77)), 3u);

  pr_setHidingAddress(true);
  EXPECT_TRUE(PrintoutCtx_s::hideAddress_);
  pr_setUsingSignatureVerifiedLine(true);
  EXPECT_TRUE(PrintoutCtx_s::useSignatureVerifiedLine_);
  pr_setHidingAddress(false);
  EXPECT_FALSE(PrintoutCtx_s::hideAddress_);
  EXPECT_EQ(busCount("Setting hiding address to true"), 1u);
  EXPECT_EQ(busCount("Setting hiding address to false"), 1u);
  EXPECT_EQ(busCount("Setting using Signature Verified Line to true"), 1u);
}

TEST_F(PrintoutFunctionsTest, LinesAreHandedOutInOrderUntilNoneIsLeft) {
  for (int i = 0; i < 30; ++i) {
    PrintoutCtx_s::addStandardSimpleLeftLineToCtx(RawLineTexts("line " + std::to_string(i)));
  }
  EXPECT_EQ(pr_getNumberOfLines(ctx), 30u);
  EXPECT_EQ(busCount("Lines available for printing: 30"), 1u);
  for (uint32_t i = 0; i < 30; ++i) {
    pr_Line line;
    std::memset(&line, 0xA5, sizeof line);
    ASSERT_EQ(pr_getNextLine(ctx, &line), 0u);
    EXPECT_EQ(std::memcmp(&line, &ctx->lines[i], sizeof line), 0) << i;
    EXPECT_EQ(pr_getNumberOfLines(ctx), 30u);  // reading changes no line
  }
  EXPECT_EQ(busCount("Extracting printing line 29"), 1u);
  pr_Line untouched;
  std::memset(&untouched, 0xA5, sizeof untouched);
  const pr_Line copy = untouched;
  EXPECT_EQ(pr_getNextLine(ctx, &untouched), 5u);
  EXPECT_EQ(pr_getNextLine(ctx, &untouched), 5u);
  EXPECT_EQ(std::memcmp(&untouched, &copy, sizeof copy), 0);
  EXPECT_EQ(ctx->nextLine, 30u);
  EXPECT_EQ(busCount("No more lines available for printing"), 2u);

  EXPECT_EQ(pr_getNextLine(nullptr, &untouched), 1u);
  ctx->nextLine = 0;
  EXPECT_EQ(pr_getNextLine(ctx, nullptr), 1u);
  EXPECT_EQ(ctx->nextLine, 0u);
  EXPECT_EQ(pr_getNumberOfLines(nullptr), 0u);
  EXPECT_EQ(busCount("Printout context not initialized, unable to extract number of lines"), 1u);
}

}  // namespace
