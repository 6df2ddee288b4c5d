#include "cmi_xtra/lingo_dispatch.h"

#include <iterator>
#include <memory>
#include <new>
#include <string_view>

#include "cmi_xtra/cmi_handlers.h"
#include "cmi_xtra/message_table.h"
#include "cmi_xtra/xtra_registration.h"

namespace lmint {

namespace {

struct HandlerBinding {
  std::string_view name;
  void (*run)(HandlerCall& call);
};

#define LMINT_BIND_HANDLER(name) {#name, name},
constexpr HandlerBinding handlerTable[] = {LMINT_HANDLERS(LMINT_BIND_HANDLER)};
#undef LMINT_BIND_HANDLER

constexpr bool bindingsFollowTheMessageTable() {
  if (std::size(handlerTable) != handlerCount) return false;
  for (std::size_t i = 0; i < handlerCount; ++i) {
    if (handlerTable[i].name != handlerRows[i].name) return false;
  }
  return true;
}
static_assert(bindingsFollowTheMessageTable(), "selector n must run the handler of row n");

// Scripting instances alive. The cached file names belong to the lesson, not to one instance:
// they are cleared when the first instance comes and let go when the last one leaves.
std::int32_t liveScriptingInstances = 0;

ScriptingInstance* scriptingInstance(moa::ObjectHeader* header) {
  return reinterpret_cast<ScriptingInstance*>(header);
}

// Copies argument n, or nullopt when the host did not pass it.
std::optional<moa::HostValue> argumentValue(const HandlerCall& call, std::int32_t n) {
  if (!call.info->arguments || n < 1 || n > call.info->argumentCount) return std::nullopt;
  return call.info->arguments[n - 1];
}

}  // namespace

moa::MoaError MOA_CALL registerXtra(moa::RegistrationInterface*, moa::Cache* cache,
                                    moa::Dictionary* xtraDictionary) {
  if (!cache) return moa::errNoInterface;
  moa::Dictionary* entry = nullptr;
  const moa::MoaError error = cache->methods->AddRegistryEntry(cache, xtraDictionary, &moa::scriptingClassId,
                                                               &moa::scriptingInterfaceId, &entry);
  if (error != moa::errNone) return error;
  if (!entry) return moa::errNoInterface;
  const char* table = nullptr;
  // The table's text is made on first use; no exception may reach the host.
  try {
    table = messageTableText().c_str();
  } catch (...) {
    return moa::errOutOfMemory;
  }
  return entry->methods->Put(entry, moa::dictTypeText, table, 0, "msgTable");
}

moa::MoaError MOA_CALL scriptInstanceCreate(moa::ObjectHeader* header) {
  ScriptingInstance* instance = scriptingInstance(header);
  instance->valueInterface = nullptr;
  instance->secondHostInterface = nullptr;
  moa::Callback* callback = header->callback;
  if (callback) {
    void* value = nullptr;
    if (callback->methods->QueryInterface(callback, &moa::valueInterfaceId, &value) == moa::errNone) {
      instance->valueInterface = static_cast<moa::ValueInterface*>(value);
    }
    void* second = nullptr;
    if (callback->methods->QueryInterface(callback, &moa::secondHostInterfaceId, &second) == moa::errNone) {
      instance->secondHostInterface = static_cast<moa::Unknown*>(second);
    }
  }
  if (++liveScriptingInstances == 1) cmiStateReset();
  return moa::errNone;
}

void MOA_CALL scriptInstanceDestroy(moa::ObjectHeader* header) {
  ScriptingInstance* instance = scriptingInstance(header);
  if (moa::ValueInterface* value = instance->valueInterface) {
    instance->valueInterface = nullptr;
    value->methods->Release(value);
  }
  if (moa::Unknown* second = instance->secondHostInterface) {
    instance->secondHostInterface = nullptr;
    second->methods->Release(second);
  }
  if (liveScriptingInstances > 0 && --liveScriptingInstances == 0) cmiStateFree();
}

moa::MoaError MOA_CALL callHandler(moa::ScriptingInterface* self, moa::CallInfo* info) {
  ScriptingInstance* instance = scriptingInstance(reinterpret_cast<InterfaceInstance*>(self)->owner);
  moa::Callback* callback = instance->header.callback;
  if (!callback || !info) return moa::errNone;
  // Without the value interface now, the call cannot be served: it does nothing and succeeds.
  void* probe = nullptr;
  if (callback->methods->QueryInterface(callback, &moa::valueInterfaceId, &probe) != moa::errNone || !probe) {
    return moa::errNone;
  }
  moa::MoaError status = moa::errNone;
  const std::int32_t selector = info->methodSelector;
  if (selector >= 1 && selector <= static_cast<std::int32_t>(handlerCount)) {
    HandlerCall call{instance, info};
    // A failure inside a handler (no memory) is silent, as every failure of the Xtra is.
    try {
      handlerTable[selector - 1].run(call);
    } catch (...) {
    }
  } else if (selector != 0) {
    status = moa::errUnknownSelector;
  }
  auto* queried = static_cast<moa::Unknown*>(probe);
  queried->methods->Release(queried);
  return status;
}

std::optional<std::string> stringArgument(HandlerCall& call, std::int32_t n) {
  moa::ValueInterface* values = call.instance->valueInterface;
  if (!values) return std::nullopt;
  std::optional<moa::HostValue> value = argumentValue(call, n);
  if (!value) return std::string();
  std::int32_t length = 0;
  values->methods->StringLength(values, &*value, &length);
  if (length < 0) length = 0;
  const std::size_t size = static_cast<std::size_t>(length) + 2;
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]());
  if (!buffer) return std::nullopt;
  values->methods->ValueToString(values, &*value, buffer.get(), length + 1);
  // The host was given one byte less than the buffer: the last one always ends the text.
  buffer[size - 1] = '\0';
  return std::string(buffer.get());
}

std::optional<std::int32_t> integerArgument(HandlerCall& call, std::int32_t n) {
  moa::ValueInterface* values = call.instance->valueInterface;
  if (!values) return std::nullopt;
  std::optional<moa::HostValue> value = argumentValue(call, n);
  std::int32_t integer = 0;
  if (value) values->methods->ValueToInteger(values, &*value, &integer);
  return integer;
}

void integerResult(HandlerCall& call, std::int32_t value) {
  moa::ValueInterface* values = call.instance->valueInterface;
  if (values) values->methods->IntegerToValue(values, value, &call.info->resultValue);
}

void returnStringHandle(HandlerCall& call, OwnedHandle handle) {
  if (forms::GlobalLockGuard text(handle.get()); text) {
    moa::ValueInterface* values = call.instance->valueInterface;
    if (values) values->methods->StringToValue(values, text.get(), &call.info->resultValue);
  }
}

}  // namespace lmint
