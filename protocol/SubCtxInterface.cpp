#include "protocol/SubCtxInterface.h"

#include "core/Converters.h"

namespace zq::app::utils {

void SubCtxInterface::addUint32AsTag(tlv::TlvTag tag, uint32_t value) {
  setText(tag, std::to_string(value));
}

void SubCtxInterface::addUint64AsTag(tlv::TlvTag tag, uint64_t value) {
  setText(tag, std::to_string(value));
}

Optional<uint32_t> SubCtxInterface::getUint32(tlv::TlvTag tag) const {
  Optional<Bytes> value = getVector(tag);
  if (!value.isPresent()) return Optional<uint32_t>();
  Optional<unsigned int> number = dataInVectorToUint32t(*value);
  if (!number.isPresent()) return Optional<uint32_t>();
  return Optional<uint32_t>(*number);
}

// One-byte values, yes/no flags and texts are written and read in place:
// the transaction flow reads and writes several of them on every pass, and
// a vector (or two, with the optional copy) for each would cost heap blocks
// each time.
bool SubCtxInterface::getYesNoTagWithDefaultFalse(tlv::TlvTag tag) const {
  const unsigned char* value = nullptr;
  size_t length = 0;
  return store.getTagValueView(tag, value, length) == tlv::TLV_OK && length == 1 && value[0] != '0';
}

void SubCtxInterface::setYesNoTag(tlv::TlvTag tag, bool value) { setText(tag, value ? "1" : "0"); }

void SubCtxInterface::addByte(tlv::TlvTag tag, unsigned char value) { store.updateTag(tag, &value, 1); }

Optional<unsigned char> SubCtxInterface::getByte(tlv::TlvTag tag) const {
  const unsigned char* value = nullptr;
  size_t length = 0;
  if (store.getTagValueView(tag, value, length) != tlv::TLV_OK || length == 0) return Optional<unsigned char>();
  return Optional<unsigned char>(value[0]);
}

Optional<SubCtxInterface::Bytes> SubCtxInterface::getVector(tlv::TlvTag tag) const {
  Bytes value;
  if (store.getTagValue(tag, value) != tlv::TLV_OK) return Optional<Bytes>();
  return Optional<Bytes>(value);
}

void SubCtxInterface::setVector(tlv::TlvTag tag, const Bytes& value) { store.updateTag(tag, value); }

void SubCtxInterface::setText(tlv::TlvTag tag, const std::string& text) {
  store.updateTag(tag, reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

void SubCtxInterface::removeTags(std::initializer_list<tlv::TlvTag> tags) {
  store.removeTags(tags.begin(), tags.size());
}

}  // namespace zq::app::utils
