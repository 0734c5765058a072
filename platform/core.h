// Root types of the platform layer: the object and persistent base classes,
// the exception hierarchy, small sets and the notify event.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace zkw {

using Extended = long double;

// Platform exception root: every error the suite raises derives from it.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
  std::string Message() const { return what(); }
};

// Raised when Assign/AssignTo meet a pair of classes that cannot be copied.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Raised by the form reader; the message names the property path.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

// Raised when a picture file cannot be read.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

class TObject {
 public:
  virtual ~TObject() = default;
  virtual std::string ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Set of a small unscoped enumeration (at most 32 enumerators), stored as bits.
template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Items) {
    for (E Item : Items) Include(Item);
  }
  constexpr bool Contains(E Item) const { return (Bits & Bit(Item)) != 0; }
  constexpr void Include(E Item) { Bits |= Bit(Item); }
  constexpr void Exclude(E Item) { Bits &= ~Bit(Item); }
  constexpr bool Empty() const { return Bits == 0; }
  constexpr std::uint32_t Raw() const { return Bits; }
  static constexpr TSet FromRaw(std::uint32_t Raw) {
    TSet S;
    S.Bits = Raw;
    return S;
  }
  constexpr TSet operator+(TSet Other) const { return FromRaw(Bits | Other.Bits); }
  constexpr TSet operator-(TSet Other) const { return FromRaw(Bits & ~Other.Bits); }
  constexpr TSet operator*(TSet Other) const { return FromRaw(Bits & Other.Bits); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr std::uint32_t Bit(E Item) { return std::uint32_t{1} << static_cast<unsigned>(Item); }
  std::uint32_t Bits = 0;
};

class TPersistent : public TObject {
 public:
  std::string ClassName() const override { return "TPersistent"; }
  // Copies Source's values into this object. The default asks Source to
  // AssignTo this object, which raises EConvertError when neither side knows
  // the pair.
  virtual void Assign(const TPersistent& Source);
  // Copies this object's values into Dest; the default raises EConvertError.
  virtual void AssignTo(TPersistent& Dest) const;
};

}  // namespace zkw
