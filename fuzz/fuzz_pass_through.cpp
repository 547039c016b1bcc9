// The host's raw exchange: its bytes go out as they are and whatever frame
// the terminal answers with comes back, over a Link on a scripted transport.
// Input: the request piece, then the terminal's stream in pieces, whose
// frames get their correct LRC.
#include "fuzz/ReplyFuzzing.h"
#include "link/Link.h"
#include "link/ScriptedComm.h"
#include "link/StxEtxLinkLayer.h"
#include "protocol/PassThroughMessage.h"
#include "protocol/TalvorenCommand.h"

using namespace zq::app;
using namespace zq::app::protocols;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  zq::fuzz::Library library;
  library.maintenance().setCustomData(in.piece());
  auto* comm = new zq::test::ScriptedComm();
  for (const zq::fuzz::Bytes& piece : zq::fuzz::withCheckedFrames(in.pieces())) {
    comm->deliver(piece);
  }
  link::Link link(new link::StxEtxLrcNoAckLinkLayer(), comm, 4096);
  link.open();
  for (int i = 0; i < 3 && !comm->receives.empty(); ++i) {
    TalvorenCommand command(new PassThroughMessage(library.maintenance()));
    command.exchange(link, i ? TalvorenCommand::SHORT_DELAY : TalvorenCommand::NO_DELAY);
  }
  return 0;
}
