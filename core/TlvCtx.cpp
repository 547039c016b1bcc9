#include "core/TlvCtx.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/zumbra_log.h"
#include "core/zumbra_tlv_buffer.h"

namespace zq::app::tlv {

namespace {

constexpr unsigned char kLongTagMask = 0x1F;
constexpr unsigned char kMoreTagBytes = 0x80;
constexpr unsigned char kLongLength = 0x80;
// Four length bytes cover every value a 32-bit length can announce; a longer
// field is a corrupt item, not a huge one.
constexpr size_t kMaxLengthBytes = 4;
constexpr size_t kMaxValueLength = 0xFFFFFFFFu;

unsigned hexTag(TlvTag tag) { return static_cast<unsigned>(tag); }

// A tag that the readers split exactly as the writer wrote it: the first byte
// announces further bytes only when there are some, each inner byte has its
// continuation bit and the last one has not. Tag 0 would write no tag byte
// at all and is never stored.
bool isWellFormedTag(TlvTag tag) {
  const TlvTagBytes bytes(tag);
  if (bytes.empty()) return false;
  const unsigned char* first = bytes.begin();
  const unsigned char* last = bytes.end() - 1;
  const bool announcesMore = (*first & kLongTagMask) == kLongTagMask;
  if (first == last) return !announcesMore;
  if (!announcesMore) return false;
  for (const unsigned char* inner = first + 1; inner != last; ++inner) {
    if ((*inner & kMoreTagBytes) == 0) return false;
  }
  return (*last & kMoreTagBytes) == 0;
}

// Tag bytes of the item at the position, or 0 when the tag runs to the end.
template <typename Position>
size_t tagLengthAt(Position position, Position end) {
  if (position == end) return 0;
  if ((*position & kLongTagMask) != kLongTagMask) return 1;
  Position last = position + 1;
  while (last != end && (*last & kMoreTagBytes)) ++last;
  if (last == end) return 0;
  return static_cast<size_t>(last - position) + 1;
}

// Reads the length field at the position and moves past it; false, with the
// position unchanged, when the field is cut short or has more than four bytes.
template <typename Position>
bool readLength(Position& position, Position end, size_t& length) {
  if (position == end) return false;
  Position p = position;
  const unsigned char first = *p++;
  if ((first & kLongLength) == 0) {
    length = first;
    position = p;
    return true;
  }
  // A cut-short length field is corrupt: reading only the bytes present
  // would turn the last item's tail into a plausible but wrong length.
  const size_t count = first & 0x7F;
  if (count > kMaxLengthBytes || static_cast<size_t>(end - p) < count) return false;
  size_t value = 0;
  for (size_t i = 0; i < count; ++i) value = (value << 8) | *p++;
  length = value;
  position = p;
  return true;
}

// How one item lies at a position: its tag, its whole header (tag and length
// field) and its value.
struct ItemLayout {
  size_t tagLength = 0;
  size_t headerLength = 0;
  size_t valueLength = 0;
  size_t size() const { return headerLength + valueLength; }
};

enum class ItemRead { Ok, TagRunsToEnd, LengthBeyondEnd };

// The one reader of an item; the logging walkers and the silent checks of
// the store both go through it. The tag length is set also when only the
// length field is bad.
template <typename Position>
ItemRead readItem(Position position, Position end, ItemLayout& layout) {
  const size_t tagLength = tagLengthAt(position, end);
  // A tag must be followed by at least a length byte.
  if (tagLength == 0 || tagLength >= static_cast<size_t>(end - position)) return ItemRead::TagRunsToEnd;
  layout.tagLength = tagLength;
  Position p = position + static_cast<std::ptrdiff_t>(tagLength);
  size_t length = 0;
  if (!readLength(p, end, length) || length > static_cast<size_t>(end - p)) return ItemRead::LengthBeyondEnd;
  layout.headerLength = static_cast<size_t>(p - position);
  layout.valueLength = length;
  return ItemRead::Ok;
}

bool readsToTheEnd(const TlvBytes& bytes) {
  const unsigned char* p = bytes.data();
  const unsigned char* const end = p + bytes.size();
  while (p != end) {
    ItemLayout item;
    if (readItem(p, end, item) != ItemRead::Ok) return false;
    p += item.size();
  }
  return true;
}

// The tag number of an item's tag bytes; 0 for a tag of more than four bytes,
// which no tag number names (and tag 0 is never searched for).
TlvTag tagNumberAt(const unsigned char* tag, size_t tagLength) {
  if (tagLength > sizeof(TlvTag)) return 0;
  TlvTag number = 0;
  for (size_t i = 0; i < tagLength; ++i) number = (number << 8) | tag[i];
  return number;
}

// Whether the tag bytes at the position are these ones (as many of them are
// there). Byte by byte: tags have one to four bytes, too few for a memcmp
// call to pay, and most differ in the first or the last byte.
bool sameTagBytes(const unsigned char* position, const TlvTagBytes& tag) {
  for (const unsigned char* wanted = tag.begin(); wanted != tag.end(); ++wanted, ++position) {
    if (*position != *wanted) return false;
  }
  return true;
}

// Refuses what could not be read back as written; logs the reason.
bool checkStorable(TlvTag tag, size_t valueLength) {
  if (!isWellFormedTag(tag)) {
    logDevError("Tag 0x%08X is not a valid BER tag, not stored", hexTag(tag));
    return false;
  }
  if (valueLength > kMaxValueLength) {
    logDevError("Value of tag 0x%08X too long to store", hexTag(tag));
    return false;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------- TlvHolder

TlvTagBytes::TlvTagBytes(TlvTag tag) : bytes{}, count(0) {
  for (int shift = 8 * (static_cast<int>(sizeof(TlvTag)) - 1); shift >= 0; shift -= 8) {
    const unsigned char byte = static_cast<unsigned char>(tag >> shift);
    if (count > 0 || byte != 0) bytes[count++] = byte;
  }
}

TlvHolder::~TlvHolder() = default;

size_t TlvHolder::distanceToBufferEnd(TlvIterator position) const {
  return static_cast<size_t>(getBufferEnd() - position);
}

bool TlvHolder::checkTagUnderIterator(const TlvTagBytes& tagBytes) const {
  if (tagBytes.empty()) return false;
  if (distanceToBufferEnd(currentPosition) <= tagBytes.size()) return false;
  // The whole tag of the item must match, not just its first bytes: a short
  // search tag must never hit an item whose tag merely begins the same way.
  if (tagLengthAt(currentPosition, getBufferEnd()) != tagBytes.size()) return false;
  return std::equal(tagBytes.begin(), tagBytes.end(), currentPosition);
}

bool TlvHolder::getTlvLen(TlvIterator& position, size_t& length) const {
  return readLength(position, getBufferEnd(), length);
}

// ------------------------------------------------------------------- TlvCtx

TlvCtx::TlvCtx() { currentPosition = buffer.begin(); }

TlvCtx::TlvCtx(const TlvBytes& bytes) : buffer(bytes), wellFormed(readsToTheEnd(buffer)) {
  currentPosition = buffer.begin();
}

TlvCtx::TlvCtx(const unsigned char* data, size_t length) {
  if (data != nullptr) buffer.assign(data, data + length);
  wellFormed = readsToTheEnd(buffer);
  currentPosition = buffer.begin();
}

TlvCtx::TlvCtx(const TlvCtx& other) : TlvHolder(), buffer(other.buffer), wellFormed(other.wellFormed) {
  currentPosition = buffer.begin();
}

TlvCtx& TlvCtx::operator=(const TlvCtx& other) {
  // Emptying first would lose the data of a store assigned to itself.
  if (this != &other) {
    buffer = other.buffer;
    wellFormed = other.wellFormed;
  }
  currentPosition = buffer.begin();
  return *this;
}

TlvCtx::~TlvCtx() = default;

TlvIterator TlvCtx::getBufferEnd() const { return buffer.cend(); }

TlvStatus TlvCtx::checkWholeBuffer() const {
  TlvTagFinder finder(buffer);
  TlvIterator found;
  return finder.isTagPresentInSoundBuffer(0, found) == TLV_CORRUPTED ? TLV_CORRUPTED : TLV_OK;
}

TlvStatus TlvCtx::findForWrite(TlvTag tag) {
  if (!wellFormed && checkWholeBuffer() != TLV_OK) return TLV_CORRUPTED;
  size_t item = 0;
  size_t value = 0;
  size_t valueLength = 0;
  if (!findWellFormed(tag, item, value, valueLength)) return TLV_TAG_MISSING;
  currentPosition = buffer.cbegin() + static_cast<std::ptrdiff_t>(item);
  return TLV_OK;
}

bool TlvCtx::findWellFormed(TlvTag tag, size_t& item, size_t& value, size_t& valueLength) const {
  if (tag == 0) return false;
  // The tag is compared as the bytes it is stored as: an item carries it
  // when its tag has as many bytes and the same ones.
  const TlvTagBytes wanted(tag);
  const unsigned char* const begin = buffer.data();
  const unsigned char* const end = begin + buffer.size();
  for (const unsigned char* p = begin; p != end;) {
    ItemLayout layout;
    // Cannot fail while the buffer is well-formed; a failure ends the search
    // rather than the process.
    if (readItem(p, end, layout) != ItemRead::Ok) return false;
    if (layout.tagLength == wanted.size() && sameTagBytes(p, wanted)) {
      item = static_cast<size_t>(p - begin);
      value = item + layout.headerLength;
      valueLength = layout.valueLength;
      return true;
    }
    p += layout.size();
  }
  return false;
}

void TlvCtx::appendItem(TlvTag tag, const unsigned char* value, size_t length) {
  const TlvTagBytes tagField(tag);
  // Room for the tag and the longest length field (0x80 | 4, four bytes).
  unsigned char header[sizeof(TlvTag) + 1 + kMaxLengthBytes];
  unsigned char* out = std::copy(tagField.begin(), tagField.end(), header);
  if (length <= 127) {
    *out++ = static_cast<unsigned char>(length);
  } else {
    const TlvTagBytes lengthBytes(static_cast<TlvTag>(length));
    *out++ = static_cast<unsigned char>(kLongLength | lengthBytes.size());
    out = std::copy(lengthBytes.begin(), lengthBytes.end(), out);
  }
  buffer.insert(buffer.end(), header, out);
  buffer.insert(buffer.end(), value, value + length);
  currentPosition = buffer.begin();
}

TlvStatus TlvCtx::insertTag(TlvTag tag, const TlvBytes& value) {
  if (!checkStorable(tag, value.size())) return TLV_CORRUPTED;
  if (value.empty()) {
    logDevWarn("Empty value for tag 0x%08X", hexTag(tag));
    return TLV_EMPTY_VALUE;
  }
  if (!wellFormed && checkWholeBuffer() != TLV_OK) return TLV_CORRUPTED;
  appendItem(tag, value.data(), value.size());
  return TLV_OK;
}

TlvStatus TlvCtx::addTag(TlvTag tag, const TlvBytes& value) {
  if (!checkStorable(tag, value.size())) return TLV_CORRUPTED;
  const TlvStatus found = findForWrite(tag);
  if (found == TLV_CORRUPTED) return TLV_CORRUPTED;
  if (found == TLV_OK) {
    logDevError("Tag 0x%08X already present in context", hexTag(tag));
    return TLV_TAG_PRESENT;
  }
  if (value.empty()) {
    logDevWarn("Empty value for tag 0x%08X", hexTag(tag));
    return TLV_EMPTY_VALUE;
  }
  appendItem(tag, value.data(), value.size());
  return TLV_OK;
}

TlvStatus TlvCtx::updateTag(TlvTag tag, const TlvBytes& value) { return updateTag(tag, value.data(), value.size()); }

TlvStatus TlvCtx::updateTag(TlvTag tag, const unsigned char* value, size_t length) {
  if (value == nullptr) length = 0;
  if (!checkStorable(tag, length)) return TLV_CORRUPTED;
  const TlvStatus found = findForWrite(tag);
  if (found == TLV_CORRUPTED) return TLV_CORRUPTED;
  if (found == TLV_OK) {
    const TlvStatus deleted = deleteUnderPosition(tag);
    if (deleted != TLV_OK) {
      logDevError("Unable to remove tag 0x%08X", hexTag(tag));
      return deleted;
    }
  }
  if (length == 0) {
    logDevWarn("Empty value for tag 0x%08X", hexTag(tag));
    return TLV_EMPTY_VALUE;
  }
  appendItem(tag, value, length);
  return TLV_OK;
}

TlvStatus TlvCtx::replaceTag(TlvTag tag, const TlvBytes& value) {
  if (!checkStorable(tag, value.size())) return TLV_CORRUPTED;
  const TlvStatus found = findForWrite(tag);
  if (found == TLV_CORRUPTED) return TLV_CORRUPTED;
  if (found == TLV_TAG_MISSING) {
    logDevError("Tag 0x%08X is missing, unable to replace", hexTag(tag));
    return TLV_TAG_MISSING;
  }
  const TlvStatus deleted = deleteUnderPosition(tag);
  if (deleted != TLV_OK) return deleted;
  if (value.empty()) {
    logDevWarn("Empty value for tag 0x%08X", hexTag(tag));
    return TLV_EMPTY_VALUE;
  }
  appendItem(tag, value.data(), value.size());
  return TLV_OK;
}

TlvStatus TlvCtx::removeTag(TlvTag tag) {
  if (tag == 0) return TLV_OK;
  const TlvStatus found = findForWrite(tag);
  if (found == TLV_TAG_MISSING) return TLV_OK;
  if (found != TLV_OK) return found;
  return deleteUnderPosition(tag);
}

TlvStatus TlvCtx::removeTags(const TlvTag* tags, size_t count) {
  if (tags == nullptr) return TLV_OK;
  if (!wellFormed) {
    // Each removal reports the corruption as it would on its own.
    TlvStatus first = TLV_OK;
    for (size_t i = 0; i < count; ++i) {
      const TlvStatus removed = removeTag(tags[i]);
      if (first == TLV_OK) first = removed;
    }
    return first;
  }
  constexpr size_t kTagsPerPass = 64;
  for (size_t start = 0; start < count; start += kTagsPerPass) {
    removeInOnePass(tags + start, std::min(kTagsPerPass, count - start));
  }
  return TLV_OK;
}

// Up to 64 removals in one walk of a well-formed buffer. An item goes when a
// tag of the list that has not removed anything yet names it; the first
// such tag of the list takes it, so a tag named twice takes the first two
// occurrences, as two removals in turn would. The kept items move down in
// place. The current position ends where the removal listed last would have
// left it: at the item that followed it, or at the start.
void TlvCtx::removeInOnePass(const TlvTag* tags, size_t count) {
  uint64_t unused = 0;
  for (size_t i = 0; i < count; ++i) {
    if (tags[i] != 0) unused |= uint64_t{1} << i;
  }
  unsigned char* const data = buffer.data();
  const size_t size = buffer.size();
  size_t read = 0;
  size_t write = 0;
  bool removed = false;
  size_t lastListed = 0;
  size_t lastPosition = 0;
  while (read < size && unused != 0) {
    ItemLayout layout;
    if (readItem(data + read, data + size, layout) != ItemRead::Ok) break;
    const TlvTag tag = tagNumberAt(data + read, layout.tagLength);
    size_t listed = count;
    for (uint64_t candidates = unused; candidates != 0; candidates &= candidates - 1) {
      const size_t i = static_cast<size_t>(__builtin_ctzll(candidates));
      if (tags[i] == tag) {
        listed = i;
        break;
      }
    }
    if (listed < count) {
      unused &= ~(uint64_t{1} << listed);
      if (!removed || listed > lastListed) {
        lastListed = listed;
        lastPosition = write;
      }
      removed = true;
    } else {
      if (write != read) std::memmove(data + write, data + read, layout.size());
      write += layout.size();
    }
    read += layout.size();
  }
  if (!removed) return;
  if (read < size) std::memmove(data + write, data + read, size - read);
  write += size - read;
  buffer.resize(write);
  currentPosition = buffer.cbegin() + static_cast<std::ptrdiff_t>(lastPosition == write ? 0 : lastPosition);
}

TlvStatus TlvCtx::deleteTag(TlvTag tag) {
  if (!wellFormed && checkWholeBuffer() != TLV_OK) return TLV_CORRUPTED;
  return deleteUnderPosition(tag);
}

TlvStatus TlvCtx::deleteUnderPosition(TlvTag tag) {
  const TlvTagBytes bytes(tag);
  if (!checkTagUnderIterator(bytes)) {
    logDevFatal("Tag not present under iterator");
    return TLV_TAG_MISSING;
  }
  TlvIterator valueStart = currentPosition + static_cast<std::ptrdiff_t>(bytes.size());
  size_t length = 0;
  if (!getTlvLen(valueStart, length) || length > distanceToBufferEnd(valueStart)) {
    logDevError("Tag 0x%08X has len %d, but only %d bytes remain in buffer", hexTag(tag), static_cast<int>(length),
                static_cast<int>(distanceToBufferEnd(valueStart)));
    return TLV_CORRUPTED;
  }
  const std::ptrdiff_t offset = currentPosition - buffer.cbegin();
  buffer.erase(currentPosition, valueStart + static_cast<std::ptrdiff_t>(length));
  currentPosition = buffer.cbegin() + offset;
  if (currentPosition == buffer.cend()) currentPosition = buffer.cbegin();
  return TLV_OK;
}

TlvStatus TlvCtx::isTagPresent(TlvTag tag) {
  if (tag == 0) return TLV_TAG_MISSING;
  if (wellFormed) return findForWrite(tag);
  TlvTagFinder finder(buffer);
  TlvIterator found;
  const TlvStatus result = finder.isTagPresent(tag, found);
  if (result == TLV_OK) currentPosition = found;
  return result;
}

TlvStatus TlvCtx::getTagValue(TlvTag tag, TlvBytes& out) const {
  out.clear();
  const unsigned char* value = nullptr;
  size_t length = 0;
  const TlvStatus found = getTagValueView(tag, value, length);
  if (found == TLV_OK) out.assign(value, value + length);
  return found;
}

TlvStatus TlvCtx::getTagValueView(TlvTag tag, const unsigned char*& value, size_t& length) const {
  value = nullptr;
  length = 0;
  if (tag == 0) {
    logDevDebug("Tag 0x%08X is missing, unable to get value", hexTag(tag));
    return TLV_TAG_MISSING;
  }
  if (wellFormed) {
    size_t item = 0;
    size_t offset = 0;
    if (!findWellFormed(tag, item, offset, length)) {
      logDevDebug("Tag 0x%08X is missing, unable to get value", hexTag(tag));
      return TLV_TAG_MISSING;
    }
    value = buffer.data() + offset;
    return TLV_OK;
  }
  TlvTagGetter getter(buffer);
  TlvIterator position;
  const TlvStatus found = getter.findTagValue(tag, position, length);
  if (found == TLV_OK) value = buffer.data() + (position - buffer.cbegin());
  return found;
}

TlvStatus TlvCtx::mergeFrom(const TlvCtx& source, bool overwrite) {
  if (&source == this) {
    // The walk reads the source while the writes grow the target; for one
    // and the same store that would read freed memory. Walk a copy.
    const TlvCtx snapshot(*this);
    return mergeFrom(snapshot, overwrite);
  }
  if (overwrite) {
    TlvMergeWithOverwriteHandler handler(source.buffer, *this);
    return handler.merge();
  }
  TlvMergeWithoutOverwriteHandler handler(source.buffer, *this);
  return handler.merge();
}

TlvStatus TlvCtx::merge(const TlvCtx& source) { return mergeFrom(source, false); }

TlvStatus TlvCtx::mergeWithOverwrite(const TlvCtx& source) { return mergeFrom(source, true); }

void TlvCtx::parseTLVBuffer(const unsigned char* data, size_t length) {
  logDevTrace("TLV buffer data:");
  logDevTraceHex(data, length);
  if (data == nullptr) return;
  size_t position = 0;
  while (position < length) {
    TlvItem item{};
    const int chunk = static_cast<int>(std::min<size_t>(length - position, INT_MAX));
    if (tlv_parseTLV(data + position, chunk, &item) != 1) break;
    position = static_cast<size_t>(item.value - data) + item.length;
    const TlvTag tag = convertTlvTagFromTerminal(item.tag);
    if (tag == 0) continue;
    logDevDebug("Adding tag to context: %d", static_cast<int>(tag));
    logDevDebugHex(item.value, item.length);
    updateTag(tag, TlvBytes(item.value, item.value + item.length));
  }
}

TlvTag TlvCtx::convertTlvTagFromTerminal(unsigned short tag) {
  switch (tag) {
    case 0xDF01: case 0xDF02: case 0xDF03: case 0xDF04: case 0xDF05:
    case 0xDF06: case 0xDF07: case 0xDF08: case 0xDF09: case 0xDF0A:
    case 0xDF0B: case 0xDF0C: case 0xDF0D: case 0xDF11: case 0xDF12:
    case 0x7F01: case 0x7F02:
      return tag;
    default:
      logDevError("Unrecognized tag: %d", static_cast<int>(tag));
      return 0;
  }
}

bool TlvCtx::getRawData(unsigned char* out, size_t& length) const {
  if (length < buffer.size() || (out == nullptr && !buffer.empty())) {
    logDevError("Provided buffer too short, %d bytes given, %d needed", out == nullptr ? 0 : static_cast<int>(length),
                static_cast<int>(buffer.size()));
    return false;
  }
  if (!buffer.empty()) std::memcpy(out, buffer.data(), buffer.size());
  length = buffer.size();
  return true;
}

bool TlvCtx::getRawData(TlvBytes& out) const {
  out = buffer;
  return true;
}

void TlvCtx::clear() {
  buffer.clear();
  wellFormed = true;
  currentPosition = buffer.begin();
}

void TlvCtx::dbgDump() const {
  TlvDbgDump dump(buffer);
  dump.makeDump();
}

// ------------------------------------------------------------------ walkers

TlvHolderWithFindingTagEnd::TlvHolderWithFindingTagEnd(const TlvBytes& walked) : walked(walked), valueLength(0) {
  currentPosition = walked.begin();
}

TlvHolderWithFindingTagEnd::~TlvHolderWithFindingTagEnd() = default;

TlvIterator TlvHolderWithFindingTagEnd::getBufferEnd() const { return walked.cend(); }

void TlvHolderWithFindingTagEnd::handleFindingTagEnd(TlvIterator&) {}

TlvStatus TlvHolderWithFindingTagEnd::findTagEndAndCheckLength(TlvIterator& position) {
  ItemLayout layout;
  const ItemRead read = readItem(position, getBufferEnd(), layout);
  if (read == ItemRead::TagRunsToEnd) {
    logDevError("Insufficient TLV data, only tag present");
    logDevError("TLV buffer corrupted, unable to get next tag");
    return TLV_CORRUPTED;
  }
  TlvIterator tagEnd = position + static_cast<std::ptrdiff_t>(layout.tagLength);
  handleFindingTagEnd(tagEnd);
  if (read == ItemRead::LengthBeyondEnd) {
    logDevError("TLV buffer corrupted, unable to get next tag len");
    return TLV_CORRUPTED;
  }
  valueLength = layout.valueLength;
  position += static_cast<std::ptrdiff_t>(layout.headerLength);
  return TLV_OK;
}

TlvTagFinder::TlvTagFinder(const TlvBytes& walked) : TlvHolderWithFindingTagEnd(walked) {}

TlvStatus TlvTagFinder::isTagPresent(TlvTag tag, TlvIterator& found) {
  if (walked.empty()) return TLV_TAG_MISSING;
  const TlvTagBytes bytes(tag);
  currentPosition = walked.begin();
  do {
    if (checkTagUnderIterator(bytes)) {
      found = currentPosition;
      return TLV_OK;
    }
    const TlvStatus next = goToNextTag(currentPosition);
    if (next != TLV_OK) return next;
  } while (currentPosition != walked.begin());
  return TLV_TAG_MISSING;
}

TlvStatus TlvTagFinder::isTagPresentInSoundBuffer(TlvTag tag, TlvIterator& found) {
  if (walked.empty()) return TLV_TAG_MISSING;
  const TlvTagBytes bytes(tag);
  TlvStatus result = TLV_TAG_MISSING;
  currentPosition = walked.begin();
  do {
    if (result == TLV_TAG_MISSING && checkTagUnderIterator(bytes)) {
      found = currentPosition;
      result = TLV_OK;
    }
    const TlvStatus next = goToNextTag(currentPosition);
    if (next != TLV_OK) return next;
  } while (currentPosition != walked.begin());
  return result;
}

TlvStatus TlvTagFinder::goToNextTag(TlvIterator& position) {
  TlvIterator p = position;
  const TlvStatus result = findTagEndAndCheckLength(p);
  if (result != TLV_OK) return result;
  p += static_cast<std::ptrdiff_t>(valueLength);
  position = p == walked.end() ? walked.begin() : p;
  return TLV_OK;
}

TlvTagGetter::TlvTagGetter(const TlvBytes& walked) : TlvHolderWithFindingTagEnd(walked) {}

TlvStatus TlvTagGetter::getTagValue(TlvTag tag, TlvBytes& out) {
  out.clear();
  TlvIterator value;
  size_t length = 0;
  const TlvStatus found = findTagValue(tag, value, length);
  if (found == TLV_OK) out.assign(value, value + static_cast<std::ptrdiff_t>(length));
  return found;
}

TlvStatus TlvTagGetter::findTagValue(TlvTag tag, TlvIterator& value, size_t& length) {
  TlvTagFinder finder(walked);
  TlvIterator found;
  const TlvStatus search = finder.isTagPresent(tag, found);
  if (search == TLV_TAG_MISSING) {
    logDevDebug("Tag 0x%08X is missing, unable to get value", hexTag(tag));
    return TLV_TAG_MISSING;
  }
  if (search != TLV_OK) return search;
  value = found;
  const TlvStatus read = findTagEndAndCheckLength(value);
  if (read != TLV_OK) return read;
  length = valueLength;
  return TLV_OK;
}

TlvLoopHandler::TlvLoopHandler(const TlvBytes& walked)
    : TlvHolderWithFindingTagEnd(walked), itemStart(walked.begin()), currentTag(0) {}

void TlvLoopHandler::handleFindingTagEnd(TlvIterator& position) {
  // A tag of more than four bytes has no number; 0 marks it, and the store
  // refuses to write tag 0.
  if (position - itemStart > 4) {
    currentTag = 0;
    return;
  }
  TlvTag tag = 0;
  for (TlvIterator p = itemStart; p != position; ++p) tag = (tag << 8) | *p;
  currentTag = tag;
}

TlvStatus TlvLoopHandler::handleLoop() {
  if (walked.empty()) {
    logDevDebug("TLV context empty");
    return TLV_OK;
  }
  itemStart = walked.begin();
  while (itemStart != walked.end()) {
    TlvIterator value = itemStart;
    const TlvStatus read = findTagEndAndCheckLength(value);
    if (read != TLV_OK) return read;
    const size_t length = valueLength;
    handleFoundTag(value);
    itemStart = value + static_cast<std::ptrdiff_t>(length);
  }
  return TLV_OK;
}

TlvMergeHandler::TlvMergeHandler(const TlvBytes& walked, TlvCtx& target) : TlvLoopHandler(walked), target(target) {}

void TlvMergeHandler::handleFoundTag(TlvIterator& valuePosition) {
  const TlvBytes value(valuePosition, valuePosition + static_cast<std::ptrdiff_t>(valueLength));
  if (mergeOneTag(value) == TLV_CORRUPTED) targetRefused = true;
}

TlvStatus TlvMergeHandler::merge() {
  targetRefused = false;
  const TlvStatus walk = handleLoop();
  if (walk != TLV_OK) return walk;
  // A target that cannot take the items (corrupt itself, or an item without
  // a usable tag) must not look like a completed merge.
  return targetRefused ? TLV_CORRUPTED : TLV_OK;
}

TlvStatus TlvMergeWithOverwriteHandler::mergeOneTag(const TlvBytes& value) {
  return target.updateTag(currentTag, value);
}

TlvStatus TlvMergeWithoutOverwriteHandler::mergeOneTag(const TlvBytes& value) {
  return target.addTag(currentTag, value);
}

TlvDbgDump::TlvDbgDump(const TlvBytes& walked) : TlvLoopHandler(walked) {}

void TlvDbgDump::handleFoundTag(TlvIterator& valuePosition) {
  const std::string name = tagToString(currentTag);
  logDevDebug("Tag %s 0x%08X: ", name.c_str(), hexTag(currentTag));
  logDevDebugHex(walked.data() + (valuePosition - walked.begin()), valueLength);
}

void TlvDbgDump::makeDump() {
  logDevDebug("Start TLV ctx dump");
  logDevDebug("TLV buffer:");
  logDevDebugHex(walked.data(), walked.size());
  logDevDebug("Tag breakdown:");
  handleLoop();
  logDevDebug("TLV dbg dump finished");
}

std::string TlvDbgDump::tagToString(TlvTag tag) const {
  struct Row {
    TlvTag tag;
    const char* name;
  };
  // Constant data, which no exit destroys.
  static constexpr Row table[] = {
#define ZQ_TAG(name, number) {number, #name},
#include "core/TagList.def"
#undef ZQ_TAG
  };
  for (const Row& row : table) {
    if (row.tag == tag) return row.name;
  }
  return std::string();
}

}  // namespace zq::app::tlv
