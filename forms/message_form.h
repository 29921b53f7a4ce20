// The two progress windows' forms: their layout, fonts and colours.
#pragma once

#include "forms/form_types.h"

namespace tovo::forms::message {

// TFrm_message: the shredding progress window.
inline constexpr int kShape3 = 201;
inline constexpr int kShape2 = 202;
inline constexpr int kPanel1 = 203;

// The same window for a long run beside the live main window: the frames and
// the name line of TFrm_message, taller, with the lines of how far the run
// is, the bar and the stop button below.
inline constexpr int kFilesLine = 204;
inline constexpr int kBytesLine = 205;
inline constexpr int kBar = 206;
inline constexpr int kPercent = 207;
inline constexpr int kTimeLeftLine = 208;
inline constexpr int kStopButton = 209;

// TFrm_message2: the second progress window (text line and percentage bar).
inline constexpr int kShape1 = 301;
inline constexpr int kLabel1 = 302;
inline constexpr int kShape4 = 303;
inline constexpr int kShapeProcess2 = 304;
inline constexpr int kLabel22 = 305;
inline constexpr int kLabel4 = 306;

inline constexpr Colour kLightOrange = 7715583;  // RGB 255, 186, 117
inline constexpr Colour kSkyBlue = 0xF0CAA6;     // RGB 166, 202, 240

const Form& MessageForm();
const Form& RunMessageForm();
const Form& Message2Form();

}  // namespace tovo::forms::message
