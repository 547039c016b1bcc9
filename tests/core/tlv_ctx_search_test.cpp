// The store's searches on buffers it knows to be well-formed, and the removal
// of a list of tags in one pass, against the walkers and the single removals
// they must agree with: random stores of awkward items (duplicates, tags of
// one to five bytes, a zero tag byte, every length form), plus the corrupt
// buffers, where the store must answer and log exactly as before.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "LogRecorder.h"
#include "core/Logger.h"
#include "core/TlvCtx.h"

namespace {

using zq::app::tlv::TlvBytes;
using zq::app::tlv::TlvCtx;
using zq::app::tlv::TlvIterator;
using zq::app::tlv::TlvStatus;
using zq::app::tlv::TlvTag;
using zq::app::tlv::TlvTagFinder;
using zq::app::tlv::TlvTagGetter;

TlvBytes raw(const TlvCtx& ctx) {
  TlvBytes out;
  ctx.getRawData(out);
  return out;
}

struct Item {
  TlvBytes tag;
  TlvTag number;  // 0 for the five-byte tag, which no number names
};

// Tags as they may come from the terminal or the host, among them near
// misses of one another: 9F 02 and 9F 02 01 share their start, 9F 82 80 01
// and its five-byte neighbour too.
const std::vector<Item>& itemTags() {
  static const std::vector<Item> tags = {
      {{0x9C}, 0x9C},
      {{0x5A}, 0x5A},
      {{0x00}, 0},
      {{0x9F, 0x02}, 0x9F02},
      {{0x5F, 0x2A}, 0x5F2A},
      {{0x9F, 0xD4, 0x01}, 0x9FD401},
      {{0xDF, 0x81, 0x80, 0x01}, 0xDF818001},
      {{0xDF, 0x81, 0x80, 0x81, 0x01}, 0},
  };
  return tags;
}

// What the searches ask for: every tag above, and numbers that match none of
// them or only the start of one.
const std::vector<TlvTag>& searchedTags() {
  static const std::vector<TlvTag> tags = {0x9C,       0x5A,   0x9F02, 0x5F2A, 0x9FD401, 0xDF818001,
                                           0xDF818081, 0x9F,   0x1F,   0x9F0201, 0x5A01,  0x02,
                                           0xDF81,     0x7F01, 0};
  return tags;
}

TlvBytes lengthField(size_t length, std::mt19937& random) {
  // Every form a reader meets: short, 0x80 for empty, and long forms with
  // more length bytes than needed.
  const unsigned form = random() % 4;
  if (length <= 127 && form == 0) return {static_cast<unsigned char>(length)};
  if (length == 0 && form == 1) return {0x80};
  if (length <= 255 && form != 3) return {0x81, static_cast<unsigned char>(length)};
  return {0x82, static_cast<unsigned char>(length >> 8), static_cast<unsigned char>(length)};
}

TlvBytes randomStore(std::mt19937& random) {
  TlvBytes bytes;
  const size_t items = random() % 9;
  for (size_t i = 0; i < items; ++i) {
    const Item& item = itemTags()[random() % itemTags().size()];
    const size_t length = random() % 5 == 0 ? 130 + random() % 200 : random() % 4;
    bytes.insert(bytes.end(), item.tag.begin(), item.tag.end());
    const TlvBytes field = lengthField(length, random);
    bytes.insert(bytes.end(), field.begin(), field.end());
    for (size_t j = 0; j < length; ++j) bytes.push_back(static_cast<unsigned char>(random()));
  }
  return bytes;
}

// The tag whose item lies under the store's current position, found the only
// way the position shows: the one deletion it accepts. Changes the store.
TlvTag tagUnderPosition(TlvCtx& ctx) {
  for (TlvTag tag : searchedTags()) {
    if (tag != 0 && ctx.deleteTag(tag) == TLV_OK) return tag;
  }
  return 0;
}

TEST(TlvCtxSearchTest, ReadsOfAWellFormedStoreAgreeWithTheWalkers) {
  std::mt19937 random(20240315);
  for (int round = 0; round < 400; ++round) {
    const TlvBytes bytes = randomStore(random);
    TlvCtx ctx(bytes);
    for (TlvTag tag : searchedTags()) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", tag " << std::hex << tag);
      TlvBytes expected;
      TlvTagGetter getter(bytes);
      const TlvStatus expectedStatus = tag == 0 ? TlvStatus{TLV_TAG_MISSING} : getter.getTagValue(tag, expected);
      TlvBytes value{0xEE};
      EXPECT_EQ(ctx.getTagValue(tag, value), expectedStatus);
      EXPECT_EQ(value, expected);
      const unsigned char* view = nullptr;
      size_t length = 0;
      EXPECT_EQ(ctx.getTagValueView(tag, view, length), expectedStatus);
      EXPECT_EQ(TlvBytes(view, view + length), expected);

      TlvTagFinder finder(bytes);
      TlvIterator found;
      const TlvStatus present = tag == 0 ? TlvStatus{TLV_TAG_MISSING} : finder.isTagPresent(tag, found);
      EXPECT_EQ(ctx.isTagPresent(tag), present);
      if (present == TLV_OK) {
        // The position is at the item found: deleting it removes exactly it.
        TlvBytes without(bytes.begin(), found);
        TlvIterator next = found;
        TlvTagFinder(bytes).goToNextTag(next);
        if (next != bytes.begin()) without.insert(without.end(), next, bytes.end());
        TlvCtx copy(bytes);
        ASSERT_EQ(copy.isTagPresent(tag), TLV_OK);
        EXPECT_EQ(copy.deleteTag(tag), TLV_OK);
        EXPECT_EQ(raw(copy), without);
      }
    }
  }
}

TEST(TlvCtxSearchTest, RemovingAListInOnePassEqualsRemovingEachTagInTurn) {
  std::mt19937 random(7);
  for (int round = 0; round < 600; ++round) {
    const TlvBytes bytes = randomStore(random);
    // Lists of up to 140 tags, so that several passes of 64 are needed, with
    // repeats (each removes one more occurrence), absent tags and tag 0.
    std::vector<TlvTag> tags;
    const size_t count = round % 10 == 0 ? 64 + random() % 77 : random() % 8;
    for (size_t i = 0; i < count; ++i) tags.push_back(searchedTags()[random() % searchedTags().size()]);

    TlvCtx inTurn(bytes);
    TlvStatus expected = TLV_OK;
    for (TlvTag tag : tags) {
      const TlvStatus removed = inTurn.removeTag(tag);
      if (expected == TLV_OK) expected = removed;
    }
    TlvCtx onePass(bytes);
    SCOPED_TRACE(testing::Message() << "round " << round << ", " << tags.size() << " tags");
    EXPECT_EQ(onePass.removeTags(tags.data(), tags.size()), expected);
    EXPECT_EQ(raw(onePass), raw(inTurn));
    // Both leave the position at the same item.
    EXPECT_EQ(tagUnderPosition(onePass), tagUnderPosition(inTurn));
    EXPECT_EQ(raw(onePass), raw(inTurn));
  }
}

TEST(TlvCtxSearchTest, AStoreWrittenAfterAWalkerSearchStaysReadable) {
  // The store's own writes keep it well-formed; bytes taken whole are
  // checked as they come in, and a corrupt store becomes writable again once
  // emptied or given sound bytes.
  TlvCtx ctx(TlvBytes{0x9C, 0x05, 0x01});
  EXPECT_EQ(ctx.updateTag(0x5A, {0x01}), TLV_CORRUPTED);
  ctx.clear();
  EXPECT_EQ(ctx.updateTag(0x5A, {0x01}), TLV_OK);
  EXPECT_EQ(ctx.updateTag(0x9FD401, TlvBytes(300, 0x41)), TLV_OK);
  EXPECT_EQ(ctx.updateTag(0x5A, {0x02}), TLV_OK);
  TlvBytes value;
  EXPECT_EQ(TlvTagGetter(raw(ctx)).getTagValue(0x9FD401, value), TLV_OK);
  EXPECT_EQ(value, TlvBytes(300, 0x41));

  const TlvCtx corrupt(TlvBytes{0x5A, 0x01, 0x01, 0x9F});
  ctx = corrupt;
  EXPECT_EQ(ctx.addTag(0x9C, {0x01}), TLV_CORRUPTED);
  const TlvTag tags[] = {0x5A};
  EXPECT_EQ(ctx.removeTags(tags, 1), TLV_CORRUPTED);
  EXPECT_EQ(raw(ctx), raw(corrupt));
  ctx = TlvCtx(TlvBytes{0x5A, 0x01, 0x01});
  EXPECT_EQ(ctx.removeTags(tags, 1), TLV_OK);
  EXPECT_TRUE(raw(ctx).empty());
}

// On a corrupt store each operation logs what the walk meets, once per
// operation, as it always has; a list removal logs it once per tag.
// getTagValueView's result, with the value it shows checked.
TlvStatus viewed(const TlvCtx& ctx, TlvTag tag, const TlvBytes& expected) {
  const unsigned char* value = nullptr;
  size_t length = 0;
  const TlvStatus result = ctx.getTagValueView(tag, value, length);
  EXPECT_EQ(TlvBytes(value, value + length), expected);
  return result;
}

TEST(TlvCtxSearchTest, CorruptStoresLogTheFirstBadItemForEveryOperation) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  zq::test::recordCategory("developerFile");
  const std::string tagOnly = "Insufficient TLV data, only tag present";
  const std::string noTag = "TLV buffer corrupted, unable to get next tag";
  const std::string noLength = "TLV buffer corrupted, unable to get next tag len";
  struct Case {
    const char* name;
    TlvBytes bytes;
    std::function<TlvStatus(TlvCtx&)> op;
    std::vector<std::string> lines;
  };
  const TlvTag twoTags[] = {0x9A, 0x5A};
  const Case cases[] = {
      {"update behind a long length", {0x5A, 0x01, 0x01, 0x9C, 0x05}, [](TlvCtx& c) { return c.updateTag(0x5A, {1}); },
       {noLength}},
      {"insert after a lone tag", {0x9F, 0x02}, [](TlvCtx& c) { return c.insertTag(0x5A, {1}); }, {tagOnly, noTag}},
      {"remove", {0x9C, 0x82, 0x01}, [](TlvCtx& c) { return c.removeTag(0x5A); }, {noLength}},
      {"delete", {0x9C, 0x82, 0x01}, [](TlvCtx& c) { return c.deleteTag(0x9C); }, {noLength}},
      {"remove two in a list", {0x9F, 0x02}, [&](TlvCtx& c) { return c.removeTags(twoTags, 2); },
       {tagOnly, noTag, tagOnly, noTag}},
      // A read stops at the tag when it comes before the damage.
      {"read before the damage", {0x5A, 0x01, 0x01, 0x9C, 0x05}, [](TlvCtx& c) { return c.isTagPresent(0x5A); }, {}},
      {"read past the damage", {0x5A, 0x01, 0x01, 0x9C, 0x05}, [](TlvCtx& c) { return c.isTagPresent(0x9A); },
       {noLength}},
      {"value seen in place before the damage", {0x5A, 0x01, 0x01, 0x9C, 0x05},
       [](TlvCtx& c) { return viewed(c, 0x5A, {0x01}); }, {}},
      {"value seen in place past the damage", {0x5A, 0x01, 0x01, 0x9C, 0x05},
       [](TlvCtx& c) { return viewed(c, 0x9A, {}); }, {noLength}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TlvCtx ctx(c.bytes);
    zq::test::journal().clear();
    const TlvStatus result = c.op(ctx);
    EXPECT_EQ(result, c.lines.empty() ? TLV_OK : TLV_CORRUPTED);
    EXPECT_EQ(zq::test::textsFrom("developerFile"), c.lines);
    EXPECT_EQ(raw(ctx), c.bytes);
  }
}

}  // namespace
