// The memory of one metafile image, recorded or loaded. It grows in place: a range of address
// space is reserved once and its pages are committed in chunks of a few MB as bytes arrive,
// so a record is written where it stays (no copy on growth, no allocation per record) and the
// finished image is one span for the player and one write for a file. Chunks past the first
// ask the kernel for huge pages, which saves a page fault per 4 KB on big pages. A released
// buffer goes to a small pool with its pages still committed, and the next recording (a
// cleared page, the next page) takes it from there without faulting them in again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tamvel::posix {

class ImageBuffer {
 public:
  ImageBuffer() = default;
  ~ImageBuffer();
  ImageBuffer(ImageBuffer &&other) noexcept;
  ImageBuffer &operator=(ImageBuffer &&other) noexcept;
  ImageBuffer(const ImageBuffer &) = delete;
  ImageBuffer &operator=(const ImageBuffer &) = delete;

  // Makes room for `n` more bytes at the end and returns where they go; null when there is no
  // memory for them (the buffer is left as it was). The bytes are not initialized.
  uint8_t *Extend(size_t n) {
    if (n <= committed_ - size_) {
      uint8_t *at = base_ + size_;
      size_ += n;
      return at;
    }
    return ExtendSlowly(n);
  }
  // The end of the committed memory, and Extend for bytes that fit before it (which then
  // checks nothing).
  size_t committed() const { return committed_; }
  uint8_t *ExtendInPlace(size_t n) {
    uint8_t *at = base_ + size_;
    size_ += n;
    return at;
  }
  // Forgets the bytes from `size` on (keeps the memory).
  void Truncate(size_t size) {
    if (size < size_) size_ = size;
  }

  uint8_t *data() { return base_; }
  const uint8_t *data() const { return base_; }
  size_t size() const { return size_; }
  std::span<const uint8_t> bytes() const { return {base_, size_}; }

 private:
  uint8_t *ExtendSlowly(size_t n);
  void Release();

  uint8_t *base_ = nullptr;
  size_t size_ = 0;
  size_t committed_ = 0;  // readable and writable from base_
  size_t reserved_ = 0;   // address space held from base_
};

}  // namespace tamvel::posix
