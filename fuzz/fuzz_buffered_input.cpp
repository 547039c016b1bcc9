// The receive side over a transport that hands the bytes over in pieces:
// frames, control replies and raw blocks cut from a small ring that fills,
// wraps and overflows.
#include "fuzz/FuzzSupport.h"
#include "link/BufferedInputStream.h"
#include "link/FrameLocator.h"
#include "link/ScriptedComm.h"
#include "link/StxEtxLinkLayer.h"

using namespace zq::app::link;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  zq::fuzz::startLibrary();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zq::fuzz::Input in(data, size);
  const size_t capacity = 8 + in.byte();
  const uint8_t reads = in.byte();
  zq::test::ScriptedComm comm;
  comm.open();
  while (!in.empty()) comm.deliver(in.piece());

  StxEtxLinkLayer acked;
  StxEtxLrcNoAckLinkLayer noAck;
  const FrameLocator* locators[] = {&acked.getFrameLocator(), &acked.getControlCharacterLocator(),
                                    &acked.getEotLocator(), &noAck.getControlCharacterLocator()};
  BufferedInputStream input(capacity);
  input.setup(comm);
  // Two bits a read: which locator, or a raw block.
  for (unsigned i = 0; i < 8 && !comm.receives.empty(); ++i) {
    const unsigned choice = (reads >> ((i % 4) * 2)) & 3;
    if (i >= 4) {
      input.recvRawData(choice * 7 + 1, 0);
    } else if (i % 2) {
      input.recvFrameWithOneTry(*locators[choice], 0);
    } else {
      input.recvFrame(*locators[choice], 0);
    }
    if (input.bufferedSize() > capacity) __builtin_trap();
  }
  return 0;
}
