// Deciding whether marked paths exist without ever hanging the window on a
// drive or share that does not answer. Paths on local fixed disks are asked
// directly; paths on any other volume (network, removable, optical) are asked
// on a helper thread and waited for at most a bound. A volume that lets the
// bound pass, or that is not there at all, is taken as unreachable for every
// later path until Forget, so one silent share costs one wait per load.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <unordered_map>

#include "LibraryModel.h"

namespace stamplets::win {

class BoundedPathProber : public PathProber {
 public:
  // What the file system answers for a path: its attributes, or
  // INVALID_FILE_ATTRIBUTES and the error code.
  struct Answer {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    DWORD error = 0;
  };
  using AttributesFn = std::function<Answer(const WideString& path)>;
  using DriveTypeFn = std::function<UINT(const WideString& root)>;

  static constexpr std::chrono::milliseconds kDefaultBound{400};

  // The functions default to GetFileAttributesW and GetDriveTypeW; tests
  // hand in their own. `attributes` may be called on a helper thread that
  // outlives this object, so it must not refer to anything that dies first.
  explicit BoundedPathProber(std::chrono::milliseconds bound = kDefaultBound,
                             AttributesFn attributes = {}, DriveTypeFn drive_type = {});

  PathState Probe(const WideString& path) override;
  void Forget() override { volumes_.clear(); }

 private:
  enum class Volume { kLocal, kRemote, kUnreachable };
  Volume VolumeOf(const WideString& root);
  // The answer within the bound; nullopt when the bound passed first.
  std::optional<Answer> AskBounded(const WideString& path) const;
  static PathState FromAnswer(const Answer& answer);

  std::chrono::milliseconds bound_;
  AttributesFn attributes_;
  DriveTypeFn drive_type_;
  std::unordered_map<WideString, Volume> volumes_;
};

}  // namespace stamplets::win
