// The 49 Lingo handlers: what each reads from the launch file and writes into the output and
// interactions files. Each runs inside Call and reports nothing to Lingo but its result.
#pragma once
#include "cmi_xtra/lingo_dispatch.h"

// Every handler, in selector order (selector 1 first).
#define LMINT_HANDLERS(X) \
  X(LMGetUserID)          \
  X(LMGetUserName)        \
  X(LMGetLocation)        \
  X(LMGetStatus)          \
  X(LMGetScore)           \
  X(LMGetAttempt)         \
  X(LMGetData)            \
  X(LMGetConfig)          \
  X(LMGetPath)            \
  X(LMGetTime)            \
  X(LMIsCompleted)        \
  X(LMIsStarted)          \
  X(LMSetLocation)        \
  X(LMSetStatus)          \
  X(LMSetScore)           \
  X(LMSetData)            \
  X(LMSetTime)            \
  X(LMSetCompleted)       \
  X(LMSetStarted)         \
  X(LMReadComplete)       \
  X(LMIsPassed)           \
  X(LMIsFailed)           \
  X(LMGetCourseID)        \
  X(LMGetObjCount)        \
  X(LMGetObjID)           \
  X(LMGetObjScore)        \
  X(LMGetObjStatus)       \
  X(LMIsObjCompleted)     \
  X(LMIsObjStarted)       \
  X(LMIsObjPassed)        \
  X(LMIsObjFailed)        \
  X(LMGetAttemptScore)    \
  X(LMGetAttemptStatus)   \
  X(LMIsAttemptCompleted) \
  X(LMIsAttemptStarted)   \
  X(LMIsAttemptPassed)    \
  X(LMIsAttemptFailed)    \
  X(LMGetMasteryScore)    \
  X(LMGetCustomField)     \
  X(LMGetDemographics)    \
  X(LMSetPassed)          \
  X(LMSetFailed)          \
  X(LMSetTimedOut)        \
  X(LMSetLoggedOut)       \
  X(LMSetObj)             \
  X(LMAddComment)         \
  X(LMAddInteraction)     \
  X(LMAddInteractionEx)   \
  X(LMSetCustomField)

namespace lmint {

#define LMINT_DECLARE_HANDLER(name) void name(HandlerCall& call);
LMINT_HANDLERS(LMINT_DECLARE_HANDLER)
#undef LMINT_DECLARE_HANDLER

}  // namespace lmint
