// A set over an enumeration, kept in as many bytes as the original declared it
// (TSet<TShortcutOption, uint8_t> is one byte). Element ordinals must fit the bits.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace ld {

template <class E, class Storage = uint8_t>
class TSet {
    static_assert(std::is_enum_v<E>);
    static_assert(std::is_unsigned_v<Storage>);

public:
    using Element = E;
    using StorageType = Storage;

    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> elements)
    {
        for (E e : elements)
            FBits = static_cast<Storage>(FBits | Bit(e));
    }

    static constexpr TSet FromBits(uint64_t bits)
    {
        TSet s;
        s.FBits = static_cast<Storage>(bits);
        return s;
    }
    constexpr uint64_t Bits() const { return FBits; }

    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E e)
    {
        FBits = static_cast<Storage>(FBits | Bit(e));
        return *this;
    }
    constexpr TSet& Exclude(E e)
    {
        FBits = static_cast<Storage>(FBits & ~Bit(e));
        return *this;
    }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.FBits | b.FBits); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.FBits & ~b.FBits); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.FBits & b.FBits); }
    friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }
    // a <= b: every element of a is in b.
    friend constexpr bool operator<=(TSet a, TSet b) { return (a.FBits & ~b.FBits) == 0; }

private:
    static constexpr Storage Bit(E e) { return static_cast<Storage>(Storage(1) << static_cast<unsigned>(e)); }
    Storage FBits = 0;
};

} // namespace ld
