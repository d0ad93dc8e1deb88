#include "platform/posix/image_buffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace tamvel::posix {

namespace {

constexpr size_t kChunk = size_t{4} << 20;           // committed at a time
constexpr size_t kHugePage = size_t{2} << 20;        // the base is aligned to it
constexpr size_t kReserve = size_t{4} << 30;         // the sizes in an EMF are 32-bit
constexpr size_t kPoolBuffers = 4;                   // released buffers kept for reuse
constexpr size_t kPoolKeepBytes = size_t{64} << 20;  // committed bytes a pooled buffer keeps

struct Mapping {
  uint8_t *base = nullptr;
  size_t committed = 0;
  size_t reserved = 0;
};

struct Pool {
  std::mutex mutex;
  std::vector<Mapping> free;
};

Pool &ThePool() {
  static Pool *pool = new Pool;  // never destroyed: pages may be released during exit
  return *pool;
}

size_t RoundUp(size_t n, size_t unit) { return (n + unit - 1) / unit * unit; }

// Address space for at least `bytes`, aligned to a huge page; less than kReserve only when the
// process may not have that much (then growing past it copies once).
Mapping Reserve(size_t bytes) {
  const size_t wanted = RoundUp(std::max(bytes, kReserve), kChunk);
  for (size_t size = wanted; size >= bytes && size >= kChunk; size /= 2) {
    void *p = mmap(nullptr, size + kHugePage, PROT_NONE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) continue;
    auto *start = static_cast<uint8_t *>(p);
    auto *base =
        reinterpret_cast<uint8_t *>(RoundUp(reinterpret_cast<uintptr_t>(start), kHugePage));
    if (base != start) munmap(start, static_cast<size_t>(base - start));
    munmap(base + size, kHugePage - static_cast<size_t>(base - start));
    return {base, 0, size};
  }
  return {};
}

// Commits whole chunks until `needed` bytes from the base are writable.
bool Commit(Mapping &m, size_t needed) {
  const size_t target = RoundUp(needed, kChunk);
  if (target <= m.committed) return true;
  if (target > m.reserved) return false;
  if (mprotect(m.base + m.committed, target - m.committed, PROT_READ | PROT_WRITE) != 0) {
    return false;
  }
#ifdef MADV_HUGEPAGE
  // Huge pages from the second chunk on, so that small images stay small. Only a hint.
  const size_t from = std::max(m.committed, kChunk);
  if (target > from) madvise(m.base + from, target - from, MADV_HUGEPAGE);
#endif
  m.committed = target;
  return true;
}

Mapping TakeFromPool() {
  Pool &pool = ThePool();
  std::lock_guard<std::mutex> lock(pool.mutex);
  if (pool.free.empty()) return {};
  auto most = std::max_element(pool.free.begin(), pool.free.end(),
                               [](auto &a, auto &b) { return a.committed < b.committed; });
  Mapping m = *most;
  pool.free.erase(most);
  return m;
}

void GiveBack(Mapping m) {
  if (m.committed > kPoolKeepBytes) {
    // The pages past what a pooled buffer keeps go back to the system.
    uint8_t *from = m.base + kPoolKeepBytes;
    const size_t length = m.committed - kPoolKeepBytes;
    madvise(from, length, MADV_DONTNEED);
    mprotect(from, length, PROT_NONE);
    m.committed = kPoolKeepBytes;
  }
  Pool &pool = ThePool();
  {
    std::lock_guard<std::mutex> lock(pool.mutex);
    if (pool.free.size() < kPoolBuffers) {
      pool.free.push_back(m);
      return;
    }
  }
  munmap(m.base, m.reserved);
}

}  // namespace

ImageBuffer::~ImageBuffer() { Release(); }

ImageBuffer::ImageBuffer(ImageBuffer &&other) noexcept
    : base_(std::exchange(other.base_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      committed_(std::exchange(other.committed_, 0)),
      reserved_(std::exchange(other.reserved_, 0)) {}

ImageBuffer &ImageBuffer::operator=(ImageBuffer &&other) noexcept {
  if (this != &other) {
    Release();
    base_ = std::exchange(other.base_, nullptr);
    size_ = std::exchange(other.size_, 0);
    committed_ = std::exchange(other.committed_, 0);
    reserved_ = std::exchange(other.reserved_, 0);
  }
  return *this;
}

void ImageBuffer::Release() {
  if (base_) GiveBack({base_, committed_, reserved_});
  base_ = nullptr;
  size_ = committed_ = reserved_ = 0;
}

uint8_t *ImageBuffer::ExtendSlowly(size_t n) {
  if (n > reserved_ - size_ && n > SIZE_MAX / 2 - size_) return nullptr;
  const size_t needed = size_ + n;
  Mapping m{base_, committed_, reserved_};
  if (!base_) {
    m = TakeFromPool();
    if (!m.base) m = Reserve(needed);
    if (!m.base) return nullptr;
  } else if (needed > reserved_) {
    // Only where less than the whole range could be reserved: move once to a bigger one.
    Mapping bigger = Reserve(needed * 2);
    if (!bigger.base || !Commit(bigger, needed)) {
      if (bigger.base) munmap(bigger.base, bigger.reserved);
      return nullptr;
    }
    std::memcpy(bigger.base, base_, size_);
    munmap(base_, reserved_);
    m = bigger;
  }
  if (!Commit(m, needed)) {
    if (!base_) GiveBack(m);
    return nullptr;
  }
  base_ = m.base;
  committed_ = m.committed;
  reserved_ = m.reserved;
  uint8_t *at = base_ + size_;
  size_ = needed;
  return at;
}

}  // namespace tamvel::posix
