// The about window's form: "关于", 325 × 222 client pixels.
#pragma once

#include "forms/form_types.h"

namespace tovo::forms::about {

// Control ids, above the dialog manager's IDOK / IDCANCEL.
inline constexpr int kLabel4 = 401;
inline constexpr int kShape1 = 402;
inline constexpr int kLabelVer = 403;
inline constexpr int kLabelAut = 404;
inline constexpr int kLabel5 = 405;
inline constexpr int kLabel2 = 406;
inline constexpr int kLabelUrl = 407;
inline constexpr int kLabel6 = 408;
inline constexpr int kLabelEmail = 409;
inline constexpr int kShape2 = 410;
inline constexpr int kButton1 = 411;

const Form& AboutForm();

}  // namespace tovo::forms::about
