// Cost of framing on the terminal link: building and stripping a frame, and
// cutting a frame out of received bytes that also hold noise. One iteration is
// one frame, so the reported time is nanoseconds per frame.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "link/BufferedInputStream.h"
#include "link/CommInterface.h"
#include "link/StxEtxLinkLayer.h"

namespace {

using zq::app::comm::CommResult;
using Bytes = std::vector<uint8_t>;

Bytes payload(size_t size) {
  Bytes bytes(size);
  // Printable message bytes, as the terminal's messages are: no STX or ETX inside.
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>('0' + i % 40);
  return bytes;
}

void BM_BuildFrame(benchmark::State& state) {
  const zq::app::link::StxEtxLrcNoAckLinkLayer layer;
  const Bytes message = payload(static_cast<size_t>(state.range(0)));
  Bytes data;
  data.reserve(message.size() + 3);
  for (auto _ : state) {
    data.assign(message.begin(), message.end());
    layer.build(data);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_BuildFrame)->Arg(100)->Arg(1024);

void BM_ExtractFrame(benchmark::State& state) {
  const zq::app::link::StxEtxLrcNoAckLinkLayer layer;
  Bytes frame = payload(static_cast<size_t>(state.range(0)));
  layer.build(frame);
  Bytes data;
  data.reserve(frame.size());
  for (auto _ : state) {
    data.assign(frame.begin(), frame.end());
    auto result = layer.extract(data);
    benchmark::DoNotOptimize(result.first);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ExtractFrame)->Arg(100)->Arg(1024);

// A transport that hands out the same received chunk on every receive, with
// none of the logging of a real one: only the input stream's work is timed.
class RepeatingComm : public zq::app::comm::CommInterface {
 public:
  explicit RepeatingComm(Bytes chunk) : chunk_(std::move(chunk)) {}
  CommResult open() override { return CommResult(); }
  CommResult recv(Bytes& data, uint32_t) override { return recv(data); }
  CommResult recv(Bytes& data) override {
    data = chunk_;
    return CommResult();
  }
  bool isOpen() const override { return true; }
  CommResult setDefaultTimeout(uint32_t) override { return CommResult(); }
  uint32_t getDefaultTimeout() override { return 0; }
  std::string getMediumName() const override { return "memory"; }

 protected:
  CommResult recvInternal(Bytes& data) override { return recv(data); }
  std::string getNotOpenedMessage() const override { return ""; }
  void closeInternal() override {}
  CommResult sendInternal(const Bytes&) override { return CommResult(); }
  CommResult recvInternal(Bytes& data, uint32_t) override { return recv(data); }

 private:
  Bytes chunk_;
};

void BM_LocateFrameAmongNoise(benchmark::State& state) {
  const zq::app::link::StxEtxLrcNoAckLinkLayer layer;
  Bytes frame = payload(static_cast<size_t>(state.range(0)));
  layer.build(frame);
  // Line noise before the frame, with ETX bytes in it that must not end anything.
  Bytes chunk = {0x55, 0x03, 0xFF, 0x00, 0x03, 0x41, 0x15, 0x04};
  chunk.insert(chunk.end(), 56, 0x55);
  chunk.insert(chunk.end(), frame.begin(), frame.end());
  RepeatingComm comm(chunk);
  zq::app::link::BufferedInputStream input(65536);
  input.setup(comm);
  const auto& locator = layer.getFrameLocator();
  for (auto _ : state) {
    CommResult result = input.recvFrame(locator, 0);
    if (!result.isOk()) state.SkipWithError("no frame found");
    benchmark::DoNotOptimize(input.getReceivedData().size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * chunk.size()));
}
BENCHMARK(BM_LocateFrameAmongNoise)->Arg(100)->Arg(1024);

}  // namespace
