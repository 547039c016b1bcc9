// Base of the protocol context's views: typed access to tags of the one
// shared TLV store.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/Optional.h"
#include "core/TlvCtx.h"

namespace zq::app::utils {

class SubCtxInterface {
 public:
  using Bytes = std::vector<unsigned char>;

  explicit SubCtxInterface(tlv::TlvCtx& store) : store(store) {}
  SubCtxInterface(const SubCtxInterface&) = delete;
  SubCtxInterface& operator=(const SubCtxInterface&) = delete;
  virtual ~SubCtxInterface() = default;

  // Numbers are kept as their decimal text, as the terminal and the
  // printouts read them.
  void addUint32AsTag(tlv::TlvTag tag, uint32_t value);
  void addUint64AsTag(tlv::TlvTag tag, uint64_t value);
  Optional<uint32_t> getUint32(tlv::TlvTag tag) const;

  // Exactly one byte that is not '0' means yes; anything else means no.
  bool getYesNoTagWithDefaultFalse(tlv::TlvTag tag) const;
  void setYesNoTag(tlv::TlvTag tag, bool value);

  void addByte(tlv::TlvTag tag, unsigned char value);
  Optional<unsigned char> getByte(tlv::TlvTag tag) const;
  Optional<Bytes> getVector(tlv::TlvTag tag) const;

 protected:
  // Every write replaces the tag's earlier value; an empty value leaves the
  // tag absent.
  void setVector(tlv::TlvTag tag, const Bytes& value);
  void setText(tlv::TlvTag tag, const std::string& text);
  void removeTags(std::initializer_list<tlv::TlvTag> tags);

  tlv::TlvCtx& store;
};

}  // namespace zq::app::utils
