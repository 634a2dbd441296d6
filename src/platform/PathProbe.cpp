#include "PathProbe.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace stamplets::win {

namespace {

// Paths of MAX_PATH characters or more need the "\\?\" form.
WideString LongPath(const WideString& path) {
  if (path.size() < MAX_PATH || StartsWith(path, L"\\\\?\\")) return path;
  if (StartsWith(path, L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() > 2 && path[1] == L':') return L"\\\\?\\" + path;
  return path;
}

BoundedPathProber::Answer SystemAttributes(const WideString& path) {
  BoundedPathProber::Answer answer;
  answer.attributes = GetFileAttributesW(LongPath(path).c_str());
  if (answer.attributes == INVALID_FILE_ATTRIBUTES) answer.error = GetLastError();
  return answer;
}

UINT SystemDriveType(const WideString& root) {
  return GetDriveTypeW(root.c_str());
}

}  // namespace

BoundedPathProber::BoundedPathProber(std::chrono::milliseconds bound, AttributesFn attributes,
                                     DriveTypeFn drive_type)
    : bound_(bound),
      attributes_(attributes ? std::move(attributes) : AttributesFn(SystemAttributes)),
      drive_type_(drive_type ? std::move(drive_type) : DriveTypeFn(SystemDriveType)) {}

PathState BoundedPathProber::FromAnswer(const Answer& answer) {
  if (answer.attributes != INVALID_FILE_ATTRIBUTES) return PathState::kExists;
  switch (answer.error) {
    // Only "not there" means missing; a refused or failed question (access
    // denied, device not ready, network trouble) decides nothing.
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return PathState::kMissing;
    default:
      return PathState::kUnreachable;
  }
}

std::optional<BoundedPathProber::Answer> BoundedPathProber::AskBounded(
    const WideString& path) const {
  struct Pending {
    std::mutex mutex;
    std::condition_variable done_signal;
    bool done = false;
    Answer answer;
  };
  auto pending = std::make_shared<Pending>();
  try {
    // The helper owns a share of the result, so it may finish after the
    // caller stopped waiting, or never.
    std::thread([pending, ask = attributes_, path] {
      Answer answer = ask(path);
      std::lock_guard<std::mutex> lock(pending->mutex);
      pending->answer = answer;
      pending->done = true;
      pending->done_signal.notify_one();
    }).detach();
  } catch (const std::system_error&) {
    return std::nullopt;
  }
  std::unique_lock<std::mutex> lock(pending->mutex);
  if (!pending->done_signal.wait_for(lock, bound_, [&] { return pending->done; }))
    return std::nullopt;
  return pending->answer;
}

BoundedPathProber::Volume BoundedPathProber::VolumeOf(const WideString& root) {
  auto known = volumes_.find(root);
  if (known != volumes_.end()) return known->second;
  Volume volume = Volume::kRemote;
  if (root.size() == 3) {
    switch (drive_type_(root)) {
      case DRIVE_NO_ROOT_DIR:
      case DRIVE_UNKNOWN:
        volume = Volume::kUnreachable;
        break;
      case DRIVE_FIXED:
      case DRIVE_RAMDISK:
        volume = Volume::kLocal;
        break;
      default:
        break;
    }
  }
  if (volume == Volume::kLocal) {
    if (attributes_(root).attributes == INVALID_FILE_ATTRIBUTES) volume = Volume::kUnreachable;
  } else if (volume == Volume::kRemote) {
    std::optional<Answer> answer = AskBounded(root);
    if (!answer || answer->attributes == INVALID_FILE_ATTRIBUTES) volume = Volume::kUnreachable;
  }
  volumes_.emplace(root, volume);
  return volume;
}

PathState BoundedPathProber::Probe(const WideString& path) {
  const WideString root = VolumeRootOf(path);
  if (root.empty()) {
    // No drive and no share: nothing remote to wait for.
    return FromAnswer(attributes_(path));
  }
  switch (VolumeOf(root)) {
    case Volume::kUnreachable:
      return PathState::kUnreachable;
    case Volume::kLocal:
      return FromAnswer(attributes_(path));
    case Volume::kRemote:
      break;
  }
  std::optional<Answer> answer = AskBounded(path);
  if (!answer) {
    volumes_[root] = Volume::kUnreachable;
    return PathState::kUnreachable;
  }
  return FromAnswer(*answer);
}

}  // namespace stamplets::win
