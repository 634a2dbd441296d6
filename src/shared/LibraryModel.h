// What the manager's Library page knows without a window: the store's
// records as last loaded, the state of each record's path on disk (asked once
// per record and load), the "has the store changed" comparison made on
// activation, and which records "Remove invalid" takes out.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "StampletStore.h"
#include "WideText.h"

namespace stamplets {

// What the file system says about a marked path.
enum class PathState : std::uint8_t {
  kUnknown,      // not asked yet
  kExists,       // a file or a folder of that path exists
  kMissing,      // the path is gone while its drive or share answers
  kUnreachable,  // its drive is not present or its share does not answer
};

// The root a path lives on: "X:\" for a drive path, "\\server\share\" for a
// network path, "/" for an absolute host path; empty when it has none.
WideString VolumeRootOf(WideStringView path);

// Asks the file system for a path's state. Implementations keep what they
// learnt about volumes until Forget (the next load asks again).
class PathProber {
 public:
  virtual ~PathProber() = default;
  virtual PathState Probe(const WideString& path) = 0;
  virtual void Forget() {}
};

// Asks the file system directly and waits for every answer: for local disks
// and the host. A path that does not exist is missing when its volume root
// exists (or it has none), unreachable when the root itself is not there.
class DirectPathProber : public PathProber {
 public:
  PathState Probe(const WideString& path) override;
  void Forget() override { roots_.clear(); }

 private:
  std::unordered_map<WideString, bool> roots_;  // root -> it exists
};

// Column 0 of the grid shows a path without the invalid mark when it has
// fewer than 4 characters or is not known to be missing.
bool PathLooksValid(WideStringView path, PathState state);
// "Remove invalid" takes out a missing path, but keeps a drive root (3
// characters), an existing path and one whose drive or share is unreachable.
bool RemovedAsInvalid(WideStringView path, PathState state);

// The store's records in file order as last loaded, with the state of each
// path once it has been asked for.
class LibraryModel {
 public:
  // One read of the store; a missing store or section gives no records.
  void Load(const StampletStore& store);
  // Adopts records already read (tests, and callers that listed the store).
  void Assign(std::vector<StampletRecord> records);
  // One more record at the end, its state not asked yet.
  void Append(StampletRecord record);

  std::size_t Size() const { return records_.size(); }
  const StampletRecord& Record(std::size_t index) const { return records_.at(index); }
  const std::vector<StampletRecord>& Records() const { return records_; }
  // The store's key names as last loaded, in file order.
  std::vector<WideString> Keys() const;

  // The record's state, asked of `prober` the first time only.
  PathState StateOf(std::size_t index, PathProber& prober);
  // The state already known, kUnknown when nobody asked yet.
  PathState KnownStateOf(std::size_t index) const { return states_.at(index); }
  // Column 0's text: "" when the path looks valid, "!" when not.
  WideString ValidityText(std::size_t index, PathProber& prober);

 private:
  std::vector<StampletRecord> records_;
  std::vector<PathState> states_;
};

// The store's key names in file order, from one read of the file: the same
// reading the load uses, so an unchanged store compares equal.
std::vector<WideString> ReadStoreKeys(const StampletStore& store);
// The activation check: true when the list of paths (their set or their
// order) differs from `keys`; a changed stamplet number does not count.
bool StoreKeysChanged(const StampletStore& store, const std::vector<WideString>& keys);
// The keys "Remove invalid" takes out, in their order.
std::vector<WideString> InvalidKeys(const std::vector<WideString>& keys, PathProber& prober);

}  // namespace stamplets
