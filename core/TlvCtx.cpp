#include "core/TlvCtx.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/Converters.h"
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

// The tag number's bytes, most significant first, without leading zeros.
TlvBytes tagBytes(TlvTag tag) {
  if (tag == 0) return TlvBytes();
  return utils::uint64ToVector(tag);
}

// A tag that the readers split exactly as the writer wrote it: the first byte
// announces further bytes only when there are some, each inner byte has its
// continuation bit and the last one has not. Tag 0 would write no tag byte
// at all and is never stored.
bool isWellFormedTag(TlvTag tag) {
  const TlvBytes bytes = tagBytes(tag);
  if (bytes.empty()) return false;
  const bool announcesMore = (bytes.front() & kLongTagMask) == kLongTagMask;
  if (bytes.size() == 1) return !announcesMore;
  if (!announcesMore) return false;
  for (size_t i = 1; i + 1 < bytes.size(); ++i) {
    if ((bytes[i] & kMoreTagBytes) == 0) return false;
  }
  return (bytes.back() & kMoreTagBytes) == 0;
}

// Tag bytes of the item at the position, or 0 when the tag runs to the end.
size_t tagLengthAt(TlvIterator position, TlvIterator end) {
  if (position == end) return 0;
  if ((*position & kLongTagMask) != kLongTagMask) return 1;
  TlvIterator last = position + 1;
  while (last != end && (*last & kMoreTagBytes)) ++last;
  if (last == end) return 0;
  return static_cast<size_t>(last - position) + 1;
}

// Refuses what could not be read back as written; logs the reason.
bool checkStorable(TlvTag tag, const TlvBytes& value) {
  if (!isWellFormedTag(tag)) {
    logDevError("Tag 0x%08X is not a valid BER tag, not stored", hexTag(tag));
    return false;
  }
  if (value.size() > kMaxValueLength) {
    logDevError("Value of tag 0x%08X too long to store", hexTag(tag));
    return false;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------- TlvHolder

TlvHolder::~TlvHolder() = default;

size_t TlvHolder::distanceToBufferEnd(TlvIterator position) const {
  return static_cast<size_t>(getBufferEnd() - position);
}

bool TlvHolder::checkTagUnderIterator(const TlvBytes& tagBytes) const {
  if (tagBytes.empty()) return false;
  if (distanceToBufferEnd(currentPosition) <= tagBytes.size()) return false;
  // The whole tag of the item must match, not just its first bytes: a short
  // search tag must never hit an item whose tag merely begins the same way.
  if (tagLengthAt(currentPosition, getBufferEnd()) != tagBytes.size()) return false;
  return std::equal(tagBytes.begin(), tagBytes.end(), currentPosition);
}

bool TlvHolder::getTlvLen(TlvIterator& position, size_t& length) const {
  const TlvIterator end = getBufferEnd();
  if (position == end) return false;
  TlvIterator p = position;
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

// ------------------------------------------------------------------- TlvCtx

TlvCtx::TlvCtx() { currentPosition = buffer.begin(); }

TlvCtx::TlvCtx(const TlvBytes& bytes) : buffer(bytes) { currentPosition = buffer.begin(); }

TlvCtx::TlvCtx(const unsigned char* data, size_t length) {
  if (data != nullptr) buffer.assign(data, data + length);
  currentPosition = buffer.begin();
}

TlvCtx::TlvCtx(const TlvCtx& other) : TlvHolder(), buffer(other.buffer) { currentPosition = buffer.begin(); }

TlvCtx& TlvCtx::operator=(const TlvCtx& other) {
  // Emptying first would lose the data of a store assigned to itself.
  if (this != &other) buffer = other.buffer;
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
  TlvTagFinder finder(buffer);
  TlvIterator found;
  const TlvStatus result = finder.isTagPresentInSoundBuffer(tag, found);
  if (result == TLV_OK) currentPosition = found;
  return result;
}

void TlvCtx::appendItem(TlvTag tag, const TlvBytes& value) {
  const TlvBytes tagField = tagBytes(tag);
  buffer.insert(buffer.end(), tagField.begin(), tagField.end());
  if (value.size() <= 127) {
    buffer.push_back(static_cast<unsigned char>(value.size()));
  } else {
    const TlvBytes lengthBytes = utils::uint64ToVector(value.size());
    buffer.push_back(static_cast<unsigned char>(kLongLength | lengthBytes.size()));
    buffer.insert(buffer.end(), lengthBytes.begin(), lengthBytes.end());
  }
  buffer.insert(buffer.end(), value.begin(), value.end());
  currentPosition = buffer.begin();
}

TlvStatus TlvCtx::insertTag(TlvTag tag, const TlvBytes& value) {
  if (!checkStorable(tag, value)) return TLV_CORRUPTED;
  if (value.empty()) {
    logDevWarn("Empty value for tag 0x%08X", hexTag(tag));
    return TLV_EMPTY_VALUE;
  }
  if (checkWholeBuffer() != TLV_OK) return TLV_CORRUPTED;
  appendItem(tag, value);
  return TLV_OK;
}

TlvStatus TlvCtx::addTag(TlvTag tag, const TlvBytes& value) {
  if (!checkStorable(tag, value)) return TLV_CORRUPTED;
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
  appendItem(tag, value);
  return TLV_OK;
}

TlvStatus TlvCtx::updateTag(TlvTag tag, const TlvBytes& value) {
  if (!checkStorable(tag, value)) return TLV_CORRUPTED;
  const TlvStatus found = findForWrite(tag);
  if (found == TLV_CORRUPTED) return TLV_CORRUPTED;
  if (found == TLV_OK) {
    const TlvStatus deleted = deleteUnderPosition(tag);
    if (deleted != TLV_OK) {
      logDevError("Unable to remove tag 0x%08X", hexTag(tag));
      return deleted;
    }
  }
  if (value.empty()) {
    logDevWarn("Empty value for tag 0x%08X", hexTag(tag));
    return TLV_EMPTY_VALUE;
  }
  appendItem(tag, value);
  return TLV_OK;
}

TlvStatus TlvCtx::replaceTag(TlvTag tag, const TlvBytes& value) {
  if (!checkStorable(tag, value)) return TLV_CORRUPTED;
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
  appendItem(tag, value);
  return TLV_OK;
}

TlvStatus TlvCtx::removeTag(TlvTag tag) {
  if (tag == 0) return TLV_OK;
  const TlvStatus found = findForWrite(tag);
  if (found == TLV_TAG_MISSING) return TLV_OK;
  if (found != TLV_OK) return found;
  return deleteUnderPosition(tag);
}

TlvStatus TlvCtx::deleteTag(TlvTag tag) {
  if (checkWholeBuffer() != TLV_OK) return TLV_CORRUPTED;
  return deleteUnderPosition(tag);
}

TlvStatus TlvCtx::deleteUnderPosition(TlvTag tag) {
  const TlvBytes bytes = tagBytes(tag);
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
  TlvTagFinder finder(buffer);
  TlvIterator found;
  const TlvStatus result = finder.isTagPresent(tag, found);
  if (result == TLV_OK) currentPosition = found;
  return result;
}

TlvStatus TlvCtx::getTagValue(TlvTag tag, TlvBytes& out) const {
  out.clear();
  if (tag == 0) {
    logDevDebug("Tag 0x%08X is missing, unable to get value", hexTag(tag));
    return TLV_TAG_MISSING;
  }
  TlvTagGetter getter(buffer);
  return getter.getTagValue(tag, out);
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

bool TlvHolderWithFindingTagEnd::findTagEnd(TlvIterator& position) {
  const TlvIterator end = getBufferEnd();
  const size_t tagLength = tagLengthAt(position, end);
  if (tagLength == 0 || tagLength >= distanceToBufferEnd(position)) {
    logDevError("Insufficient TLV data, only tag present");
    return false;
  }
  position += static_cast<std::ptrdiff_t>(tagLength);
  return true;
}

TlvStatus TlvHolderWithFindingTagEnd::findTagEndAndCheckLength(TlvIterator& position) {
  TlvIterator p = position;
  if (!findTagEnd(p)) {
    logDevError("TLV buffer corrupted, unable to get next tag");
    return TLV_CORRUPTED;
  }
  handleFindingTagEnd(p);
  size_t length = 0;
  if (!getTlvLen(p, length) || length > distanceToBufferEnd(p)) {
    logDevError("TLV buffer corrupted, unable to get next tag len");
    return TLV_CORRUPTED;
  }
  valueLength = length;
  position = p;
  return TLV_OK;
}

TlvTagFinder::TlvTagFinder(const TlvBytes& walked) : TlvHolderWithFindingTagEnd(walked) {}

TlvStatus TlvTagFinder::isTagPresent(TlvTag tag, TlvIterator& found) {
  if (walked.empty()) return TLV_TAG_MISSING;
  const TlvBytes bytes = tagBytes(tag);
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
  const TlvBytes bytes = tagBytes(tag);
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
  TlvTagFinder finder(walked);
  TlvIterator found;
  const TlvStatus search = finder.isTagPresent(tag, found);
  if (search == TLV_TAG_MISSING) {
    logDevDebug("Tag 0x%08X is missing, unable to get value", hexTag(tag));
    return TLV_TAG_MISSING;
  }
  if (search != TLV_OK) return search;
  TlvIterator value = found;
  const TlvStatus read = findTagEndAndCheckLength(value);
  if (read != TLV_OK) return read;
  out.assign(value, value + static_cast<std::ptrdiff_t>(valueLength));
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
  static const std::vector<Row> table = {
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
