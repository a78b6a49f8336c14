// Number conversions every gauge shares.
#pragma once

#include <cstdint>

// Truncates toward zero to a signed 32-bit integer. NaN, infinities and values outside
// the 32-bit range give 0x80000000, as the x86 truncating conversion does.
constexpr std::int32_t truncate_to_i32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

// The same result read as unsigned, for the gauges that compare without sign.
constexpr std::uint32_t truncate_to_u32(double value) {
    return static_cast<std::uint32_t>(truncate_to_i32(value));
}
