// The private heap's chunk layout. A chunk starts with two 32-bit words: the
// previous chunk's size (meaningful only while that chunk is free) and its
// own size, whose low bits are flags. The caller's block starts 8 bytes in;
// a free chunk keeps its forward and backward links there and repeats its
// size in the next chunk's first word. Words are read and written through
// memcpy, so the layout is exact on every host without aliasing tricks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace runtime {

using chunk = unsigned char*;

constexpr std::uint32_t previous_in_use = 0x1;  // size word: the chunk before is in use
constexpr std::uint32_t separate_region = 0x2;  // size word: the chunk is a region of its own
constexpr std::uint32_t size_flags = previous_in_use | separate_region;
constexpr std::uint32_t size_unit = 8;  // every chunk size is a multiple of this; fence posts have size 4
constexpr std::uint32_t block_offset = 8;        // from the chunk to the caller's block
constexpr std::uint32_t overhead_bytes = 4;      // an in-use chunk owns the next chunk's first word

// The smallest chunk: the two size words and the two links of a free chunk.
// 16 bytes on a 32-bit target, 24 on a 64-bit host; every remainder that is
// split off must be able to hold a free chunk.
constexpr std::uint32_t smallest_chunk = 8 + 2 * static_cast<std::uint32_t>(sizeof(void*));

// `value` rounded up to a multiple of `unit`, in the arithmetic of the type
// given: 32-bit sizes wrap as on the device.
template <class Unsigned>
constexpr Unsigned round_up(Unsigned value, Unsigned unit) {
    return (value + unit - 1) / unit * unit;
}

inline std::uint32_t load_word(const unsigned char* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline void store_word(unsigned char* at, std::uint32_t value) {
    std::memcpy(at, &value, sizeof value);
}

inline chunk load_link(const unsigned char* at) {
    chunk value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline void store_link(unsigned char* at, chunk value) {
    std::memcpy(at, &value, sizeof value);
}

inline std::uint32_t previous_size(chunk c) { return load_word(c); }
inline void set_previous_size(chunk c, std::uint32_t size) { store_word(c, size); }
inline std::uint32_t size_word(chunk c) { return load_word(c + 4); }
inline void set_size_word(chunk c, std::uint32_t word) { store_word(c + 4, word); }
inline std::uint32_t chunk_size(chunk c) { return size_word(c) & ~size_flags; }
inline bool is_previous_in_use(chunk c) { return (size_word(c) & previous_in_use) != 0; }
inline bool is_separate_region(chunk c) { return (size_word(c) & separate_region) != 0; }
inline chunk next_chunk(chunk c) { return c + chunk_size(c); }
inline bool is_in_use(chunk c) { return is_previous_in_use(next_chunk(c)); }

inline chunk forward(chunk c) { return load_link(c + 8); }
inline chunk backward(chunk c) { return load_link(c + 8 + sizeof(chunk)); }
inline void set_forward(chunk c, chunk to) { store_link(c + 8, to); }
inline void set_backward(chunk c, chunk to) { store_link(c + 8 + sizeof(chunk), to); }

// A free chunk's size in its own head (with the in-use bit of its predecessor) and in its foot.
inline void set_free_size(chunk c, std::uint32_t size) {
    set_size_word(c, size | previous_in_use);
    set_previous_size(c + size, size);
}

inline void mark_previous_in_use(chunk c) { set_size_word(c, size_word(c) | previous_in_use); }
inline void clear_previous_in_use(chunk c) { set_size_word(c, size_word(c) & ~previous_in_use); }

inline void* block_of(chunk c) { return c + block_offset; }
inline chunk chunk_of(void* block) { return static_cast<unsigned char*>(block) - block_offset; }

}  // namespace runtime
