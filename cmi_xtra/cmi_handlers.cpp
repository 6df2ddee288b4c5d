#include "cmi_xtra/cmi_handlers.h"

#include <windows.h>

#include <string>
#include <utility>

#include "cmi_xtra/aicc_files.h"
#include "cmi_xtra/aicc_text.h"

namespace lmint {

namespace {

// A launch value as the handler's text result.
void launchText(HandlerCall& call, const std::string& section, const std::string& key) {
  returnStringHandle(call, cmiReadValue(section, key));
}

void launchInteger(HandlerCall& call, const std::string& section, const std::string& key) {
  integerResult(call, cmiReadInteger(section, key));
}

std::string handleTextOrEmpty(const OwnedHandle& handle) { return handle.text().value_or(std::string()); }

std::int32_t statusHandleHasLetter(const OwnedHandle& status, char letter) {
  const std::optional<std::string> text = status.text();
  return text && statusHasLetter(*text, letter) ? 1 : 0;
}

std::int32_t lessonStatusHasLetter(char letter) {
  return statusHandleHasLetter(cmiReadValue("Core", "Lesson_Status"), letter);
}

// A free-text section of the launch file: the empty text without a launch path, and no
// result at all when the launch file cannot be opened.
void launchSection(HandlerCall& call, const std::string& section) {
  const std::optional<std::string> launchFile = paramFilePath().text();
  if (!launchFile) {
    returnStringHandle(call, emptyStringHandle());
    return;
  }
  if (OwnedHandle text = readWholeSection(*launchFile, section)) returnStringHandle(call, std::move(text));
}

std::optional<std::string> outputFilePath() {
  std::optional<std::string> file = cmiReadValue("Core", "Output_file").text();
  if (file && file->empty()) return std::nullopt;
  return file;
}

void setLessonStatusLetter(char letter) {
  const std::optional<std::string> output = outputFilePath();
  if (!output) return;
  const std::string current = handleTextOrEmpty(readProfileString(*output, "Core", "Lesson_Status"));
  writeProfileString(*output, "Core", "Lesson_Status", statusSetLetter(current, letter, lessonStatusLetters));
}

// Like the lesson-status setters, the current status is the one already reported, so an exit
// after LMReadComplete keeps "passed"; the launch status stands in while none is reported.
void setExitLetter(char letter) {
  const std::optional<std::string> output = outputFilePath();
  if (!output) return;
  std::string current = handleTextOrEmpty(readProfileString(*output, "Core", "Lesson_Status"));
  if (current.empty()) current = handleTextOrEmpty(cmiReadValue("Core", "Lesson_Status"));
  writeProfileString(*output, "Core", "Lesson_Status", statusSetLetter(current, letter, exitLetters));
}

// The key number of objective i (1 to 100), as the last count found it.
std::optional<std::int32_t> objectiveKeyNumber(std::int32_t i) {
  if (i < 1 || i > 100) return std::nullopt;
  return objectiveIndexTable[i - 1];
}

OwnedHandle objectiveValue(std::int32_t k, const char* name) {
  return cmiReadValue("Objectives_Status", numberedKey(name, k));
}

void objectiveText(HandlerCall& call, const char* name) {
  const std::optional<std::int32_t> i = integerArgument(call, 1);
  if (!i) return;
  const std::optional<std::int32_t> k = objectiveKeyNumber(*i);
  returnStringHandle(call, k ? objectiveValue(*k, name) : emptyStringHandle());
}

void objectiveHasLetter(HandlerCall& call, char letter) {
  const std::optional<std::int32_t> i = integerArgument(call, 1);
  if (!i) return;
  const std::optional<std::int32_t> k = objectiveKeyNumber(*i);
  integerResult(call, k ? statusHandleHasLetter(objectiveValue(*k, "J_STATUS"), letter) : 0);
}

void attemptHasLetter(HandlerCall& call, char letter) {
  const std::optional<std::int32_t> n = integerArgument(call, 1);
  if (!n) return;
  integerResult(
      call, statusHandleHasLetter(cmiReadValue("Student_Data", numberedKey("LESSON_STATUS", *n)), letter));
}

std::int32_t countObjectives() {
  std::int32_t count = 0;
  for (std::int32_t k = 0; k < 100; ++k) {
    if (!handleTextOrEmpty(objectiveValue(k, "J_ID")).empty()) objectiveIndexTable[count++] = k;
  }
  return count;
}

void setObjective(std::int32_t i, const std::string& id, std::int32_t score, const std::string& status,
                  std::int32_t started, std::int32_t completed, std::int32_t passed) {
  const std::optional<std::int32_t> k = objectiveKeyNumber(i);
  if (!k) return;
  cmiWriteValue("Objectives_Status", numberedKey("J_ID", *k), id);
  if (!status.empty()) {
    cmiWriteValue("Objectives_Status", numberedKey("J_STATUS", *k), status);
  } else {
    // "f" is what none of the other three flags gives; the failed flag is not consulted.
    const char letter = started ? 'i' : completed ? 'c' : passed ? 'p' : 'f';
    const std::string current = handleTextOrEmpty(objectiveValue(*k, "J_STATUS"));
    cmiWriteValue("Objectives_Status", numberedKey("J_STATUS", *k),
                  statusSetLetter(current, letter, lessonStatusLetters));
  }
  cmiWriteValue("Objectives_Status", numberedKey("J_SCORE", *k), std::to_string(score));
}

void addComment(std::int32_t index, const std::string& comment) {
  const std::string entry = commentEntry(index, comment);
  const std::optional<std::string> output = outputFilePath();
  if (!output) return;
  std::string text = entry;
  if (const OwnedHandle existing = readWholeSection(*output, "comments")) {
    // The joining CR becomes CR LF when the section is written.
    text = handleTextOrEmpty(existing) + "\r" + entry;
  }
  replaceWholeSection(*output, "comments", text);
}

void readComplete() {
  if (std::optional<std::string> name = cmiReadValue("Core", "Output_file").text()) cachedOutputFile = *name;
  if (std::optional<std::string> name = cmiReadValue("Evaluation", "Interactions_file").text()) {
    cachedInteractionsFile = *name;
  }
  keptCourseId = handleTextOrEmpty(cmiReadValue("Evaluation", "Course_ID"));
  keptStudentId = handleTextOrEmpty(cmiReadValue("Core", "Student_ID"));
  if (std::optional<std::string> launchFile = paramFilePath().text()) {
    // Once deleted, the launch file must read as gone, not from the profile functions' copy.
    forgetProfileCache(*launchFile);
    DeleteFileA(launchFile->c_str());
  }
}

void appendInteraction(InteractionRecord record, const std::string& customData) {
  const std::optional<std::string> file = cmiReadValue("Evaluation", "Interactions_File").text();
  if (!file || file->empty()) return;
  const std::vector<std::string> tokens = customTokens(customData);
  const std::optional<std::string> course = cmiReadValue("Evaluation", "Course_ID").text();
  const std::optional<std::string> student = cmiReadValue("Core", "Student_ID").text();
  if (!course || !student) return;
  // Records are written after LMReadComplete, when the launch file is gone.
  record.courseId = course->empty() ? keptCourseId : *course;
  record.studentId = student->empty() ? keptStudentId : *student;
  appendToFile(*file, interactionHeader(tokens), interactionLine(record, tokens));
}

// LMAddInteraction and LMAddInteractionEx: ten texts, and the custom data as the eleventh.
void addInteraction(HandlerCall& call, bool withCustomData) {
  std::string texts[11];
  const std::int32_t count = withCustomData ? 11 : 10;
  for (std::int32_t n = 1; n <= count; ++n) {
    std::optional<std::string> text = stringArgument(call, n);
    if (!text) return;
    texts[n - 1] = std::move(*text);
  }
  InteractionRecord record;
  record.date = texts[0];
  record.time = texts[1];
  record.interactionId = texts[2];
  record.objectiveId = texts[3];
  record.type = texts[4];
  record.correctResponse = texts[5];
  record.studentResponse = texts[6];
  record.result = texts[7];
  record.weighting = texts[8];
  record.latency = texts[9];
  appendInteraction(std::move(record), texts[10]);
}

}  // namespace

void LMGetUserID(HandlerCall& call) { launchText(call, "Core", "Student_ID"); }
void LMGetUserName(HandlerCall& call) { launchText(call, "Core", "Student_Name"); }
void LMGetLocation(HandlerCall& call) { launchText(call, "Core", "Lesson_Location"); }
void LMGetStatus(HandlerCall& call) { launchText(call, "Core", "Lesson_Status"); }
void LMGetScore(HandlerCall& call) { launchInteger(call, "Core", "Score"); }
void LMGetAttempt(HandlerCall& call) { launchInteger(call, "Student_Data", "Attempt_Number"); }
void LMGetData(HandlerCall& call) { launchSection(call, "Core_Lesson"); }
void LMGetConfig(HandlerCall& call) { launchSection(call, "Core_Vendor"); }

void LMGetPath(HandlerCall& call) {
  OwnedHandle privatePath = cmiReadValue("Private_Area", "Path");
  const std::optional<std::string> text = privatePath.text();
  if (text && !text->empty()) {
    returnStringHandle(call, std::move(privatePath));
  } else {
    launchText(call, "Core", "Path");
  }
}

void LMGetTime(HandlerCall& call) {
  integerResult(call, timeToSeconds(handleTextOrEmpty(cmiReadValue("Core", "Time"))));
}

void LMIsCompleted(HandlerCall& call) { integerResult(call, lessonStatusHasLetter('C')); }
void LMIsStarted(HandlerCall& call) { integerResult(call, lessonStatusHasLetter('I')); }

void LMSetLocation(HandlerCall& call) {
  if (std::optional<std::string> location = stringArgument(call, 1)) {
    cmiWriteValue("Core", "Lesson_Location", *location);
  }
}

void LMSetStatus(HandlerCall& call) {
  if (std::optional<std::string> status = stringArgument(call, 1))
    cmiWriteValue("Core", "Lesson_Status", *status);
}

void LMSetScore(HandlerCall& call) {
  if (std::optional<std::int32_t> score = integerArgument(call, 1)) {
    cmiWriteValue("Core", "Score", std::to_string(*score));
  }
}

void LMSetData(HandlerCall& call) {
  if (std::optional<std::string> data = stringArgument(call, 1)) cmiWriteSection("Core_Lesson", *data);
}

void LMSetTime(HandlerCall& call) {
  if (std::optional<std::int32_t> seconds = integerArgument(call, 1)) {
    cmiWriteValue("Core", "Time", secondsToTime(*seconds));
  }
}

void LMSetCompleted(HandlerCall&) { setLessonStatusLetter('C'); }
void LMSetStarted(HandlerCall&) { setLessonStatusLetter('I'); }
void LMReadComplete(HandlerCall&) { readComplete(); }
void LMIsPassed(HandlerCall& call) { integerResult(call, lessonStatusHasLetter('P')); }
void LMIsFailed(HandlerCall& call) { integerResult(call, lessonStatusHasLetter('F')); }
void LMGetCourseID(HandlerCall& call) { launchText(call, "Evaluation", "Course_ID"); }
void LMGetObjCount(HandlerCall& call) { integerResult(call, countObjectives()); }
void LMGetObjID(HandlerCall& call) { objectiveText(call, "J_ID"); }

void LMGetObjScore(HandlerCall& call) {
  const std::optional<std::int32_t> i = integerArgument(call, 1);
  if (!i) return;
  const std::optional<std::int32_t> k = objectiveKeyNumber(*i);
  integerResult(call, k ? cmiReadInteger("Objectives_Status", numberedKey("J_SCORE", *k)) : 0);
}

void LMGetObjStatus(HandlerCall& call) { objectiveText(call, "J_STATUS"); }
void LMIsObjCompleted(HandlerCall& call) { objectiveHasLetter(call, 'C'); }
void LMIsObjStarted(HandlerCall& call) { objectiveHasLetter(call, 'I'); }
void LMIsObjPassed(HandlerCall& call) { objectiveHasLetter(call, 'P'); }
void LMIsObjFailed(HandlerCall& call) { objectiveHasLetter(call, 'F'); }

void LMGetAttemptScore(HandlerCall& call) {
  if (std::optional<std::int32_t> n = integerArgument(call, 1)) {
    launchInteger(call, "Student_Data", numberedKey("SCORE", *n));
  }
}

void LMGetAttemptStatus(HandlerCall& call) {
  if (std::optional<std::int32_t> n = integerArgument(call, 1)) {
    launchText(call, "Student_Data", numberedKey("LESSON_STATUS", *n));
  }
}

void LMIsAttemptCompleted(HandlerCall& call) { attemptHasLetter(call, 'C'); }
void LMIsAttemptStarted(HandlerCall& call) { attemptHasLetter(call, 'I'); }
void LMIsAttemptPassed(HandlerCall& call) { attemptHasLetter(call, 'P'); }
void LMIsAttemptFailed(HandlerCall& call) { attemptHasLetter(call, 'F'); }
void LMGetMasteryScore(HandlerCall& call) { launchInteger(call, "Student_Data", "Mastery_Score"); }

void LMGetCustomField(HandlerCall& call) {
  std::optional<std::string> table = stringArgument(call, 1);
  if (!table) return;
  std::optional<std::string> field = stringArgument(call, 2);
  if (!field) return;
  launchText(call, *table, *field);
}

void LMGetDemographics(HandlerCall& call) {
  if (std::optional<std::string> field = stringArgument(call, 1))
    launchText(call, "student_demographics", *field);
}

void LMSetPassed(HandlerCall&) { setLessonStatusLetter('P'); }
void LMSetFailed(HandlerCall&) { setLessonStatusLetter('F'); }
void LMSetTimedOut(HandlerCall&) { setExitLetter('T'); }
void LMSetLoggedOut(HandlerCall&) { setExitLetter('L'); }

void LMSetObj(HandlerCall& call) {
  const std::optional<std::int32_t> index = integerArgument(call, 1);
  if (!index) return;
  const std::optional<std::string> id = stringArgument(call, 2);
  if (!id) return;
  const std::optional<std::int32_t> score = integerArgument(call, 3);
  if (!score) return;
  const std::optional<std::string> status = stringArgument(call, 4);
  if (!status) return;
  const std::optional<std::int32_t> started = integerArgument(call, 5);
  const std::optional<std::int32_t> completed = integerArgument(call, 6);
  const std::optional<std::int32_t> passed = integerArgument(call, 7);
  const std::optional<std::int32_t> failed = integerArgument(call, 8);
  if (!started || !completed || !passed || !failed) return;
  setObjective(*index, *id, *score, *status, *started, *completed, *passed);
}

void LMAddComment(HandlerCall& call) {
  const std::optional<std::int32_t> index = integerArgument(call, 1);
  if (!index) return;
  if (std::optional<std::string> comment = stringArgument(call, 2)) addComment(*index, *comment);
}

void LMAddInteraction(HandlerCall& call) { addInteraction(call, false); }
void LMAddInteractionEx(HandlerCall& call) { addInteraction(call, true); }

void LMSetCustomField(HandlerCall& call) {
  std::optional<std::string> table = stringArgument(call, 1);
  if (!table) return;
  std::optional<std::string> field = stringArgument(call, 2);
  if (!field) return;
  std::optional<std::string> data = stringArgument(call, 3);
  if (!data) return;
  cmiWriteValue(*table, *field, *data);
}

}  // namespace lmint
