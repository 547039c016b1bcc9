#include "link/CircularBuffer.h"

#include <algorithm>
#include <cstring>

namespace zq::app::link {

const CircularBufferIterator CircularBufferIterator::npos;

std::ptrdiff_t CircularBufferIterator::index() const { return position - owner->storageStart(); }

CircularBufferIterator& CircularBufferIterator::operator++() {
  position = position == owner->endPosition() ? owner->storageStart() : position + 1;
  return *this;
}

CircularBufferIterator CircularBufferIterator::operator++(int) {
  CircularBufferIterator previous = *this;
  ++*this;
  return previous;
}

CircularBufferIterator& CircularBufferIterator::operator--() {
  position = position == owner->storageStart() ? owner->endPosition() : position - 1;
  return *this;
}

CircularBufferIterator CircularBufferIterator::operator--(int) {
  CircularBufferIterator previous = *this;
  --*this;
  return previous;
}

CircularBufferIterator& CircularBufferIterator::operator+=(std::ptrdiff_t count) {
  const auto size = static_cast<std::ptrdiff_t>(owner->storageSize);
  std::ptrdiff_t target = (index() + count % size) % size;
  if (target < 0) target += size;
  position = owner->storageStart() + target;
  return *this;
}

CircularBufferIterator CircularBufferIterator::operator+(std::ptrdiff_t count) const {
  CircularBufferIterator moved = *this;
  return moved += count;
}

CircularBufferIterator CircularBufferIterator::operator-(std::ptrdiff_t count) const {
  CircularBufferIterator moved = *this;
  return moved -= count;
}

std::ptrdiff_t CircularBufferIterator::operator-(const CircularBufferIterator& other) const {
  const auto size = static_cast<std::ptrdiff_t>(owner->storageSize);
  const std::ptrdiff_t head = owner->head.index();
  const std::ptrdiff_t mine = (index() - head + size) % size;
  const std::ptrdiff_t theirs = (other.index() - head + size) % size;
  return mine - theirs;
}

bool CircularBufferIterator::checkValidity() const {
  if (owner == nullptr || position == nullptr) return false;
  if (position < owner->storageStart() || position > owner->endPosition()) return false;
  return static_cast<size_t>(*this - owner->head) <= owner->size();
}

CircularBuffer::CircularBuffer(size_t capacity)
    : storage(new uint8_t[capacity + 1]()),
      storageSize(capacity + 1),
      head(this, storage.get()),
      tail(this, storage.get()) {}

void CircularBuffer::clear() {
  head = CircularBufferIterator(this, storageStart());
  tail = head;
}

size_t CircularBuffer::size() const {
  const std::ptrdiff_t distance = tail.index() - head.index();
  return static_cast<size_t>(distance >= 0 ? distance : distance + static_cast<std::ptrdiff_t>(storageSize));
}

bool CircularBuffer::write(const std::vector<uint8_t>& data) { return write(data.data(), data.size()); }

bool CircularBuffer::write(const uint8_t* data, size_t length) {
  if (length > freeSpace()) return false;
  if (length == 0) return true;
  const size_t toEnd = static_cast<size_t>(endPosition() - tail.getPosition()) + 1;
  const size_t first = std::min(length, toEnd);
  std::memcpy(tail.getPosition(), data, first);
  if (length > first) std::memcpy(storageStart(), data + first, length - first);
  tail += static_cast<std::ptrdiff_t>(length);
  return true;
}

void CircularBuffer::read(std::vector<uint8_t>& out, size_t n) {
  const size_t count = std::min(n, size());
  if (count == 0) return;
  const size_t toEnd = static_cast<size_t>(endPosition() - head.getPosition()) + 1;
  const size_t first = std::min(count, toEnd);
  out.insert(out.end(), head.getPosition(), head.getPosition() + first);
  if (count > first) out.insert(out.end(), storageStart(), storageStart() + (count - first));
  head += static_cast<std::ptrdiff_t>(count);
}

size_t CircularBuffer::ignore(size_t n) {
  const size_t count = std::min(n, size());
  head += static_cast<std::ptrdiff_t>(count);
  return count;
}

}  // namespace zq::app::link
