#include "common/PercentText.h"

#include "common/TextOps.h"

namespace morvane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

PercentReading ReadPercentText(std::string_view text) {
    text = TrimLeft(text);
    std::size_t digits = 0;
    while (digits < text.size() && IsDigit(text[digits])) ++digits;
    if (digits < text.size() && text[digits] == '%') {
        const std::int64_t percent = ReadDecimal(text.substr(0, digits));
        return {percent, true};
    }
    // Whole part as atoi reads it, kept to the 16 bits the game stores; then the digits after
    // the first ".". Only the first two fraction digits make whole percents.
    const std::int64_t whole = text.empty() || text.front() == '.' ? 0 : LowUnsigned16(ReadDecimal(text));
    const Split point = SplitAtFirst(text, '.');
    std::string_view fraction = point.found ? point.after : std::string_view();
    std::size_t fractionDigits = 0;
    while (fractionDigits < fraction.size() && IsDigit(fraction[fractionDigits])) ++fractionDigits;
    fraction = fraction.substr(0, fractionDigits);

    std::int64_t hundredths = 0;
    for (std::size_t i = 0; i < 2; ++i) hundredths = hundredths * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    bool rest = false;
    for (std::size_t i = 2; i < fraction.size(); ++i) rest = rest || fraction[i] != '0';
    const bool roundUp = fraction.size() > 2 && fraction[2] >= '5';
    return {whole * 100 + hundredths + (roundUp ? 1 : 0), !rest};
}

}  // namespace morvane
