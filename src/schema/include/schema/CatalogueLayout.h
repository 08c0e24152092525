#pragma once

#include <cstdint>
#include <span>

// The fixed branches of the navigation tree: which key lists and object lists each walks,
// with the labels, images and heading ids of their items. Everything below these branches
// comes from the catalogue.
namespace morvane::layout {

// A group of section "General": its keys live in section General but come from their own list.
struct GeneralGroup {
    const char* label;
    int image;
    std::uint16_t infoId;
    std::uint16_t keyListId;
};

// A section whose keys come from one key list; the label is the INI section's name.
struct SectionBranch {
    const char* label;
    int image;
    std::uint16_t infoId;
    std::uint16_t nameId;
    std::uint16_t keyListId;
};

// A group of objects: the object-list entries firstId to lastId, and moreFirstId to moreLastId
// (the expansion's objects, listed apart so that the original ids stay; 0 for none).
struct ObjectGroup {
    const char* label;
    std::uint16_t firstId;
    std::uint16_t lastId;
    std::uint16_t moreFirstId = 0;
    std::uint16_t moreLastId = 0;
};

// A top-level category that holds objects directly.
struct ObjectCategory {
    const char* label;
    int image;
    std::uint16_t infoId;
    std::uint16_t firstId;
    std::uint16_t lastId;
};

// A top-level item that only groups children.
struct Heading {
    const char* label;
    int image;
    int selectedImage;
    std::uint16_t infoId;
};

inline constexpr int kFolderClosedImage = 3;
inline constexpr int kFolderOpenImage = 4;

inline constexpr const char* kGeneralSection = "General";
inline constexpr std::uint16_t kGeneralNameId = 60000;
inline constexpr std::uint16_t kGeneralInfoId = 9901;
inline constexpr int kGeneralImage = 39;

inline constexpr GeneralGroup kGeneralGroups[] = {
    {"Crates", 0, 9900, 200},       {"Special Weapons", 1, 9902, 201},    {"Chrono Side Effects", 2, 9903, 202},
    {"Repairing ", 5, 9904, 203},   {"Combat and Damage", 6, 9905, 204},  {"Income And Production", 7, 9906, 205},
    {"Map Controls", 8, 9907, 207}, {"Computer Controls", 10, 9908, 206}, {"Movement Controls", 9, 9909, 208},
    {"Misc", 11, 9910, 209},
};

inline constexpr SectionBranch kRootSections[] = {
    {"MultiplayerDefaults", 12, 9911, 60002, 300},
    {"Recharge", 13, 9912, 60003, 301},
    {"AI", 14, 9913, 60004, 302},
    {"IQ", 15, 9914, 60005, 303},
    {"Maximums", 11, 9918, 60029, 328},
    {"ThemeControl", 8, 9919, 60030, 329},
    {"Aftermath", 39, 9920, 60031, 330},
};

inline constexpr Heading kCountryHeading = {"Country Statistics", 16, 16, 9915};
inline constexpr SectionBranch kCountries[] = {
    {"England", 17, 9915, 60006, 304}, {"Germany", 18, 9915, 60007, 305}, {"France", 19, 9915, 60008, 306},
    {"Ukraine", 20, 9915, 60009, 307}, {"USSR", 21, 9915, 60010, 308},    {"Greece", 22, 9915, 60011, 309},
    {"Turkey", 23, 9915, 60012, 310},  {"Spain", 24, 9915, 60013, 311},
};

// The houses that are not playable countries, in a group of their own among the countries:
// mission sides, the neutral and special houses and the multiplayer slots. The game reads
// the same keys for them.
inline constexpr Heading kOtherHousesHeading = {"Other Houses", 16, 16, 9915};
inline constexpr SectionBranch kOtherHouses[] = {
    {"GoodGuy", 16, 9915, 60017, 316}, {"BadGuy", 16, 9915, 60018, 317}, {"Neutral", 16, 9915, 60019, 318},
    {"Special", 16, 9915, 60020, 319}, {"Multi1", 16, 9915, 60021, 320}, {"Multi2", 16, 9915, 60022, 321},
    {"Multi3", 16, 9915, 60023, 322},  {"Multi4", 16, 9915, 60024, 323}, {"Multi5", 16, 9915, 60025, 324},
    {"Multi6", 16, 9915, 60026, 325},  {"Multi7", 16, 9915, 60027, 326}, {"Multi8", 16, 9915, 60028, 327},
};

inline constexpr Heading kDifficultyHeading = {"Difficulty Settings", 44, 44, 9916};
inline constexpr SectionBranch kDifficulties[] = {
    {"Easy", 3, 9916, 60014, 312},
    {"Normal", 3, 9916, 60015, 313},
    {"Difficult", 3, 9916, 60016, 314},
};

inline constexpr Heading kUnitsHeading = {"Units", kFolderClosedImage, kFolderOpenImage, 0};
inline constexpr ObjectGroup kUnitGroups[] = {
    {"Land Vehicles", 2201, 2214, 2222, 2229}, {"Aircraft", 2400, 2406},  {"Sea Vehicles", 2215, 2221},
    {"Infantry", 2100, 2110, 2124, 2125},      {"Civilians", 2111, 2123},
};

inline constexpr Heading kStructuresHeading = {"Structures", kFolderClosedImage, kFolderOpenImage, 0};
inline constexpr ObjectGroup kStructureGroups[] = {
    {"Weapons", 2301, 2313},
    {"Non-Weapons", 2314, 2331, 2346, 2349},
    {"Others", 2332, 2340, 2350, 2350},
    {"Fakes", 2341, 2345},
    {"Civilian", 2901, 2937},
};

inline constexpr ObjectCategory kObjectCategories[] = {
    {"Weapon Types", 45, 4100, 4101, 4143},   {"Projectile Types", 46, 3999, 4000, 4017},
    {"Warheads Types", 47, 3299, 3300, 3308}, {"Land Types", 41, 3399, 3400, 3408},
    {"Mission Control", 40, 0, 3700, 3722},
};

inline constexpr SectionBranch kPowerups = {"Powerups", 3, 9917, 60001, 315};

}  // namespace morvane::layout
