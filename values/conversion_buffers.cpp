#include "values/conversion_buffers.h"

#include <algorithm>
#include <cstring>

namespace lm {

ConversionBuffers::ConversionBuffers() : binary_(std::make_unique<std::uint8_t[]>(kBinarySize)) {
    text_.reserve(kTextLimit + 1);
}

void ConversionBuffers::LoadBinary(const void* source, std::size_t count) {
    count = std::min(count, kBinarySize);
    std::memmove(binary_.get(), source, count);
    if (count < kConversionSpan) std::memset(binary_.get() + count, 0, kConversionSpan - count);
}

void ConversionBuffers::ClearBinary(std::size_t count) {
    std::memset(binary_.get(), 0, std::min(std::max(count, kConversionSpan), kBinarySize));
}

char* ConversionBuffers::HandOutText() {
    const std::size_t n = std::min(text_.size(), kTextLimit - 1);
    std::memcpy(handed_out_, text_.data(), n);
    handed_out_[n] = '\0';
    return handed_out_;
}

}  // namespace lm
