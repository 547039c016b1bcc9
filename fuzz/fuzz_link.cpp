// A Link over a scripted transport: every received stream of bytes, cut into
// pieces, through frame location, the LRC check, the answer to a damaged
// frame and the reconnection on EOT. Input: the mode byte, a byte whose bit i
// lets frame i keep the check byte the input gave (the others get their
// correct LRC), then the stream in pieces.
#include "fuzz/FuzzSupport.h"
#include "link/Link.h"
#include "link/ScriptedComm.h"
#include "link/StxEtxLinkLayer.h"

using namespace zq::app::link;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  const uint8_t mode = in.byte();
  const uint8_t keepAsGiven = in.byte();
  auto* comm = new zq::test::ScriptedComm();
  for (const zq::fuzz::Bytes& piece : zq::fuzz::withCheckedFrames(in.pieces(), keepAsGiven)) {
    comm->deliver(piece);
  }
  LinkLayerInterface* layer =
      (mode & 1) ? static_cast<LinkLayerInterface*>(new StxEtxLinkLayer())
                 : static_cast<LinkLayerInterface*>(new StxEtxLrcNoAckLinkLayer());
  Link link(layer, comm, 64 + (mode >> 1) * 16);
  link.set_protect_data_after_frame(mode & 2);
  link.open();
  for (unsigned i = 0; i < 6 && !comm->receives.empty(); ++i) {
    std::vector<uint8_t> request = {'2', '0', 0x1C, '1'};
    if ((mode >> 2) & (1u << (i % 4))) {
      link.sendWithMonitor(request);
    }
    std::vector<uint8_t> message;
    if (i == 5) {
      link.recv_raw(message, mode, 0);
    } else {
      link.recv(message, 0);
    }
  }
  // The layers' own checks on the whole input as one frame.
  std::vector<uint8_t> frame(data, data + size);
  StxEtxLinkLayer acked;
  StxEtxLrcNoAckLinkLayer noAck;
  acked.checkReply(frame);
  noAck.checkReply(frame);
  std::vector<uint8_t> copy = frame;
  acked.extract(copy);
  noAck.extract(frame);
  return 0;
}
