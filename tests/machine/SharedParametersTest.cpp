// Tests of the process-wide parameter store under concurrent use.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "machine/SharedParameters.h"

namespace {

TEST(MachineParameterStore, ChangesFromSeveralThreadsAreNotLost) {
  machine::MachineParameterStore store;
  constexpr int kThreads = 8;
  constexpr int kRounds = 2000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&store] {
      for (int i = 0; i < kRounds; ++i) {
        store.update([](machine::Maschinenparameter& p) {
          ++p.RefFreq;
          p.Verbindungstext += 'x';
        });
        // Readers see a whole record: the text and the count change together.
        const auto snap = store.snapshot();
        ASSERT_EQ(snap.Verbindungstext.size(), static_cast<std::size_t>(snap.RefFreq));
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(store.snapshot().RefFreq, kThreads * kRounds);
}

}  // namespace
