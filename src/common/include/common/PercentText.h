#pragma once

#include <cstdint>
#include <string_view>

namespace morvane {

// A percentage as the game reads a fixed-point value: "20%" (whole digits right before "%")
// is 20, and so is the fraction ".2" or "0.2"; a plain "20" is 2000, the number 20.
struct PercentReading {
    std::int64_t percent = 0;  // rounded to the nearest whole percent
    bool whole = false;        // the value is exactly `percent`, with nothing lost in rounding
};
PercentReading ReadPercentText(std::string_view text);

}  // namespace morvane
