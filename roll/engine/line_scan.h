#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ROLLBOX_LINE_SCAN_SSE2 1
#endif

// Finds the line feeds of a text one after another. A large record has a million short
// lines, so the scan tests a block of bytes at a time (16 with SSE2, else 8) and hands out
// the line feeds of a block from a bit mask, instead of searching for each one anew.
class LineFeedScanner {
public:
    static constexpr std::size_t none = std::string_view::npos;

    explicit LineFeedScanner(std::string_view text) : data_(text.data()), size_(text.size()) {}

    // Goes on from offset, which must start a line.
    void seek(std::size_t offset) {
        block_ = offset;
        mask_ = 0;
        started_ = false;
    }

    // Offset of the next line feed, or none.
    std::size_t next() {
        while (mask_ == 0) {
            if (started_)
                block_ += width;
            started_ = true;
            if (block_ >= size_)
                return none;
            mask_ = block_ + width <= size_ ? blockMask(data_ + block_) : tailMask();
        }
        const auto bit = static_cast<std::size_t>(std::countr_zero(mask_));
        mask_ &= mask_ - 1;
        return block_ + bit / bitsPerByte;
    }

private:
#ifdef ROLLBOX_LINE_SCAN_SSE2
    using Mask = std::uint32_t;
    static constexpr std::size_t width = 16, bitsPerByte = 1;
    static Mask blockMask(const char* p) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        return static_cast<Mask>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8('\n'))));
    }
#else
    using Mask = std::uint64_t;
    static constexpr std::size_t width = 8, bitsPerByte = 8;
    static Mask blockMask(const char* p) {
        constexpr Mask ones = 0x0101010101010101u, low7 = 0x7f7f7f7f7f7f7f7fu;
        Mask word;
        std::memcpy(&word, p, 8);
        if constexpr (std::endian::native == std::endian::big)
            word = byteSwapped(word);
        const Mask x = word ^ (ones * '\n');
        // The high bit of each byte is set exactly where x has a zero byte; no carry crosses
        // from one byte to the next.
        return ~(((x & low7) + low7) | x | low7);
    }
    static Mask byteSwapped(Mask w) {
        Mask r = 0;
        for (int i = 0; i < 8; ++i, w >>= 8)
            r = (r << 8) | (w & 0xff);
        return r;
    }
#endif
    // The last, shorter block, byte by byte.
    Mask tailMask() const {
        Mask mask = 0;
        for (std::size_t i = 0; block_ + i < size_; ++i) {
            if (data_[block_ + i] == '\n')
                mask |= Mask{1} << (i * bitsPerByte + bitsPerByte - 1);
        }
        return mask;
    }

    const char* data_;
    std::size_t size_;
    std::size_t block_ = 0;
    Mask mask_ = 0;
    bool started_ = false;
};

// Length of the whole lines at the start of text that each begin with first and end in CR LF,
// checked 64 bytes at a time. It may stop short of the last such line, never past it; without
// SSE2 it finds none, and the caller goes on line by line.
inline std::size_t leadingLinesStartingWith(std::string_view text, char first) {
#ifdef ROLLBOX_LINE_SCAN_SSE2
    if (text.empty() || text.front() != first)
        return 0;
    // One bit per byte of the 64 at p, set where the byte is c.
    auto maskOf = [](const char* p, char c) {
        const __m128i cs = _mm_set1_epi8(c);
        std::uint64_t mask = 0;
        for (int i = 0; i < 4; ++i) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
            const auto bits =
                static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cs)));
            mask |= std::uint64_t{bits} << (16 * i);
        }
        return mask;
    };
    std::size_t checked = 0;       // end of the lines found good so far
    std::uint64_t crBefore = 0;    // 1 when the byte before the chunk is a CR
    std::uint64_t lineAtStart = 1; // 1 when a line begins with the chunk's first byte
    for (std::size_t pos = 0; pos + 64 <= text.size(); pos += 64) {
        const char* p = text.data() + pos;
        const std::uint64_t lf = maskOf(p, '\n'), cr = (maskOf(p, '\r') << 1) | crBefore;
        const std::uint64_t starts = (lf << 1) | lineAtStart;
        // Every line that starts here begins with first, every line feed follows a CR.
        if ((starts & ~maskOf(p, first)) | (lf & ~cr))
            return checked;
        if (lf)
            checked = pos + static_cast<std::size_t>(64 - std::countl_zero(lf));
        lineAtStart = lf >> 63;
        crBefore = static_cast<std::uint64_t>(p[63] == '\r');
    }
    return checked;
#else
    (void)text;
    (void)first;
    return 0;
#endif
}
