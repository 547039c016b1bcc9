// The TLV store functions: host-owned stores behind an opaque handle. Each
// call logs its action on the business category, then checks the store.
// Nothing escapes to the host: a failure, even running out of memory, is a
// status code.

#include <cstring>
#include <exception>
#include <new>

#include "core/ExportGuard.h"
#include "core/TlvCtx.h"
#include "core/zumbra_log.h"
#include "core/zumbra_tlv_store.h"

using zq::app::tlv::TlvBytes;
using zq::app::tlv::TlvCtx;

// The handle is the store itself; the record adds nothing to it.
struct TlvStore_s final : public TlvCtx {};

namespace {

unsigned hexTag(TlvTag tag) { return static_cast<unsigned>(tag); }

// The store's own lines for a failure: running out of memory, or anything
// else thrown (a length no vector can hold, std::length_error).
void reportStoreFailure(const std::exception* e) noexcept {
  if (dynamic_cast<const std::bad_alloc*>(e) != nullptr) {
    logBusError("Out of memory in TLV store");
  } else {
    logBusError("TLV store operation failed");
  }
}

template <typename Operation>
int onStore(TlvStore_s* store, Operation&& operation) noexcept {
  if (store == nullptr) {
    logBusError("TLV context not initialized");
    return TLV_CORRUPTED;
  }
  return zq::app::utils::guardExportReporting(
      static_cast<int>(TLV_CORRUPTED), [&] { return static_cast<int>(operation(*store)); },
      reportStoreFailure);
}

// A value pointer must cover its length; without one there is nothing to copy.
bool hasData(const unsigned char* data, size_t length) { return data != nullptr || length == 0; }

TlvBytes copyOf(const unsigned char* data, size_t length) {
  if (data == nullptr || length == 0) return TlvBytes();
  return TlvBytes(data, data + length);
}

void traceData(const unsigned char* data, size_t length) { logBusTraceHex(data, data != nullptr ? length : 0); }

int refuseMissingData(TlvTag tag) {
  logBusError("No data given for tag 0x%08X", hexTag(tag));
  return TLV_CORRUPTED;
}

int refuseMissingBuffer() {
  logBusError("No data given for the store");
  return TLV_CORRUPTED;
}

}  // namespace

void tlv_init(TlvStore_s** store) {
  logBusInfo("Initialize TLV context");
  if (store == nullptr) return;
  if (*store != nullptr) logBusWarn("TLV storage is not NULL on initialization, check for memory leaks");
  // A store that cannot be made leaves the handle NULL, whether the memory
  // ran out or its construction failed.
  *store = zq::app::utils::guardExportReporting(
      static_cast<TlvStore_s*>(nullptr), [] { return new (std::nothrow) TlvStore_s(); }, reportStoreFailure);
}

void tlv_clean(TlvStore_s** store) {
  logBusInfo("Cleanup TLV context");
  if (store == nullptr) return;
  delete *store;
  *store = nullptr;
}

int addTag(TlvStore_s* store, TlvTag tag, const unsigned char* data, size_t length) {
  logBusTrace("Add tag 0x%08X to store (no overwriting)", hexTag(tag));
  return onStore(store, [&](TlvCtx& ctx) -> int {
    if (!hasData(data, length)) return refuseMissingData(tag);
    return static_cast<int>(ctx.addTag(tag, copyOf(data, length)));
  });
}

int addTagStr(TlvStore_s* store, TlvTag tag, const char* text) {
  logBusTrace("Add tag 0x%08X to store (no overwriting)", hexTag(tag));
  return onStore(store, [&](TlvCtx& ctx) -> int {
    if (text == nullptr) {
      logBusError("No text given for tag 0x%08X", hexTag(tag));
      return TLV_EMPTY_VALUE;
    }
    const size_t length = std::strlen(text);
    return static_cast<int>(ctx.addTag(tag, copyOf(reinterpret_cast<const unsigned char*>(text), length)));
  });
}

int forceAddTag(TlvStore_s* store, TlvTag tag, const unsigned char* data, size_t length) {
  logBusTrace("Force add tag 0x%08X to store", hexTag(tag));
  return onStore(store, [&](TlvCtx& ctx) -> int {
    if (!hasData(data, length)) return refuseMissingData(tag);
    return static_cast<int>(ctx.updateTag(tag, copyOf(data, length)));
  });
}

int replaceTag(TlvStore_s* store, TlvTag tag, const unsigned char* data, size_t length) {
  logBusTrace("Replace tag 0x%08X to store", hexTag(tag));
  return onStore(store, [&](TlvCtx& ctx) -> int {
    if (!hasData(data, length)) return refuseMissingData(tag);
    return static_cast<int>(ctx.replaceTag(tag, copyOf(data, length)));
  });
}

int readTag(TlvStore_s* store, TlvTag tag, unsigned char* buffer, size_t* length) {
  logBusTrace("Read tag 0x%08X from store", hexTag(tag));
  return onStore(store, [&](TlvCtx& ctx) -> int {
    if (length == nullptr) return refuseMissingData(tag);
    TlvBytes value;
    const int found = static_cast<int>(ctx.getTagValue(tag, value));
    if (found != TLV_OK) {
      logBusError("Unable to get tag 0x%08X from store, error code %d", hexTag(tag), found);
      return found;
    }
    if (value.size() > *length) {
      logBusError("Tag 0x%08X has %d bytes, buffer with len %d provided", hexTag(tag), static_cast<int>(value.size()),
                  static_cast<int>(*length));
      return TLV_BUFFER_TOO_SHORT;
    }
    if (!value.empty()) {
      if (buffer == nullptr) return refuseMissingData(tag);
      std::memcpy(buffer, value.data(), value.size());
    }
    *length = value.size();
    return TLV_OK;
  });
}

int readTagStr(TlvStore_s* store, TlvTag tag, char* buffer, size_t size) {
  // One byte of the buffer is kept for the NUL; a buffer of no bytes has no
  // room even for that.
  size_t length = size > 0 ? size - 1 : 0;
  const int result = readTag(store, tag, reinterpret_cast<unsigned char*>(buffer), &length);
  if (result != TLV_OK) return result;
  if (size == 0) return TLV_BUFFER_TOO_SHORT;
  if (buffer == nullptr) return refuseMissingData(tag);
  buffer[length] = '\0';
  return TLV_OK;
}

int removeTag(TlvStore_s* store, TlvTag tag) {
  logBusTrace("Remove tag 0x%08X from store", hexTag(tag));
  return onStore(store, [&](TlvCtx& ctx) { return ctx.removeTag(tag); });
}

int findTag(TlvStore_s* store, TlvTag tag) {
  logBusTrace("Find tag 0x%08X in store", hexTag(tag));
  return onStore(store, [&](TlvCtx& ctx) { return ctx.isTagPresent(tag); });
}

int readBuffer(TlvStore_s* store, unsigned char* buffer, size_t* length) {
  logBusTrace("Read data from TLV store:");
  return onStore(store, [&](TlvCtx& ctx) -> int {
    if (length == nullptr) return refuseMissingBuffer();
    if (!ctx.getRawData(buffer, *length)) return TLV_BUFFER_TOO_SHORT;
    // Only what was written: a refused buffer holds none of the store's bytes.
    logBusTraceHex(buffer, *length);
    return TLV_OK;
  });
}

int clearStore(TlvStore_s* store) {
  logBusTrace("Clear data TLV store");
  return onStore(store, [&](TlvCtx& ctx) -> int {
    ctx.clear();
    return TLV_OK;
  });
}

int setBuffer(TlvStore_s* store, const unsigned char* data, size_t length) {
  logBusTrace("Replace store data with:");
  traceData(data, length);
  return onStore(store, [&](TlvCtx& ctx) -> int {
    if (!hasData(data, length)) return refuseMissingBuffer();
    ctx = TlvCtx(data, length);
    return TLV_OK;
  });
}

int addBuffer(TlvStore_s* store, const unsigned char* data, size_t length) {
  logBusTrace("Add data to TLV store (no overwriting):");
  traceData(data, length);
  return onStore(store, [&](TlvCtx& ctx) -> int {
    if (!hasData(data, length)) return refuseMissingBuffer();
    return static_cast<int>(ctx.merge(TlvCtx(data, length)));
  });
}

int forceAddBuffer(TlvStore_s* store, const unsigned char* data, size_t length) {
  logBusTrace("Add data to TLV store:");
  traceData(data, length);
  return onStore(store, [&](TlvCtx& ctx) -> int {
    if (!hasData(data, length)) return refuseMissingBuffer();
    return static_cast<int>(ctx.mergeWithOverwrite(TlvCtx(data, length)));
  });
}
