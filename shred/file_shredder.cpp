#include "shred/file_shredder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "shred/conceal_metadata.h"

namespace tovo {
namespace {

ShredOutcome Failed(const std::string& path, ShredStep step, SystemCode code) {
  return ShredOutcome{path, step, code};
}

// Copies of the block, as many as a write request holds but no more than the
// file needs, so a small file costs no large buffer.
std::vector<std::uint8_t> RequestBuffer(const OverwriteBlock& block, std::uint64_t length,
                                        std::size_t writeRequest) {
  const std::size_t blocksPerRequest = std::max<std::size_t>(1, writeRequest / block.size());
  const std::uint64_t blocksNeeded = (length + block.size() - 1) / block.size();
  const std::size_t copies =
      static_cast<std::size_t>(std::min<std::uint64_t>(blocksPerRequest, blocksNeeded));
  std::vector<std::uint8_t> buffer(copies * block.size());
  for (std::size_t i = 0; i < copies; ++i) {
    std::copy(block.begin(), block.end(), buffer.begin() + i * block.size());
  }
  return buffer;
}

bool StopRequested(const ShredOptions& options) {
  return options.stop && options.stop->Requested();
}

// One pass over the whole length; stops at the first failed or short write,
// and between requests when the run is stopped. A file not yet written to
// when the stop comes is left untouched.
ShredOutcome Overwrite(OpenFile& file, const std::string& path, const OverwriteBlock& block,
                       const ShredOptions& options) {
  if (StopRequested(options)) return Failed(path, ShredStep::kUntouched, 0);
  std::uint64_t remaining = 0;
  if (const SystemCode code = file.Length(remaining)) return Failed(path, ShredStep::kLength, code);
  if (const SystemCode code = file.Rewind()) return Failed(path, ShredStep::kSeek, code);
  const std::vector<std::uint8_t> buffer = RequestBuffer(block, remaining, options.writeRequest);
  for (bool first = true; remaining > 0; first = false) {
    if (!first && StopRequested(options)) return Failed(path, ShredStep::kStopped, 0);
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining, buffer.size()));
    std::size_t written = 0;
    const SystemCode code = file.Write(buffer.data(), n, written);
    if (options.progress) options.progress->AddBytes(written);
    if (code != 0 || written != n) return Failed(path, ShredStep::kWrite, code);
    remaining -= n;
  }
  if (const SystemCode code = file.Flush()) return Failed(path, ShredStep::kFlush, code);
  return ShredOutcome{path};
}

}  // namespace

std::optional<OpenedFile> OpenForShredding(FileSystem& fs, RandomGenerator& generator,
                                           const std::string& path, std::uint32_t attributes,
                                           ShredOutcome& outcome) {
  // Opening a link for writing would overwrite its target, which nobody
  // selected: only the link goes.
  if (attributes & attr::kReparsePoint) {
    const SystemCode code = fs.RemoveFile(path);
    outcome = code ? Failed(path, ShredStep::kDelete, code) : ShredOutcome{path};
    return std::nullopt;
  }
  // A failure here shows up as the open's access denial, so it is not checked.
  const bool stripped = (attributes & attr::kReadOnly) != 0;
  if (stripped) fs.WriteAttributes(path, attr::kNormal);
  OpenedFile opened{path, nullptr, {}, attributes, stripped};
  if (const SystemCode code = fs.OpenExclusive(path, opened.file)) {
    // A file that stays gets back the attributes it had: it is reported as
    // not destroyed, not quietly changed.
    if (stripped) fs.WriteAttributes(path, attributes);
    outcome = Failed(path, ShredStep::kOpen, code);
    return std::nullopt;
  }
  generator.FillRandomBlock(opened.block);
  return opened;
}

ShredOutcome OverwriteOpened(OpenedFile& opened, const ShredOptions& options) {
  return Overwrite(*opened.file, opened.path, opened.block, options);
}

ShredOutcome ConcludeShredding(FileSystem& fs, OpenedFile opened, ShredOutcome overwritten,
                               const ShredOptions& options) {
  const std::string& path = opened.path;
  ShredOutcome outcome = std::move(overwritten);
  if (outcome.destroyed() && options.deleteAfterOverwrite && options.concealMetadata) {
    outcome = ConcealAndDelete(fs, *opened.file, path, opened.firstNeutralName);
  } else {
    const SystemCode closeCode = opened.file->Close();
    if (outcome.destroyed() && closeCode) outcome = Failed(path, ShredStep::kClose, closeCode);
    if (outcome.destroyed() && options.deleteAfterOverwrite) {
      if (const SystemCode code = fs.RemoveFile(path))
        outcome = Failed(path, ShredStep::kDelete, code);
    }
  }
  // A file that stays (a failed write or delete) gets back the attributes it
  // had: it is reported as not destroyed, not quietly changed.
  if (opened.stripped && !outcome.destroyed())
    fs.WriteAttributes(PathNow(outcome), opened.attributes);
  return outcome;
}

ShredOutcome ShredOpened(FileSystem& fs, OpenedFile opened, const ShredOptions& options) {
  ShredOutcome overwritten = OverwriteOpened(opened, options);
  return ConcludeShredding(fs, std::move(opened), std::move(overwritten), options);
}

ShredOutcome ShredFileWith(FileSystem& fs, RandomGenerator& generator, const std::string& path,
                           const ShredOptions& options) {
  std::uint32_t attributes = 0;
  if (const SystemCode code = fs.ReadAttributes(path, attributes)) {
    return Failed(path, ShredStep::kNotFound, code);
  }
  return ShredFileWith(fs, generator, path, attributes, options);
}

ShredOutcome ShredFileWith(FileSystem& fs, RandomGenerator& generator, const std::string& path,
                           std::uint32_t attributes, const ShredOptions& options) {
  ShredOutcome outcome{path};
  std::optional<OpenedFile> opened = OpenForShredding(fs, generator, path, attributes, outcome);
  if (!opened) return outcome;
  return ShredOpened(fs, std::move(*opened), options);
}

}  // namespace tovo
