#include "director_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "file_bytes.h"

namespace director_host {

namespace {

constexpr std::uint8_t freedPoison = 0xDD;
constexpr std::uint8_t freshFill = 0xCD;
// What a host conversion answers for a value of the wrong kind.
constexpr moa::MoaError errWrongKind = static_cast<moa::MoaError>(0x80040E10u);

// An export by its undecorated name, as the host looks it up.
template <class Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

// ---- allocator ----

CountingAllocator::CountingAllocator() {
  static const moa::AllocatorMethods methods = {
      [](moa::Allocator*, const moa::MoaId*, void** out) MOA_CALL -> moa::MoaError {
        if (out) *out = nullptr;
        return moa::errNoInterface;
      },
      [](moa::Allocator*) MOA_CALL -> std::uint32_t { return 1; },
      [](moa::Allocator*) MOA_CALL -> std::uint32_t { return 1; },
      &CountingAllocator::Allocate,
      &CountingAllocator::Free,
  };
  face_.iface.methods = &methods;
  face_.owner = this;
}

CountingAllocator::~CountingAllocator() = default;

void* MOA_CALL CountingAllocator::Allocate(moa::Allocator* self, std::uint32_t size) {
  CountingAllocator* a = Face<moa::Allocator, CountingAllocator>::Of(self);
  a->requests.push_back(size);
  if (a->failNext) {
    a->failNext = false;
    return nullptr;
  }
  Block b{std::make_unique<std::uint8_t[]>(size ? size : 1), size, true};
  std::memset(b.bytes.get(), freshFill, size ? size : 1);
  void* p = b.bytes.get();
  a->blocks_.push_back(std::move(b));
  return p;
}

void MOA_CALL CountingAllocator::Free(moa::Allocator* self, void* block) {
  CountingAllocator* a = Face<moa::Allocator, CountingAllocator>::Of(self);
  for (Block& b : a->blocks_) {
    if (b.bytes.get() == block && b.live) {
      // Kept, poisoned, so a later write by the Xtra shows.
      std::memset(b.bytes.get(), freedPoison, b.size);
      b.live = false;
      return;
    }
  }
  ++a->badFrees;
}

int CountingAllocator::Live() const {
  return static_cast<int>(
      std::count_if(blocks_.begin(), blocks_.end(), [](const Block& b) { return b.live; }));
}

bool CountingAllocator::IsLive(const void* block) const {
  for (const Block& b : blocks_) {
    if (b.bytes.get() == block) return b.live;
  }
  return false;
}

bool CountingAllocator::PoisonIntact() const {
  for (const Block& b : blocks_) {
    if (b.live) continue;
    for (std::uint32_t i = 0; i < b.size; ++i) {
      if (b.bytes[i] != freedPoison) return false;
    }
  }
  return true;
}

// ---- values ----

ValueHost::ValueHost() {
  std::memset(&methods_, 0, sizeof methods_);
  methods_.QueryInterface = &ValueHost::QueryInterface;
  methods_.AddRef = &ValueHost::AddRef;
  methods_.Release = &ValueHost::Release;
  for (auto& slot : methods_.reserved3) slot = &ValueHost::Unexpected;
  for (auto& slot : methods_.reserved14) slot = &ValueHost::Unexpected;
  for (auto& slot : methods_.reserved18) slot = &ValueHost::Unexpected;
  for (auto& slot : methods_.reserved23) slot = &ValueHost::Unexpected;
  methods_.ValueToInteger = &ValueHost::ValueToInteger;
  methods_.StringLength = &ValueHost::StringLength;
  methods_.ValueToString = &ValueHost::ValueToString;
  methods_.IntegerToValue = &ValueHost::IntegerToValue;
  methods_.StringToValue = &ValueHost::StringToValue;
  face_.iface.methods = &methods_;
  face_.owner = this;
}

moa::HostValue ValueHost::Integer(std::int32_t v) {
  return moa::HostValue{{kindInteger, static_cast<std::uint32_t>(v)}};
}

moa::HostValue ValueHost::String(const std::string& text) {
  strings_.push_back(text);
  return moa::HostValue{{kindString, static_cast<std::uint32_t>(strings_.size() - 1)}};
}

std::optional<std::int32_t> ValueHost::AsInteger(const moa::HostValue& v) const {
  if (v.word[0] != kindInteger) return std::nullopt;
  return static_cast<std::int32_t>(v.word[1]);
}

std::optional<std::string> ValueHost::AsString(const moa::HostValue& v) const {
  if (v.word[0] != kindString || v.word[1] >= strings_.size()) return std::nullopt;
  return strings_[v.word[1]];
}

moa::MoaError MOA_CALL ValueHost::QueryInterface(moa::ValueInterface*, const moa::MoaId*, void** out) {
  if (out) *out = nullptr;
  return moa::errNoInterface;
}

std::uint32_t MOA_CALL ValueHost::AddRef(moa::ValueInterface* self) {
  return static_cast<std::uint32_t>(++Face<moa::ValueInterface, ValueHost>::Of(self)->references);
}

std::uint32_t MOA_CALL ValueHost::Release(moa::ValueInterface* self) {
  return static_cast<std::uint32_t>(--Face<moa::ValueInterface, ValueHost>::Of(self)->references);
}

void MOA_CALL ValueHost::Unexpected() {
  ADD_FAILURE() << "the Xtra called a value-interface slot it has no use for";
}

moa::MoaError MOA_CALL ValueHost::ValueToInteger(moa::ValueInterface* self, const moa::HostValue* v,
                                                 std::int32_t* out) {
  ValueHost* h = Face<moa::ValueInterface, ValueHost>::Of(self);
  h->log.push_back({slotValueToInteger, *v});
  const std::optional<std::int32_t> i = h->AsInteger(*v);
  if (!i) return errWrongKind;
  *out = *i;
  return moa::errNone;
}

moa::MoaError MOA_CALL ValueHost::StringLength(moa::ValueInterface* self, const moa::HostValue* v,
                                               std::int32_t* out) {
  ValueHost* h = Face<moa::ValueInterface, ValueHost>::Of(self);
  h->log.push_back({slotStringLength, *v});
  const std::optional<std::string> s = h->AsString(*v);
  if (!s) return errWrongKind;
  *out = static_cast<std::int32_t>(s->size());
  return moa::errNone;
}

moa::MoaError MOA_CALL ValueHost::ValueToString(moa::ValueInterface* self, const moa::HostValue* v,
                                                char* buffer, std::int32_t size) {
  ValueHost* h = Face<moa::ValueInterface, ValueHost>::Of(self);
  h->log.push_back({slotValueToString, *v});
  const std::optional<std::string> s = h->AsString(*v);
  if (!s) return errWrongKind;
  if (size <= 0) return moa::errNone;
  if (h->unterminatedTexts) {
    // Every byte it was given, and no zero among them.
    std::memset(buffer, '#', static_cast<std::size_t>(size));
    std::memcpy(buffer, s->data(), std::min<std::size_t>(s->size(), static_cast<std::size_t>(size)));
    return moa::errNone;
  }
  const std::size_t n = std::min<std::size_t>(s->size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, s->data(), n);
  buffer[n] = '\0';
  return moa::errNone;
}

moa::MoaError MOA_CALL ValueHost::IntegerToValue(moa::ValueInterface* self, std::int32_t i,
                                                 moa::HostValue* out) {
  ValueHost* h = Face<moa::ValueInterface, ValueHost>::Of(self);
  *out = h->Integer(i);
  h->log.push_back({slotIntegerToValue, *out});
  return moa::errNone;
}

moa::MoaError MOA_CALL ValueHost::StringToValue(moa::ValueInterface* self, const char* text,
                                                moa::HostValue* out) {
  ValueHost* h = Face<moa::ValueInterface, ValueHost>::Of(self);
  *out = h->String(text);
  h->log.push_back({slotStringToValue, *out});
  return moa::errNone;
}

// ---- the second host interface ----

CountedObject::CountedObject() {
  static const moa::UnknownMethods methods = {&CountedObject::QueryInterface, &CountedObject::AddRef,
                                              &CountedObject::Release};
  face_.iface.methods = &methods;
  face_.owner = this;
}

moa::MoaError MOA_CALL CountedObject::QueryInterface(moa::Unknown*, const moa::MoaId*, void** out) {
  if (out) *out = nullptr;
  return moa::errNoInterface;
}

std::uint32_t MOA_CALL CountedObject::AddRef(moa::Unknown* self) {
  return static_cast<std::uint32_t>(++Face<moa::Unknown, CountedObject>::Of(self)->references);
}

std::uint32_t MOA_CALL CountedObject::Release(moa::Unknown* self) {
  return static_cast<std::uint32_t>(--Face<moa::Unknown, CountedObject>::Of(self)->references);
}

// ---- callback ----

HostCallback::HostCallback(ValueHost& values, CountedObject& second) : values_(values), second_(second) {
  static const moa::CallbackMethods methods = {&HostCallback::QueryInterface, &HostCallback::AddRef,
                                               &HostCallback::Release};
  face_.iface.methods = &methods;
  face_.owner = this;
}

moa::MoaError MOA_CALL HostCallback::QueryInterface(moa::Callback* self, const moa::MoaId* iid, void** out) {
  HostCallback* c = Face<moa::Callback, HostCallback>::Of(self);
  *out = nullptr;
  if (*iid == moa::valueInterfaceId && c->offerValues) {
    ++c->valueQueries;
    ++c->values_.references;
    *out = c->values_.Interface();
    return moa::errNone;
  }
  if (*iid == moa::secondHostInterfaceId && c->offerSecond) {
    ++c->second_.references;
    *out = c->second_.Interface();
    return moa::errNone;
  }
  return moa::errNoInterface;
}

std::uint32_t MOA_CALL HostCallback::AddRef(moa::Callback*) { return 1; }
std::uint32_t MOA_CALL HostCallback::Release(moa::Callback*) { return 1; }

// ---- registry ----

RecordingDictionary::RecordingDictionary() {
  std::memset(&methods_, 0, sizeof methods_);
  methods_.QueryInterface = &RecordingDictionary::QueryInterface;
  methods_.AddRef = &RecordingDictionary::AddRef;
  methods_.Release = &RecordingDictionary::Release;
  for (auto& slot : methods_.reserved3) slot = &RecordingDictionary::Unexpected;
  methods_.Put = &RecordingDictionary::Put;
  face_.iface.methods = &methods_;
  face_.owner = this;
}

moa::MoaError MOA_CALL RecordingDictionary::QueryInterface(moa::Dictionary*, const moa::MoaId*, void** out) {
  if (out) *out = nullptr;
  return moa::errNoInterface;
}
std::uint32_t MOA_CALL RecordingDictionary::AddRef(moa::Dictionary*) { return 1; }
std::uint32_t MOA_CALL RecordingDictionary::Release(moa::Dictionary*) { return 1; }
void MOA_CALL RecordingDictionary::Unexpected() { ADD_FAILURE() << "unexpected dictionary method"; }

moa::MoaError MOA_CALL RecordingDictionary::Put(moa::Dictionary* self, std::uint32_t type, const void* data,
                                                std::int32_t size, const char* key) {
  RecordingDictionary* d = Face<moa::Dictionary, RecordingDictionary>::Of(self);
  const char* bytes = static_cast<const char*>(data);
  std::string copied = (type == moa::dictTypeText && size == 0)
                           ? std::string(bytes)
                           : std::string(bytes, static_cast<std::size_t>(size));
  d->entries.push_back({type, key ? key : "", copied});
  return d->answer;
}

RegistrationCache::RegistrationCache() {
  std::memset(&methods_, 0, sizeof methods_);
  methods_.QueryInterface = &RegistrationCache::QueryInterface;
  methods_.AddRef = &RegistrationCache::AddRef;
  methods_.Release = &RegistrationCache::Release;
  for (auto& slot : methods_.reserved3) slot = &RegistrationCache::Unexpected;
  methods_.AddRegistryEntry = &RegistrationCache::AddRegistryEntry;
  face_.iface.methods = &methods_;
  face_.owner = this;
}

moa::MoaError MOA_CALL RegistrationCache::QueryInterface(moa::Cache*, const moa::MoaId*, void** out) {
  if (out) *out = nullptr;
  return moa::errNoInterface;
}
std::uint32_t MOA_CALL RegistrationCache::AddRef(moa::Cache*) { return 1; }
std::uint32_t MOA_CALL RegistrationCache::Release(moa::Cache*) { return 1; }
void MOA_CALL RegistrationCache::Unexpected() { ADD_FAILURE() << "unexpected cache method"; }

moa::MoaError MOA_CALL RegistrationCache::AddRegistryEntry(moa::Cache* self, moa::Dictionary* xtraDictionary,
                                                           const moa::MoaId* classId,
                                                           const moa::MoaId* interfaceId,
                                                           moa::Dictionary** registryDictionary) {
  RegistrationCache* c = Face<moa::Cache, RegistrationCache>::Of(self);
  c->entries.push_back({xtraDictionary, *classId, *interfaceId});
  if (c->answer != moa::errNone) return c->answer;
  *registryDictionary = c->registry.Interface();
  return moa::errNone;
}

// ---- the host ----

const moa::UnknownMethods DirectorHost::instanceMethods = {
    &DirectorHost::InstanceQueryInterface, &DirectorHost::InstanceAddRef, &DirectorHost::InstanceRelease};

DirectorHost::DirectorHost() {
  module_ = LoadLibraryA(LMINT_PATH);
  if (!module_) return;
  getClassForm = Export<moa::DllGetClassFormFn>(module_, "DllGetClassForm");
  getInterface = Export<moa::DllGetInterfaceFn>(module_, "DllGetInterface");
  getClassInfo = Export<moa::DllGetClassInfoFn>(module_, "DllGetClassInfo");
  getClassObject = Export<moa::DllGetClassObjectFn>(module_, "DllGetClassObject");
  canUnloadNow = Export<moa::DllCanUnloadNowFn>(module_, "DllCanUnloadNow");
}

DirectorHost::~DirectorHost() {
  // A library that is still in use stays loaded, as the host would keep it.
  if (module_ && canUnloadNow && canUnloadNow() == moa::errNone) FreeLibrary(module_);
}

DirectorHost::InstanceRecord* DirectorHost::RecordOf(moa::ObjectHeader* instance) {
  return reinterpret_cast<InstanceRecord*>(static_cast<std::uintptr_t>(instance->hostReserved2[0]));
}

moa::ObjectHeader* DirectorHost::CreateInstance(const moa::MoaId& classId) {
  std::int32_t size = 0;
  moa::InstanceCreate create = nullptr;
  moa::InstanceDestroy destroy = nullptr;
  if (getClassForm(&classId, &size, &create, &destroy) != moa::errNone) return nullptr;
  void* block =
      allocator.Interface()->methods->Allocate(allocator.Interface(), static_cast<std::uint32_t>(size));
  if (!block) return nullptr;
  std::memset(block, 0, static_cast<std::size_t>(size));
  auto* header = static_cast<moa::ObjectHeader*>(block);
  header->methods = &instanceMethods;
  header->hostReserved1 = 1;
  header->callback = callback.Interface();
  header->allocator = allocator.Interface();
  auto record = std::make_unique<InstanceRecord>(InstanceRecord{this, classId, destroy, 1, false});
  header->hostReserved2[0] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(record.get()));
  instances_[header] = std::move(record);
  if (create && create(header) != moa::errNone) {
    Release(header);
    return nullptr;
  }
  return header;
}

int DirectorHost::References(moa::ObjectHeader* instance) const {
  auto it = instances_.find(instance);
  if (it == instances_.end() || it->second->destroyed) return -1;
  return it->second->references;
}

void DirectorHost::Release(moa::ObjectHeader* instance) { InstanceRelease(moa::asUnknown(instance)); }

moa::MoaError MOA_CALL DirectorHost::InstanceQueryInterface(moa::Unknown* self, const moa::MoaId* iid,
                                                            void** out) {
  auto* header = reinterpret_cast<moa::ObjectHeader*>(self);
  InstanceRecord* r = RecordOf(header);
  return r->host->getInterface(header, &r->classId, iid, out);
}

std::uint32_t MOA_CALL DirectorHost::InstanceAddRef(moa::Unknown* self) {
  auto* header = reinterpret_cast<moa::ObjectHeader*>(self);
  InstanceRecord* r = RecordOf(header);
  EXPECT_FALSE(r->destroyed) << "AddRef on a destroyed instance";
  header->hostReserved1 = static_cast<std::uint32_t>(++r->references);
  return header->hostReserved1;
}

std::uint32_t MOA_CALL DirectorHost::InstanceRelease(moa::Unknown* self) {
  auto* header = reinterpret_cast<moa::ObjectHeader*>(self);
  InstanceRecord* r = RecordOf(header);
  if (r->destroyed || r->references <= 0) {
    ADD_FAILURE() << "Release on a destroyed instance";
    return 0;
  }
  const int left = --r->references;
  header->hostReserved1 = static_cast<std::uint32_t>(left);
  if (left == 0) {
    if (r->destroy) r->destroy(header);
    r->destroyed = true;
    moa::Allocator* a = r->host->allocator.Interface();
    a->methods->Free(a, header);
  }
  return static_cast<std::uint32_t>(left);
}

moa::MoaError DirectorHost::Register() {
  moa::ObjectHeader* instance = CreateInstance(moa::registrationClassId);
  if (!instance) return moa::errOutOfMemory;
  void* out = nullptr;
  moa::MoaError error =
      getInterface(instance, &moa::registrationClassId, &moa::registrationInterfaceId, &out);
  if (error == moa::errNone) {
    auto* registration = static_cast<moa::RegistrationInterface*>(out);
    error = registration->methods->Register(registration, cache.Interface(), xtraDictionary.Interface());
    registration->methods->Release(registration);
  }
  Release(instance);
  return error;
}

std::int32_t DirectorHost::SelectorOf(const std::string& handler) const {
  const std::string* table = nullptr;
  for (const auto& e : cache.registry.entries) {
    if (e.key == "msgTable") table = &e.data;
  }
  if (!table) return 0;
  std::istringstream lines(*table);
  std::string line;
  std::int32_t selector = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("* ", 0) != 0) continue;
    ++selector;
    const std::size_t end = line.find(' ', 2);
    if (line.substr(2, end == std::string::npos ? std::string::npos : end - 2) == handler) return selector;
  }
  return 0;
}

std::vector<moa::HostValue> DirectorHost::Values(const std::vector<Argument>& arguments) {
  std::vector<moa::HostValue> out;
  for (const Argument& a : arguments) {
    if (const auto* i = std::get_if<std::int32_t>(&a)) {
      out.push_back(values.Integer(*i));
    } else {
      out.push_back(values.String(std::get<std::string>(a)));
    }
  }
  return out;
}

CallOutcome DirectorHost::Call(moa::ScriptingInterface* scripting, std::int32_t selector,
                               const std::vector<moa::HostValue>& arguments) {
  std::vector<moa::HostValue> args = arguments;
  moa::CallInfo info{};
  info.methodSelector = selector;
  info.resultValue = ValueHost::Untouched();
  info.argumentCount = static_cast<std::int32_t>(args.size());
  info.arguments = args.empty() ? nullptr : args.data();
  const moa::MoaError status = scripting->methods->Call(scripting, &info);
  return {status, info.resultValue};
}

LingoObject::LingoObject(DirectorHost& host) : host_(host) {
  instance_ = host.CreateInstance(moa::scriptingClassId);
  if (!instance_) return;
  void* out = nullptr;
  if (host.getInterface(instance_, &moa::scriptingClassId, &moa::scriptingInterfaceId, &out) ==
      moa::errNone) {
    scripting_ = static_cast<moa::ScriptingInterface*>(out);
  }
}

LingoObject::~LingoObject() {
  if (scripting_) scripting_->methods->Release(scripting_);
  if (instance_) host_.Release(instance_);
}

CallOutcome LingoObject::Call(const std::string& handler, const std::vector<Argument>& arguments) {
  if (host_.SelectorOf(handler) == 0 && host_.cache.registry.entries.empty()) host_.Register();
  const std::int32_t selector = host_.SelectorOf(handler);
  if (selector == 0) {
    ADD_FAILURE() << handler << " is not in the registered message table";
    return {moa::errUnknownSelector, ValueHost::Untouched()};
  }
  return host_.Call(scripting_, selector, host_.Values(arguments));
}

std::optional<std::string> LingoObject::Text(const std::string& handler,
                                             const std::vector<Argument>& arguments) {
  const CallOutcome outcome = Call(handler, arguments);
  EXPECT_EQ(outcome.status, moa::errNone) << handler;
  return host_.values.AsString(outcome.result);
}

std::optional<std::int32_t> LingoObject::Integer(const std::string& handler,
                                                 const std::vector<Argument>& arguments) {
  const CallOutcome outcome = Call(handler, arguments);
  EXPECT_EQ(outcome.status, moa::errNone) << handler;
  return host_.values.AsInteger(outcome.result);
}

// ---- files ----

std::string WindowsDirectory() {
  char buffer[MAX_PATH] = {};
  GetWindowsDirectoryA(buffer, MAX_PATH);
  return buffer;
}

std::string LaunchFilePath() {
  std::string dir = WindowsDirectory();
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir + "PARAM.CMI";
}

void WriteProfileFile(const std::string& path, const std::string& bytes) {
  DWORD written = 0;
  ASSERT_TRUE(testing_support::WriteFileBytes(path, bytes, &written))
      << path << ": " << written << " bytes written";
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

void RemoveFile(const std::string& path) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  DeleteFileA(path.c_str());
}

std::string ProfileValue(const std::string& file, const std::string& section, const std::string& key) {
  char buffer[4096] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, file.c_str());
  return buffer;
}

}  // namespace director_host
