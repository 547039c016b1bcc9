// The TLV buffer functions on caller memory: item parsing, the finders, and
// the edits of a fixed-capacity buffer, byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "LogRecorder.h"
#include "core/Logger.h"
#include "core/zumbra_tlv_buffer.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes filled(size_t count, uint8_t value) { return Bytes(count, value); }

// A buffer over owned memory, with a sentinel beyond the capacity so that a
// write past it shows.
class Buffer {
 public:
  explicit Buffer(uint16_t capacity, const Bytes& content = {}) : memory(capacity + 8u, 0xEE) {
    tb_init(&tb, memory.data(), capacity);
    if (!content.empty()) std::memcpy(memory.data(), content.data(), content.size());
    tb.length = static_cast<uint16_t>(content.size());
  }
  Bytes used() const { return Bytes(memory.begin(), memory.begin() + tb.length); }
  bool sentinelIntact() const {
    for (size_t i = tb.capacity; i < memory.size(); ++i)
      if (memory[i] != 0xEE) return false;
    return true;
  }
  TlvBuffer tb{};

 private:
  Bytes memory;
};

int add(TlvBuffer* tb, uint16_t tag, const Bytes& value, int mode) {
  TlvItem item{tag, static_cast<uint16_t>(value.size()), value.data()};
  return tb_add(tb, &item, mode);
}

TEST(TlvBufferEncodingTest, WritesTheShortestLengthFormAndReadsItBack) {
  struct Case {
    uint16_t tag;
    size_t length;
    Bytes header;
  };
  const Case cases[] = {
      {0x9F02, 6, {0x9F, 0x02, 0x06}},
      {0x9C, 127, {0x9C, 0x7F}},
      {0x9C, 128, {0x9C, 0x81, 0x80}},
      {0x9C, 200, {0x9C, 0x81, 0xC8}},
      {0x9C, 255, {0x9C, 0x81, 0xFF}},
      {0x5F2A, 256, {0x5F, 0x2A, 0x82, 0x01, 0x00}},
      {0x5F2A, 300, {0x5F, 0x2A, 0x82, 0x01, 0x2C}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    Buffer buffer(1024);
    const Bytes value = filled(c.length, 0x5A);
    ASSERT_EQ(add(&buffer.tb, c.tag, value, 0), 1);
    EXPECT_EQ(buffer.used(), c.header + value);

    const Bytes written = buffer.used();
    TlvItem item{};
    ASSERT_EQ(tlv_parseTLV(written.data(), static_cast<int>(written.size()), &item), 1);
    EXPECT_EQ(item.tag, c.tag);
    EXPECT_EQ(item.length, c.length);
    EXPECT_EQ(item.value, written.data() + c.header.size());
  }
}

// One table for the three parsers: what tlv_tag, tlv_tlv0 and tlv_parseTLV
// answer for the same bytes.
TEST(TlvBufferParseTest, PaddingTagsAndLengthFormsUpToTheRefusal) {
  struct Case {
    const char* name;
    Bytes data;
    int tagResult, tlv0Result, parseResult;
    uint16_t tag;
    uint16_t length;
    int valueOffset;
  };
  const Case cases[] = {
      {"nothing", {}, 0, 0, 0, 0, 0, 0},
      {"only padding", {0x00, 0x00, 0x00}, 0, 0, 0, 0, 0, 0},
      {"padding before an item", {0x00, 0x00, 0x9C, 0x01, 0x05}, 3, 1, 1, 0x9C, 1, 4},
      {"two-byte tag", {0x9F, 0x02, 0x01, 0xAA}, 2, 1, 1, 0x9F02, 1, 3},
      {"three-byte tag reads as 0", {0x9F, 0xD4, 0x01, 0x01, 0xAA}, 3, 1, 1, 0, 1, 4},
      {"long tag runs to the end", {0x9F, 0x82}, -1, -1, -1, 0, 0, 0},
      {"first tag byte alone", {0x9F}, -1, -1, -1, 0, 0, 0},
      {"no length byte", {0x9C}, 1, -1, -1, 0x9C, 0, 0},
      {"0x80 is length 0", {0x9C, 0x80}, 1, 1, 1, 0x9C, 0, 2},
      {"one length byte", {0x9C, 0x81, 0x02, 0xAA, 0xBB}, 1, 1, 1, 0x9C, 2, 3},
      {"two length bytes", {0x9C, 0x82, 0x00, 0x01, 0xAA}, 1, 1, 1, 0x9C, 1, 4},
      {"length bytes cut short", {0x9C, 0x82, 0x01}, 1, -1, -1, 0x9C, 0, 0},
      {"three length bytes refused", {0x9C, 0x83, 0x00, 0x00, 0x01, 0xAA}, 1, -2, -2, 0x9C, 0, 0},
      {"three length bytes cut short", {0x9C, 0x83, 0x00}, 1, -1, -1, 0x9C, 0, 0},
      {"value past the end", {0x9C, 0x03, 0xAA, 0xBB}, 1, 1, -1, 0x9C, 3, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes before = c.data;
    const int length = static_cast<int>(c.data.size());
    TlvItem item{};
    EXPECT_EQ(tlv_tag(c.data.data(), length, &item), c.tagResult);
    item = TlvItem{};
    EXPECT_EQ(tlv_tlv0(c.data.data(), length, &item), c.tlv0Result);
    item = TlvItem{};
    const int parsed = tlv_parseTLV(c.data.data(), length, &item);
    EXPECT_EQ(parsed, c.parseResult);
    if (parsed == 1) {
      EXPECT_EQ(item.tag, c.tag);
      EXPECT_EQ(item.length, c.length);
      EXPECT_EQ(item.value - c.data.data(), c.valueOffset);
    }
    EXPECT_EQ(c.data, before);
  }
  TlvItem item{};
  const uint8_t data[] = {0x9C, 0x01, 0x05};
  EXPECT_EQ(tlv_parseTLV(data, -1, &item), -1);
}

TEST(TlvBufferParseTest, FirstTagByte) {
  EXPECT_EQ(tlv_tag0(0x9F02), 0x9F);
  EXPECT_EQ(tlv_tag0(0x9C), 0x9C);
  EXPECT_EQ(tlv_tag0(0x0100), 0x01);
}

// Padding, duplicates, a three-byte tag and a constructed item whose inside
// also holds 9C.
const Bytes FIND_FIXTURE = {0x00, 0x9C, 0x01, 0x01,              // 9C #1
                            0x9F, 0x02, 0x01, 0x02,              // 9F02
                            0x9C, 0x01, 0x03,                    // 9C #2
                            0x9F, 0xD4, 0x01, 0x01, 0x04,        // three-byte tag
                            0x7F, 0x01, 0x03, 0x9C, 0x01, 0x09,  // 7F01 { 9C }
                            0x00, 0x00};

TEST(TlvBufferFindTest, CountsTopLevelItemsOnly) {
  struct Case {
    uint16_t tag;
    int n;
    int result;
    uint8_t value;
  };
  const Case cases[] = {
      {0x9C, 1, 1, 0x01}, {0x9C, 0, 1, 0x01}, {0x9C, -3, 1, 0x01}, {0x9C, 2, 1, 0x03},
      {0x9C, 3, 0, 0},  // the 9C inside 7F01 is not counted
      {0x9F02, 1, 1, 0x02}, {0x5A, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.tag << " n=" << std::dec << c.n);
    TlvItem out{1, 1, FIND_FIXTURE.data()};
    EXPECT_EQ(tlv_find_n(FIND_FIXTURE.data(), static_cast<int>(FIND_FIXTURE.size()), c.tag, &out, c.n), c.result);
    if (c.result == 1) {
      EXPECT_EQ(out.tag, c.tag);
      ASSERT_EQ(out.length, 1);
      EXPECT_EQ(out.value[0], c.value);
    } else {
      EXPECT_EQ(out.tag, c.tag);
      EXPECT_EQ(out.length, 0);
      EXPECT_EQ(out.value, nullptr);
    }
  }
}

TEST(TlvBufferFindTest, EdgeInputs) {
  const Bytes padded = {0x00, 0x00, 0x9C, 0x01, 0x05};
  TlvItem out{};
  ASSERT_EQ(tlv_find(padded.data(), 5, 0x9C, &out), 1);
  EXPECT_EQ(out.length, 1);
  EXPECT_EQ(out.value[0], 0x05);

  // Tag 0 and NULL data leave the output as it was.
  TlvItem untouched{7, 7, padded.data()};
  EXPECT_EQ(tlv_find(padded.data(), 5, 0, &untouched), 0);
  EXPECT_EQ(tlv_find(nullptr, 5, 0x9C, &untouched), 0);
  EXPECT_EQ(untouched.tag, 7);
  EXPECT_EQ(untouched.value, padded.data());

  // A corrupt item ends the search; a NULL output is allowed.
  const Bytes corrupt = {0x9C, 0x01, 0x01, 0x9F, 0x02, 0x05, 0xAA};
  EXPECT_EQ(tlv_find(corrupt.data(), 7, 0x9F02, &out), 0);
  EXPECT_EQ(out.value, nullptr);
  EXPECT_EQ(tlv_find(corrupt.data(), 7, 0x9C, nullptr), 1);

  Buffer buffer(16, {0x9C, 0x01, 0x01, 0x9C, 0x01, 0x02});
  EXPECT_EQ(tb_find_n(&buffer.tb, 0x9C, &out, 2), 1);
  EXPECT_EQ(out.value[0], 0x02);
  EXPECT_EQ(tb_find(nullptr, 0x9C, &out), 0);
  EXPECT_EQ(tb_find_n(nullptr, 0x9C, &out, 1), 0);
  // A length beyond the capacity is not trusted.
  buffer.tb.length = 200;
  EXPECT_EQ(tb_find_n(&buffer.tb, 0x9C, &out, 2), 1);
}

// The modes against a buffer where 9C is present (followed by another
// item, to show in-place writes) or absent.
TEST(TlvBufferAddTest, ModesAgainstPresentAndAbsentItems) {
  const Bytes present = {0x9C, 0x01, 0xAA, 0x5A, 0x01, 0xBB};
  const Bytes absent = {0x5A, 0x01, 0xBB};
  const Bytes corrupt = {0x5A, 0x01, 0xBB, 0x9A, 0x05, 0x01};
  const Bytes corrupt9C = {0x9C, 0x01, 0xAA, 0x9A, 0x05, 0x01};
  struct Case {
    const char* name;
    Bytes start;
    int mode;
    Bytes value;
    int result;
    Bytes expected;
  };
  const Case cases[] = {
      {"0 absent appends", absent, 0, {0xEE}, 1, absent + Bytes{0x9C, 0x01, 0xEE}},
      {"0 present refuses", present, 0, {0xEE}, -1, present},
      {"1 same length overwrites in place", present, 1, {0xEE}, 1, {0x9C, 0x01, 0xEE, 0x5A, 0x01, 0xBB}},
      {"1 other length moves to the end", present, 1, {0xEE, 0xFF}, 1, absent + Bytes{0x9C, 0x02, 0xEE, 0xFF}},
      {"1 absent appends", absent, 1, {0xEE}, 1, absent + Bytes{0x9C, 0x01, 0xEE}},
      {"2 present keeps the old item", present, 2, {0xEE}, 0, present},
      {"2 absent appends", absent, 2, {0xEE}, 1, absent + Bytes{0x9C, 0x01, 0xEE}},
      {"3 present appends a duplicate", present, 3, {0xEE}, 1, present + Bytes{0x9C, 0x01, 0xEE}},
      {"unknown mode refuses", absent, 4, {0xEE}, -1, absent},
      {"negative mode refuses", absent, -1, {0xEE}, -1, absent},
      // Behind a corrupt item an appended one could never be found again.
      {"0 behind a corrupt item refuses", corrupt, 0, {0xEE}, -1, corrupt},
      {"1 behind a corrupt item keeps the old one", corrupt9C, 1, {0xEE, 0xFF}, -1, corrupt9C},
      {"1 same length before a corrupt item overwrites in place", corrupt9C, 1, {0xEE}, 1,
       {0x9C, 0x01, 0xEE, 0x9A, 0x05, 0x01}},
      {"2 behind a corrupt item refuses", corrupt, 2, {0xEE}, -1, corrupt},
      {"3 behind a corrupt item refuses", corrupt9C, 3, {0xEE}, -1, corrupt9C},
      {"trailing padding still takes an item", absent + Bytes{0x00, 0x00}, 0, {0xEE}, 1,
       absent + Bytes{0x00, 0x00, 0x9C, 0x01, 0xEE}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Buffer buffer(32, c.start);
    TlvItem item{0x9C, static_cast<uint16_t>(c.value.size()), c.value.data()};
    EXPECT_EQ(tb_add(&buffer.tb, &item, c.mode), c.result);
    EXPECT_EQ(buffer.used(), c.expected);
    if (c.result == 1) {
      // The item now points at its value inside the buffer.
      EXPECT_GE(item.value, buffer.tb.data);
      EXPECT_LT(item.value, buffer.tb.data + buffer.tb.length);
      EXPECT_EQ(Bytes(item.value, item.value + item.length), c.value);
    }
  }
}

TEST(TlvBufferAddTest, DuplicateInModeZeroIsLogged) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  zq::test::recordCategory("developerFile");
  zq::test::journal().clear();
  Buffer buffer(32, {0x9C, 0x01, 0xAA});
  EXPECT_EQ(add(&buffer.tb, 0x9C, {0x01}, 0), -1);
  EXPECT_EQ(zq::test::textsFrom("developerFile"), std::vector<std::string>{"tag=9c duplicated"});
}

TEST(TlvBufferAddTest, RefusesItemsThatWouldNotReadBack) {
  struct Case {
    const char* name;
    uint16_t tag;
    Bytes value;
  };
  const Case cases[] = {
      {"empty value", 0x9C, {}},
      {"tag 0", 0, {0x01}},
      {"one-byte tag announcing more bytes", 0x9F, {0x01}},
      {"two-byte tag announcing a third byte", 0x9F82, {0x01}},
      {"two-byte tag whose first byte stands alone", 0x5A01, {0x01}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Buffer buffer(32, {0x5A, 0x01, 0xBB});
    for (int mode = 0; mode <= 3; ++mode) EXPECT_EQ(add(&buffer.tb, c.tag, c.value, mode), -1);
    EXPECT_EQ(buffer.used(), (Bytes{0x5A, 0x01, 0xBB}));
  }
  TlvItem item{0x9C, 1, nullptr};
  EXPECT_EQ(tb_add(nullptr, &item, 0), -1);
  Buffer buffer(8);
  EXPECT_EQ(tb_add(&buffer.tb, nullptr, 0), -1);
}

TEST(TlvBufferAddTest, CapacityExactFitAndOneOver) {
  struct Case {
    const char* name;
    uint16_t capacity;
    Bytes start;
    uint16_t tag;
    size_t length;
    int mode;
    int result;
  };
  const Bytes item9C = {0x9C, 0x01, 0xAA};
  const Case cases[] = {
      {"short form fits exactly", 5, {}, 0x9C, 3, 0, 1},
      {"short form one over", 4, {}, 0x9C, 3, 0, -1},
      {"long form fits exactly", 206, item9C, 0x5A, 200, 0, 1},
      {"long form one over", 205, item9C, 0x5A, 200, 0, -1},
      {"two length bytes fit exactly", 305, {}, 0x5F2A, 300, 0, 1},
      {"two length bytes one over", 304, {}, 0x5F2A, 300, 0, -1},
      // A new length in mode 1 needs room once the old item is gone; when
      // there is none the old item stays.
      {"replacement fits exactly", 6, item9C, 0x9C, 4, 1, 1},
      {"replacement one over", 5, item9C, 0x9C, 4, 1, -1},
      // Near the top of the 16-bit range the sum must not wrap.
      {"largest value in the largest buffer", 65535, {}, 0x9C, 65535, 0, -1},
      {"largest value that fits", 65535, {}, 0x9C, 65531, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Buffer buffer(c.capacity, c.start);
    const Bytes value = filled(c.length, 0x31);
    EXPECT_EQ(add(&buffer.tb, c.tag, value, c.mode), c.result);
    if (c.result < 0) {
      EXPECT_EQ(buffer.used(), c.start);
    }
    EXPECT_LE(buffer.tb.length, buffer.tb.capacity);
    EXPECT_TRUE(buffer.sentinelIntact());
  }
}

TEST(TlvBufferAddTest, NullValueReservesZeroedRoom) {
  Buffer buffer(16, {0x9C, 0x02, 0xAA, 0xBB});
  TlvItem item{0x5A, 3, nullptr};
  ASSERT_EQ(tb_add(&buffer.tb, &item, 0), 1);
  EXPECT_EQ(buffer.used(), (Bytes{0x9C, 0x02, 0xAA, 0xBB, 0x5A, 0x03, 0x00, 0x00, 0x00}));
  EXPECT_EQ(item.value, buffer.tb.data + 6);
}

TEST(TlvBufferAddTest, ValueTakenFromTheSameBuffer) {
  // Overwriting 5A with the value of an item that moves when 9C is removed.
  Buffer buffer(32, {0x9C, 0x01, 0x01, 0x5A, 0x02, 0xCC, 0xDD});
  TlvItem found{};
  ASSERT_EQ(tb_find(&buffer.tb, 0x5A, &found), 1);
  found.tag = 0x9C;
  ASSERT_EQ(tb_add(&buffer.tb, &found, 1), 1);
  EXPECT_EQ(buffer.used(), (Bytes{0x5A, 0x02, 0xCC, 0xDD, 0x9C, 0x02, 0xCC, 0xDD}));
}

// A value whose bytes share memory with the buffer must be read before the
// old item goes, wherever it starts: the buffer here lies in the middle of a
// larger array, between bytes of the caller's own.
TEST(TlvBufferAddTest, ValuesOverlappingTheBufferAnywhereAreStoredAsTheyWere) {
  constexpr int kBefore = 8;
  constexpr uint16_t kCapacity = 32;
  const Bytes content = {0xDF, 0x01, 0x02, 0xAA, 0xBB, 0x5F, 0x20, 0x03, 0xC1, 0xC2, 0xC3};
  struct Case {
    const char* name;
    int offset;  // of the value's first byte from the buffer's first byte
    uint16_t length;
  };
  const Case cases[] = {
      {"before, ending where the buffer starts", -4, 4},
      {"straddling the start", -4, 8},
      {"straddling the start by one byte", -1, 3},
      {"inside the items", 3, 4},
      {"inside, past the used bytes", 20, 4},
      {"straddling the end", 28, 8},
      {"after, starting where the buffer ends", 32, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes memory(kBefore + kCapacity + 8);
    for (size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<uint8_t>(0x40 + i);
    uint8_t* data = memory.data() + kBefore;
    std::memcpy(data, content.data(), content.size());
    TlvBuffer tb{};
    tb_init(&tb, data, kCapacity);
    tb.length = static_cast<uint16_t>(content.size());
    const uint8_t* source = data + c.offset;
    const Bytes value(source, source + c.length);

    // Another length than the stored item's: the old item is removed, the
    // items behind it move down, and the new one is appended.
    TlvItem item{0xDF01, c.length, source};
    EXPECT_EQ(tb_add(&tb, &item, 1), 1);
    EXPECT_EQ(Bytes(data, data + tb.length),
              (Bytes{0x5F, 0x20, 0x03, 0xC1, 0xC2, 0xC3, 0xDF, 0x01, static_cast<uint8_t>(c.length)} + value));
    TlvItem found{};
    ASSERT_EQ(tb_find(&tb, 0xDF01, &found), 1);
    EXPECT_EQ(Bytes(found.value, found.value + found.length), value);
  }
}

TEST(TlvBufferDeleteTest, RemovesTheNthItemAndMovesTheRestDown) {
  const Bytes start = {0x9C, 0x01, 0x01, 0x00, 0x9F, 0x02, 0x01, 0x02, 0x9C, 0x01, 0x03, 0x5A, 0x01, 0x04};
  struct Case {
    uint16_t tag;
    int n;
    int result;
    Bytes expected;
  };
  const Case cases[] = {
      {0x9C, 2, 1, {0x9C, 0x01, 0x01, 0x00, 0x9F, 0x02, 0x01, 0x02, 0x5A, 0x01, 0x04}},
      {0x9C, 1, 1, {0x00, 0x9F, 0x02, 0x01, 0x02, 0x9C, 0x01, 0x03, 0x5A, 0x01, 0x04}},
      // Padding before an item is not part of it.
      {0x9F02, 1, 1, {0x9C, 0x01, 0x01, 0x00, 0x9C, 0x01, 0x03, 0x5A, 0x01, 0x04}},
      {0x9C, 3, 0, start},
      {0x9A, 1, 0, start},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.tag << " n=" << c.n);
    Buffer buffer(32, start);
    EXPECT_EQ(tb_del_n(&buffer.tb, c.tag, c.n), c.result);
    EXPECT_EQ(buffer.used(), c.expected);
  }
  Buffer buffer(32, start);
  EXPECT_EQ(tb_del(&buffer.tb, 0x5A), 1);
  EXPECT_EQ(buffer.used(), Bytes(start.begin(), start.end() - 3));
  EXPECT_EQ(tb_del(nullptr, 0x9C), 0);
  EXPECT_EQ(tb_del_n(nullptr, 0x9C, 1), 0);
}

TEST(TlvBufferAddBufTest, AddsItemsUntilTheEndOrTheFirstError) {
  const Bytes present = {0x9C, 0x01, 0xAA};
  struct Case {
    const char* name;
    Bytes data;
    int mode;
    int result;
    Bytes expected;
  };
  const Case cases[] = {
      {"all items", {0x00, 0x5A, 0x01, 0x01, 0x9A, 0x01, 0x02}, 0, 0, present + Bytes{0x5A, 0x01, 0x01, 0x9A, 0x01, 0x02}},
      {"duplicate stops in mode 0", {0x5A, 0x01, 0x01, 0x9C, 0x01, 0x02, 0x9A, 0x01, 0x03}, 0, -1,
       present + Bytes{0x5A, 0x01, 0x01}},
      {"duplicate kept in mode 2", {0x9C, 0x01, 0x02, 0x9A, 0x01, 0x03}, 2, 0, present + Bytes{0x9A, 0x01, 0x03}},
      {"duplicate overwritten in mode 1", {0x9C, 0x01, 0x02}, 1, 0, {0x9C, 0x01, 0x02}},
      {"parse error keeps the items before", {0x5A, 0x01, 0x01, 0x9A, 0x83, 0, 0, 1, 0}, 0, -2,
       present + Bytes{0x5A, 0x01, 0x01}},
      {"value past the end", {0x5A, 0x05, 0x01}, 0, -1, present},
      {"empty value is refused", {0x5A, 0x00, 0x9A, 0x01, 0x01}, 0, -1, present},
      {"no data", {}, 0, 0, present},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Buffer buffer(32, present);
    EXPECT_EQ(tb_addbuf(&buffer.tb, c.data.data(), static_cast<int>(c.data.size()), c.mode), c.result);
    EXPECT_EQ(buffer.used(), c.expected);
  }
  const Bytes one = {0x5A, 0x01, 0x01};
  EXPECT_EQ(tb_addbuf(nullptr, one.data(), 3, 0), -1);

  // Adding a buffer to itself in mode 3 doubles it.
  Buffer buffer(32, {0x5A, 0x01, 0x01, 0x9A, 0x01, 0x02});
  EXPECT_EQ(tb_addbuf(&buffer.tb, buffer.tb.data, buffer.tb.length, 3), 0);
  EXPECT_EQ(buffer.used(), (Bytes{0x5A, 0x01, 0x01, 0x9A, 0x01, 0x02, 0x5A, 0x01, 0x01, 0x9A, 0x01, 0x02}));
}

TEST(TlvBufferLifecycleTest, InitAllocCopyFree) {
  TlvBuffer tb{};
  tb_init(&tb, nullptr, 64);
  // Without memory there is no room to write into.
  EXPECT_EQ(tb.capacity, 0);
  EXPECT_EQ(add(&tb, 0x9C, {0x01}, 0), -1);
  tb_init(nullptr, nullptr, 0);
  tb_alloc(nullptr, 10);

  TlvBuffer source{};
  tb_alloc(&source, 10);
  ASSERT_NE(source.data, nullptr);
  EXPECT_EQ(source.capacity, 10);
  EXPECT_EQ(source.length, 0);
  ASSERT_EQ(add(&source, 0x9C, {0x01, 0x02}, 0), 1);

  struct Case {
    uint16_t sourceCapacity;
    uint16_t allocated;
  };
  for (const Case& c : {Case{10, 1024}, Case{2000, 2000}}) {
    TlvBuffer src{};
    tb_alloc(&src, c.sourceCapacity);
    ASSERT_EQ(add(&src, 0x9C, {0x01, 0x02}, 0), 1);
    TlvBuffer dst{};
    EXPECT_EQ(tb_copy(&dst, &src), 4);
    EXPECT_EQ(dst.capacity, c.allocated);
    EXPECT_EQ(Bytes(dst.data, dst.data + dst.length), (Bytes{0x9C, 0x02, 0x01, 0x02}));
    tb_free(&src);
    tb_free(&dst);
  }

  uint8_t small[3];
  TlvBuffer tooSmall{};
  tb_init(&tooSmall, small, sizeof small);
  EXPECT_EQ(tb_copy(&tooSmall, &source), -1);
  EXPECT_EQ(tooSmall.length, 0);
  EXPECT_EQ(tb_copy(nullptr, &source), -1);
  EXPECT_EQ(tb_copy(&tooSmall, nullptr), -1);

  tb_free(&source);
  EXPECT_EQ(source.data, nullptr);
  EXPECT_EQ(source.capacity, 0);
  EXPECT_EQ(source.length, 0);
  tb_free(&source);
  tb_free(nullptr);
}

TEST(TlvBufferRenameTest, GivesTheItemTheNewTag) {
  const Bytes start = {0x9C, 0x01, 0xAA, 0x5A, 0x02, 0xBB, 0xCC};
  struct Case {
    const char* name;
    Bytes start;
    uint16_t oldTag, newTag;
    int result;
    Bytes expected;
  };
  const Case cases[] = {
      {"renamed item goes to the end", start, 0x5A, 0x9A, 1, {0x9C, 0x01, 0xAA, 0x9A, 0x02, 0xBB, 0xCC}},
      {"two-byte new tag", start, 0x9C, 0x5F2A, 1, {0x5A, 0x02, 0xBB, 0xCC, 0x5F, 0x2A, 0x01, 0xAA}},
      {"absent old tag", start, 0x9A, 0x9B, 0, start},
      {"same tag", start, 0x5A, 0x5A, 1, start},
      {"refused new tag changes nothing", start, 0x5A, 0x9F, -1, start},
      {"renamed item would land behind a corrupt item", {0x5A, 0x02, 0xBB, 0xCC, 0x9A, 0x05, 0x01}, 0x5A, 0x9C, -1,
       {0x5A, 0x02, 0xBB, 0xCC, 0x9A, 0x05, 0x01}},
      // The new tag is already present before the renamed item, with another
      // length: it is replaced, and the renamed value is the one kept.
      {"new tag present earlier", {0x9A, 0x01, 0x11, 0x5A, 0x02, 0xBB, 0xCC}, 0x5A, 0x9A, 1, {0x9A, 0x02, 0xBB, 0xCC}},
      {"new tag present with the same length", {0x9A, 0x02, 0x11, 0x22, 0x5A, 0x02, 0xBB, 0xCC}, 0x5A, 0x9A, 1,
       {0x9A, 0x02, 0xBB, 0xCC}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Buffer buffer(32, c.start);
    EXPECT_EQ(tb_rename(&buffer.tb, c.oldTag, c.newTag), c.result);
    EXPECT_EQ(buffer.used(), c.expected);
  }
  EXPECT_EQ(tb_rename(nullptr, 0x9C, 0x9A), 0);

  // A full buffer can still rename to a tag of the same size.
  Buffer full(static_cast<uint16_t>(start.size()), start);
  EXPECT_EQ(tb_rename(&full.tb, 0x9C, 0x9A), 1);
  EXPECT_EQ(full.used(), (Bytes{0x5A, 0x02, 0xBB, 0xCC, 0x9A, 0x01, 0xAA}));
  EXPECT_TRUE(full.sentinelIntact());
}

}  // namespace
