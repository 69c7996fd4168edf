#pragma once

namespace korvane::ui::menucmd {

// The main frame's menu commands, by their command numbers.
inline constexpr int kOpenTemplateFile = 32822;
inline constexpr int kSaveTemplateFile = 32823;
inline constexpr int kRecallTemplateFirst = 31023; // + N - 1 for device template N
inline constexpr int kStoreTemplateFirst = 31033;
inline constexpr int kDeviceTemplates = 10;
inline constexpr int kExit = 57665;
inline constexpr int kSynchronise = 32783;
inline constexpr int kFactoryReset = 32784;
inline constexpr int kAutoAdjust = 32794;
inline constexpr int kPicture1Hollow = 32816;
inline constexpr int kPicture2Hollow = 32817;
inline constexpr int kPointLocate = 32819;
inline constexpr int kTestPattern = 32820;
inline constexpr int kPlanEditor = 32785;
// Opens the schedule runner; a number of this program's own, after the others.
inline constexpr int kScheduleRunner = 32830;
// The older offline plan dialog; no menu item carries it.
inline constexpr int kPlanDialog = 32818;
inline constexpr int kChinese = 32796;
inline constexpr int kEnglish = 32797;
inline constexpr int kHelp = 57670;
inline constexpr int kAbout = 57664;

} // namespace korvane::ui::menucmd
