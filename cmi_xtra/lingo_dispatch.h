// The Xtra's side of Lingo: registration of the message table, the scripting instance, the
// dispatch of Call by selector, and the conversion of arguments and results through the
// host's value interface.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "cmi_xtra/aicc_files.h"
#include "cmi_xtra/moa_interfaces.h"

namespace lmint {

// An instance of ScriptingClass: the host's header, then the two host interfaces it keeps.
struct ScriptingInstance {
  moa::ObjectHeader header;
  moa::ValueInterface* valueInterface;  // null when the host did not give it
  moa::Unknown* secondHostInterface;    // held with the instance, used for nothing else
};
#if defined(__i386__)
static_assert(sizeof(ScriptingInstance) == 36);
#endif

moa::MoaError MOA_CALL registerXtra(moa::RegistrationInterface* self, moa::Cache* cache,
                                    moa::Dictionary* xtraDictionary);
moa::MoaError MOA_CALL scriptInstanceCreate(moa::ObjectHeader* instance);
void MOA_CALL scriptInstanceDestroy(moa::ObjectHeader* instance);
moa::MoaError MOA_CALL callHandler(moa::ScriptingInterface* self, moa::CallInfo* call);

// One Lingo call as its handler sees it.
struct HandlerCall {
  ScriptingInstance* instance;
  moa::CallInfo* info;
};

// Argument n (from 1). nullopt when it cannot be had (no value interface, no memory): the
// handler then does nothing. An argument the host did not pass reads as the empty text or 0.
std::optional<std::string> stringArgument(HandlerCall& call, std::int32_t n);
std::optional<std::int32_t> integerArgument(HandlerCall& call, std::int32_t n);
void integerResult(HandlerCall& call, std::int32_t value);
// Hands the handle's text to Lingo as the result and frees the handle in every case.
void returnStringHandle(HandlerCall& call, OwnedHandle handle);

}  // namespace lmint
