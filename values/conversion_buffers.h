// The driver's shared conversion buffers: one binary buffer and one text
// buffer. Every conversion service works in them and hands the host pointers
// into them; such a pointer stays valid until the next service call. The
// driver owns one instance for its whole life.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace lm {

class ConversionBuffers {
public:
    // Holds the largest item length a definition can give (DELKA is 16 bits)
    // and the widest text field (255 characters).
    static constexpr std::size_t kBinarySize = 65536;
    // The working text and the text handed to the host hold at most this many
    // characters; the text handed out keeps one of them for its zero byte.
    static constexpr std::size_t kTextLimit = 255;
    // The bytes a single conversion may read: 4 for numbers, up to 255 for a
    // STRING field. Where fewer bytes are copied in, the rest of this span is
    // cleared, so no conversion reads what an earlier call left behind.
    static constexpr std::size_t kConversionSpan = 256;

    ConversionBuffers();
    ConversionBuffers(const ConversionBuffers&) = delete;
    ConversionBuffers& operator=(const ConversionBuffers&) = delete;

    std::span<std::uint8_t> binary() { return {binary_.get(), kBinarySize}; }
    std::uint8_t* binary_data() { return binary_.get(); }

    // The working text of the conversions; its capacity is reserved once.
    std::string& text() { return text_; }

    // Copies `count` bytes from `source` (which may point into this buffer)
    // to the start of the binary buffer, count <= kBinarySize, and clears the
    // rest of the conversion span.
    void LoadBinary(const void* source, std::size_t count);
    // Clears the first `count` bytes and the rest of the conversion span.
    void ClearBinary(std::size_t count);

    // The working text for the host: at most kTextLimit - 1 characters and a
    // zero byte, in a buffer that only the next hand-out overwrites.
    char* HandOutText();
    const char* handed_out_text() const { return handed_out_; }

private:
    std::unique_ptr<std::uint8_t[]> binary_;
    std::string text_;
    char handed_out_[kTextLimit + 1] = {};
};

}  // namespace lm
