// The TLV store: encodings, the write operations on small fixtures, corrupt
// buffers, merges and the parser of the terminal's raw details data.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "LogRecorder.h"
#include "core/Logger.h"
#include "core/TlvCtx.h"

namespace {

using zq::app::tlv::TlvBytes;
using zq::app::tlv::TlvCtx;
using zq::app::tlv::TlvStatus;
using zq::app::tlv::TlvTag;

TlvBytes operator+(TlvBytes a, const TlvBytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TlvBytes text(const std::string& s) { return TlvBytes(s.begin(), s.end()); }

TlvBytes raw(const TlvCtx& ctx) {
  TlvBytes out;
  ctx.getRawData(out);
  return out;
}

TlvBytes valueOf(const TlvCtx& ctx, TlvTag tag) {
  TlvBytes out;
  EXPECT_EQ(ctx.getTagValue(tag, out), TLV_OK) << std::hex << tag;
  return out;
}

TEST(TlvCtxEncodingTest, ShortAndLongLengthFormsAndTagSizes) {
  struct Case {
    TlvTag tag;
    size_t length;
    TlvBytes header;
  };
  const Case cases[] = {
      {0x9F02, 6, {0x9F, 0x02, 0x06}},
      {0x9C, 1, {0x9C, 0x01}},
      {0x9C, 127, {0x9C, 0x7F}},
      {0x9C, 128, {0x9C, 0x81, 0x80}},
      {0x9C, 200, {0x9C, 0x81, 0xC8}},
      {0x9C, 300, {0x9C, 0x82, 0x01, 0x2C}},
      {0x9FD401, 3, {0x9F, 0xD4, 0x01, 0x03}},
      {0x9FD401, 70000, {0x9F, 0xD4, 0x01, 0x83, 0x01, 0x11, 0x70}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    TlvCtx ctx;
    const TlvBytes value(c.length, 0x41);
    ASSERT_EQ(ctx.insertTag(c.tag, value), TLV_OK);
    EXPECT_EQ(raw(ctx), c.header + value);
    EXPECT_EQ(valueOf(ctx, c.tag), value);
  }
}

TEST(TlvCtxReadTest, LengthFormsAndEmptyValuesAsRead) {
  // 0x80 and 0x81 0x00 both announce an empty value; 0x84 announces four
  // length bytes.
  const TlvCtx ctx(TlvBytes{0x9C, 0x80, 0x5A, 0x81, 0x00, 0x9A, 0x84, 0x00, 0x00, 0x00, 0x01, 0x33, 0x9F, 0x02,
                            0x01, 0x34});
  TlvBytes out{0x01};
  EXPECT_EQ(ctx.getTagValue(0x9C, out), TLV_OK);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(ctx.getTagValue(0x5A, out), TLV_OK);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(valueOf(ctx, 0x9A), text("3"));
  EXPECT_EQ(valueOf(ctx, 0x9F02), text("4"));
  // A search tag matches whole tags only: 0x9F is not the start of 9F 02.
  EXPECT_EQ(ctx.getTagValue(0x9F, out), TLV_TAG_MISSING);
  EXPECT_EQ(ctx.getTagValue(0x9F0201, out), TLV_TAG_MISSING);
  EXPECT_EQ(ctx.getTagValue(0, out), TLV_TAG_MISSING);
}

TEST(TlvCtxReadTest, EmptyStore) {
  TlvCtx ctx;
  TlvBytes out;
  EXPECT_EQ(ctx.isTagPresent(0x9C), TLV_TAG_MISSING);
  EXPECT_EQ(ctx.getTagValue(0x9C, out), TLV_TAG_MISSING);
  EXPECT_EQ(ctx.removeTag(0x9C), TLV_OK);
  EXPECT_EQ(ctx.deleteTag(0x9C), TLV_TAG_MISSING);
  TlvCtx source;
  EXPECT_EQ(ctx.merge(source), TLV_OK);
  EXPECT_EQ(ctx.mergeWithOverwrite(source), TLV_OK);
  EXPECT_TRUE(raw(ctx).empty());
}

// Each write on the fixture 9C "1", 5A "2": its answer and the bytes after.
TEST(TlvCtxWriteTest, OperationsOnASmallFixture) {
  const TlvBytes start = {0x9C, 0x01, '1', 0x5A, 0x01, '2'};
  const TlvBytes only5A = {0x5A, 0x01, '2'};
  using Op = std::function<TlvStatus(TlvCtx&)>;
  struct Case {
    const char* name;
    Op op;
    TlvStatus result;
    TlvBytes expected;
  };
  const Case cases[] = {
      {"insert a present tag", [](TlvCtx& c) { return c.insertTag(0x9C, text("3")); }, TLV_OK,
       start + TlvBytes{0x9C, 0x01, '3'}},
      {"insert empty", [](TlvCtx& c) { return c.insertTag(0x9A, {}); }, TLV_EMPTY_VALUE, start},
      {"add a present tag keeps it", [](TlvCtx& c) { return c.addTag(0x9C, text("3")); }, TLV_TAG_PRESENT, start},
      {"add a new tag", [](TlvCtx& c) { return c.addTag(0x9A, text("3")); }, TLV_OK,
       start + TlvBytes{0x9A, 0x01, '3'}},
      {"add empty for a new tag", [](TlvCtx& c) { return c.addTag(0x9A, {}); }, TLV_EMPTY_VALUE, start},
      {"add empty for a present tag", [](TlvCtx& c) { return c.addTag(0x9C, {}); }, TLV_TAG_PRESENT, start},
      {"update moves the item to the end", [](TlvCtx& c) { return c.updateTag(0x9C, text("3")); }, TLV_OK,
       only5A + TlvBytes{0x9C, 0x01, '3'}},
      {"update with empty removes", [](TlvCtx& c) { return c.updateTag(0x9C, {}); }, TLV_EMPTY_VALUE, only5A},
      {"update a new tag", [](TlvCtx& c) { return c.updateTag(0x9A, text("3")); }, TLV_OK,
       start + TlvBytes{0x9A, 0x01, '3'}},
      {"replace a present tag", [](TlvCtx& c) { return c.replaceTag(0x9C, text("33")); }, TLV_OK,
       only5A + TlvBytes{0x9C, 0x02, '3', '3'}},
      {"replace with empty removes", [](TlvCtx& c) { return c.replaceTag(0x9C, {}); }, TLV_EMPTY_VALUE, only5A},
      {"replace an absent tag", [](TlvCtx& c) { return c.replaceTag(0x9A, text("3")); }, TLV_TAG_MISSING, start},
      {"remove", [](TlvCtx& c) { return c.removeTag(0x9C); }, TLV_OK, only5A},
      {"remove an absent tag", [](TlvCtx& c) { return c.removeTag(0x9A); }, TLV_OK, start},
      {"delete under the start position", [](TlvCtx& c) { return c.deleteTag(0x9C); }, TLV_OK, only5A},
      {"delete another tag than the one under it", [](TlvCtx& c) { return c.deleteTag(0x5A); }, TLV_TAG_MISSING,
       start},
      {"delete after a search", [](TlvCtx& c) {
         c.isTagPresent(0x5A);
         return c.deleteTag(0x5A);
       },
       TLV_OK, {0x9C, 0x01, '1'}},
      {"failed search leaves the position", [](TlvCtx& c) {
         c.isTagPresent(0x5A);
         c.isTagPresent(0x9A);
         return c.deleteTag(0x5A);
       },
       TLV_OK, {0x9C, 0x01, '1'}},
      // Tag 0 writes no tag byte and a malformed tag reads back split
      // differently: neither is stored.
      {"insert tag 0", [](TlvCtx& c) { return c.insertTag(0, text("3")); }, TLV_CORRUPTED, start},
      {"add tag 0", [](TlvCtx& c) { return c.addTag(0, text("3")); }, TLV_CORRUPTED, start},
      {"update tag 0", [](TlvCtx& c) { return c.updateTag(0, text("3")); }, TLV_CORRUPTED, start},
      {"replace tag 0", [](TlvCtx& c) { return c.replaceTag(0, text("3")); }, TLV_CORRUPTED, start},
      {"remove tag 0", [](TlvCtx& c) { return c.removeTag(0); }, TLV_OK, start},
      {"find tag 0", [](TlvCtx& c) { return c.isTagPresent(0); }, TLV_TAG_MISSING, start},
      {"delete tag 0", [](TlvCtx& c) { return c.deleteTag(0); }, TLV_TAG_MISSING, start},
      {"insert a one-byte tag announcing more", [](TlvCtx& c) { return c.insertTag(0x9F, text("3")); },
       TLV_CORRUPTED, start},
      {"insert a two-byte tag not announced", [](TlvCtx& c) { return c.insertTag(0x5A01, text("3")); },
       TLV_CORRUPTED, start},
      {"update a tag whose last byte announces more", [](TlvCtx& c) { return c.updateTag(0x9F81, text("3")); },
       TLV_CORRUPTED, start},
      // A short search tag must not remove an item whose tag begins with it.
      {"remove 0x9C01 leaves 9C", [](TlvCtx& c) { return c.removeTag(0x9C01); }, TLV_OK, start},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TlvCtx ctx(start);
    EXPECT_EQ(c.op(ctx), c.result);
    EXPECT_EQ(raw(ctx), c.expected);
  }
}

TEST(TlvCtxWriteTest, DuplicatesAreReadAndReplacedFirstOccurrenceFirst) {
  TlvCtx ctx;
  ASSERT_EQ(ctx.insertTag(0x9C, text("a")), TLV_OK);
  ASSERT_EQ(ctx.insertTag(0x9C, text("b")), TLV_OK);
  EXPECT_EQ(raw(ctx), (TlvBytes{0x9C, 0x01, 'a', 0x9C, 0x01, 'b'}));
  EXPECT_EQ(valueOf(ctx, 0x9C), text("a"));

  // update removes the first and appends: the older second item is now found.
  ASSERT_EQ(ctx.updateTag(0x9C, text("c")), TLV_OK);
  EXPECT_EQ(raw(ctx), (TlvBytes{0x9C, 0x01, 'b', 0x9C, 0x01, 'c'}));
  EXPECT_EQ(valueOf(ctx, 0x9C), text("b"));

  ASSERT_EQ(ctx.removeTag(0x9C), TLV_OK);
  EXPECT_EQ(valueOf(ctx, 0x9C), text("c"));
  ASSERT_EQ(ctx.removeTag(0x9C), TLV_OK);
  EXPECT_EQ(ctx.isTagPresent(0x9C), TLV_TAG_MISSING);
}

TEST(TlvCtxWriteTest, DeleteAtTheLastItemReturnsThePositionToTheStart) {
  TlvCtx ctx(TlvBytes{0x9C, 0x01, '1', 0x5A, 0x01, '2'});
  ASSERT_EQ(ctx.isTagPresent(0x5A), TLV_OK);
  ASSERT_EQ(ctx.deleteTag(0x5A), TLV_OK);
  EXPECT_EQ(ctx.deleteTag(0x9C), TLV_OK);
  EXPECT_TRUE(raw(ctx).empty());
}

// Corrupt buffers, each run through every operation of the store: all answer
// 4 and none changes a byte. 5F2A is in none of them; 5A lies before the
// corruption in one, where a write must not land behind the corrupt bytes.
TEST(TlvCtxCorruptTest, EveryOperationAnswersFourAndChangesNothing) {
  struct Buffer {
    const char* name;
    TlvBytes bytes;
  };
  const Buffer buffers[] = {
      {"one-byte tag only", {0x9C}},
      {"two-byte tag only", {0x9F, 0x02}},
      {"long tag runs to the end", {0x9F, 0x82}},
      {"length past the end", {0x9C, 0x05, 0x01, 0x02}},
      {"length field cut short", {0x9C, 0x82, 0x01}},
      {"one-byte long length cut short", {0x9C, 0x81}},
      {"five length bytes", {0x9C, 0x85, 0x00, 0x00, 0x00, 0x00, 0x01, 0xAA}},
      {"good item, then a corrupt one", {0x5A, 0x01, 0x01, 0x9C, 0x03, 0x01}},
      {"two good items, then a tag alone", {0x5A, 0x01, 0x01, 0x9A, 0x01, 0x02, 0x9F, 0x02}},
  };
  const TlvCtx goodSource(TlvBytes{0x5F, 0x2A, 0x01, 0x33, 0x5A, 0x01, 0x44});
  using Op = std::function<TlvStatus(TlvCtx&, TlvTag)>;
  struct Operation {
    const char* name;
    Op op;
    bool write;
  };
  const Operation operations[] = {
      {"insertTag", [](TlvCtx& c, TlvTag t) { return c.insertTag(t, text("x")); }, true},
      {"addTag", [](TlvCtx& c, TlvTag t) { return c.addTag(t, text("x")); }, true},
      {"updateTag", [](TlvCtx& c, TlvTag t) { return c.updateTag(t, text("x")); }, true},
      {"replaceTag", [](TlvCtx& c, TlvTag t) { return c.replaceTag(t, text("x")); }, true},
      {"removeTag", [](TlvCtx& c, TlvTag t) { return c.removeTag(t); }, true},
      {"deleteTag", [](TlvCtx& c, TlvTag t) { return c.deleteTag(t); }, true},
      {"isTagPresent", [](TlvCtx& c, TlvTag t) { return c.isTagPresent(t); }, false},
      {"getTagValue", [](TlvCtx& c, TlvTag t) {
         TlvBytes out{0x01};
         const TlvStatus result = c.getTagValue(t, out);
         EXPECT_TRUE(out.empty());
         return result;
       },
       false},
      {"merge into it", [&](TlvCtx& c, TlvTag) { return c.merge(goodSource); }, true},
      {"mergeWithOverwrite into it", [&](TlvCtx& c, TlvTag) { return c.mergeWithOverwrite(goodSource); }, true},
      {"merge from it", [](TlvCtx& c, TlvTag) {
         TlvCtx target;
         const TlvStatus result = target.merge(c);
         return result;
       },
       false},
      {"mergeWithOverwrite from it", [](TlvCtx& c, TlvTag) {
         TlvCtx target;
         return target.mergeWithOverwrite(c);
       },
       false},
  };
  for (const Buffer& b : buffers) {
    for (const Operation& o : operations) {
      for (TlvTag tag : {TlvTag{0x5F2A}, TlvTag{0x5A}}) {
        // Reads may find what lies before the corruption; that is fine.
        if (!o.write && tag == 0x5A) continue;
        SCOPED_TRACE(testing::Message() << b.name << " / " << o.name << " / " << std::hex << tag);
        TlvCtx ctx(b.bytes);
        EXPECT_EQ(o.op(ctx, tag), TLV_CORRUPTED);
        EXPECT_EQ(raw(ctx), b.bytes);
      }
    }
    SCOPED_TRACE(b.name);
    TlvCtx ctx(b.bytes);
    ctx.dbgDump();
    const TlvBytes details = {0xDF, 0x01, 0x01, 0x31};
    ctx.parseTLVBuffer(details.data(), details.size());
    EXPECT_EQ(raw(ctx), b.bytes);
  }
}

TEST(TlvCtxCorruptTest, OnlyTagPresentIsLogged) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  zq::test::recordCategory("developerFile");
  zq::test::journal().clear();
  TlvCtx ctx(TlvBytes{0x9F, 0x02});
  TlvBytes out;
  EXPECT_EQ(ctx.getTagValue(0x9C, out), TLV_CORRUPTED);
  EXPECT_EQ(zq::test::textsFrom("developerFile"),
            (std::vector<std::string>{"Insufficient TLV data, only tag present",
                                      "TLV buffer corrupted, unable to get next tag"}));
}

TEST(TlvCtxMergeTest, WithAndWithoutOverwrite) {
  const TlvBytes target = {0x9C, 0x01, 'a', 0x5A, 0x01, 'b'};
  const TlvCtx source(TlvBytes{0x5A, 0x01, 'c', 0x9A, 0x01, 'd', 0x9A, 0x01, 'e'});

  TlvCtx kept(target);
  EXPECT_EQ(kept.merge(source), TLV_OK);
  // A present tag keeps its value; of two source items, the first is taken.
  EXPECT_EQ(raw(kept), target + TlvBytes({0x9A, 0x01, 'd'}));

  TlvCtx overwritten(target);
  EXPECT_EQ(overwritten.mergeWithOverwrite(source), TLV_OK);
  // Each source item replaces and goes to the end; the last of two wins.
  EXPECT_EQ(raw(overwritten), (TlvBytes{0x9C, 0x01, 'a', 0x5A, 0x01, 'c', 0x9A, 0x01, 'e'}));
}

TEST(TlvCtxMergeTest, CorruptThirdSourceItemMergesTheFirstTwo) {
  const TlvCtx source(TlvBytes{0x5A, 0x01, '1', 0x9A, 0x01, '2', 0x9C, 0x05, '3'});
  for (bool overwrite : {false, true}) {
    TlvCtx target;
    EXPECT_EQ(overwrite ? target.mergeWithOverwrite(source) : target.merge(source), TLV_CORRUPTED);
    EXPECT_EQ(raw(target), (TlvBytes{0x5A, 0x01, '1', 0x9A, 0x01, '2'}));
  }
}

TEST(TlvCtxMergeTest, SourceItemWithoutAUsableTagIsReported) {
  // A zero byte as a tag has number 0, which no store writes.
  const TlvCtx source(TlvBytes{0x00, 0x01, 0xAA, 0x5A, 0x01, '1'});
  TlvCtx target;
  EXPECT_EQ(target.merge(source), TLV_CORRUPTED);
  EXPECT_EQ(raw(target), (TlvBytes{0x5A, 0x01, '1'}));
}

TEST(TlvCtxMergeTest, IntoItself) {
  const TlvBytes bytes = {0x9C, 0x01, 'a', 0x5A, 0x02, 'b', 'c', 0x9F, 0x02, 0x01, 'd'};
  TlvCtx ctx(bytes);
  EXPECT_EQ(ctx.merge(ctx), TLV_OK);
  EXPECT_EQ(raw(ctx), bytes);
  EXPECT_EQ(ctx.mergeWithOverwrite(ctx), TLV_OK);
  EXPECT_EQ(raw(ctx), bytes);
}

TEST(TlvCtxCopyTest, CopiesAreIndependentAndSelfAssignmentKeepsTheData) {
  TlvCtx original(TlvBytes{0x9C, 0x01, 'a', 0x5A, 0x01, 'b'});
  TlvCtx copy(original);
  ASSERT_EQ(copy.updateTag(0x9C, text("z")), TLV_OK);
  EXPECT_EQ(valueOf(original, 0x9C), text("a"));

  TlvCtx assigned;
  assigned.insertTag(0x9A, text("q"));
  assigned = original;
  EXPECT_EQ(raw(assigned), raw(original));

  const TlvBytes before = raw(original);
  TlvCtx& self = original;
  original = self;
  EXPECT_EQ(raw(original), before);
  // The position went back to the start: the first item can be deleted.
  EXPECT_EQ(original.deleteTag(0x9C), TLV_OK);

  const unsigned char bytes[] = {0x9C, 0x01, 'a'};
  EXPECT_EQ(raw(TlvCtx(bytes, sizeof bytes)), TlvBytes(bytes, bytes + 3));
  EXPECT_TRUE(raw(TlvCtx(nullptr, 5)).empty());
}

TEST(TlvCtxRawDataTest, ExactFitAndOneByteShort) {
  const TlvCtx ctx(TlvBytes{0x9C, 0x01, 'a', 0x5A, 0x01, 'b'});
  unsigned char buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), 0xEE);
  size_t length = 5;
  EXPECT_FALSE(ctx.getRawData(buffer, length));
  EXPECT_EQ(length, 5u);
  EXPECT_EQ(buffer[0], 0xEE);
  length = 6;
  EXPECT_TRUE(ctx.getRawData(buffer, length));
  EXPECT_EQ(length, 6u);
  EXPECT_EQ(TlvBytes(buffer, buffer + 6), (TlvBytes{0x9C, 0x01, 'a', 0x5A, 0x01, 'b'}));
  EXPECT_EQ(buffer[6], 0xEE);

  length = 100;
  TlvCtx empty;
  EXPECT_TRUE(empty.getRawData(buffer, length));
  EXPECT_EQ(length, 0u);
  ctx.dbgDump();  // reads only
  EXPECT_EQ(raw(ctx), (TlvBytes{0x9C, 0x01, 'a', 0x5A, 0x01, 'b'}));
}

TEST(TlvCtxParseTest, StoresOnlyTheTerminalsPrivateItems) {
  struct Case {
    const char* name;
    TlvBytes before;
    TlvBytes data;
    TlvBytes after;
  };
  const TlvBytes old01 = {0xDF, 0x01, 0x01, 'x'};
  const Case cases[] = {
      {"padding and a known tag", {}, {0x00, 0x00, 0xDF, 0x01, 0x02, '1', '2'}, {0xDF, 0x01, 0x02, '1', '2'}},
      {"unknown tag skipped", {}, {0x9F, 0x02, 0x01, '1', 0xDF, 0x12, 0x01, '2'}, {0xDF, 0x12, 0x01, '2'}},
      {"three-byte tag skipped", {}, {0x9F, 0xD4, 0x01, 0x01, '1', 0xDF, 0x0D, 0x01, '2'}, {0xDF, 0x0D, 0x01, '2'}},
      {"later item replaces earlier", old01, {0xDF, 0x01, 0x01, '1', 0xDF, 0x01, 0x01, '2'}, {0xDF, 0x01, 0x01, '2'}},
      {"empty value removes the tag", old01 + TlvBytes{0x5A, 0x01, 'k'}, {0xDF, 0x01, 0x00},
       {0x5A, 0x01, 'k'}},
      {"constructed item kept whole", {}, {0x7F, 0x02, 0x04, 0xDF, 0x01, 0x01, '1'},
       {0x7F, 0x02, 0x04, 0xDF, 0x01, 0x01, '1'}},
      {"a parse error stops", {}, {0xDF, 0x01, 0x01, '1', 0xDF, 0x02, 0x09, '2', 0xDF, 0x03, 0x01, '3'},
       {0xDF, 0x01, 0x01, '1'}},
      {"two-byte length form", {}, TlvBytes{0xDF, 0x11, 0x82, 0x01, 0x2C} + TlvBytes(300, 'p'),
       TlvBytes{0xDF, 0x11, 0x82, 0x01, 0x2C} + TlvBytes(300, 'p')},
      {"tags outside the accepted set", {}, {0xDF, 0x0E, 0x01, '1', 0xDF, 0x10, 0x01, '2', 0x7F, 0x03, 0x01, '3'}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TlvCtx ctx(c.before);
    const TlvBytes data = c.data;
    ctx.parseTLVBuffer(data.data(), data.size());
    EXPECT_EQ(raw(ctx), c.after);
    EXPECT_EQ(data, c.data);
  }
  TlvCtx ctx;
  ctx.parseTLVBuffer(nullptr, 4);
  EXPECT_TRUE(raw(ctx).empty());
}

TEST(TlvCtxParseTest, UnknownTagIsLoggedInDecimal) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  zq::test::recordCategory("developerFile");
  zq::test::journal().clear();
  TlvCtx ctx;
  const TlvBytes data = {0x9F, 0x02, 0x01, '1'};
  ctx.parseTLVBuffer(data.data(), data.size());
  const std::vector<std::string> lines = zq::test::textsFrom("developerFile");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Unrecognized tag: 40706"), lines.end());
}

}  // namespace
