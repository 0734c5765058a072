// Sharing groups joined and left a hundred thousand times: random joins
// (refusals included), leaves, item changes through any member, charts
// destroyed and made anew. After every step each group is consistent (one
// level deep, at most four users, every member sees the same items), and at
// the end the memory of all the copies made on the way is given back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <string>

#include "chart/ZKW_vexa.h"
#include "platform/screen.h"
#include "tests/support/stress_support.h"

namespace zkw {
namespace {

constexpr int ShareSteps = 100'000;
constexpr int Slots = 8;

class TShareMonkey {
 public:
  explicit TShareMonkey(unsigned Seed) : FRng(Seed) {
    for (int S = 0; S < Slots; ++S) Make(S);
  }

  void Step() {
    TVexa& T = *FCharts[static_cast<std::size_t>(Pick(Slots))];
    switch (Pick(20)) {
      case 0:
        // Destroyed and made anew: its group lets go of it (a source's
        // users each keep a private copy).
        Make(Pick(Slots));
        break;
      case 1:
        T.AddMark(Pick(100), Pick(100), 10);
        break;
      case 2:
        T.RemoveLastItem();
        break;
      case 3:
        if (Pick(10) == 0) T.ClearItems();
        break;
      case 4:
      case 5:
        T.SetUseDataOf(nullptr);
        ++FLeaves;
        break;
      default: {
        TVexa& Target = *FCharts[static_cast<std::size_t>(Pick(Slots))];
        T.SetUseDataOf(&Target);
        FJoins += T.UseDataOf() != nullptr;
        break;
      }
    }
  }

  void CheckGroups() const {
    for (const auto& Chart : FCharts) {
      const TvxDataShare& Own = Chart->Share();
      ASSERT_EQ(Own.Owner(), Chart.get());
      ASSERT_LE(Own.UserCount(), MaxShareUsers);
      if (const TvxDataShare* Source = Own.Source()) {
        ASSERT_TRUE(Live(Source->Owner())) << "a chart uses a destroyed source";
        ASSERT_EQ(Own.UserCount(), 0);
        ASSERT_EQ(Source->Source(), nullptr);
        ASSERT_TRUE(Own.SharesStoreWith(*Source));
        ASSERT_EQ(Chart->ItemCount(), Source->Owner()->ItemCount());
        ASSERT_EQ(&Chart->DataStore(), &Source->Owner()->DataStore());
      }
      for (int U = 0; U < Own.UserCount(); ++U) {
        const TvxDataShare* User = Own.User(U);
        ASSERT_NE(User, nullptr);
        ASSERT_TRUE(Live(User->Owner())) << "a source lists a destroyed user";
        ASSERT_EQ(User->Source(), &Own);
      }
    }
  }

  int Joins() const { return FJoins; }
  int Leaves() const { return FLeaves; }
  void DestroyAll() {
    for (auto& C : FCharts) C.reset();
  }

 private:
  int Pick(int N) { return std::uniform_int_distribution<int>(0, N - 1)(FRng); }
  void Make(int Slot) {
    auto C = std::make_unique<TVexa>(nullptr);
    C->SetBounds(0, 0, 60, 50);
    for (int I = Pick(30); I > 0; --I) C->AddMark(I, I, 10);
    FCharts[static_cast<std::size_t>(Slot)] = std::move(C);
  }
  bool Live(const TCustomVexa* Chart) const {
    return std::any_of(FCharts.begin(), FCharts.end(), [Chart](const auto& C) { return C.get() == Chart; });
  }

  std::array<std::unique_ptr<TVexa>, Slots> FCharts;
  std::mt19937 FRng;
  int FJoins = 0;
  int FLeaves = 0;
};

TEST(StressSharing, GroupsJoinedAndLeftAHundredThousandTimes) {
  SetMessageBoxHook([](const std::string&) {});
  // A first round brings the allocator's pools to their working size; the
  // memory check compares the second round's start and end.
  {
    TShareMonkey Warm(1);
    for (int I = 0; I < 2000; ++I) Warm.Step();
  }
  const std::int64_t Before = stress::ResidentBytes();
  {
    TShareMonkey Monkey(2);
    for (int I = 0; I < ShareSteps; ++I) {
      Monkey.Step();
      Monkey.CheckGroups();
      if (::testing::Test::HasFatalFailure()) {
        ADD_FAILURE() << "step " << I;
        break;
      }
    }
    EXPECT_GT(Monkey.Joins(), ShareSteps / 4);
    EXPECT_GT(Monkey.Leaves(), ShareSteps / 20);
    Monkey.DestroyAll();
  }
  SetMessageBoxHook(nullptr);
  const std::int64_t After = stress::ResidentBytes();
  if (!stress::AddressSanitizer) {
    EXPECT_LT(After - Before, 16 * stress::MiB) << "before " << Before / 1024 << " KiB, after " << After / 1024 << " KiB";
  }
}

}  // namespace
}  // namespace zkw
