#include "shred/folder_shredder.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "shred/conceal_metadata.h"
#include "shred/index_scrub.h"

namespace tovo {
namespace {

constexpr SystemCode kErrorInvalidName = 123;  // ERROR_INVALID_NAME

bool IsDotOrDotDot(const std::string& name) {
  return name == "." || name == "..";
}

bool IsBareDrive(const std::string& path) {
  return path.size() == 2 && path[1] == ':';
}

bool IsFolderLink(std::uint32_t attributes) {
  return IsFolder(attributes) && (attributes & attr::kReparsePoint);
}

// A folder link's trailing "\" would make the system look through the link.
std::string WithoutTrailingSeparator(const std::string& path) {
  if (path.size() > 1 && path.back() == '\\' && !IsBareDrive(path.substr(0, path.size() - 1))) {
    return path.substr(0, path.size() - 1);
  }
  return path;
}

// Removing a link removes the link only, where the system allows it safely.
void RemoveFolderLink(FileSystem& fs, const std::string& path,
                      std::vector<ShredOutcome>& notRemoved) {
  if (!fs.CanRemoveFolderLinks()) {
    notRemoved.push_back(ShredOutcome{path, ShredStep::kLinkKept, 0});
    return;
  }
  if (const SystemCode code = fs.RemoveFolder(path)) {
    notRemoved.push_back(ShredOutcome{path, ShredStep::kRemoveFolder, code});
  }
}

}  // namespace

void ListFilesRecursive(FileSystem& fs, const std::string& folder,
                        std::vector<std::string>& files) {
  std::string base = folder;
  if (!base.empty() && base.back() == '\\') base.pop_back();
  CurrentFolderGuard restorer(fs);
  // "C:" alone would name the drive's own current folder, not its root.
  if (const SystemCode code = fs.EnterFolder(IsBareDrive(base) ? base + "\\" : base)) {
    throw IoError("enter folder", base, code);
  }
  fs.Search(JoinPath(base, "*.*"), [&](const FolderEntry& entry) {
    if (IsDotOrDotDot(entry.name)) return;
    // Nothing of this tree is shredded when one of its names cannot be addressed.
    if (HoldsPathSeparator(entry.name)) {
      throw IoError("list folder", JoinPath(base, entry.name), kErrorInvalidName);
    }
    const std::string path = JoinPath(base, entry.name);
    if (!IsFolder(entry.attributes)) {
      files.push_back(path);
    } else if (!(entry.attributes & attr::kReparsePoint)) {
      ListFilesRecursive(fs, path, files);
    }
  });
}

void RemoveFolderTree(FileSystem& fs, const std::string& folder,
                      std::vector<ShredOutcome>& notRemoved, const ShredOptions& options) {
  const std::string base = JoinPath(folder, "");
  fs.Search(base + "*.*", [&](const FolderEntry& entry) {
    if (IsDotOrDotDot(entry.name) || !IsFolder(entry.attributes)) return;
    if (HoldsPathSeparator(entry.name)) return;
    const std::string path = base + entry.name;
    if (entry.attributes & attr::kReparsePoint) {
      RemoveFolderLink(fs, path, notRemoved);
    } else {
      RemoveFolderTree(fs, path, notRemoved, options);
    }
  });
  if (options.concealMetadata) {
    for (ShredOutcome& left : ScrubFolderIndex(fs, base, 0)) notRemoved.push_back(std::move(left));
    ShredOutcome outcome = RemoveFolderConcealed(fs, folder);
    if (!outcome.destroyed()) notRemoved.push_back(std::move(outcome));
  } else if (const SystemCode code = fs.RemoveFolder(base)) {
    notRemoved.push_back(ShredOutcome{folder, ShredStep::kRemoveFolder, code});
  }
}

namespace {

void RecordAll(ShredPipeline& pipeline, std::vector<ShredOutcome>& outcomes) {
  for (ShredOutcome& outcome : outcomes) pipeline.Record(std::move(outcome));
}

// The listing first, then each file, then the emptied folders once every file
// of the tree is done.
// After a stop nothing more is opened and no folder is removed, so every
// file not reached stays at its own path.
void ShredTree(ShredPipeline& pipeline, const std::string& folder, const ShredProgress& progress) {
  FileSystem& fs = pipeline.fs();
  std::vector<std::string> files;
  ListFilesRecursive(fs, folder, files);
  for (const std::string& file : files) {
    if (pipeline.Stopped()) break;
    if (progress) progress(file, ShredSource::kFileInFolder);
    pipeline.ShredFile(file);
  }
  pipeline.Wait();
  if (pipeline.Stopped()) return;
  std::vector<ShredOutcome> notRemoved;
  RemoveFolderTree(fs, folder, notRemoved, pipeline.options());
  RecordAll(pipeline, notRemoved);
}

void RemoveSelectedLink(ShredPipeline& pipeline, const std::string& link) {
  std::vector<ShredOutcome> notRemoved;
  RemoveFolderLink(pipeline.fs(), link, notRemoved);
  RecordAll(pipeline, notRemoved);
}

}  // namespace

std::vector<ShredOutcome> ShredFolderTreeWith(FileSystem& fs, RandomGenerator& generator,
                                              const std::string& folder,
                                              const ShredProgress& progress,
                                              const ShredOptions& options,
                                              PipelineOptions pipeline) {
  ShredPipeline run(fs, generator, options, std::move(pipeline));
  const std::string top = WithoutTrailingSeparator(folder);
  std::uint32_t attributes = 0;
  if (fs.ReadAttributes(top, attributes) == 0 && IsFolderLink(attributes)) {
    RemoveSelectedLink(run, top);
  } else {
    ShredTree(run, folder, progress);
  }
  return run.TakeFailures();
}

void ShredPathInto(ShredPipeline& pipeline, const std::string& path,
                   const ShredProgress& progress) {
  if (pipeline.Stopped()) return;
  const std::string top = WithoutTrailingSeparator(path);
  std::uint32_t attributes = 0;
  const SystemCode code = pipeline.fs().ReadAttributes(top, attributes);
  if (code == 0 && IsFolderLink(attributes)) {
    RemoveSelectedLink(pipeline, top);
  } else if (code == 0 && IsFolder(attributes)) {
    ShredTree(pipeline, path, progress);
  } else {
    if (progress) progress(path, ShredSource::kSelectedFile);
    if (code)
      pipeline.RecordFile(ShredOutcome{path, ShredStep::kNotFound, code});
    else
      pipeline.ShredFile(path, attributes);
  }
}

std::vector<ShredOutcome> ShredPathWith(FileSystem& fs, RandomGenerator& generator,
                                        const std::string& path, const ShredProgress& progress,
                                        const ShredOptions& options, PipelineOptions pipeline) {
  ShredPipeline run(fs, generator, options, std::move(pipeline));
  ShredPathInto(run, path, progress);
  return run.TakeFailures();
}

}  // namespace tovo
