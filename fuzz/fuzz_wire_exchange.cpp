// One request and its reply as they cross the wire: the terminal's stream,
// in pieces, its frames with their correct LRC, through the Link into the
// reply parser of the message the first byte picks, and for "41" the raw
// template after it.
#include <functional>

#include "fuzz/ReplyFuzzing.h"
#include "link/Link.h"
#include "link/ScriptedComm.h"
#include "link/StxEtxLinkLayer.h"
#include "protocol/BatchSummaryReadMessage.h"
#include "protocol/EndDataReadMessage.h"
#include "protocol/GeneralInformationMessage.h"
#include "protocol/GeneralReportGenerate.h"
#include "protocol/GetEvoucherOpMessage.h"
#include "protocol/LastTransactionDataMessage.h"
#include "protocol/SingleTranFromBatchMessage.h"
#include "protocol/StatusReadMessage.h"
#include "protocol/SummaryMessage.h"
#include "protocol/TalvorenCommand.h"
#include "protocol/TransAnalTransDetails.h"

using namespace zq::app;
using namespace zq::app::protocols;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  const uint8_t choice = in.byte();
  zq::fuzz::Library library;
  MaintenanceSubCtx& m = library.maintenance();
  TransactionSubCtx& t = library.transaction();
  ReportSubCtx& r = library.report();
  const std::function<TalvorenMessageInterface*()> makers[] = {
      [&] { return new StatusReadMessage(m); },
      [&] { return new EndDataReadMessage(m, t); },
      [&] { return new SingleTranFromBatchMessage(m, t); },
      [&] { return new BatchSummaryReadMessage(m, r); },
      [&] { return new GeneralInformationMessage(m); },
      [&] { return new LastTransactionDataMessage(m, t); },
      [&] { return new TransRepGenerate(m, r); },
      [&] { return new TransRepGetCardsetSummary(m, r); },
      [&] { return new TransAnalTransDetails(m, t); },
      [&] { return new TransDccAnalCurrencySummary(m, r); },
      [&] { return new GetEvoucherOpMessage(m, t); },
  };
  const size_t count = sizeof makers / sizeof makers[0];

  auto* comm = new zq::test::ScriptedComm();
  for (const zq::fuzz::Bytes& piece : zq::fuzz::withCheckedFrames(in.pieces())) {
    comm->deliver(piece);
  }
  link::Link link(new link::StxEtxLrcNoAckLinkLayer(), comm, 4096);
  link.open();
  TalvorenCommand command(makers[choice % count]());
  if (command.exchange(link, TalvorenCommand::SHORT_DELAY).isOk() && choice % count == count - 1) {
    command.get_extra_data(link, TalvorenCommand::NO_DELAY);
  }
  return 0;
}
