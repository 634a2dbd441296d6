// Deciding path states on Windows without hanging on drives and shares that
// are absent or silent.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>

#include "LibraryModel.h"
#include "PathProbe.h"
#include "TestSupport.h"

namespace stamplets::win {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

WideString AbsentDriveRoot() {
  const DWORD present = GetLogicalDrives();
  for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter)
    if (!(present & (1u << (letter - L'A')))) return WideString(1, letter) + L":\\";
  return {};
}

TEST(BoundedPathProber, LocalPathsExistOrAreMissing) {
  test::TempDir dir;
  const WideString unicode = dir / L"\x0416\x2603 \x05D0.txt";
  test::WriteBytes(unicode, "x");
  BoundedPathProber prober;
  EXPECT_EQ(prober.Probe(unicode), PathState::kExists);
  EXPECT_EQ(prober.Probe(dir.Path()), PathState::kExists);
  EXPECT_EQ(prober.Probe(dir / L"deleted.txt"), PathState::kMissing);
  EXPECT_EQ(prober.Probe(dir / L"old\\deeper\\file.txt"), PathState::kMissing);
}

TEST(BoundedPathProber, AbsentDriveIsUnreachable) {
  const WideString root = AbsentDriveRoot();
  ASSERT_FALSE(root.empty());
  BoundedPathProber prober;
  EXPECT_EQ(prober.Probe(root + L"folder\\file.txt"), PathState::kUnreachable);
  EXPECT_EQ(prober.Probe(L"\\\\no-such-server-here\\share\\file.txt"), PathState::kUnreachable);
}

// A share whose every question hangs until the test ends.
struct SilentShare {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> asked{0};
  ~SilentShare() { CloseHandle(release); }
};

TEST(BoundedPathProber, SilentShareCostsOneBoundedWaitPerLoad) {
  auto share = std::make_shared<SilentShare>();
  BoundedPathProber prober(100ms, [share](const WideString& path) {
    BoundedPathProber::Answer answer;
    if (StartsWith(path, L"\\\\silent\\")) {
      ++share->asked;
      WaitForSingleObject(share->release, INFINITE);
    }
    answer.error = ERROR_FILE_NOT_FOUND;
    return answer;
  });

  auto start = Clock::now();
  EXPECT_EQ(prober.Probe(L"\\\\silent\\share\\a.txt"), PathState::kUnreachable);
  EXPECT_LT(Clock::now() - start, 2s);

  // Every further path of that share is answered at once, without asking.
  start = Clock::now();
  for (int i = 0; i < 50; ++i)
    EXPECT_EQ(prober.Probe(L"\\\\silent\\share\\b" + IntToWide(i) + L".txt"),
              PathState::kUnreachable);
  EXPECT_LT(Clock::now() - start, 50ms);
  EXPECT_EQ(share->asked.load(), 1);

  // After Forget (a new load) the share is asked again, once.
  prober.Forget();
  EXPECT_EQ(prober.Probe(L"\\\\silent\\share\\a.txt"), PathState::kUnreachable);
  EXPECT_EQ(share->asked.load(), 2);
  SetEvent(share->release);
}

TEST(BoundedPathProber, OnlyNotFoundMeansMissing) {
  const struct {
    DWORD error;
    PathState state;
  } cases[] = {
      {ERROR_FILE_NOT_FOUND, PathState::kMissing},    {ERROR_PATH_NOT_FOUND, PathState::kMissing},
      {ERROR_ACCESS_DENIED, PathState::kUnreachable}, {ERROR_NOT_READY, PathState::kUnreachable},
      {ERROR_BAD_NETPATH, PathState::kUnreachable},
  };
  for (const auto& c : cases) {
    for (UINT drive : {UINT(DRIVE_FIXED), UINT(DRIVE_REMOTE)}) {
      const DWORD error = c.error;
      BoundedPathProber prober(
          1s,
          [error](const WideString& path) {
            BoundedPathProber::Answer answer;
            if (path == L"R:\\")
              answer.attributes = FILE_ATTRIBUTE_DIRECTORY;
            else
              answer.error = error;
            return answer;
          },
          [drive](const WideString&) { return drive; });
      EXPECT_EQ(prober.Probe(L"R:\\folder\\file.txt"), c.state)
          << "error " << c.error << " drive type " << drive;
    }
  }
}

}  // namespace
}  // namespace stamplets::win
