// Little-endian packed field access for the fixed-record files. Fields are
// read and written one by one at their offsets, never by copying a struct.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "model/FixedText.h"

// On a little-endian machine an array of numbers is its packed form already
// and is copied whole, which is most of the work of a record.
template <class T>
inline constexpr bool kCopiedWhole = std::endian::native == std::endian::little && std::is_arithmetic_v<T>;
static_assert(sizeof(std::array<double, 150>) == 150 * sizeof(double), "arrays are packed");

// Reads fields from a byte buffer, advancing a cursor.
class ByteReader {
public:
    explicit ByteReader(const std::uint8_t* data) : m_p(data) {}

    void field(std::int16_t& v) { v = static_cast<std::int16_t>(u16()); }
    void field(std::int32_t& v) { v = static_cast<std::int32_t>(u32()); }
    void field(float& v) {
        std::uint32_t u = u32();
        std::memcpy(&v, &u, 4);
    }
    void field(double& v) {
        std::uint64_t u = 0;
        for (int i = 7; i >= 0; --i) u = (u << 8) | m_p[i];
        m_p += 8;
        std::memcpy(&v, &u, 8);
    }
    template <std::size_t N>
    void field(FixedText<N>& t) {
        std::memcpy(t.bytes.data(), m_p, N);
        m_p += N;
    }
    template <std::size_t N>
    void field(std::array<std::uint8_t, N>& b) {
        std::memcpy(b.data(), m_p, N);
        m_p += N;
    }
    template <class T, std::size_t N>
    void field(std::array<T, N>& a) {
        if constexpr (kCopiedWhole<T>) {
            std::memcpy(a.data(), m_p, sizeof a);
            m_p += sizeof a;
        } else {
            for (auto& v : a) field(v);
        }
    }
    template <class T, std::size_t N>
    void field(OneBased<T, N>& a) {
        field(a.items);
    }
    void skip(std::size_t n) { m_p += n; }
    const std::uint8_t* position() const { return m_p; }

private:
    std::uint16_t u16() {
        std::uint16_t v = static_cast<std::uint16_t>(m_p[0] | (m_p[1] << 8));
        m_p += 2;
        return v;
    }
    std::uint32_t u32() {
        std::uint32_t v = static_cast<std::uint32_t>(m_p[0]) | (static_cast<std::uint32_t>(m_p[1]) << 8) |
                          (static_cast<std::uint32_t>(m_p[2]) << 16) | (static_cast<std::uint32_t>(m_p[3]) << 24);
        m_p += 4;
        return v;
    }
    const std::uint8_t* m_p;
};

// Writes fields into a byte buffer, advancing a cursor. Takes its fields by
// non-const reference only so one layout function serves reading and writing.
class ByteWriter {
public:
    explicit ByteWriter(std::uint8_t* data) : m_p(data) {}

    void field(const std::int16_t& v) { u16(static_cast<std::uint16_t>(v)); }
    void field(const std::int32_t& v) { u32(static_cast<std::uint32_t>(v)); }
    void field(const float& v) {
        std::uint32_t u;
        std::memcpy(&u, &v, 4);
        u32(u);
    }
    void field(const double& v) {
        std::uint64_t u;
        std::memcpy(&u, &v, 8);
        for (int i = 0; i < 8; ++i) m_p[i] = static_cast<std::uint8_t>(u >> (8 * i));
        m_p += 8;
    }
    template <std::size_t N>
    void field(const FixedText<N>& t) {
        std::memcpy(m_p, t.bytes.data(), N);
        m_p += N;
    }
    template <std::size_t N>
    void field(const std::array<std::uint8_t, N>& b) {
        std::memcpy(m_p, b.data(), N);
        m_p += N;
    }
    template <class T, std::size_t N>
    void field(const std::array<T, N>& a) {
        if constexpr (kCopiedWhole<T>) {
            std::memcpy(m_p, a.data(), sizeof a);
            m_p += sizeof a;
        } else {
            for (const auto& v : a) field(v);
        }
    }
    template <class T, std::size_t N>
    void field(const OneBased<T, N>& a) {
        field(a.items);
    }
    void skip(std::size_t n) {
        std::memset(m_p, 0, n);
        m_p += n;
    }
    const std::uint8_t* position() const { return m_p; }

private:
    void u16(std::uint16_t v) {
        m_p[0] = static_cast<std::uint8_t>(v);
        m_p[1] = static_cast<std::uint8_t>(v >> 8);
        m_p += 2;
    }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) m_p[i] = static_cast<std::uint8_t>(v >> (8 * i));
        m_p += 4;
    }
    std::uint8_t* m_p;
};
