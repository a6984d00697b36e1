// An owning COM interface pointer: one reference, released (and cleared) when
// replaced, reset or destroyed. Header-only; used by the player and the filter
// modules alike.
#pragma once

#include <unknwn.h>

#include <utility>

namespace velk {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a new reference of p.
  explicit ComPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& other) {
    if (this != &other) ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }

  // Releases the held reference and clears the pointer.
  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Adopts a reference the caller already owns.
  void Attach(T* p) {
    Reset();
    p_ = p;
  }
  T* Detach() { return std::exchange(p_, nullptr); }
  void Swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

  // For out parameters: releases what is held, then hands out the slot.
  T** Receive() {
    Reset();
    return &p_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
  // Fills an out parameter with a reference of its own (null when empty).
  void CopyTo(T** out) const {
    *out = p_;
    if (p_) p_->AddRef();
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  template <class Q>
  HRESULT As(REFIID iid, ComPtr<Q>& out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, out.ReceiveVoid());
  }

 private:
  T* p_ = nullptr;
};

}  // namespace velk
