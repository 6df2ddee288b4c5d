// Registration of the Xtra with the Director host: the class table, the five exports and the
// reference-counted interface objects that the library hands out.
#pragma once
#include <cstdint>

#include "cmi_xtra/moa_interfaces.h"

namespace lmint {

// The object handed out for either interface, allocated through its owner's host allocator.
struct InterfaceInstance {
  const void* methods;  // registrationMethods or scriptingMethods
  moa::ObjectHeader* owner;
  std::int32_t referenceCount;
};

// Interface instances alive; the library may be unloaded only at 0.
extern std::int32_t liveObjectCount;
// The module handle DllMain was given; kept, not otherwise used.
extern void* moduleHandle;

}  // namespace lmint

extern "C" {
moa::MoaError MOA_CALL DllGetClassForm(const moa::MoaId* classId, std::int32_t* instanceSize,
                                       moa::InstanceCreate* create, moa::InstanceDestroy* destroy);
moa::MoaError MOA_CALL DllGetInterface(moa::ObjectHeader* instance, const moa::MoaId* classId,
                                       const moa::MoaId* interfaceId, void** out);
moa::MoaError MOA_CALL DllGetClassInfo(moa::Allocator* allocator, moa::ClassInfoEntry** list);
moa::MoaError MOA_CALL DllGetClassObject(const void* a, const void* b, void** c);
moa::MoaError MOA_CALL DllCanUnloadNow();
}
