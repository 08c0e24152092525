#pragma once

#include "editor/ControlIds.h"

// The ids of the main window's menu commands (CMainDlg::Command looks them up). The catalogue
// holds the status text of some of them under the same number.
namespace morvane::app::command {

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSaveAs = 52773;
inline constexpr int kLaunchGame = 52774;
inline constexpr int kExit = 52775;
inline constexpr int kLaunchWithFile = 52776;
inline constexpr int kMatchAll = control::kMatchAllMenuItem;
inline constexpr int kAbout = 52772;
inline constexpr int kSplash = 52778;
inline constexpr int kProgramLocation = 52779;
inline constexpr int kCompareWith = 52790;
inline constexpr int kCompareWithStock = 52791;
inline constexpr int kExportChanges = 52792;
inline constexpr int kOpenLayer = 52793;

}  // namespace morvane::app::command
