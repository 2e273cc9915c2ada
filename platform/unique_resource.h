#pragma once
#include <utility>

// The one owner of one handle, in the manner of std::unique_ptr: move-only, and whatever it
// holds is freed when it goes. `Traits` tells the handle type, its empty value and how to free
// it:
//   struct Traits { using Type = ...; static Type Empty(); static void Close(Type); };
// Most handles are empty when null; UniqueAny below covers those with just a close function.
template <typename Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() noexcept = default;
  explicit UniqueResource(Type value) noexcept : m_value(value) {}
  UniqueResource(UniqueResource&& other) noexcept : m_value(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { reset(); }

  Type get() const noexcept { return m_value; }
  explicit operator bool() const noexcept { return m_value != Traits::Empty(); }

  // Gives the handle up without freeing it.
  [[nodiscard]] Type release() noexcept { return std::exchange(m_value, Traits::Empty()); }
  // Frees what is held and takes `value`.
  void reset(Type value = Traits::Empty()) noexcept {
    const Type old = std::exchange(m_value, value);
    if (old != Traits::Empty()) Traits::Close(old);
  }
  // For out parameters: frees what is held first, then hands out the empty slot.
  Type* put() noexcept {
    reset();
    return &m_value;
  }

 private:
  Type m_value = Traits::Empty();
};

template <typename T, auto CloseFunction>
struct NullEmptyTraits {
  using Type = T;
  static Type Empty() noexcept { return Type{}; }
  static void Close(Type value) noexcept { static_cast<void>(CloseFunction(value)); }
};

// An owner of a handle that is empty when null and freed by `CloseFunction`.
template <typename T, auto CloseFunction>
using UniqueAny = UniqueResource<NullEmptyTraits<T, CloseFunction>>;
