// A lesson against the course-management system: the test writes the launch file as the
// system would, the stand-in host plays the movie's Lingo calls, and the test reads the output
// and interactions files back as the system would.
#include <gtest/gtest.h>

#include "cmi_xtra/aicc_text.h"
#include "director_host.h"
#include "file_bytes.h"
#include "lesson_fixture.h"

namespace {

using director_host::Argument;
using director_host::LingoObject;
using director_host::Visible;

class Lesson : public director_host::LessonTest {
 protected:
  // A launch file with the two file names and whatever else the case needs.
  void WriteLaunch(const std::string& core, const std::string& more = "") {
    director_host::WriteProfileFile(
        launch, "[Core]\r\nOutput_file=" + output + "\r\n" + core + "[Evaluation]\r\n" +
                    "Course_ID=PHYS1\r\nInteractions_File=" + interactions + "\r\n" + more);
  }
  std::string Output(const std::string& section, const std::string& key) const {
    return director_host::ProfileValue(output, section, key);
  }
  std::string OutputBytes() const { return testing_support::ReadFileIfAny(output).value_or("<none>"); }
  // A free-text section of the output file, as the system reads it.
  std::string OutputSection(const std::string& section) const {
    return lmint::sectionText(OutputBytes(), section);
  }

  const std::string output = dir.File("result.cmi");
  const std::string interactions = dir.File("interactions.csv");
};

const char* const interactionColumns =
    "\"course_id\",\"student_id\",\"lesson_id\",\"date\",\"time\",\"interaction_id\",\"objective_id\","
    "\"type_interaction\",\"correct_response\",\"student_response\",\"result\",\"weighting\",\"latency\"";

TEST_F(Lesson, AWholeLesson) {
  WriteLaunch(
      "Student_ID=S042\r\nStudent_Name=Eleni Papadopoulou\r\nLesson_Location=page3\r\n"
      "Lesson_Status=incomplete\r\nScore=55\r\nTime=00:12:30\r\nPath=C:\\students\\S042\r\n",
      "[Core_Lesson]\r\nstep=4\r\nvisited=1,2,3\r\n"
      "[Core_Vendor]\r\nmode=lab\r\n"
      "[Objectives_Status]\r\nJ_ID.3=waves\r\nJ_SCORE.3=70\r\nJ_STATUS.3=passed\r\n"
      "J_ID.7=sound\r\nJ_SCORE.7=40\r\nJ_STATUS.7=incomplete\r\n"
      "[Student_Data]\r\nAttempt_Number=2\r\nMastery_Score=60\r\n");
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());

  // The launch data.
  EXPECT_EQ(lingo.Text("LMGetUserID"), "S042");
  EXPECT_EQ(lingo.Text("LMGetUserName"), "Eleni Papadopoulou");
  EXPECT_EQ(lingo.Text("LMGetLocation"), "page3");
  EXPECT_EQ(lingo.Text("LMGetStatus"), "incomplete");
  EXPECT_EQ(lingo.Integer("LMIsStarted"), 1);
  EXPECT_EQ(lingo.Integer("LMIsCompleted"), 0);
  EXPECT_EQ(lingo.Integer("LMGetScore"), 55);
  EXPECT_EQ(lingo.Integer("LMGetTime"), 750);
  EXPECT_EQ(lingo.Text("LMGetPath"), "C:\\students\\S042");
  EXPECT_EQ(lingo.Integer("LMGetAttempt"), 2);
  EXPECT_EQ(lingo.Integer("LMGetMasteryScore"), 60);
  EXPECT_EQ(lingo.Text("LMGetCourseID"), "PHYS1");
  EXPECT_EQ(Visible(lingo.Text("LMGetData").value_or("<none>")), Visible("step=4\r\nvisited=1,2,3"));
  EXPECT_EQ(Visible(lingo.Text("LMGetConfig").value_or("<none>")), Visible("mode=lab"));
  ASSERT_EQ(lingo.Integer("LMGetObjCount"), 2);
  EXPECT_EQ(lingo.Text("LMGetObjID", {1}), "waves");
  EXPECT_EQ(lingo.Text("LMGetObjID", {2}), "sound");
  EXPECT_EQ(lingo.Integer("LMGetObjScore", {1}), 70);
  EXPECT_EQ(lingo.Text("LMGetObjStatus", {2}), "incomplete");
  EXPECT_EQ(lingo.Integer("LMIsObjPassed", {1}), 1);
  EXPECT_EQ(lingo.Integer("LMIsObjStarted", {2}), 1);

  // Done reading: the names of the result files are kept, the launch file goes.
  EXPECT_EQ(lingo.Call("LMReadComplete").status, moa::errNone);
  EXPECT_FALSE(testing_support::PathExists(launch));
  EXPECT_EQ(lingo.Text("LMGetUserID"), "");
  EXPECT_EQ(lingo.Integer("LMGetScore"), 0);
  EXPECT_EQ(lingo.Call("LMGetData").result.word[0], director_host::kindUntouched);
  EXPECT_EQ(lingo.Call("LMGetConfig").result.word[0], director_host::kindUntouched);
  EXPECT_EQ(lingo.Integer("LMGetObjCount"), 0);

  // The results.
  lingo.Call("LMSetLocation", {"page9"});
  lingo.Call("LMSetScore", {85});
  lingo.Call("LMSetTime", {1234});
  lingo.Call("LMSetStarted");
  lingo.Call("LMSetCompleted");
  lingo.Call("LMSetPassed");
  lingo.Call("LMSetObj", {1, "waves", 90, "", 0, 0, 1, 0});
  lingo.Call("LMSetObj", {2, "sound", 45, "incomplete", 1, 0, 0, 0});
  lingo.Call("LMSetCustomField", {"Lumeno", "theme", "dark"});
  // A lesson that times out after it was passed still reports "passed".
  lingo.Call("LMSetTimedOut");

  EXPECT_EQ(Output("Core", "Lesson_Location"), "page9");
  EXPECT_EQ(Output("Core", "Score"), "85");
  EXPECT_EQ(Output("Core", "Time"), "00:20:34");
  EXPECT_EQ(Output("Core", "Lesson_Status"), "P,T");
  EXPECT_EQ(Output("Objectives_Status", "J_ID.3"), "waves");
  EXPECT_EQ(Output("Objectives_Status", "J_STATUS.3"), "p");
  EXPECT_EQ(Output("Objectives_Status", "J_SCORE.3"), "90");
  EXPECT_EQ(Output("Objectives_Status", "J_ID.7"), "sound");
  EXPECT_EQ(Output("Objectives_Status", "J_STATUS.7"), "incomplete");
  EXPECT_EQ(Output("Objectives_Status", "J_SCORE.7"), "45");
  EXPECT_EQ(Output("Lumeno", "theme"), "dark");

  // Free text and comments come last, as sections of their own.
  lingo.Call("LMSetData", {"step=9\rdone"});
  lingo.Call("LMAddComment", {1, "Good work\r\nsee the graph"});
  lingo.Call("LMAddComment", {2, "second"});
  EXPECT_EQ(Visible(OutputSection("Core_Lesson")), Visible("step=9\r\ndone"));
  EXPECT_EQ(Visible(OutputSection("comments")),
            Visible("\r\n<1>Good work<cr>see the graph<e.1>\r\n\r\n<2>second<e.2>\r\n"));
  EXPECT_EQ(Output("Core", "Score"), "85") << "a section write lost the keys";

  lingo.Call("LMAddInteraction",
             {"24/05/99", "10:15:00", "q1", "waves", "C", "b", "b", "C", "1", "00:00:12"});
  lingo.Call("LMAddInteraction",
             {"24/05/99", "10:16:30", "q2", "sound", "F", "343 m/s", "say \"340\"", "W", "1", "00:00:40"});
  EXPECT_EQ(
      Visible(testing_support::ReadFileIfAny(interactions).value_or("<none>")),
      Visible(
          std::string(interactionColumns) + "\r\n" +
          "\"PHYS1\",\"S042\",\"\",\"24/05/99\",\"10:15:00\",\"q1\",\"waves\",\"C\",\"b\",\"b\",\"C\",\"1\","
          "\"00:00:12\"\r\n"
          "\"PHYS1\",\"S042\",\"\",\"24/05/99\",\"10:16:30\",\"q2\",\"sound\",\"F\",\"343 m/s\","
          "\"say \"\"340\"\"\",\"W\",\"1\",\"00:00:40\"\r\n"));
  EXPECT_EQ(host.values.unexpectedCalls, 0);
}

TEST_F(Lesson, StatusLettersReplaceTheirWord) {
  struct Case {
    const char* launchStatus;
    const char* reported;  // the output file's status before the call; null for none
    const char* handler;
    const char* written;
  };
  const Case cases[] = {
      {"", "I", "LMSetCompleted", "C"},
      {"", "C,T", "LMSetPassed", "T,P"},
      {"", nullptr, "LMSetFailed", "F"},
      {"C", "I", "LMSetCompleted", "C"},  // the launch status is not consulted
      {"", "passed", "LMSetStarted", "I"},
      // 5: exits
      {"P", nullptr, "LMSetTimedOut", "P,T"},
      {"P,T", nullptr, "LMSetLoggedOut", "P,L"},
      {"I", "passed", "LMSetTimedOut", "passed,T"},
      {"", "P,T", "LMSetLoggedOut", "P,L"},
      {"", nullptr, "LMSetLoggedOut", "L"},
  };
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + " " + c.handler);
    WriteLaunch("Lesson_Status=" + std::string(c.launchStatus) + "\r\n");
    director_host::RemoveFile(output);
    if (c.reported) {
      director_host::WriteProfileFile(output, "[Core]\r\nLesson_Status=" + std::string(c.reported) + "\r\n");
    }
    EXPECT_EQ(lingo.Call(c.handler).status, moa::errNone);
    EXPECT_EQ(Output("Core", "Lesson_Status"), c.written);
  }
}

TEST_F(Lesson, StatusQuestionsReadTheFirstLetterOfAWord) {
  struct Case {
    const char* status;
    std::int32_t completed, started, passed, failed;
  };
  const Case cases[] = {
      {"Completed,Time-out", 1, 0, 0, 0},
      {"2c", 1, 0, 0, 0},
      {"incomplete", 0, 1, 0, 0},
      {"passed", 0, 0, 1, 0},
      {"f", 0, 0, 0, 1},  // 5
      {"", 0, 0, 0, 0},
      {"C,P", 1, 0, 1, 0},
  };
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + " status '" + c.status + "'");
    WriteLaunch("Lesson_Status=" + std::string(c.status) + "\r\n",
                "[Student_Data]\r\nLESSON_STATUS.4=" + std::string(c.status) + "\r\n");
    EXPECT_EQ(lingo.Integer("LMIsCompleted"), c.completed);
    EXPECT_EQ(lingo.Integer("LMIsStarted"), c.started);
    EXPECT_EQ(lingo.Integer("LMIsPassed"), c.passed);
    EXPECT_EQ(lingo.Integer("LMIsFailed"), c.failed);
    EXPECT_EQ(lingo.Integer("LMIsAttemptCompleted", {4}), c.completed);
    EXPECT_EQ(lingo.Integer("LMIsAttemptStarted", {4}), c.started);
    EXPECT_EQ(lingo.Integer("LMIsAttemptPassed", {4}), c.passed);
    EXPECT_EQ(lingo.Integer("LMIsAttemptFailed", {4}), c.failed);
  }
}

TEST_F(Lesson, ObjectivesFollowTheLastCount) {
  WriteLaunch("",
              "[Objectives_Status]\r\nJ_ID.0=zero\r\nJ_ID.3=three\r\nJ_ID.7=seven\r\nJ_SCORE.7=77\r\n"
              "J_STATUS.7=2c\r\n");
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  // Before any count every index stands for key 0.
  EXPECT_EQ(lingo.Text("LMGetObjID", {3}), "zero");
  WriteLaunch("", "[Objectives_Status]\r\nJ_ID.3=three\r\nJ_ID.7=seven\r\nJ_SCORE.7=77\r\nJ_STATUS.7=2c\r\n");
  ASSERT_EQ(lingo.Integer("LMGetObjCount"), 2);
  struct Case {
    std::int32_t index;
    const char* id;
    std::int32_t score;
    std::int32_t completed;
  };
  // clang-format off
  const Case cases[] = {
      {1, "three", 0, 0},
      {2, "seven", 77, 1},
      {3, "", 0, 0},  // entry 3 still holds key 0, which this launch file lacks
      {0, "", 0, 0},
      {101, "", 0, 0},  // 5
      {-5, "", 0, 0},
  };
  // clang-format on
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + " index " + std::to_string(c.index));
    EXPECT_EQ(lingo.Text("LMGetObjID", {c.index}), c.id);
    EXPECT_EQ(lingo.Integer("LMGetObjScore", {c.index}), c.score);
    EXPECT_EQ(lingo.Integer("LMIsObjCompleted", {c.index}), c.completed);
  }
}

TEST_F(Lesson, SetObjectiveChoosesItsStatus) {
  struct Case {
    const char* status;
    std::int32_t started, completed, passed, failed;
    const char* launchStatus;
    const char* written;
  };
  // clang-format off
  const Case cases[] = {
      {"", 0, 0, 0, 0, "", "f"},
      {"", 1, 0, 0, 0, "", "i"},
      {"", 0, 1, 0, 0, "C", "c"},
      {"", 0, 0, 1, 0, "incomplete,T", "T,p"},
      {"", 0, 0, 0, 1, "", "f"},  // 5: "f" is what no other flag gives
      {"", 1, 1, 1, 1, "", "i"},
      {"browsed", 1, 0, 0, 0, "C", "browsed"},
  };
  // clang-format on
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    WriteLaunch("", "[Objectives_Status]\r\nJ_STATUS.0=" + std::string(c.launchStatus) + "\r\n");
    director_host::RemoveFile(output);
    lingo.Call("LMSetObj", {1, "obj", 12, c.status, c.started, c.completed, c.passed, c.failed});
    EXPECT_EQ(Output("Objectives_Status", "J_ID.0"), "obj");
    EXPECT_EQ(Output("Objectives_Status", "J_STATUS.0"), c.written);
    EXPECT_EQ(Output("Objectives_Status", "J_SCORE.0"), "12");
  }
  // Outside 1 to 100 nothing is written.
  director_host::RemoveFile(output);
  lingo.Call("LMSetObj", {0, "obj", 12, "", 0, 0, 0, 0});
  lingo.Call("LMSetObj", {101, "obj", 12, "", 0, 0, 0, 0});
  EXPECT_FALSE(testing_support::PathExists(output));
}

TEST_F(Lesson, TimeBothWays) {
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  struct Case {
    const char* launchTime;
    std::int32_t seconds;
  };
  const Case reads[] = {{"1:2:5", 3725}, {"5", 18000}, {"", 0}, {"100:00:01", 360001}};
  for (size_t row = 0; row < std::size(reads); ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    WriteLaunch("Time=" + std::string(reads[row].launchTime) + "\r\n");
    EXPECT_EQ(lingo.Integer("LMGetTime"), reads[row].seconds);
  }
  WriteLaunch("");
  lingo.Call("LMSetTime", {3725});
  EXPECT_EQ(Output("Core", "Time"), "01:02:05");
  lingo.Call("LMSetTime", {360001});
  EXPECT_EQ(Output("Core", "Time"), "100:00:01");
}

TEST_F(Lesson, CommentsStandOnTheirOwnLines) {
  WriteLaunch("");
  director_host::WriteProfileFile(output, "[Core]\r\nScore=5\r\n");
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  lingo.Call("LMAddComment", {3, "first\r\nsecond"});
  EXPECT_EQ(Visible(OutputBytes()),
            Visible("[Core]\r\nScore=5\r\n\r\n[comments]\r\n\r\n<3>first<cr>second<e.3>"));
  lingo.Call("LMAddComment", {1000, "x"});
  EXPECT_EQ(Visible(OutputBytes()),
            Visible("[Core]\r\nScore=5\r\n\r\n[comments]\r\n\r\n<3>first<cr>second<e.3>"
                    "\r\n\r\n<1000>x<e.1000>"));
  // Once another section follows, comments stand on consecutive lines.
  director_host::WriteProfileFile(output, "[comments]\r\n<1>a<e.1>\r\n[Core]\r\nScore=5\r\n");
  lingo.Call("LMAddComment", {2, "b"});
  EXPECT_EQ(Visible(OutputBytes()), Visible("[comments]\r\n<1>a<e.1>\r\n<2>b<e.2>\r\n[Core]\r\nScore=5\r\n"));
  // The section's own name inside a comment is no header.
  lingo.Call("LMAddComment", {3, "see [comments]"});
  lingo.Call("LMAddComment", {4, "d"});
  EXPECT_EQ(Visible(OutputBytes()), Visible("[comments]\r\n<1>a<e.1>\r\n<2>b<e.2>\r\n<3>see "
                                            "[comments]<e.3>\r\n<4>d<e.4>\r\n[Core]\r\nScore=5\r\n"));
}

TEST_F(Lesson, SectionsAreReadAndReplacedWhole) {
  WriteLaunch(
      "",
      "[core_lesson] kept after the bracket\r\nline one\r\n\r\nline three\r\n[Core_Lessons]\r\nnot this\r\n");
  director_host::WriteProfileFile(output, "[Core]\nScore=5\n[Core_Lesson]\nold\n[Later]\nx=1\n");
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  EXPECT_EQ(Visible(lingo.Text("LMGetData").value_or("<none>")), Visible("line one\r\n\r\nline three"));
  EXPECT_EQ(lingo.Text("LMGetConfig"), "");
  lingo.Call("LMSetData", {"new\rtext"});
  EXPECT_EQ(Visible(OutputBytes()), Visible("[Core]\nScore=5\n[Core_Lesson]\r\nnew\r\ntext\n[Later]\nx=1\n"));
  // Without a launch file there is nothing to read and nowhere to write.
  director_host::RemoveFile(launch);
  EXPECT_EQ(lingo.Call("LMGetData").result.word[0], director_host::kindUntouched);
  lingo.Call("LMSetData", {"lost"});
  EXPECT_EQ(Visible(OutputBytes()), Visible("[Core]\nScore=5\n[Core_Lesson]\r\nnew\r\ntext\n[Later]\nx=1\n"));
}

TEST_F(Lesson, InteractionsWithCustomData) {
  WriteLaunch("Student_ID=S042\r\n");
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  const std::vector<Argument> fields = {"24/05/99", "10:15:00", "q1", "waves", "C",
                                        "b",        "b",        "C",  "1",     "00:00:12"};
  std::vector<Argument> ex = fields;
  ex.push_back("a=1\r\nb=2");
  lingo.Call("LMAddInteractionEx", ex);
  ex.back() = "a=3\r\nb=4\r\nc";
  lingo.Call("LMAddInteractionEx", ex);
  lingo.Call("LMAddInteraction", fields);
  const std::string record =
      "\"PHYS1\",\"S042\",\"\",\"24/05/"
      "99\",\"10:15:00\",\"q1\",\"waves\",\"C\",\"b\",\"b\",\"C\",\"1\",\"00:00:12\"";
  EXPECT_EQ(Visible(testing_support::ReadFileIfAny(interactions).value_or("<none>")),
            Visible(std::string(interactionColumns) + ",\"a\",\"b\"\r\n" + record + ",\"1\",\"2\"\r\n" +
                    record + ",\"3\",\"4\",\"\"\r\n" + record + "\r\n"));
}

TEST_F(Lesson, AnInteractionsFileThatCannotBeOpenedIsLeftAlone) {
  WriteLaunch("Student_ID=S042\r\n");
  const std::string before = "kept as it is\r\n";
  director_host::WriteProfileFile(interactions, before);
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  {
    // The system holds the file open without sharing while the lesson reports.
    HANDLE held = CreateFileA(interactions.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    lingo.Call("LMAddInteraction", {"d", "t", "q", "o", "C", "b", "b", "C", "1", "0"});
    CloseHandle(held);
  }
  EXPECT_EQ(testing_support::ReadFileIfAny(interactions), before);
}

TEST_F(Lesson, ReadCompleteKeepsTheFileNamesForEveryInstance) {
  WriteLaunch("Student_ID=S042\r\n");
  {
    LingoObject first(host);
    ASSERT_TRUE(first.Ready());
    first.Call("LMReadComplete");
    EXPECT_FALSE(testing_support::PathExists(launch));
    // A second object made after LMReadComplete reports into the same files.
    LingoObject second(host);
    ASSERT_TRUE(second.Ready());
    second.Call("LMSetScore", {70});
    EXPECT_EQ(Output("Core", "Score"), "70");
    // The cached names answer for their keys in any letter case and any section.
    EXPECT_EQ(second.Text("LMGetCustomField", {"Anything", "output_FILE"}), output);
    EXPECT_EQ(second.Text("LMGetCustomField", {"Core", "Interactions_file"}), interactions);
    EXPECT_EQ(second.Text("LMGetUserID"), "");
  }
  // With the last object gone the names go too: nothing is known without a launch file.
  LingoObject later(host);
  ASSERT_TRUE(later.Ready());
  later.Call("LMSetScore", {99});
  EXPECT_EQ(Output("Core", "Score"), "70");
}

TEST_F(Lesson, LongNamesAreKeptWhole) {
  // Names past any fixed buffer: a 300-character output path, a 150-character custom item.
  const std::string longOutput = dir.Path() + "\\" + std::string(300 - dir.Path().size() - 5, 'o') + ".cmi";
  director_host::WriteProfileFile(launch, "[Core]\r\nStudent_ID=S042\r\nOutput_file=" + longOutput +
                                              "\r\n[Evaluation]\r\nInteractions_File=" + interactions +
                                              "\r\n");
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  lingo.Call("LMReadComplete");
  EXPECT_EQ(lingo.Text("LMGetCustomField", {"Core", "Output_file"}), longOutput);
  const std::string name(150, 'n');
  lingo.Call("LMAddInteractionEx",
             {"d", "t", "q", "o", "C", "b", "b", "C", "1", "0", name + "=" + name + "v"});
  const std::string csv = testing_support::ReadFileIfAny(interactions).value_or("");
  EXPECT_NE(csv.find(",\"" + name + "\"\r\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find(",\"" + name + "v\"\r\n"), std::string::npos) << csv;
}

// The names of the files in a directory, "." and ".." left out.
std::vector<std::string> FilesIn(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((directory + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

TEST_F(Lesson, RelativeFileNamesMeanTheLaunchFilesDirectory) {
  std::string windows = director_host::WindowsDirectory();
  if (windows.back() != '\\') windows += '\\';
  const std::string stem = "lmint-relative-" + std::to_string(GetCurrentProcessId());
  const std::string folder = windows + stem;
  struct Case {
    std::string output, interactions;  // as the launch file names them
    std::string outputPath, interactionsPath;
  };
  const Case cases[] = {
      {stem + ".cmi", stem + ".csv", windows + stem + ".cmi", windows + stem + ".csv"},
      {stem + "\\result.cmi", stem + "\\interactions.csv", folder + "\\result.cmi",
       folder + "\\interactions.csv"},
      // On the launch file's drive, relative to that drive's current directory.
      {windows.substr(0, 2) + stem + ".cmi", windows.substr(0, 2) + stem + ".csv", windows + stem + ".cmi",
       windows + stem + ".csv"},
  };
  // The lesson runs in a directory of its own, where nothing of it belongs; whatever fails,
  // the test leaves the Windows directory and the current directory as it found them.
  struct Restore {
    const Case* cases;
    size_t count;
    std::string folder;
    char saved[MAX_PATH] = {};
    ~Restore() {
      SetCurrentDirectoryA(saved);
      for (size_t i = 0; i < count; ++i) {
        director_host::RemoveFile(cases[i].outputPath);
        director_host::RemoveFile(cases[i].interactionsPath);
      }
      RemoveDirectoryA(folder.c_str());
    }
  } restore{cases, std::size(cases), folder};
  GetCurrentDirectoryA(MAX_PATH, restore.saved);
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row) + ": " + c.output);
    director_host::RemoveFile(c.outputPath);
    director_host::RemoveFile(c.interactionsPath);
    director_host::WriteProfileFile(
        launch, "[Core]\r\nStudent_ID=S042\r\nOutput_file=" + c.output +
                    "\r\n[Evaluation]\r\nCourse_ID=PHYS1\r\nInteractions_File=" + c.interactions + "\r\n");
    {
      LingoObject lingo(host);
      ASSERT_TRUE(lingo.Ready());
      EXPECT_EQ(lingo.Text("LMGetCustomField", {"Core", "Output_file"}), c.outputPath);
      lingo.Call("LMSetLocation", {"page2"});  // before the names are kept
      lingo.Call("LMReadComplete");
      EXPECT_EQ(lingo.Text("LMGetCustomField", {"Core", "Output_file"}), c.outputPath);
      EXPECT_EQ(lingo.Text("LMGetCustomField", {"Evaluation", "Interactions_File"}), c.interactionsPath);
      lingo.Call("LMSetScore", {85});
      lingo.Call("LMSetStarted");
      lingo.Call("LMSetObj", {1, "waves", 90, "passed", 0, 0, 0, 0});
      lingo.Call("LMSetData", {"step=9"});
      lingo.Call("LMAddComment", {1, "ok"});
      lingo.Call("LMSetTime", {61});
      lingo.Call("LMAddInteraction",
                 {"24/05/99", "10:15:00", "q1", "waves", "C", "b", "b", "C", "1", "00:00:12"});
    }
    // One output file holds every section of the lesson, values and free text alike.
    const std::string bytes = testing_support::ReadFileIfAny(c.outputPath).value_or("<none>");
    EXPECT_EQ(director_host::ProfileValue(c.outputPath, "Core", "Lesson_Location"), "page2")
        << Visible(bytes);
    EXPECT_EQ(director_host::ProfileValue(c.outputPath, "Core", "Score"), "85");
    EXPECT_EQ(director_host::ProfileValue(c.outputPath, "Core", "Lesson_Status"), "I");
    EXPECT_EQ(director_host::ProfileValue(c.outputPath, "Core", "Time"), "00:01:01");
    EXPECT_EQ(director_host::ProfileValue(c.outputPath, "Objectives_Status", "J_STATUS.0"), "passed");
    EXPECT_NE(lmint::sectionText(bytes, "Core_Lesson").find("step=9"), std::string::npos) << Visible(bytes);
    EXPECT_NE(lmint::sectionText(bytes, "comments").find("<1>ok<e.1>"), std::string::npos) << Visible(bytes);
    EXPECT_EQ(Visible(testing_support::ReadFileIfAny(c.interactionsPath).value_or("<none>")),
              Visible(std::string(interactionColumns) +
                      "\r\n\"PHYS1\",\"S042\",\"\",\"24/05/99\",\"10:15:00\","
                      "\"q1\",\"waves\",\"C\",\"b\",\"b\",\"C\",\"1\",\"00:00:12\"\r\n"));
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{}) << "written where the lesson runs";
    director_host::RemoveFile(c.outputPath);
    director_host::RemoveFile(c.interactionsPath);
  }
}

TEST_F(Lesson, LaunchReadsOfEveryKind) {
  WriteLaunch("Path=C:\\core\r\nScore=  42 points\r\n",
              "[Student_Data]\r\nSCORE.1=30\r\nSCORE.70000=31\r\nLESSON_STATUS.70000=passed\r\n"
              "[student_demographics]\r\ncity=Patra\r\n[Lumeno]\r\ntheme=dark\r\n");
  LingoObject lingo(host);
  ASSERT_TRUE(lingo.Ready());
  EXPECT_EQ(lingo.Text("LMGetPath"), "C:\\core");
  EXPECT_EQ(lingo.Integer("LMGetScore"), 42);
  EXPECT_EQ(lingo.Integer("LMGetAttemptScore", {1}), 30);
  EXPECT_EQ(lingo.Integer("LMGetAttemptScore", {70000}), 31);
  EXPECT_EQ(lingo.Text("LMGetAttemptStatus", {70000}), "passed");
  EXPECT_EQ(lingo.Integer("LMGetAttemptScore", {4464}), 0);
  EXPECT_EQ(lingo.Text("LMGetDemographics", {"city"}), "Patra");
  EXPECT_EQ(lingo.Text("LMGetCustomField", {"Lumeno", "theme"}), "dark");
  EXPECT_EQ(lingo.Text("LMGetCustomField", {"Lumeno", "missing"}), "");
  director_host::RemoveFile(launch);
  EXPECT_EQ(lingo.Text("LMGetPath"), "");
  EXPECT_EQ(lingo.Integer("LMGetAttempt"), 0);
  // Nothing to write into without a launch file, and no file made from an empty name.
  lingo.Call("LMSetScore", {5});
  lingo.Call("LMSetCompleted");
  lingo.Call("LMAddComment", {1, "x"});
  EXPECT_FALSE(testing_support::PathExists(output));
}

}  // namespace
