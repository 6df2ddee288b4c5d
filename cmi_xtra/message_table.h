// The Lingo message table of the Xtra: the 49 handlers in selector order (the selector is the
// row number counted from 1). The text registered under "msgTable" is made from these rows,
// and the dispatcher binds its handlers to the same rows by name, so the two cannot drift.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace lmint {

enum class HandlerResult { none, text, integer };

struct HandlerRow {
  std::string_view name;
  std::string_view arguments;  // as Lingo reads them; empty for none
  HandlerResult result;
  std::string_view comment;
};

inline constexpr std::size_t handlerCount = 49;

// clang-format off
inline constexpr HandlerRow handlerRows[handlerCount] = {
    // 1
    {"LMGetUserID", "", HandlerResult::text,
     "Returns the user's ID from Lumeno"},
    {"LMGetUserName", "", HandlerResult::text,
     "Returns the user's name from Lumeno"},
    {"LMGetLocation", "", HandlerResult::text,
     "Returns from Lumeno the last place the user left off in the lesson"},
    {"LMGetStatus", "", HandlerResult::text,
     "Returns from Lumeno the lesson status as the user last left it"},
    // 5
    {"LMGetScore", "", HandlerResult::integer,
     "Returns from Lumeno the lesson score"},
    {"LMGetAttempt", "", HandlerResult::integer,
     "Returns from Lumeno the number of times the student has attempted the lesson"},
    {"LMGetData", "", HandlerResult::text,
     "Returns from Lumeno miscellaneous lesson data"},
    {"LMGetConfig", "", HandlerResult::text,
     "Returns from Lumeno lesson configuration data (set in Corvane)"},
    {"LMGetPath", "", HandlerResult::text,
     "Returns from Lumeno the path to the private student directory"},
    // 10
    {"LMGetTime", "", HandlerResult::integer,
     "Returns from Lumeno the total time the user has spent in the lesson"},
    {"LMIsCompleted", "", HandlerResult::integer,
     "Returns from Lumeno TRUE if the lesson is complete, false if not"},
    {"LMIsStarted", "", HandlerResult::integer,
     "Returns from Lumeno TRUE if the lesson is started, but not complete, false if not"},
    {"LMSetLocation", "string Location", HandlerResult::none,
     "Passes the lesson location to Lumeno"},
    {"LMSetStatus", "string Status", HandlerResult::none,
     "Passes the lesson status to Lumeno"},
    // 15
    {"LMSetScore", "integer Score", HandlerResult::none,
     "Passes the lesson score to Lumeno"},
    {"LMSetData", "string Data", HandlerResult::none,
     "Passes miscellaneous lesson data to Lumeno"},
    {"LMSetTime", "integer Time", HandlerResult::none,
     "Passes the total time in the lesson to Lumeno"},
    {"LMSetCompleted", "", HandlerResult::none,
     "Sets the lesson as completed"},
    {"LMSetStarted", "", HandlerResult::none,
     "Sets the lesson as started"},
    // 20
    {"LMReadComplete", "", HandlerResult::none,
     "Should be called after obtaining all information from Lumeno"},
    {"LMIsPassed", "", HandlerResult::integer,
     "Determines whether or not the lesson is passed"},
    {"LMIsFailed", "", HandlerResult::integer,
     "Determines whether or not the lesson is failed"},
    {"LMGetCourseID", "", HandlerResult::text,
     "Returns the course identifier"},
    {"LMGetObjCount", "", HandlerResult::integer,
     "Returns the number of objectives related to this lesson"},
    // 25
    {"LMGetObjID", "integer index", HandlerResult::text,
     "Returns an objective id given an index (starting with 1)"},
    {"LMGetObjScore", "integer index", HandlerResult::integer,
     "Returns an objective score given an index (starting with 1)"},
    {"LMGetObjStatus", "integer index", HandlerResult::text,
     "Returns an objective status given an index (starting with 1)"},
    {"LMIsObjCompleted", "integer index", HandlerResult::integer,
     "Returns whether an objective is completed given an index (starting with 1)"},
    {"LMIsObjStarted", "integer index", HandlerResult::integer,
     "Returns whether an objective is started given an index (starting with 1)"},
    // 30
    {"LMIsObjPassed", "integer index", HandlerResult::integer,
     "Returns whether an objective is passed given an index (starting with 1)"},
    {"LMIsObjFailed", "integer index", HandlerResult::integer,
     "Returns whether an objective is failed given an index (starting with 1)"},
    {"LMGetAttemptScore", "integer index", HandlerResult::integer,
     "Returns a score for an attempt given an attempt number (starting with 1)"},
    {"LMGetAttemptStatus", "integer index", HandlerResult::text,
     "Returns a status for an attempt given an attempt number (starting with 1)"},
    {"LMIsAttemptCompleted", "integer index", HandlerResult::integer,
     "Returns whether an attempt is completed given an attempt number (starting with 1)"},
    // 35
    {"LMIsAttemptStarted", "integer index", HandlerResult::integer,
     "Returns whether an attempt is started given an attempt number (starting with 1)"},
    {"LMIsAttemptPassed", "integer index", HandlerResult::integer,
     "Returns whether an attempt is passed given an attempt number (starting with 1)"},
    {"LMIsAttemptFailed", "integer index", HandlerResult::integer,
     "Returns whether an attempt is failed given an attempt number (starting with 1)"},
    {"LMGetMasteryScore", "", HandlerResult::integer,
     "Returns the mastery score for the lesson."},
    {"LMGetCustomField", "string TableName, string FieldName", HandlerResult::text,
     "Returns the custom field indicated by the table and field names."},
    // 40
    {"LMGetDemographics", "string FieldName", HandlerResult::text,
     "Returns the student demographics information indicated by the field names."},
    {"LMSetPassed", "", HandlerResult::none,
     "Sets the lesson as passed"},
    {"LMSetFailed", "", HandlerResult::none,
     "Sets the lesson as failed"},
    {"LMSetTimedOut", "", HandlerResult::none,
     "Sets the lesson as timed out"},
    {"LMSetLoggedOut", "", HandlerResult::none,
     "Sets the lesson as logged out"},
    // 45
    {"LMSetObj", "integer index, string id, integer score, string status, integer started, integer completed, integer passed, integer failed", HandlerResult::none,
     "Sets information for an objective given the index (starting with 1)"},
    {"LMAddComment", "integer index, string comment", HandlerResult::none,
     "Adds a lesson comment"},
    {"LMAddInteraction", "string Date, Time, string InteractionID, string ObjectiveID, string Type, string CorrectResponse, string StudentResponse, string Result, string Weight, string Latency", HandlerResult::none,
     "Adds information about an interaction.  Note that the date is in the format DD/MM/YY.  This version of the call does not support custom data.  Use LMAddInteractionEx to use custom data"},
    {"LMAddInteractionEx", "Date, Time, string InteractionID, string ObjectiveID, string Type, string CorrectResponse, string StudentResponse, string Result, string Weight, string Latency, string CustomData", HandlerResult::none,
     "Adds information about an interaction.  Note that the date is in the format DD/MM/YY"},
    {"LMSetCustomField", "string TableName, string FieldName, string Data", HandlerResult::none,
     "Sets information for the custom field indicated by the table and field names"},
};
// clang-format on

// "xtra LumenoInterface", "new object me", "-- Template handlers --", then one line per row;
// every line ends with a single LF.
const std::string& messageTableText();

}  // namespace lmint
