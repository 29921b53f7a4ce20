#include "app/explorer_menu.h"

#include "app/start_requests.h"

namespace tovo {

std::vector<ExplorerMenuEntry> ExplorerMenuEntries(std::string_view programPath) {
  const std::string program = "\"" + std::string(programPath) + "\"";
  const std::string shred = program + " \"%1\"";
  const std::string wipe = program + " " + std::string(kWipeSwitch) + " \"%1\"";
  const std::string bin = program + " " + std::string(kRecycleBinSwitch);
  return {
      {"*", "彻底粉碎(Tovo文件粉碎)", shred},
      {"Directory", "彻底粉碎(Tovo文件粉碎)", shred},
      {"Drive", "擦除剩余空间(Tovo文件粉碎)", wipe},
      {"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}", "粉碎回收站中的文件(Tovo文件粉碎)", bin},
  };
}

}  // namespace tovo
