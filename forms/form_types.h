// The vocabulary of the form tables: one constexpr array per window, in form
// order, read by the code that creates the controls. Portable: the Win32
// layer maps kinds to window classes and styles.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tovo::forms {

// Colours are 0x00BBGGRR values; a system colour is kSystemColour | COLOR_xxx.
using Colour = std::uint32_t;
inline constexpr Colour kSystemColour = 0x80000000u;
inline constexpr Colour kInherit = 0xFFFFFFFFu;  // the parent's font colour
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kNavy = 0x800000;    // RGB 0, 0, 128
inline constexpr Colour kMaroon = 0x000080;  // RGB 128, 0, 0
inline constexpr Colour kGreen = 0x008000;   // RGB 0, 128, 0
inline constexpr Colour kGrey = 0x808080;    // RGB 128, 128, 128
inline constexpr Colour kRed = 0x0000FF;     // RGB 255, 0, 0
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kBtnFace = kSystemColour | 15;    // COLOR_BTNFACE
inline constexpr Colour kBtnShadow = kSystemColour | 16;  // COLOR_BTNSHADOW
inline constexpr Colour kWindowText = kSystemColour | 8;  // COLOR_WINDOWTEXT

inline constexpr int kGb2312Charset = 134;

struct Rect {
  int left, top, width, height;
  constexpr int right() const { return left + width; }
  constexpr int bottom() const { return top + height; }
};

struct Font {
  std::string_view face;  // empty: the parent's font
  int height = 12;        // pixels (cell height, given as a negative lfHeight)
  bool bold = false;
  Colour colour = kInherit;
  int charset = kGb2312Charset;
};

enum class Kind {
  Picture,      // a bitmap resource, drawn transparent
  Label,        // a text label (real STATIC child)
  LinkLabel,    // a label with the hand cursor and hover underline
  Line,         // a one-pixel line (shape)
  Rectangle,    // a filled rectangle with an outline (shape)
  Button,       // a push button that takes the keyboard focus
  FlatButton,   // a push button that never takes the keyboard focus
  ProgressBar,  // a bar that fills from the left, 0 to 100 (a real progress control)
  Panel,        // a container with optional bevels and its own background
  DirectoryTree,
  FileList,
};

// Bit flags for the look of a control.
enum Look : std::uint32_t {
  kNone = 0,
  kWordWrap = 1u << 0,
  kAutoSize = 1u << 1,  // sized to its text or picture
  kTransparent = 1u << 2,
  kRaisedInner = 1u << 3,  // panel bevels
  kLoweredOuter = 1u << 4,
  kAlignBottom = 1u << 5,  // aligned to the bottom of its parent
  kHidden = 1u << 6,
};

inline constexpr int kNoParent = 0;  // the window's client area
inline constexpr int kNoTab = -1;

struct Control {
  int id;                 // unique within its window, above 0
  std::string_view name;  // the form name (Button1, l_ad1, ...)
  Kind kind;
  int parent;  // id of the containing control, or kNoParent
  Rect rect;   // pixels at 96 DPI, in the parent's client coordinates
  std::string_view caption;
  Font font;
  Colour colour;  // background / fill colour, or kInherit
  Colour outline = kInherit;
  int outlineWidth = 0;
  std::uint32_t look = kNone;
  int tabOrder = kNoTab;  // kNoTab: never takes the keyboard focus
  std::string_view hint = {};
  int resource = 0;  // picture resource id, 0 for none
};

struct Form {
  std::string_view name;
  std::string_view caption;
  int clientWidth, clientHeight;
  Font font;
  Colour colour;
  std::span<const Control> controls;
};

}  // namespace tovo::forms
