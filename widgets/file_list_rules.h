// Small rules of the file list that do not need a window: paths of entries,
// the focused entry, the item height, the text offset, the mouse wheel and
// the resolution of a folder name against the current folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovo {

// What a list box tells about its entries and selection.
class ListSelection {
 public:
  virtual ~ListSelection() = default;
  virtual int Count() const = 0;
  virtual bool IsSelected(int index) const = 0;
  virtual std::string Text(int index) const = 0;
  virtual int Caret() const = 0;  // the focused index; may be -1 or out of range
};

// The caret entry's text if that entry exists and is selected, else empty.
std::string FocusedFileName(const ListSelection& list);

// The focused name joined to `folder`, or empty when there is none. Depends
// on the caret entry alone, not on the other selected entries.
std::string FocusedFilePath(std::string_view folder, const ListSelection& list);

// One full path per selected entry, from the top of the list to the bottom.
std::vector<std::string> SelectedPaths(std::string_view folder, const ListSelection& list);

// The entry height for a font whose text-metric height is `textHeight`: one
// less, and at least 18 while icons are shown.
int ItemHeightFor(int textHeight, bool showGlyphs);

// The vertical offset of an entry's text: half the spare height, truncated.
int TextOffset(int rectHeight, int textHeight);

// Counts whole wheel notches out of the accumulated wheel movement.
class WheelNotches {
 public:
  // Adds a WM_MOUSEWHEEL delta (positive: away from the user, upwards) and
  // returns the whole notches it completes, positive upwards.
  int Add(int delta);

 private:
  int accumulated_ = 0;
};

// The scroll position after one notch: `lines` further down, or back up;
// nullopt when going up would pass the top (the list then stays).
std::optional<int> WheelScrollTarget(int position, int lines, bool downwards);

// A folder named `name` inside the current folder `current` (for example
// "C:\dir" and "sub" give "C:\dir\sub"; "C:\" and "sub" give "C:\sub").
std::string ResolveInFolder(std::string_view current, std::string_view name);

}  // namespace tovo
