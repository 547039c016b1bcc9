// The report replies: the range of a generated report ("30", "33", "36")
// and the summaries read from it ("31", "32", "35", "37", "38").
#include "fuzz/ReplyFuzzing.h"
#include "protocol/GeneralReportGenerate.h"
#include "protocol/SummaryMessage.h"

using namespace zq::app::protocols;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Library library;
  const zq::fuzz::Bytes reply(data, data + size);
  ReportSubCtx& report = library.report();
  library.parse<TransRepGenerate>(reply, report);
  library.parse<TransAnalGenerate>(reply, report);
  library.parse<TransDccAnalGenerate>(reply, report);
  library.parse<TransRepGetCardsetSummary>(reply, report);
  library.parse<TransRepGetTotalSummary>(reply, report);
  library.parse<TransAnalTotalSummary>(reply, report);
  library.parse<TransDccAnalCurrencySummary>(reply, report);
  library.parse<TransDccAnalTotalSummary>(reply, report);
  return 0;
}
