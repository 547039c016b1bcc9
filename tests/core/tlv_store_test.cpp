// The exported TLV store functions: the missing store, caller buffers that
// fit exactly or are one byte short, and the handle's life cycle.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "LogRecorder.h"
#include "core/Logger.h"
#include "core/zumbra_tlv_store.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A store that is cleaned whatever the test's outcome.
class Store {
 public:
  Store() { tlv_init(&handle); }
  ~Store() { tlv_clean(&handle); }
  Bytes content() const {
    unsigned char buffer[512];
    size_t length = sizeof buffer;
    EXPECT_EQ(readBuffer(handle, buffer, &length), TLV_OK);
    return Bytes(buffer, buffer + length);
  }
  TlvStore_s* handle = nullptr;
};

TEST(TlvStoreTest, NullStoreAnswersFourAndTouchesNoOutput) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  zq::test::recordCategory("businessFile");
  const unsigned char value[] = {'a'};
  unsigned char buffer[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  char text[4] = {'x', 'x', 'x', 'x'};
  size_t length = sizeof buffer;
  const std::pair<const char*, std::function<int()>> calls[] = {
      {"addTag", [&] { return addTag(nullptr, 0x9C, value, 1); }},
      {"addTagStr", [&] { return addTagStr(nullptr, 0x9C, "a"); }},
      {"forceAddTag", [&] { return forceAddTag(nullptr, 0x9C, value, 1); }},
      {"replaceTag", [&] { return replaceTag(nullptr, 0x9C, value, 1); }},
      {"readTag", [&] { return readTag(nullptr, 0x9C, buffer, &length); }},
      {"readTagStr", [&] { return readTagStr(nullptr, 0x9C, text, sizeof text); }},
      {"readTagStr size 0", [&] { return readTagStr(nullptr, 0x9C, text, 0); }},
      {"removeTag", [&] { return removeTag(nullptr, 0x9C); }},
      {"findTag", [&] { return findTag(nullptr, 0x9C); }},
      {"readBuffer", [&] { return readBuffer(nullptr, buffer, &length); }},
      {"clearStore", [&] { return clearStore(nullptr); }},
      {"setBuffer", [&] { return setBuffer(nullptr, value, 1); }},
      {"addBuffer", [&] { return addBuffer(nullptr, value, 1); }},
      {"forceAddBuffer", [&] { return forceAddBuffer(nullptr, value, 1); }},
  };
  for (const auto& call : calls) {
    SCOPED_TRACE(call.first);
    zq::test::journal().clear();
    EXPECT_EQ(call.second(), TLV_CORRUPTED);
    const std::vector<std::string> lines = zq::test::textsFrom("businessFile");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "TLV context not initialized");
  }
  EXPECT_EQ(length, sizeof buffer);
  EXPECT_EQ(Bytes(buffer, buffer + 4), Bytes(4, 0xEE));
  EXPECT_EQ(std::string(text, 4), "xxxx");
}

TEST(TlvStoreTest, ReadTagExactFitAndOneByteShort) {
  Store store;
  const unsigned char value[] = {1, 2, 3, 4, 5};
  ASSERT_EQ(addTag(store.handle, 0x9F02, value, sizeof value), TLV_OK);
  struct Case {
    size_t length;
    int result;
    size_t lengthAfter;
  };
  for (const Case& c : {Case{5, TLV_OK, 5}, Case{4, TLV_BUFFER_TOO_SHORT, 4}, Case{64, TLV_OK, 5}}) {
    SCOPED_TRACE(c.length);
    unsigned char buffer[64];
    std::memset(buffer, 0xEE, sizeof buffer);
    size_t length = c.length;
    EXPECT_EQ(readTag(store.handle, 0x9F02, buffer, &length), c.result);
    EXPECT_EQ(length, c.lengthAfter);
    if (c.result == TLV_OK) {
      EXPECT_EQ(Bytes(buffer, buffer + 5), Bytes(value, value + 5));
    } else {
      EXPECT_EQ(buffer[0], 0xEE);
    }
    EXPECT_EQ(buffer[5], 0xEE);
  }
  unsigned char buffer[8];
  size_t length = sizeof buffer;
  EXPECT_EQ(readTag(store.handle, 0x9A, buffer, &length), TLV_TAG_MISSING);
  EXPECT_EQ(length, sizeof buffer);
}

TEST(TlvStoreTest, ReadTagStrKeepsAByteForTheTerminator) {
  Store store;
  ASSERT_EQ(addTagStr(store.handle, 0x9A, "abc"), TLV_OK);
  struct Case {
    size_t size;
    int result;
    std::string buffer;
  };
  const Case cases[] = {
      {8, TLV_OK, std::string("abc\0....", 8)},
      {4, TLV_OK, std::string("abc\0....", 8)},
      {3, TLV_BUFFER_TOO_SHORT, "........"},
      {0, TLV_BUFFER_TOO_SHORT, "........"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    char buffer[8];
    std::memset(buffer, '.', sizeof buffer);
    EXPECT_EQ(readTagStr(store.handle, 0x9A, buffer, c.size), c.result);
    EXPECT_EQ(std::string(buffer, 8), c.buffer);
  }
  // An empty stored value has no room for the terminator in a buffer of
  // no bytes either.
  const unsigned char empty[] = {0x5A, 0x00};
  ASSERT_EQ(setBuffer(store.handle, empty, sizeof empty), TLV_OK);
  char one = '.';
  EXPECT_EQ(readTagStr(store.handle, 0x5A, &one, 0), TLV_BUFFER_TOO_SHORT);
  EXPECT_EQ(one, '.');
  EXPECT_EQ(readTagStr(store.handle, 0x5A, &one, 1), TLV_OK);
  EXPECT_EQ(one, '\0');
}

TEST(TlvStoreTest, ReadBufferExactFitAndOneByteShort) {
  Store store;
  const unsigned char content[] = {0x9C, 0x01, 0x01, 0x5A, 0x02, 0x02, 0x03};
  ASSERT_EQ(setBuffer(store.handle, content, sizeof content), TLV_OK);
  for (size_t size : {sizeof content, sizeof content - 1}) {
    SCOPED_TRACE(size);
    unsigned char buffer[16];
    std::memset(buffer, 0xEE, sizeof buffer);
    size_t length = size;
    const bool fits = size == sizeof content;
    EXPECT_EQ(readBuffer(store.handle, buffer, &length), fits ? TLV_OK : TLV_BUFFER_TOO_SHORT);
    EXPECT_EQ(length, size);
    EXPECT_EQ(buffer[0], fits ? 0x9C : 0xEE);
  }
  size_t length = 4;
  EXPECT_EQ(readBuffer(store.handle, nullptr, &length), TLV_BUFFER_TOO_SHORT);
}

// The write functions against a store holding 9C "1".
TEST(TlvStoreTest, WritesAnswerTheStoresCodes) {
  const unsigned char one[] = {'1'};
  const unsigned char two[] = {'2'};
  struct Case {
    const char* name;
    std::function<int(TlvStore_s*)> call;
    int result;
    Bytes content;
  };
  const Bytes start = {0x9C, 0x01, '1'};
  const Case cases[] = {
      {"add present", [&](TlvStore_s* s) { return addTag(s, 0x9C, two, 1); }, TLV_TAG_PRESENT, start},
      {"add absent", [&](TlvStore_s* s) { return addTag(s, 0x5A, two, 1); }, TLV_OK, {0x9C, 0x01, '1', 0x5A, 0x01, '2'}},
      {"add length 0", [&](TlvStore_s* s) { return addTag(s, 0x5A, two, 0); }, TLV_EMPTY_VALUE, start},
      {"add length 0 present", [&](TlvStore_s* s) { return addTag(s, 0x9C, two, 0); }, TLV_TAG_PRESENT, start},
      {"add NULL data with a length", [&](TlvStore_s* s) { return addTag(s, 0x5A, nullptr, 3); }, TLV_CORRUPTED,
       start},
      {"add text", [&](TlvStore_s* s) { return addTagStr(s, 0x5A, "22"); }, TLV_OK,
       {0x9C, 0x01, '1', 0x5A, 0x02, '2', '2'}},
      {"add NULL text", [&](TlvStore_s* s) { return addTagStr(s, 0x5A, nullptr); }, TLV_EMPTY_VALUE, start},
      {"add empty text", [&](TlvStore_s* s) { return addTagStr(s, 0x5A, ""); }, TLV_EMPTY_VALUE, start},
      {"force add present", [&](TlvStore_s* s) { return forceAddTag(s, 0x9C, two, 1); }, TLV_OK, {0x9C, 0x01, '2'}},
      {"force add empty removes", [&](TlvStore_s* s) { return forceAddTag(s, 0x9C, two, 0); }, TLV_EMPTY_VALUE, {}},
      {"force add NULL data keeps the tag", [&](TlvStore_s* s) { return forceAddTag(s, 0x9C, nullptr, 1); },
       TLV_CORRUPTED, start},
      {"replace present", [&](TlvStore_s* s) { return replaceTag(s, 0x9C, two, 1); }, TLV_OK, {0x9C, 0x01, '2'}},
      {"replace absent", [&](TlvStore_s* s) { return replaceTag(s, 0x5A, two, 1); }, TLV_TAG_MISSING, start},
      {"remove absent", [&](TlvStore_s* s) { return removeTag(s, 0x5A); }, TLV_OK, start},
      {"remove present", [&](TlvStore_s* s) { return removeTag(s, 0x9C); }, TLV_OK, {}},
      {"find present", [&](TlvStore_s* s) { return findTag(s, 0x9C); }, TLV_OK, start},
      {"find absent", [&](TlvStore_s* s) { return findTag(s, 0x5A); }, TLV_TAG_MISSING, start},
      {"clear", [&](TlvStore_s* s) { return clearStore(s); }, TLV_OK, {}},
      {"set unchecked bytes", [&](TlvStore_s* s) { return setBuffer(s, two, 1); }, TLV_OK, {'2'}},
      {"add buffer keeps present tags", [&](TlvStore_s* s) {
         const unsigned char data[] = {0x9C, 0x01, '2', 0x5A, 0x01, '3'};
         return addBuffer(s, data, sizeof data);
       },
       TLV_OK, {0x9C, 0x01, '1', 0x5A, 0x01, '3'}},
      {"force add buffer replaces them", [&](TlvStore_s* s) {
         const unsigned char data[] = {0x9C, 0x01, '2', 0x5A, 0x01, '3'};
         return forceAddBuffer(s, data, sizeof data);
       },
       TLV_OK, {0x9C, 0x01, '2', 0x5A, 0x01, '3'}},
      {"add corrupt buffer", [&](TlvStore_s* s) {
         const unsigned char data[] = {0x5A, 0x01, '3', 0x9A, 0x04, '4'};
         return addBuffer(s, data, sizeof data);
       },
       TLV_CORRUPTED, {0x9C, 0x01, '1', 0x5A, 0x01, '3'}},
      {"force add corrupt buffer", [&](TlvStore_s* s) {
         const unsigned char data[] = {0x9A};
         return forceAddBuffer(s, data, sizeof data);
       },
       TLV_CORRUPTED, start},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Store store;
    ASSERT_EQ(addTag(store.handle, 0x9C, one, 1), TLV_OK);
    EXPECT_EQ(c.call(store.handle), c.result);
    EXPECT_EQ(store.content(), c.content);
  }
}

TEST(TlvStoreTest, WritesIntoACorruptStoreAreRefused) {
  Store store;
  const unsigned char corrupt[] = {0x9C, 0x01, '1', 0x5A, 0x05, '2'};
  ASSERT_EQ(setBuffer(store.handle, corrupt, sizeof corrupt), TLV_OK);
  const unsigned char value[] = {'x'};
  EXPECT_EQ(forceAddTag(store.handle, 0x9C, value, 1), TLV_CORRUPTED);
  EXPECT_EQ(addTag(store.handle, 0x9A, value, 1), TLV_CORRUPTED);
  EXPECT_EQ(removeTag(store.handle, 0x9A), TLV_CORRUPTED);
  const unsigned char data[] = {0x9A, 0x01, '3'};
  EXPECT_EQ(addBuffer(store.handle, data, sizeof data), TLV_CORRUPTED);
  EXPECT_EQ(store.content(), Bytes(corrupt, corrupt + sizeof corrupt));
}

TEST(TlvStoreTest, InitOverAnOccupiedHandleWarnsAndLeavesTheOldStore) {
  ASSERT_TRUE(zq::app::logging::initializeLoggers());
  zq::test::recordCategory("businessFile");
  TlvStore_s* handle = nullptr;
  tlv_init(&handle);
  ASSERT_NE(handle, nullptr);
  TlvStore_s* first = handle;
  const unsigned char value[] = {'1'};
  ASSERT_EQ(addTag(first, 0x9C, value, 1), TLV_OK);

  zq::test::journal().clear();
  tlv_init(&handle);
  EXPECT_EQ(zq::test::textsFrom("businessFile"),
            (std::vector<std::string>{"Initialize TLV context",
                                      "TLV storage is not NULL on initialization, check for memory leaks"}));
  ASSERT_NE(handle, first);
  EXPECT_EQ(findTag(handle, 0x9C), TLV_TAG_MISSING);
  EXPECT_EQ(findTag(first, 0x9C), TLV_OK);

  tlv_clean(&first);
  EXPECT_EQ(first, nullptr);
  tlv_clean(&handle);
  EXPECT_EQ(handle, nullptr);
  tlv_clean(&handle);
  tlv_init(nullptr);
  tlv_clean(nullptr);
}

}  // namespace
