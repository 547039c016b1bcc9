// Fixed-size ring of received bytes. Frames are searched and cut in place;
// nothing is moved when bytes wrap around the storage end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/NonAssignable.h"

namespace zq::app::link {

class CircularBuffer;

// A position in a CircularBuffer's storage. Moving past the storage end wraps
// to its start. npos (no buffer, no position) is what a frame locator returns
// when it never forms a frame.
class CircularBufferIterator {
 public:
  static const CircularBufferIterator npos;

  constexpr CircularBufferIterator() : owner(nullptr), position(nullptr) {}
  CircularBufferIterator(const CircularBuffer* owner, uint8_t* position) : owner(owner), position(position) {}

  // The byte there. Only valid for a position that holds a buffered byte.
  uint8_t operator*() const { return *position; }

  CircularBufferIterator& operator++();
  CircularBufferIterator operator++(int);
  CircularBufferIterator& operator--();
  CircularBufferIterator operator--(int);
  CircularBufferIterator& operator+=(std::ptrdiff_t count);
  CircularBufferIterator& operator-=(std::ptrdiff_t count) { return *this += -count; }
  CircularBufferIterator operator+(std::ptrdiff_t count) const;
  CircularBufferIterator operator-(std::ptrdiff_t count) const;
  // Offsets of both positions from the owner's first unread byte, subtracted.
  std::ptrdiff_t operator-(const CircularBufferIterator& other) const;

  bool operator==(const CircularBufferIterator& other) const {
    return owner == other.owner && position == other.position;
  }
  bool operator!=(const CircularBufferIterator& other) const { return !(*this == other); }

  // True when the position lies from the owner's head to its tail, both included.
  bool checkValidity() const;

  const CircularBuffer* getOwner() const { return owner; }
  uint8_t* getPosition() const { return position; }

 private:
  friend class CircularBuffer;

  // Offset of position from the storage start.
  std::ptrdiff_t index() const;

  const CircularBuffer* owner;
  uint8_t* position;
};

class CircularBuffer : public utils::NonAssignable {
 public:
  // Holds at most capacity bytes; one storage byte always stays free so that
  // a full ring differs from an empty one.
  explicit CircularBuffer(size_t capacity);
  CircularBuffer(const CircularBuffer&) = delete;
  ~CircularBuffer() override = default;

  void clear();
  size_t capacity() const { return storageSize - 1; }
  size_t size() const;
  bool empty() const { return head == tail; }
  size_t freeSpace() const { return capacity() - size(); }

  CircularBufferIterator begin() const { return head; }
  CircularBufferIterator end() const { return tail; }
  // Positions of the first buffered byte and of the last one.
  CircularBufferIterator front() const { return head; }
  CircularBufferIterator back() const { return tail - 1; }

  // All or nothing: false, and nothing written, when data does not fit.
  bool write(const std::vector<uint8_t>& data);
  bool write(const uint8_t* data, size_t length);
  // Appends up to n buffered bytes to out, oldest first, and consumes them.
  void read(std::vector<uint8_t>& out, size_t n);
  // Consumes up to n bytes; returns how many.
  size_t ignore(size_t n);

 private:
  friend class CircularBufferIterator;

  uint8_t* storageStart() const { return storage.get(); }
  // The last storage byte.
  uint8_t* endPosition() const { return storage.get() + storageSize - 1; }

  std::unique_ptr<uint8_t[]> storage;
  size_t storageSize;
  CircularBufferIterator head;
  CircularBufferIterator tail;
};

}  // namespace zq::app::link
