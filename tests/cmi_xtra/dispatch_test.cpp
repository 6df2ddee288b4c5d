// Call by selector: every handler of the registered table is reached by its selector with its
// arguments fetched in order; unknown selectors fail and leave the result alone; a host that
// withholds its value interface, or converts texts carelessly, is survived.
#include <gtest/gtest.h>

#include <functional>
#include <variant>

#include "director_host.h"
#include "file_bytes.h"
#include "lesson_fixture.h"

namespace {

using director_host::Argument;
using director_host::LingoObject;
using director_host::Visible;

class Dispatch : public director_host::LessonTest {
 public:
  void SetUp() override {
    LessonTest::SetUp();
    if (HasFatalFailure()) return;
    director_host::WriteProfileFile(launch, LaunchText());
  }
  std::string Output(const std::string& section, const std::string& key) {
    return director_host::ProfileValue(dir.File("result.cmi"), section, key);
  }
};

const std::string interactionColumns =
    "\"course_id\",\"student_id\",\"lesson_id\",\"date\",\"time\",\"interaction_id\",\"objective_id\","
    "\"type_interaction\",\"correct_response\",\"student_response\",\"result\",\"weighting\",\"latency\"";

TEST_F(Dispatch, EverySelectorRunsItsHandler) {
  using Result = std::variant<std::monostate, std::string, std::int32_t>;
  struct Row {
    const char* handler;
    std::vector<Argument> arguments;
    Result result;  // monostate: the result is left untouched
    // What the handler left in the output, interactions or launch file; null for getters.
    std::function<void(Dispatch&)> check;
  };
  auto outputValue = [](const char* section, const char* key, const char* value) {
    return [=](Dispatch& t) { EXPECT_EQ(t.Output(section, key), value) << "[" << section << "] " << key; };
  };
  auto outputBytes = [](const char* bytes) {
    return [=](Dispatch& t) {
      EXPECT_EQ(Visible(testing_support::ReadFileIfAny(t.dir.File("result.cmi")).value_or("<none>")),
                Visible(bytes));
    };
  };
  auto csvBytes = [](std::string bytes) {
    return [=](Dispatch& t) {
      EXPECT_EQ(Visible(testing_support::ReadFileIfAny(t.dir.File("interactions.csv")).value_or("<none>")),
                Visible(bytes));
    };
  };
  const std::string record =
      "\"PHYS1\",\"S042\",\"\",\"24/05/"
      "99\",\"10:15:00\",\"q1\",\"waves\",\"C\",\"b\",\"a\",\"W\",\"1\",\"00:00:12\"";
  const std::vector<Argument> interaction = {"24/05/99", "10:15:00", "q1", "waves", "C",
                                             "b",        "a",        "W",  "1",     "00:00:12"};
  std::vector<Argument> interactionEx = interaction;
  interactionEx.push_back("tries=2\r\nhint=no");

  const Row rows[] = {
      // 1
      {"LMGetUserID", {}, std::string("S042"), nullptr},
      {"LMGetUserName", {}, std::string("Eleni Papadopoulou"), nullptr},
      {"LMGetLocation", {}, std::string("page3"), nullptr},
      {"LMGetStatus", {}, std::string("incomplete"), nullptr},
      // 5
      {"LMGetScore", {}, 55, nullptr},
      {"LMGetAttempt", {}, 2, nullptr},
      {"LMGetData", {}, std::string("step=4"), nullptr},
      {"LMGetConfig", {}, std::string("mode=lab"), nullptr},
      {"LMGetPath", {}, std::string("C:\\private"), nullptr},
      // 10
      {"LMGetTime", {}, 750, nullptr},
      {"LMIsCompleted", {}, 0, nullptr},
      {"LMIsStarted", {}, 1, nullptr},
      {"LMSetLocation", {"page9"}, {}, outputValue("Core", "Lesson_Location", "page9")},
      {"LMSetStatus", {"browsed"}, {}, outputValue("Core", "Lesson_Status", "browsed")},
      // 15
      {"LMSetScore", {85}, {}, outputValue("Core", "Score", "85")},
      {"LMSetData", {"step=9\rdone"}, {}, outputBytes("[Core_Lesson]\r\nstep=9\r\ndone")},
      {"LMSetTime", {3725}, {}, outputValue("Core", "Time", "01:02:05")},
      {"LMSetCompleted", {}, {}, outputValue("Core", "Lesson_Status", "C")},
      {"LMSetStarted", {}, {}, outputValue("Core", "Lesson_Status", "I")},
      // 20
      {"LMReadComplete",
       {},
       {},
       [](Dispatch& t) {
         EXPECT_FALSE(testing_support::PathExists(t.launch)) << "the launch file is still there";
       }},
      {"LMIsPassed", {}, 0, nullptr},
      {"LMIsFailed", {}, 0, nullptr},
      {"LMGetCourseID", {}, std::string("PHYS1"), nullptr},
      {"LMGetObjCount", {}, 3, nullptr},
      // 25: from here objective i stands for the i-th key found: 0, 3, 7
      {"LMGetObjID", {2}, std::string("waves"), nullptr},
      {"LMGetObjScore", {2}, 70, nullptr},
      {"LMGetObjStatus", {2}, std::string("passed"), nullptr},
      {"LMIsObjCompleted", {1}, 1, nullptr},
      {"LMIsObjStarted", {3}, 1, nullptr},
      // 30
      {"LMIsObjPassed", {2}, 1, nullptr},
      {"LMIsObjFailed", {2}, 0, nullptr},
      {"LMGetAttemptScore", {1}, 30, nullptr},
      {"LMGetAttemptStatus", {1}, std::string("passed"), nullptr},
      {"LMIsAttemptCompleted", {1}, 0, nullptr},
      // 35
      {"LMIsAttemptStarted", {1}, 0, nullptr},
      {"LMIsAttemptPassed", {1}, 1, nullptr},
      {"LMIsAttemptFailed", {1}, 0, nullptr},
      {"LMGetMasteryScore", {}, 60, nullptr},
      {"LMGetCustomField", {"Custom", "colour"}, std::string("blue"), nullptr},
      // 40
      {"LMGetDemographics", {"city"}, std::string("Patra"), nullptr},
      {"LMSetPassed", {}, {}, outputValue("Core", "Lesson_Status", "P")},
      {"LMSetFailed", {}, {}, outputValue("Core", "Lesson_Status", "F")},
      {"LMSetTimedOut", {}, {}, outputValue("Core", "Lesson_Status", "incomplete,T")},
      {"LMSetLoggedOut", {}, {}, outputValue("Core", "Lesson_Status", "incomplete,L")},
      // 45
      {"LMSetObj",
       {2, "waves2", 95, "", 0, 1, 0, 0},
       {},
       [](Dispatch& t) {
         EXPECT_EQ(t.Output("Objectives_Status", "J_ID.3"), "waves2");
         EXPECT_EQ(t.Output("Objectives_Status", "J_STATUS.3"), "c");
         EXPECT_EQ(t.Output("Objectives_Status", "J_SCORE.3"), "95");
       }},
      {"LMAddComment", {7, "well done"}, {}, outputBytes("[comments]\r\n<7>well done<e.7>")},
      {"LMAddInteraction", interaction, {}, csvBytes(interactionColumns + "\r\n" + record + "\r\n")},
      {"LMAddInteractionEx",
       interactionEx,
       {},
       csvBytes(interactionColumns + ",\"tries\",\"hint\"\r\n" + record + ",\"2\",\"no\"\r\n")},
      {"LMSetCustomField", {"Custom", "colour", "red"}, {}, outputValue("Custom", "colour", "red")},
  };
  ASSERT_EQ(std::size(rows), 49u);

  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  for (size_t row = 0; row < std::size(rows); ++row) {
    const Row& r = rows[row];
    SCOPED_TRACE("row " + std::to_string(row + 1) + " " + r.handler);
    ASSERT_EQ(host.SelectorOf(r.handler), static_cast<std::int32_t>(row + 1));
    director_host::WriteProfileFile(launch, LaunchText());
    director_host::RemoveFile(dir.File("result.cmi"));
    director_host::RemoveFile(dir.File("interactions.csv"));

    const std::vector<moa::HostValue> values = host.Values(r.arguments);
    host.values.log.clear();
    const director_host::CallOutcome outcome =
        host.Call(lingo.Scripting(), static_cast<std::int32_t>(row + 1), values);
    EXPECT_EQ(outcome.status, moa::errNone);

    // Arguments are fetched first to last, each exactly once.
    std::vector<std::pair<int, std::uint32_t>> fetched;
    for (const auto& c : host.values.log) {
      if (c.slot == director_host::slotValueToInteger || c.slot == director_host::slotStringLength ||
          c.slot == director_host::slotValueToString) {
        fetched.push_back({c.slot, c.value.word[1]});
      }
    }
    std::vector<std::pair<int, std::uint32_t>> expected;
    for (size_t n = 0; n < values.size(); ++n) {
      if (std::holds_alternative<std::int32_t>(r.arguments[n])) {
        expected.push_back({director_host::slotValueToInteger, values[n].word[1]});
      } else {
        expected.push_back({director_host::slotStringLength, values[n].word[1]});
        expected.push_back({director_host::slotValueToString, values[n].word[1]});
      }
    }
    EXPECT_EQ(fetched, expected);

    if (const auto* text = std::get_if<std::string>(&r.result)) {
      EXPECT_EQ(host.values.AsString(outcome.result).value_or("<no text>"), *text);
    } else if (const auto* integer = std::get_if<std::int32_t>(&r.result)) {
      EXPECT_EQ(host.values.AsInteger(outcome.result).value_or(-999), *integer);
    } else {
      EXPECT_EQ(outcome.result.word[0], director_host::kindUntouched) << "a handler without a result set one";
    }
    if (r.check) r.check(*this);
  }
  EXPECT_EQ(host.values.unexpectedCalls, 0);
}

TEST_F(Dispatch, UnknownSelectorsFailAndLeaveTheResultAlone) {
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  struct Case {
    std::int32_t selector;
    moa::MoaError status;
  };
  const Case cases[] = {
      {50, moa::errUnknownSelector},
      {-1, moa::errUnknownSelector},
      {1000, moa::errUnknownSelector},
      {INT32_MIN, moa::errUnknownSelector},
      {0, moa::errNone},  // 5: the "new" line
  };
  const int references = host.values.references;
  for (size_t row = 0; row < std::size(cases); ++row) {
    SCOPED_TRACE("row " + std::to_string(row) + " selector " + std::to_string(cases[row].selector));
    host.values.log.clear();
    const auto outcome = host.Call(lingo.Scripting(), cases[row].selector, host.Values({"x", 1}));
    EXPECT_EQ(outcome.status, cases[row].status);
    EXPECT_EQ(outcome.result.word[0], director_host::kindUntouched);
    EXPECT_TRUE(host.values.log.empty()) << "arguments were converted";
    EXPECT_EQ(host.values.references, references) << "the value interface queried for the call was kept";
  }
}

TEST_F(Dispatch, WithoutTheValueInterfaceNothingRuns) {
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  host.callback.offerValues = false;
  const auto outcome = lingo.Call("LMSetLocation", {"page9"});
  EXPECT_EQ(outcome.status, moa::errNone);
  EXPECT_EQ(outcome.result.word[0], director_host::kindUntouched);
  EXPECT_FALSE(testing_support::PathExists(dir.File("result.cmi")));
  EXPECT_EQ(lingo.Call("LMGetUserID").result.word[0], director_host::kindUntouched);
}

TEST_F(Dispatch, AnInstanceWithoutValuesConvertsNothing) {
  host.callback.offerValues = false;
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  // The host can answer the call itself, but the instance holds no value interface.
  host.callback.offerValues = true;
  EXPECT_EQ(lingo.Call("LMGetUserID").result.word[0], director_host::kindUntouched);
  EXPECT_EQ(lingo.Call("LMSetScore", {85}).status, moa::errNone);
  EXPECT_EQ(Output("Core", "Score"), "");
  // Handlers without arguments still do their work.
  EXPECT_EQ(lingo.Call("LMSetCompleted").status, moa::errNone);
  EXPECT_EQ(Output("Core", "Lesson_Status"), "C");
  EXPECT_TRUE(host.values.log.empty());
}

TEST_F(Dispatch, ArgumentsSurviveCarelessHosts) {
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  struct Case {
    const char* handler;
    std::vector<Argument> arguments;
    bool unterminated;
    const char* key;
    const char* written;
  };
  const Case cases[] = {
      // The host fills the buffer it was given and leaves out the zero.
      {"LMSetLocation", {"Lab 3"}, true, "Lesson_Location", "Lab 3#"},
      // Arguments the host did not pass read as the empty text or 0.
      {"LMSetLocation", {}, false, "Lesson_Location", ""},
      {"LMSetScore", {}, false, "Score", "0"},
      // A text where a number belongs: the conversion fails and the number stays 0.
      {"LMSetScore", {"85"}, false, "Score", "0"},
      {"LMSetStatus", {17}, false, "Lesson_Status", ""},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + " " + c.handler);
    director_host::WriteProfileFile(dir.File("result.cmi"), "[Core]\r\n" + std::string(c.key) + "=old\r\n");
    host.values.unterminatedTexts = c.unterminated;
    EXPECT_EQ(lingo.Call(c.handler, c.arguments).status, moa::errNone);
    host.values.unterminatedTexts = false;
    EXPECT_EQ(Output("Core", c.key), c.written);
  }
}

}  // namespace
