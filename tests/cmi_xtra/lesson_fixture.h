// The tests of lessons through the stand-in Director host: the Xtra registered with a fresh
// host, a scratch folder for the lesson's files, and the launch file the library reads, which
// is removed after each test. At the end the host's allocator finds every block's guards
// intact.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "director_host.h"
#include "scratch_folder.h"

namespace director_host {

class LessonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Loaded());
    ASSERT_EQ(host.Register(), moa::errNone);
  }
  void TearDown() override {
    RemoveFile(launch);
    EXPECT_TRUE(host.allocator.PoisonIntact());
  }

  // A launch file with a value in every section the handlers read; the output files it names
  // are in the scratch folder.
  std::string LaunchText() const {
    return "[Core]\r\n"
           "Student_ID=S042\r\n"
           "Student_Name=Eleni Papadopoulou\r\n"
           "Lesson_Location=page3\r\n"
           "Lesson_Status=incomplete\r\n"
           "Score=55\r\n"
           "Time=00:12:30\r\n"
           "Path=C:\\core\\path\r\n"
           "Output_file=" +
           dir.File("result.cmi") +
           "\r\n"
           "[Core_Lesson]\r\n"
           "step=4\r\n"
           "[Core_Vendor]\r\n"
           "mode=lab\r\n"
           "[Evaluation]\r\n"
           "Course_ID=PHYS1\r\n"
           "Interactions_File=" +
           dir.File("interactions.csv") +
           "\r\n"
           "[Objectives_Status]\r\n"
           "J_ID.0=zero\r\nJ_SCORE.0=10\r\nJ_STATUS.0=completed\r\n"
           "J_ID.3=waves\r\nJ_SCORE.3=70\r\nJ_STATUS.3=passed\r\n"
           "J_ID.7=sound\r\nJ_SCORE.7=40\r\nJ_STATUS.7=incomplete\r\n"
           "[Student_Data]\r\n"
           "Attempt_Number=2\r\nMastery_Score=60\r\nSCORE.1=30\r\nLESSON_STATUS.1=passed\r\n"
           "[Private_Area]\r\n"
           "Path=C:\\private\r\n"
           "[student_demographics]\r\n"
           "city=Patra\r\n"
           "[Custom]\r\n"
           "colour=blue\r\n";
  }

 public:
  // Public for the checks that the cases hand a fixture to.
  DirectorHost host;
  testing_support::ScratchFolder dir{"lmint-"};
  const std::string launch = LaunchFilePath();
};

}  // namespace director_host
