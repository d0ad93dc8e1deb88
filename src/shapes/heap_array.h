// Work memory for arrays whose size a caller controls: taken from the process heap, checked,
// and given back when the call returns. A count that is negative, zero or too large for the
// address space gives an empty array instead of an overflowing request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "platform/win32.h"

namespace tamvel {

template <typename T>
class HeapArray {
 public:
  explicit HeapArray(int64_t count) {
    if (count <= 0 ||
        static_cast<uint64_t>(count) > std::numeric_limits<SIZE_T>::max() / sizeof(T)) {
      return;
    }
    data_ =
        static_cast<T *>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(count) * sizeof(T)));
    if (data_ != nullptr) size_ = count;
  }
  ~HeapArray() {
    if (data_ != nullptr) HeapFree(GetProcessHeap(), 0, data_);
  }
  HeapArray(const HeapArray &) = delete;
  HeapArray &operator=(const HeapArray &) = delete;

  bool ok() const { return data_ != nullptr; }
  T *data() { return data_; }
  int64_t size() const { return size_; }
  T &operator[](int64_t i) { return data_[i]; }

 private:
  T *data_ = nullptr;
  int64_t size_ = 0;
};

}  // namespace tamvel
