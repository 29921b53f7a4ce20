#include "widgets/file_list_rules.h"

#include "platform/paths.h"

namespace tovo {
namespace {

constexpr int kWheelDelta = 120;
constexpr int kMinimumGlyphHeight = 18;

}  // namespace

std::string FocusedFileName(const ListSelection& list) {
  const int caret = list.Caret();
  if (caret < 0 || caret >= list.Count() || !list.IsSelected(caret)) return std::string();
  return list.Text(caret);
}

std::string FocusedFilePath(std::string_view folder, const ListSelection& list) {
  const std::string name = FocusedFileName(list);
  return name.empty() ? std::string() : JoinPath(folder, name);
}

std::vector<std::string> SelectedPaths(std::string_view folder, const ListSelection& list) {
  std::vector<std::string> paths;
  const int count = list.Count();
  for (int i = 0; i < count; ++i)
    if (list.IsSelected(i)) paths.push_back(JoinPath(folder, list.Text(i)));
  return paths;
}

int ItemHeightFor(int textHeight, bool showGlyphs) {
  const int height = textHeight - 1;
  return showGlyphs && height < kMinimumGlyphHeight ? kMinimumGlyphHeight : height;
}

int TextOffset(int rectHeight, int textHeight) {
  return (rectHeight - textHeight) / 2;
}

int WheelNotches::Add(int delta) {
  accumulated_ += delta;
  const int notches = accumulated_ / kWheelDelta;
  accumulated_ -= notches * kWheelDelta;
  return notches;
}

std::optional<int> WheelScrollTarget(int position, int lines, bool downwards) {
  if (downwards) return position + lines;
  const int target = position - lines;
  if (target < 0) return std::nullopt;
  return target;
}

std::string ResolveInFolder(std::string_view current, std::string_view name) {
  // The drive stays the current folder's; a drive root's folder part
  // is "\" alone and gets no second separator.
  const size_t colon = current.size() >= 2 && current[1] == ':' ? 2 : 0;
  const std::string_view drive = current.substr(0, colon);
  std::string directory(current.substr(colon));
  if (directory != "\\") directory += '\\';
  return std::string(drive) + directory + std::string(name);
}

}  // namespace tovo
