#include "app/explorer_menu_win.h"

#include <vector>

#include "app/explorer_menu.h"
#include "platform/registry_win.h"
#include "platform/text.h"
#include "platform/wide_win.h"

namespace tovo {
namespace {

// Kept in each verb key: how many keys above it the program made for it, so
// that turning the entries off takes back those keys and no others.
constexpr wchar_t kMadeParentsValue[] = L"TovoShredMadeParentKeys";

std::wstring VerbKey(const ExplorerMenuEntry& entry) {
  return Wide("Software\\Classes\\" + entry.classKey + "\\shell\\" + std::string(kExplorerVerbKey));
}

std::wstring ParentKey(const std::wstring& key) {
  return key.substr(0, key.rfind(L'\\'));
}

void WriteEntry(const ExplorerMenuEntry& entry, const std::string& programPath) {
  const std::wstring verbKey = VerbKey(entry);
  const CreatedKey verb = CreateRegistryKey(HKEY_CURRENT_USER, verbKey);
  // A verb key that was there already keeps the count it was made with.
  if (verb.made > 0) WriteRegistryDword(verb.key.get(), kMadeParentsValue, verb.made - 1);
  WriteRegistryString(verb.key.get(), L"", Wide(entry.text));
  WriteRegistryString(verb.key.get(), L"Icon", Wide(programPath + ",0"));
  // One process for every selected item, all started together; the running
  // instance gathers them into one question.
  WriteRegistryString(verb.key.get(), L"MultiSelectModel", L"Player");
  const CreatedKey command = CreateRegistryKey(HKEY_CURRENT_USER, verbKey + L"\\command");
  WriteRegistryString(command.key.get(), L"", Wide(entry.command));
}

void RemoveEntry(const ExplorerMenuEntry& entry) {
  std::wstring key = VerbKey(entry);
  const DWORD madeParents =
      ReadRegistryDword(HKEY_CURRENT_USER, key, kMadeParentsValue).value_or(0);
  DeleteRegistryTree(HKEY_CURRENT_USER, key);
  // A key that something else has put a value or key into since stays.
  for (DWORD i = 0; i < madeParents; ++i) {
    key = ParentKey(key);
    if (!DeleteRegistryKeyIfEmpty(HKEY_CURRENT_USER, key)) break;
  }
}

}  // namespace

bool ExplorerMenuInstalled(const std::string& programPath) {
  for (const ExplorerMenuEntry& entry : ExplorerMenuEntries(programPath)) {
    const std::optional<std::wstring> command =
        ReadRegistryString(HKEY_CURRENT_USER, VerbKey(entry) + L"\\command", L"");
    // Windows paths ignore case; the rest of the line is the program's own.
    if (!command || !EqualsIgnoreAsciiCase(Narrow(*command), entry.command)) return false;
  }
  return true;
}

void InstallExplorerMenu(const std::string& programPath) {
  try {
    for (const ExplorerMenuEntry& entry : ExplorerMenuEntries(programPath))
      WriteEntry(entry, programPath);
  } catch (...) {
    // Half the entries would be worse than none.
    try {
      RemoveExplorerMenu();
    } catch (...) {
    }
    throw;
  }
}

void RemoveExplorerMenu() {
  // Last written, first removed: a key above several entries (Software\Classes
  // itself, where it was missing) is counted as made by the first of them,
  // and is empty only once the later ones are gone.
  const std::vector<ExplorerMenuEntry> entries = ExplorerMenuEntries("");
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) RemoveEntry(*entry);
}

}  // namespace tovo
