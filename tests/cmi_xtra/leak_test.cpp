// Every Lingo handler of the Xtra, called a few hundred times through the stand-in Director host
// by a fresh scripting instance each round: with a whole launch file, without one, with empty
// and missing arguments. A file, text handle or host allocation that one path forgets to release
// shows as a count that climbs with the rounds.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cmi_xtra/message_table.h"
#include "director_host.h"
#include "file_bytes.h"
#include "lesson_fixture.h"
#include "resource_counts.h"

namespace {

using director_host::Argument;
using director_host::LingoObject;
using testing_support::CountResources;
using testing_support::ResourceCounts;

// The arguments a row declares ("integer index, string id, Time"), given values that change
// with the round; every fifth round passes none at all, and every third an empty text.
std::vector<Argument> ArgumentsFor(const lmint::HandlerRow& row, int round) {
  std::vector<Argument> values;
  if (round % 5 == 4) return values;
  std::string_view rest = row.arguments;
  while (!rest.empty()) {
    const size_t comma = rest.find(", ");
    const std::string_view declared = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 2);
    if (declared.starts_with("integer ")) {
      values.emplace_back(std::int32_t{round % 4});
    } else if (round % 3 == 0) {
      values.emplace_back(std::string());
    } else if (declared.ends_with("Date")) {
      values.emplace_back(std::string("24/05/99"));
    } else if (declared.ends_with("Time")) {
      values.emplace_back(std::string("10:15:00"));
    } else {
      values.emplace_back("v" + std::to_string(round) + "\r" + std::string(declared));
    }
  }
  return values;
}

class Lessons : public director_host::LessonTest {
 protected:
  // One lesson: a new instance calls every handler once, then goes.
  void Lesson(int round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // Odd rounds find no launch file; every handler then meets its missing-file path.
    if (round % 2 == 0)
      director_host::WriteProfileFile(launch, LaunchText());
    else
      director_host::RemoveFile(launch);
    // Each lesson starts its output files afresh, and a file left open could not go.
    for (const char* name : {"interactions.csv", "result.cmi"}) {
      director_host::RemoveFile(dir.File(name));
      ASSERT_FALSE(testing_support::PathExists(dir.File(name))) << name << " is still open";
    }
    LingoObject lingo(host);
    ASSERT_TRUE(lingo.Ready());
    for (const lmint::HandlerRow& row : lmint::handlerRows) {
      const std::string name(row.name);
      EXPECT_EQ(lingo.Call(name, ArgumentsFor(row, round)).status, moa::errNone) << name;
    }
  }
};

TEST_F(Lessons, CountsStayFlatOverHundredsOfLessons) {
  constexpr int kWarmUp = 10, kRounds = 300;
  for (int r = 0; r < kWarmUp && !HasFailure(); ++r) Lesson(r);
  ASSERT_FALSE(HasFailure());
  const ResourceCounts before = CountResources();
  const int liveBefore = host.allocator.Live();
  for (int r = kWarmUp; r < kWarmUp + kRounds && !HasFailure(); ++r) Lesson(r);
  const ResourceCounts after = CountResources();
  EXPECT_EQ(after, before) << "after " << kRounds << " lessons";
  EXPECT_EQ(host.allocator.Live(), liveBefore) << "blocks of the host's allocator";
  std::printf("%d lessons of %zu handlers: %s, %d live host blocks\n", kRounds, lmint::handlerCount,
              testing::PrintToString(after).c_str(), host.allocator.Live());
}

}  // namespace
