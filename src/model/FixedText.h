// Fixed-length, blank-padded text fields and 1-based arrays, the two shapes
// the material record is made of.
//
// Texts hold Windows-1252 bytes exactly as the files do; conversion to Unicode
// happens only at the window boundary.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Text1252.h"

template <std::size_t N>
struct FixedText {
    std::array<char, N> bytes;

    FixedText() { bytes.fill(' '); }
    FixedText(std::string_view text) { set(text); }  // NOLINT: texts convert freely

    static constexpr std::size_t size() { return N; }

    // Cut to N characters, padded with blanks.
    void set(std::string_view text) {
        bytes.fill(' ');
        const std::size_t n = text.size() < N ? text.size() : N;
        for (std::size_t i = 0; i < n; ++i) bytes[i] = text[i];
    }
    void clear() { bytes.fill(' '); }

    // The whole field, padding included.
    std::string raw() const { return std::string(bytes.data(), N); }
    // The field as it is used: trimmed.
    std::string str() const { return TrimBlanks(std::string_view(bytes.data(), N)); }
    bool isBlank() const { return str().empty(); }

    bool operator==(const FixedText&) const = default;
};

// An array indexed 1..N, for the record's point tables whose algorithms count from 1.
template <class T, std::size_t N>
struct OneBased {
    std::array<T, N> items{};

    static constexpr std::size_t size() { return N; }
    T& operator[](std::size_t i) {
        assert(i >= 1 && i <= N);
        return items[i - 1];
    }
    const T& operator[](std::size_t i) const {
        assert(i >= 1 && i <= N);
        return items[i - 1];
    }
    auto begin() { return items.begin(); }
    auto end() { return items.end(); }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
    void fill(const T& value) { items.fill(value); }

    bool operator==(const OneBased&) const = default;
};
