// The TLV store of the library and the walkers that read it.
//
// A store is one byte vector of BER-TLV items in insertion order: the request
// parameters set by the host, the fields parsed from the terminal's replies
// and the terminal's own TLV data. Only top-level items are seen; one tag may
// be stored more than once and every search finds its first occurrence.
// The store writes the shortest length form (200 bytes: 81 C8, 300 bytes:
// 82 01 2C) and never pads.
//
// Operations answer the TLV_ codes of zumbra_tlv_types.h. A store whose
// bytes are corrupt (a tag or a length running past the end) answers
// TLV_CORRUPTED to every write and changes nothing: an item appended behind
// corrupt bytes could never be found again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/NonAssignable.h"
#include "core/TagNames.h"
#include "core/zumbra_tlv_types.h"

namespace zq::app::tlv {

using TlvStatus = uint32_t;
using TlvBytes = std::vector<unsigned char>;
using TlvIterator = TlvBytes::const_iterator;

using ::TLV_OK;
using ::TLV_EMPTY_VALUE;
using ::TLV_TAG_MISSING;
using ::TLV_TAG_PRESENT;
using ::TLV_CORRUPTED;
using ::TLV_BUFFER_TOO_SHORT;

// The bytes of a tag number as the store writes them: most significant
// first, without leading zeros (0x9F02: 9F 02). Tag numbers have at most four
// bytes, so they are encoded in place, never on the heap.
class TlvTagBytes {
 public:
  explicit TlvTagBytes(TlvTag tag);
  const unsigned char* begin() const { return bytes; }
  const unsigned char* end() const { return bytes + count; }
  size_t size() const { return count; }
  bool empty() const { return count == 0; }

 private:
  unsigned char bytes[sizeof(TlvTag)];
  size_t count;
};

// A position in a byte vector of items, and the low-level reads around it.
class TlvHolder {
 public:
  TlvHolder() = default;
  TlvHolder(const TlvHolder&) = default;
  TlvHolder& operator=(const TlvHolder&) = default;
  virtual ~TlvHolder();
  virtual TlvIterator getBufferEnd() const = 0;

 protected:
  size_t distanceToBufferEnd(TlvIterator position) const;
  // True when the item under the current position carries exactly these tag
  // bytes and at least a length byte follows them.
  bool checkTagUnderIterator(const TlvTagBytes& tagBytes) const;
  static unsigned char getNotLastTagBitmap() { return 0x80; }
  // Reads the length field at the position and moves past it. False, with the
  // position unchanged, when the field is cut short by the end or is longer
  // than four bytes.
  bool getTlvLen(TlvIterator& position, size_t& length) const;

  TlvIterator currentPosition;
};

class TlvCtx : public TlvHolder {
 public:
  TlvCtx();
  explicit TlvCtx(const TlvBytes& bytes);
  TlvCtx(const unsigned char* data, size_t length);
  TlvCtx(const TlvCtx& other);
  TlvCtx& operator=(const TlvCtx& other);
  ~TlvCtx() override;

  TlvIterator getBufferEnd() const override;

  // Appends without looking for the tag: 0, or 1 for an empty value.
  TlvStatus insertTag(TlvTag tag, const TlvBytes& value);
  // Stores the item unless the tag is present: 0, 1, 3.
  TlvStatus addTag(TlvTag tag, const TlvBytes& value);
  // Removes the tag's first occurrence and appends the item: 0, or 1 for an
  // empty value (the tag is then absent).
  TlvStatus updateTag(TlvTag tag, const TlvBytes& value);
  // The same for a value that is not held in a vector (a single byte).
  TlvStatus updateTag(TlvTag tag, const unsigned char* value, size_t length);
  // As updateTag, for a present tag only: 2 when it is absent.
  TlvStatus replaceTag(TlvTag tag, const TlvBytes& value);
  // Removes the tag's first occurrence; an absent tag is success (0).
  TlvStatus removeTag(TlvTag tag);
  // The same as removeTag for each tag in turn (a tag named twice removes two
  // occurrences), in one pass over the buffer: 0, or the first failure.
  TlvStatus removeTags(const TlvTag* tags, size_t count);
  // Removes the item at the current position, which must carry the tag.
  TlvStatus deleteTag(TlvTag tag);
  // 0 present (the current position is set to it), 2 absent, 4 corrupt.
  TlvStatus isTagPresent(TlvTag tag);
  // The value of the tag's first occurrence: 0, 2, 4; out is emptied first.
  TlvStatus getTagValue(TlvTag tag, TlvBytes& out) const;
  // The same without a copy: value points at the value inside the store,
  // valid until the store next changes (null and 0 unless the result is 0).
  TlvStatus getTagValueView(TlvTag tag, const unsigned char*& value, size_t& length) const;
  // Every item of the source, with addTag (a present tag keeps its value) or
  // with updateTag (the source's value wins): 0, or 4 when the source holds a
  // corrupt item (the items before it have been merged) or the store refused
  // an item as corrupt.
  TlvStatus merge(const TlvCtx& source);
  TlvStatus mergeWithOverwrite(const TlvCtx& source);
  // Stores the terminal's private items of raw TLV data, replacing earlier
  // values; an empty value removes the tag. Other tags are skipped.
  void parseTLVBuffer(const unsigned char* data, size_t length);
  // The tag when the terminal may send it in raw data, else 0.
  static TlvTag convertTlvTagFromTerminal(unsigned short tag);
  // Copies the encoded buffer when length is at least its size; length then
  // receives the size.
  bool getRawData(unsigned char* buffer, size_t& length) const;
  bool getRawData(TlvBytes& out) const;
  void clear();
  void dbgDump() const;

 private:
  // The search of a write: the first occurrence, in a buffer that reads
  // cleanly (4, with the corrupt item logged, otherwise).
  TlvStatus findForWrite(TlvTag tag);
  // Walks the whole buffer with the logging readers: 4 at the first corrupt
  // item, else 0.
  TlvStatus checkWholeBuffer() const;
  // Offset of the tag's first item in a well-formed buffer, with the offset
  // of its value and the value's length.
  bool findWellFormed(TlvTag tag, size_t& item, size_t& value, size_t& valueLength) const;
  void removeInOnePass(const TlvTag* tags, size_t count);
  void appendItem(TlvTag tag, const unsigned char* value, size_t length);
  TlvStatus deleteUnderPosition(TlvTag tag);
  TlvStatus mergeFrom(const TlvCtx& source, bool overwrite);

  TlvBytes buffer;
  // Every item reads cleanly up to the buffer's end. Bytes taken as they are
  // are checked once, when they enter the store; the store's own writes keep
  // it so. While it holds, searches need not re-check the items they pass.
  bool wellFormed = true;
};

// Base of the walkers: a byte vector walked (not owned) and the value length
// of the item read last.
class TlvHolderWithFindingTagEnd : public TlvHolder, public utils::NonAssignable {
 public:
  explicit TlvHolderWithFindingTagEnd(const TlvBytes& walked);
  ~TlvHolderWithFindingTagEnd() override;
  TlvIterator getBufferEnd() const override;
  virtual void handleFindingTagEnd(TlvIterator& position);

 protected:
  static unsigned char getLongTagBitmap() { return 0x1F; }
  // Reads the item's tag and length; on 0 the position is at its first value
  // byte and valueLength holds its length. 4 for a corrupt item.
  TlvStatus findTagEndAndCheckLength(TlvIterator& position);

  const TlvBytes& walked;
  size_t valueLength;
};

class TlvTagFinder : private TlvHolderWithFindingTagEnd {
 public:
  explicit TlvTagFinder(const TlvBytes& walked);
  // 0 with found at the first item carrying the tag, 2 absent, 4 corrupt
  // data met before it.
  TlvStatus isTagPresent(TlvTag tag, TlvIterator& found);
  // As isTagPresent, but reads on to the end: 4 when any item is corrupt.
  TlvStatus isTagPresentInSoundBuffer(TlvTag tag, TlvIterator& found);
  // Moves past the item under the position; from the last item back to the
  // first one.
  TlvStatus goToNextTag(TlvIterator& position);
};

class TlvTagGetter : public TlvHolderWithFindingTagEnd {
 public:
  explicit TlvTagGetter(const TlvBytes& walked);
  TlvStatus getTagValue(TlvTag tag, TlvBytes& out);
  // As getTagValue, with the value's position in the walked vector instead
  // of a copy.
  TlvStatus findTagValue(TlvTag tag, TlvIterator& value, size_t& length);
};

// A walk over every item; handleFoundTag sees each value in turn.
class TlvLoopHandler : public TlvHolderWithFindingTagEnd {
 public:
  explicit TlvLoopHandler(const TlvBytes& walked);
  void handleFindingTagEnd(TlvIterator& position) override;
  virtual void handleFoundTag(TlvIterator& valuePosition) = 0;
  // 0 at the end of the vector, 4 at a corrupt item (those before it have
  // been handled).
  TlvStatus handleLoop();

 protected:
  TlvIterator itemStart;
  TlvTag currentTag;
};

class TlvMergeHandler : public TlvLoopHandler {
 public:
  TlvMergeHandler(const TlvBytes& walked, TlvCtx& target);
  void handleFoundTag(TlvIterator& valuePosition) override;
  virtual TlvStatus mergeOneTag(const TlvBytes& value) = 0;
  TlvStatus merge();

 protected:
  TlvCtx& target;
  bool targetRefused = false;
};

class TlvMergeWithOverwriteHandler : public TlvMergeHandler {
 public:
  using TlvMergeHandler::TlvMergeHandler;
  TlvStatus mergeOneTag(const TlvBytes& value) override;
};

class TlvMergeWithoutOverwriteHandler : public TlvMergeHandler {
 public:
  using TlvMergeHandler::TlvMergeHandler;
  TlvStatus mergeOneTag(const TlvBytes& value) override;
};

class TlvDbgDump : public TlvLoopHandler {
 public:
  explicit TlvDbgDump(const TlvBytes& walked);
  void handleFoundTag(TlvIterator& valuePosition) override;
  void makeDump();
  // The first name of the tag in the tag list, or the empty text.
  std::string tagToString(TlvTag tag) const;
};

}  // namespace zq::app::tlv
