#pragma once
// A set of enumeration values, as the published option sets are.
#include <cstdint>
#include <initializer_list>

namespace net
{

template <typename E> class EnumSet
{
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> values)
    {
        for (E v : values)
            m_bits |= bit(v);
    }
    constexpr bool has(E v) const { return (m_bits & bit(v)) != 0; }
    constexpr EnumSet &operator<<(E v)
    {
        m_bits |= bit(v);
        return *this;
    }
    constexpr EnumSet without(E v) const
    {
        EnumSet copy = *this;
        copy.m_bits &= ~bit(v);
        return copy;
    }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr std::uint32_t bits() const { return m_bits; }
    constexpr bool operator==(const EnumSet &other) const = default;

private:
    static constexpr std::uint32_t bit(E v) { return std::uint32_t(1) << static_cast<int>(v); }
    std::uint32_t m_bits = 0;
};

} // namespace net
