// The COM apartment's owner leaves only an apartment that it entered: an unbalanced
// CoUninitialize would take the apartment from under whoever did enter it.
#include "platform/scoped_win32.h"

#include <gtest/gtest.h>

#include <thread>

namespace platform {
namespace {

TEST(ScopedComApartmentTest, LeavesTheApartmentItEnteredAndNoOther) {
  // A thread of its own, so that no other test's apartment is counted.
  std::thread([] {
    {
      const ScopedComApartment entered = EnterComApartment(COINIT_APARTMENTTHREADED);
      ASSERT_TRUE(entered.valid());
      {
        // Another model on the same thread is refused, and the refusal has nothing to leave.
        const ScopedComApartment refused = EnterComApartment(COINIT_MULTITHREADED);
        EXPECT_FALSE(refused.valid());
      }
      // Still inside: entering again only counts once more.
      EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
      CoUninitialize();
    }
    // Left: the thread may now enter an apartment of either model anew.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
  }).join();
}

}  // namespace
}  // namespace platform
