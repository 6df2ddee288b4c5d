#include "cmi_xtra/xtra_registration.h"

#include <new>

#include "cmi_xtra/lingo_dispatch.h"

namespace lmint {

std::int32_t liveObjectCount = 0;
void* moduleHandle = nullptr;

namespace {

using InterfaceCreator = moa::MoaError (*)(moa::ObjectHeader* owner, void** out);
using Initialiser = moa::MoaError (*)(InterfaceInstance* instance);

moa::MoaError MOA_CALL registrationInstanceCreate(moa::ObjectHeader*) { return moa::errNone; }
void MOA_CALL registrationInstanceDestroy(moa::ObjectHeader*) {}

moa::MoaError registrationInterfaceCreate(moa::ObjectHeader* owner, void** out);
moa::MoaError scriptingInterfaceCreate(moa::ObjectHeader* owner, void** out);

struct ClassRow {
  const moa::MoaId* classId;
  std::uint32_t classVersion;
  std::int32_t instanceSize;
  moa::InstanceCreate create;
  moa::InstanceDestroy destroy;
  const moa::MoaId* interfaceId;
  std::uint32_t interfaceVersion;
  InterfaceCreator creator;
};

const ClassRow classTable[] = {
    {&moa::registrationClassId, 1, sizeof(moa::ObjectHeader), registrationInstanceCreate,
     registrationInstanceDestroy, &moa::registrationInterfaceId, 1, registrationInterfaceCreate},
    {&moa::scriptingClassId, 1, sizeof(ScriptingInstance), scriptInstanceCreate, scriptInstanceDestroy,
     &moa::scriptingInterfaceId, 1, scriptingInterfaceCreate},
};

using ClassVisitor = moa::MoaError (*)(const moa::MoaId* classId, std::uint32_t classVersion,
                                       std::int32_t instanceSize, moa::InstanceCreate create,
                                       moa::InstanceDestroy destroy, void* user);
using InterfaceVisitor = moa::MoaError (*)(const moa::MoaId* classId, std::uint32_t classVersion,
                                           const moa::MoaId* interfaceId, std::uint32_t interfaceVersion,
                                           InterfaceCreator creator, void* user);

// A visitor stops the walk by answering non-zero; the exports use that to stop at a match.
moa::MoaError enumerateClasses(const moa::MoaId* filter, ClassVisitor classVisitor,
                               InterfaceVisitor interfaceVisitor, void* user) {
  moa::MoaError result = moa::errNone;
  for (const ClassRow& row : classTable) {
    if (filter && !(*filter == *row.classId)) continue;
    if (classVisitor) {
      result = classVisitor(row.classId, row.classVersion, row.instanceSize, row.create, row.destroy, user);
      if (result != moa::errNone) return result;
    }
    if (interfaceVisitor) {
      result = interfaceVisitor(row.classId, row.classVersion, row.interfaceId, row.interfaceVersion,
                                row.creator, user);
      if (result != moa::errNone) return result;
    }
  }
  return result;
}

struct ClassForm {
  std::int32_t* instanceSize;
  moa::InstanceCreate* create;
  moa::InstanceDestroy* destroy;
  bool found;
};

moa::MoaError classFormVisitor(const moa::MoaId*, std::uint32_t, std::int32_t instanceSize,
                               moa::InstanceCreate create, moa::InstanceDestroy destroy, void* user) {
  auto* form = static_cast<ClassForm*>(user);
  if (form->instanceSize) *form->instanceSize = instanceSize;
  if (form->create) *form->create = create;
  if (form->destroy) *form->destroy = destroy;
  form->found = true;
  return 1;
}

struct InterfaceSearch {
  const moa::MoaId* wanted;
  InterfaceCreator creator;
};

moa::MoaError interfaceFinder(const moa::MoaId*, std::uint32_t, const moa::MoaId* interfaceId, std::uint32_t,
                              InterfaceCreator creator, void* user) {
  auto* search = static_cast<InterfaceSearch*>(user);
  if (!(*interfaceId == *search->wanted)) return moa::errNone;
  search->creator = creator;
  return 1;
}

// Null while counting; then the next entry to write.
struct EntryCursor {
  moa::ClassInfoEntry* next;
  std::uint32_t count;
};

void writeEntry(EntryCursor* cursor, const moa::MoaId& classId, std::uint32_t classVersion,
                const moa::MoaId& interfaceId, std::uint32_t interfaceVersion) {
  if (cursor->next) {
    *cursor->next = moa::ClassInfoEntry{classId, classVersion, interfaceId, interfaceVersion};
    ++cursor->next;
  }
  ++cursor->count;
}

moa::MoaError classEntryWriter(const moa::MoaId* classId, std::uint32_t classVersion, std::int32_t,
                               moa::InstanceCreate, moa::InstanceDestroy, void* user) {
  writeEntry(static_cast<EntryCursor*>(user), *classId, classVersion, moa::unknownInterfaceId, 1);
  return moa::errNone;
}

moa::MoaError interfaceEntryWriter(const moa::MoaId* classId, std::uint32_t classVersion,
                                   const moa::MoaId* interfaceId, std::uint32_t interfaceVersion,
                                   InterfaceCreator, void* user) {
  writeEntry(static_cast<EntryCursor*>(user), *classId, classVersion, *interfaceId, interfaceVersion);
  return moa::errNone;
}

moa::MoaError buildClassInfoList(moa::Allocator* allocator, moa::ClassInfoEntry** list) {
  // Without a place to hand the list to, nothing is allocated.
  if (!list) return moa::errOutOfMemory;
  EntryCursor counter{nullptr, 0};
  enumerateClasses(nullptr, classEntryWriter, interfaceEntryWriter, &counter);
  void* block =
      allocator ? allocator->methods->Allocate(allocator, (counter.count + 1) * sizeof(moa::ClassInfoEntry))
                : nullptr;
  *list = static_cast<moa::ClassInfoEntry*>(block);
  if (!block) return moa::errOutOfMemory;
  auto* entries = static_cast<moa::ClassInfoEntry*>(block);
  EntryCursor writer{entries, 0};
  enumerateClasses(nullptr, classEntryWriter, interfaceEntryWriter, &writer);
  // The host stops at the entry whose IDs are all zero.
  *writer.next = moa::ClassInfoEntry{};
  return moa::errNone;
}

template <class Self>
InterfaceInstance* instanceOf(Self* self) {
  return reinterpret_cast<InterfaceInstance*>(self);
}

std::uint32_t releaseInterface(InterfaceInstance* instance) {
  // The owner and its allocator are read before the block goes back to the host.
  moa::ObjectHeader* owner = instance->owner;
  const std::int32_t count = --instance->referenceCount;
  if (count == 0) {
    moa::Allocator* allocator = owner->allocator;
    allocator->methods->Free(allocator, instance);
    --liveObjectCount;
    owner->methods->Release(moa::asUnknown(owner));
  }
  owner->methods->Release(moa::asUnknown(owner));
  return static_cast<std::uint32_t>(count);
}

template <class Self>
moa::MoaError MOA_CALL interfaceQueryInterface(Self* self, const moa::MoaId* iid, void** out) {
  moa::ObjectHeader* owner = instanceOf(self)->owner;
  return owner->methods->QueryInterface(moa::asUnknown(owner), iid, out);
}

template <class Self>
std::uint32_t MOA_CALL interfaceAddRef(Self* self) {
  InterfaceInstance* instance = instanceOf(self);
  instance->owner->methods->AddRef(moa::asUnknown(instance->owner));
  return static_cast<std::uint32_t>(++instance->referenceCount);
}

template <class Self>
std::uint32_t MOA_CALL interfaceRelease(Self* self) {
  return releaseInterface(instanceOf(self));
}

const moa::RegistrationMethods registrationMethods = {
    interfaceQueryInterface<moa::RegistrationInterface>, interfaceAddRef<moa::RegistrationInterface>,
    interfaceRelease<moa::RegistrationInterface>, registerXtra};

const moa::ScriptingMethods scriptingMethods = {interfaceQueryInterface<moa::ScriptingInterface>,
                                                interfaceAddRef<moa::ScriptingInterface>,
                                                interfaceRelease<moa::ScriptingInterface>, callHandler};

moa::MoaError noInitialisation(InterfaceInstance*) { return moa::errNone; }

InterfaceInstance* createInterfaceInstance(moa::ObjectHeader* owner, std::uint32_t size,
                                           Initialiser initialiser, const void* methods,
                                           moa::MoaError* error) {
  moa::Allocator* allocator = owner ? owner->allocator : nullptr;
  void* block = allocator ? allocator->methods->Allocate(allocator, size) : nullptr;
  if (!block) {
    *error = moa::errOutOfMemory;
    return nullptr;
  }
  auto* instance = new (block) InterfaceInstance{methods, owner, 1};
  // One reference on the owner for the interface's own lifetime, one for its first reference.
  owner->methods->AddRef(moa::asUnknown(owner));
  owner->methods->AddRef(moa::asUnknown(owner));
  ++liveObjectCount;
  *error = initialiser(instance);
  return instance;
}

moa::MoaError createInterface(moa::ObjectHeader* owner, void** out, const void* methods) {
  moa::MoaError error = moa::errNone;
  InterfaceInstance* instance =
      createInterfaceInstance(owner, sizeof(InterfaceInstance), noInitialisation, methods, &error);
  if (!instance) return moa::errOutOfMemory;
  if (error != moa::errNone) {
    releaseInterface(instance);
    *out = nullptr;
    return error;
  }
  *out = instance;
  return moa::errNone;
}

moa::MoaError registrationInterfaceCreate(moa::ObjectHeader* owner, void** out) {
  return createInterface(owner, out, &registrationMethods);
}

moa::MoaError scriptingInterfaceCreate(moa::ObjectHeader* owner, void** out) {
  return createInterface(owner, out, &scriptingMethods);
}

}  // namespace
}  // namespace lmint

extern "C" {

moa::MoaError MOA_CALL DllGetClassForm(const moa::MoaId* classId, std::int32_t* instanceSize,
                                       moa::InstanceCreate* create, moa::InstanceDestroy* destroy) {
  if (!classId) return moa::errNoClass;
  lmint::ClassForm form{instanceSize, create, destroy, false};
  lmint::enumerateClasses(classId, lmint::classFormVisitor, nullptr, &form);
  return form.found ? moa::errNone : moa::errNoClass;
}

moa::MoaError MOA_CALL DllGetInterface(moa::ObjectHeader* instance, const moa::MoaId* classId,
                                       const moa::MoaId* interfaceId, void** out) {
  // An interface nobody can receive would live for ever.
  if (!classId || !interfaceId || !out) return moa::errNoInterface;
  lmint::InterfaceSearch search{interfaceId, nullptr};
  lmint::enumerateClasses(classId, nullptr, lmint::interfaceFinder, &search);
  if (!search.creator) return moa::errNoInterface;
  return search.creator(instance, out);
}

moa::MoaError MOA_CALL DllGetClassInfo(moa::Allocator* allocator, moa::ClassInfoEntry** list) {
  return lmint::buildClassInfoList(allocator, list);
}

moa::MoaError MOA_CALL DllGetClassObject(const void*, const void*, void**) { return moa::errNoClass; }

moa::MoaError MOA_CALL DllCanUnloadNow() {
  return lmint::liveObjectCount == 0 ? moa::errNone : moa::errStillInUse;
}

}  // extern "C"
