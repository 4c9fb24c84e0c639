#pragma once
// A growable array of plain values kept with malloc and realloc: large blocks grow by remapping pages
// instead of copying, and new elements are not zero-filled first. For the bulk stores of result sets
// and grids, which grow to tens of megabytes.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace slp::data {

template <class T>
class PodBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

  public:
    PodBuffer() = default;
    PodBuffer(const PodBuffer& other) { *this = other; }
    PodBuffer(PodBuffer&& other) noexcept { swap(other); }
    PodBuffer& operator=(const PodBuffer& other) {
        if (this != &other) {
            clear();
            append(other.data_, other.size_);
        }
        return *this;
    }
    PodBuffer& operator=(PodBuffer&& other) noexcept {
        swap(other);
        return *this;
    }
    ~PodBuffer() { std::free(data_); }

    void swap(PodBuffer& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }

    void push_back(const T& value) {
        if (size_ == capacity_) grow(size_ + 1);
        data_[size_++] = value;
    }
    // Room for n more elements at the end, uninitialised; returns where they start.
    T* extend(size_t n) {
        if (size_ + n > capacity_) grow(size_ + n);
        T* start = data_ + size_;
        size_ += n;
        return start;
    }
    void append(const T* values, size_t n) {
        if (n == 0) return;
        std::memcpy(extend(n), values, n * sizeof(T));
    }
    void clear() { size_ = 0; }
    void resize(size_t n, const T& value = T()) {
        if (n > size_) {
            T* start = extend(n - size_);
            std::fill(start, data_ + n, value);
        }
        size_ = n;
    }
    void reserve(size_t n) {
        if (n > capacity_) reallocate(n);
    }
    void shrink_to_fit() {
        if (size_ == 0) {
            std::free(data_);
            data_ = nullptr;
            capacity_ = 0;
        } else if (size_ < capacity_) {
            reallocate(size_);
        }
    }

  private:
    // Grows by half, not double: the reserve is part of what every element costs.
    void grow(size_t needed) { reallocate(std::max({needed, capacity_ + capacity_ / 2, size_t(64)})); }
    void reallocate(size_t n) {
        void* p = std::realloc(data_, n * sizeof(T));
        if (!p) throw std::bad_alloc();
        data_ = static_cast<T*>(p);
        capacity_ = n;
    }

    T* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

}  // namespace slp::data
