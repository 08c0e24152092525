#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "schema/StringTable.h"

namespace morvane {

// What a key holds, from the first letter of its descriptor.
enum class KeyKind {
    None,          // no descriptor text
    Integer,       // I
    Real,          // R
    YesNo,         // B
    TrueFalse,     // T
    Percent,       // P
    CratePowerup,  // K
    Verses,        // V
    OneOfList,     // L
    ManyOfList,    // M
    Heading,       // C
    Unknown,       // any other letter
};

KeyKind KindOfLetter(char letter);
// The kinds the value editor shows a value of.
bool IsValueKind(KeyKind kind);

// One descriptor string taken apart: "Xmin|max|default;help". A heading is "C" and its text.
struct Descriptor {
    KeyKind kind = KeyKind::None;
    std::string typeLetter;  // the letter as written, for showing
    std::string minText;
    std::string maxText;
    std::string defaultText;
    std::string helpText;
    // False for a heading and for a string without any "|": such a descriptor has no value fields.
    bool hasFields = false;
};

Descriptor ParseDescriptor(std::string_view text, const StringTable& table);

// The help shown for a help part: "~NNNN" pulls in the text of entry NNNN (after its first "="
// when it has one); anything else is the help itself.
std::string ResolveHelp(std::string_view helpPart, const StringTable& table);

// A crate powerup's help may begin with the caption of its option field and "!".
struct CaptionedHelp {
    std::string caption;
    std::string help;
};
std::optional<CaptionedHelp> SplitOptionCaption(std::string_view help);

// The default as the editor shows it beside "Default:".
std::string FormatDefault(const Descriptor& descriptor, const StringTable& table);

// A list entry as shown in a list: "NAME - Label", or the entry itself when it has no "=".
// With `cutAtBar` the text from the first "|" on is dropped first.
std::string FormatListEntry(std::string_view entry, bool cutAtBar);

// The value name of a list entry as the rules file holds it: the text before "=" (and before
// any "|"), trimmed.
std::string ListEntryName(std::string_view entry);

// The default in the form the game reads it from the rules file (yes/no, true/false, N%, a
// list entry's NAME, NAMEs joined by ",", Verses fields joined by ","), or nothing when the
// descriptor gives no default.
std::optional<std::string> DefaultValueForFile(const Descriptor& descriptor, const StringTable& table);

// A bound of a spin: exactly "." means none (-32767 below, 32767 above); anything else is read
// as a decimal number kept to its low 16 bits.
std::int16_t ReadLowerBound(std::string_view field);
std::int16_t ReadUpperBound(std::string_view field);

}  // namespace morvane
