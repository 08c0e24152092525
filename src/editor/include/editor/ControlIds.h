#pragma once

// The ids of the value editor's controls. The window binds its widgets by these numbers, and
// the picture of a game object is the control whose id is the object's list id.
namespace morvane::control {

inline constexpr int kTree = 1001;
inline constexpr int kListCombo = 1002;
inline constexpr int kValueEdit = 1003;
inline constexpr int kValueSpin = 1004;
inline constexpr int kHelpText = 1005;
inline constexpr int kPathText = 1006;
inline constexpr int kDefaultText = 1007;
inline constexpr int kPercentSlider = 1008;
inline constexpr int kPercentScale0 = 1009;
inline constexpr int kPercentScale100 = 1010;
inline constexpr int kPercentScale50 = 1011;
inline constexpr int kPercentText = 1012;
inline constexpr int kDefaultCaption = 1013;
inline constexpr int kApplyButton = 1014;
inline constexpr int kCheckBox = 1015;
inline constexpr int kSpareIcon = 1016;
inline constexpr int kMultiList = 1017;
inline constexpr int kVersesScaleTop = 1022;
inline constexpr int kVersesScaleBottom = 1023;
inline constexpr int kChanceEdit = 1024;
inline constexpr int kChanceCaption = 1037;
inline constexpr int kAnimationCombo = 1038;
inline constexpr int kOptionEdit = 1039;
inline constexpr int kOptionCaption = 1040;
inline constexpr int kAnimationCaption = 1041;
inline constexpr int kChanceSpin = 1042;
inline constexpr int kDefaultButton = 1049;

// The five armour classes of a warhead's Verses, in file order: slider, caption, value box.
struct VersesColumn {
    int slider;
    int caption;
    int edit;
    const char* label;
};
inline constexpr VersesColumn kVersesColumns[5] = {
    {1019, 1020, 1021, "None"},  {1025, 1026, 1027, "Wood"},     {1028, 1029, 1030, "Light"},
    {1031, 1032, 1033, "Heavy"}, {1034, 1035, 1036, "Concrete"},
};

inline constexpr int kMatchAllMenuItem = 52777;
inline constexpr int kUndoMenuItem = 57643;
inline constexpr int kRedoMenuItem = 57644;

inline constexpr int kChanceMaxChars = 3;
inline constexpr int kOptionMaxChars = 6;

}  // namespace morvane::control
