#include "app/start_requests.h"

#include "platform/paths.h"
#include "platform/text.h"

namespace tovo {

StartRequest ParseStartArguments(const std::vector<std::string>& arguments,
                                 const std::string& folder) {
  StartRequest request;
  auto first = arguments.begin();
  if (first != arguments.end()) {
    if (EqualsIgnoreAsciiCase(*first, kWipeSwitch)) request.kind = StartKind::kWipe;
    if (EqualsIgnoreAsciiCase(*first, kRecycleBinSwitch)) request.kind = StartKind::kRecycleBin;
    if (request.kind != StartKind::kPaths) ++first;
  }
  for (; first != arguments.end(); ++first) request.paths.push_back({*first, folder});
  return request;
}

std::string EncodeStart(const std::vector<std::string>& arguments, const std::string& folder) {
  std::string block = folder;
  block += '\0';
  for (const std::string& argument : arguments) {
    block += argument;
    block += '\0';
  }
  return block;
}

std::optional<StartRequest> DecodeStart(std::string_view block) {
  if (block.empty() || block.back() != '\0') return std::nullopt;
  std::vector<std::string> fields;
  for (size_t start = 0; start < block.size();) {
    const size_t end = block.find('\0', start);
    fields.emplace_back(block.substr(start, end - start));
    start = end + 1;
  }
  const std::string folder = fields.front();
  fields.erase(fields.begin());
  return ParseStartArguments(fields, folder);
}

std::optional<std::string> WipeDriveRoot(const GivenPath& argument) {
  const std::string full =
      FullPathFrom(UnquotedArgument(std::string(Trim(argument.text))), argument.folder);
  // A drive letter's root: "X:\". Share roots are roots too, but no drive.
  if (full.size() != 3 || full[1] != ':' || !IsRootPath(full)) return std::nullopt;
  return AsciiUpper(full);
}

std::string WipeRefusedText(std::string_view argument) {
  std::string text = "不能擦除“";
  text.append(argument);
  text += "”的剩余空间：只能擦除本机的硬盘或可移动磁盘上已就绪的驱动器。";
  return text;
}

void StartQueue::Arrive(StartRequest request, Clock::time_point now) {
  if (request.kind == StartKind::kPaths) {
    if (request.paths.empty()) return;
    if (!waiting_.empty() && waiting_.back().request.kind == StartKind::kPaths) {
      std::vector<GivenPath>& paths = waiting_.back().request.paths;
      paths.insert(paths.end(), request.paths.begin(), request.paths.end());
      waiting_.back().last = now;
      return;
    }
  }
  waiting_.push_back({std::move(request), now});
}

std::optional<StartQueue::Clock::time_point> StartQueue::DueAt() const {
  if (waiting_.empty()) return std::nullopt;
  const Waiting& front = waiting_.front();
  return front.request.kind == StartKind::kPaths ? front.last + quiet_ : front.last;
}

std::optional<StartRequest> StartQueue::TakeDue(Clock::time_point now) {
  const std::optional<Clock::time_point> due = DueAt();
  if (!due || now < *due) return std::nullopt;
  StartRequest front = std::move(waiting_.front().request);
  waiting_.pop_front();
  return front;
}

}  // namespace tovo
