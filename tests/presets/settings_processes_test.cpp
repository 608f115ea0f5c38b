// Several processes on one settings folder: two keep storing their own
// default bank while this one recalls it; every recall is one whole bank,
// also after a writer is killed in the middle of its loop.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "presets/settings_store.h"
#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

constexpr int kStoresPerWriter = 150;
constexpr int kKilledWriters = 12;
constexpr int kQuickKills = 220;

// An instance whose 17 programs all carry the writer's mark.
void markPrograms(EffectWithoutEditor& fx, float mark, const char* name) {
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    fx.selectProgram(k);
    for (VstInt32 i = 0; i < kNumParams; ++i)
      fx.setParameter(i, mark + 0.001f * static_cast<float>(k * kNumParams + i));
    fx.renameCurrentProgram(name);
  }
}

std::vector<uint8_t> bankOf(EffectWithoutEditor& fx) {
  std::vector<uint8_t> bank(kBankFileSize, 0);
  encodeBankRecord(fx, bank.data());
  return bank;
}

// Runs in a child: stores its bank count times (forever for count < 0).
pid_t startWriter(float mark, const char* name, int count) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  EffectWithoutEditor fx;
  markPrograms(fx, mark, name);
  for (int i = 0; count < 0 || i < count; ++i) fx.settings.storeDefaultBank();
  _exit(0);  // no destructors: the child must not write its file locations
}

class SettingsProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    EffectWithoutEditor a, b;
    markPrograms(a, 0.1f, "writer A");
    markPrograms(b, 0.5f, "writer B");
    bankA = bankOf(a);
    bankB = bankOf(b);
    ASSERT_NE(bankA, bankB);
  }
  // One recall through the store and one through the decoder.
  void expectWholeBank() {
    std::vector<uint8_t> raw(kBankFileSize, 0);
    ASSERT_EQ(store.recall("DefaultBank", raw.data(), raw.size()), kBankFileSize);
    EXPECT_TRUE(raw == bankA || raw == bankB);
    reader.settings.recallDefaultBank();
    const std::vector<uint8_t> decoded = bankOf(reader);
    EXPECT_TRUE(decoded == bankA || decoded == bankB);
  }

  ScopedSettingsFolder temp;
  SettingsStore store{temp.storeFolder()};
  std::vector<uint8_t> bankA, bankB;
  EffectWithoutEditor reader;
};

TEST_F(SettingsProcesses, ConcurrentWritersNeverTearAValue) {
  ASSERT_TRUE(store.store("DefaultBank", bankA.data(), bankA.size()));
  const pid_t writerA = startWriter(0.1f, "writer A", kStoresPerWriter);
  const pid_t writerB = startWriter(0.5f, "writer B", kStoresPerWriter);
  ASSERT_GT(writerA, 0);
  ASSERT_GT(writerB, 0);
  for (int running = 2; running > 0;) {
    expectWholeBank();
    if (HasFailure()) break;
    running = 0;
    for (pid_t writer : {writerA, writerB})
      if (waitpid(writer, nullptr, WNOHANG) == 0) ++running;
  }
  for (pid_t writer : {writerA, writerB}) waitpid(writer, nullptr, 0);
  expectWholeBank();
}

TEST_F(SettingsProcesses, AWriterKilledMidLoopLeavesAWholeValue) {
  ASSERT_TRUE(store.store("DefaultBank", bankB.data(), bankB.size()));
  for (int round = 0; round < kKilledWriters && !HasFailure(); ++round) {
    const pid_t writer = startWriter(0.1f, "writer A", -1);
    ASSERT_GT(writer, 0);
    // Let it store for a varying while, then kill it wherever it is.
    const timespec pause{0, 2000000L + 1700000L * round};
    nanosleep(&pause, nullptr);
    expectWholeBank();
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    expectWholeBank();
    store.store("DefaultBank", bankB.data(), bankB.size());
  }
}

// Runs in a child: stores the two banks in turn for ever, so every store
// really writes.
pid_t startAlternatingWriter(const SettingsStore& store, const std::vector<uint8_t>& a,
                             const std::vector<uint8_t>& b) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  for (bool first = true;; first = !first) {
    const std::vector<uint8_t>& bank = first ? a : b;
    store.store("DefaultBank", bank.data(), bank.size());
  }
}

// Many writers killed at random short moments: every value stays whole, and
// what they leave behind is gone once the next instance starts.
TEST_F(SettingsProcesses, ManyKilledWritersLeaveNoTemporaryFileAndNoTornValue) {
  ASSERT_TRUE(store.store("DefaultBank", bankB.data(), bankB.size()));
  unsigned seed = 12345;
  for (int round = 0; round < kQuickKills && !HasFailure(); ++round) {
    const pid_t writer = startAlternatingWriter(store, bankA, bankB);
    ASSERT_GT(writer, 0);
    seed = seed * 1103515245u + 12345u;
    const timespec pause{0, 200000L + static_cast<long>((seed >> 8) % 3000000u)};
    nanosleep(&pause, nullptr);
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    std::vector<uint8_t> raw(kBankFileSize, 0);
    ASSERT_EQ(store.recall("DefaultBank", raw.data(), raw.size()), kBankFileSize);
    EXPECT_TRUE(raw == bankA || raw == bankB) << round;
  }
  size_t leftBehind = 0;
  for (const auto& entry : std::filesystem::directory_iterator(temp.storeFolder()))
    leftBehind += entry.path().filename() != "DefaultBank";
  std::printf("%zu temporary files after %d kills, before start-up\n", leftBehind, kQuickKills);

  EffectWithoutEditor next;
  next.settings.loadStartupDefaults();
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(temp.storeFolder()))
    names.push_back(entry.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{"DefaultBank"});
  expectWholeBank();
}

}  // namespace
}  // namespace preset_test
