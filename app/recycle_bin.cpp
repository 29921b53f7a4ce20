#include "app/recycle_bin.h"

#include <cstring>
#include <map>

#include "app/shred_command.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace tovo {
namespace {

constexpr std::size_t kHeaderBytes = 24;  // version, size, deletion time
constexpr std::size_t kVersion1PathChars = 260;
constexpr std::size_t kCountBytes = 4;

template <typename T>
T LittleEndian(std::string_view bytes, std::size_t at) {
  T value = 0;
  for (std::size_t i = sizeof(T); i-- > 0;)
    value = static_cast<T>((value << 8) | static_cast<unsigned char>(bytes[at + i]));
  return value;
}

// The path up to its first NUL, or nullopt when it is empty or holds a
// control character.
std::optional<std::string> PathFrom(std::string_view bytes, std::size_t at, std::size_t chars) {
  std::u16string path;
  for (std::size_t i = 0; i < chars; ++i) {
    const auto unit = LittleEndian<char16_t>(bytes, at + 2 * i);
    if (unit == 0) break;
    if (unit < 0x20) return std::nullopt;
    path += unit;
  }
  if (path.empty()) return std::nullopt;
  return Utf16ToUtf8(path);
}

// The id both entries of an item share: the name after `$R` or `$I`.
std::string IdOf(const std::string& name) {
  return AsciiUpper(std::string_view(name).substr(2));
}

bool IsEntry(const std::string& name, char kind) {
  return name.size() > 2 && name[0] == '$' && (name[1] == kind || name[1] == kind + ('a' - 'A'));
}

}  // namespace

std::optional<DeletedItemRecord> ParseDeletedItemRecord(std::string_view bytes) {
  if (bytes.size() < kHeaderBytes) return std::nullopt;
  const auto version = LittleEndian<std::uint64_t>(bytes, 0);
  std::size_t pathAt = kHeaderBytes;
  std::size_t chars = kVersion1PathChars;
  if (version == 2) {
    if (bytes.size() < kHeaderBytes + kCountBytes) return std::nullopt;
    chars = LittleEndian<std::uint32_t>(bytes, kHeaderBytes);
    pathAt += kCountBytes;
  } else if (version != 1) {
    return std::nullopt;
  }
  if ((bytes.size() - pathAt) / 2 < chars) return std::nullopt;  // truncated
  std::optional<std::string> path = PathFrom(bytes, pathAt, chars);
  if (!path) return std::nullopt;
  return DeletedItemRecord{.size = LittleEndian<std::uint64_t>(bytes, 8),
                           .deletedAt = LittleEndian<std::uint64_t>(bytes, 16),
                           .originalPath = std::move(*path)};
}

std::vector<BinItem> PairBinEntries(
    const std::string& folder, const std::vector<std::string>& names,
    const std::function<std::optional<std::string>(const std::string& recordPath)>& originalPath) {
  std::map<std::string, std::string> records;  // id -> record name
  for (const std::string& name : names)
    if (IsEntry(name, 'I')) records.emplace(IdOf(name), name);
  std::vector<BinItem> items;
  const auto add = [&](std::string data, std::string record) {
    BinItem item{.data = data.empty() ? "" : JoinPath(folder, data),
                 .record = record.empty() ? "" : JoinPath(folder, record),
                 .name = {}};
    std::optional<std::string> original;
    if (!item.record.empty()) original = originalPath(item.record);
    item.name = original ? *original : item.data.empty() ? item.record : item.data;
    items.push_back(std::move(item));
  };
  for (const std::string& name : names) {
    if (!IsEntry(name, 'R')) continue;
    const auto record = records.find(IdOf(name));
    if (record == records.end()) {
      add(name, "");
    } else {
      add(name, record->second);
      records.erase(record);
    }
  }
  // A record whose data is gone still names a deleted file.
  for (const std::string& name : names)
    if (IsEntry(name, 'I') && records.count(IdOf(name))) add("", name);
  return items;
}

std::vector<std::string> BinPaths(const std::vector<BinItem>& items) {
  std::vector<std::string> paths;
  for (const BinItem& item : items)
    if (!item.data.empty()) paths.push_back(item.data);
  for (const BinItem& item : items)
    if (!item.record.empty()) paths.push_back(item.record);
  return paths;
}

std::string RecycleBinConsentText(const std::vector<BinItem>& items) {
  std::vector<std::string> names;
  for (const BinItem& item : items) names.push_back(item.name);
  return "确定要粉碎回收站中的 " + std::to_string(items.size()) + " 项吗（操作不可逆）？\n" +
         NamedLines(names);
}

}  // namespace tovo
