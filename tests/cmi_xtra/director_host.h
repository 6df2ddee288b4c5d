// A stand-in for the Director host: it loads LMINT.x32, answers the Xtra through the host
// interfaces (an allocator that counts and poisons what is freed, a value interface with real
// integer and string values, a callback, a registration cache whose dictionaries record what
// is stored) and drives the library as the host does: class info, class form, instances,
// Register, and Call by the selectors it reads from the registered message table.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cmi_xtra/moa_interfaces.h"
#include "visible_text.h"

namespace director_host {

// The same object seen as its interface (first) and as the host's C++ object.
template <class Iface, class Owner>
struct Face {
  Iface iface;
  Owner* owner;
  static Owner* Of(Iface* p) { return reinterpret_cast<Face*>(p)->owner; }
};

class CountingAllocator {
 public:
  CountingAllocator();
  ~CountingAllocator();
  moa::Allocator* Interface() { return &face_.iface; }

  // Sizes of every block asked for, in order (also those refused).
  std::vector<std::uint32_t> requests;
  // The next allocation fails (then this clears).
  bool failNext = false;
  int badFrees = 0;

  int Live() const;
  bool IsLive(const void* block) const;
  // Every freed block still holds its poison: nothing wrote to it after it was freed.
  bool PoisonIntact() const;

 private:
  struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::uint32_t size;
    bool live;
  };
  static void* MOA_CALL Allocate(moa::Allocator* self, std::uint32_t size);
  static void MOA_CALL Free(moa::Allocator* self, void* block);
  Face<moa::Allocator, CountingAllocator> face_;
  std::vector<Block> blocks_;
};

// Host values: word 0 the kind, word 1 the integer or the index of a host-owned string.
enum ValueKind : std::uint32_t {
  kindVoid = 0,
  kindInteger = 1,
  kindString = 2,
  kindUntouched = 0xE0E0E0E0,  // what a call's result holds before the Xtra sets it
};

// The value interface's conversions by their place in its method table, as the host numbers
// the slots; the log names the one the Xtra called.
enum ValueSlot : int {
  slotValueToInteger = 13,
  slotStringLength = 16,
  slotValueToString = 17,
  slotIntegerToValue = 22,
  slotStringToValue = 25,
};
// Every member of the table is a pointer of one size, so a slot is its offset in pointers, in
// the 64-bit build as much as in the host's own.
static_assert(offsetof(moa::ValueMethods, ValueToInteger) == slotValueToInteger * sizeof(moa::Reserved));
static_assert(offsetof(moa::ValueMethods, StringLength) == slotStringLength * sizeof(moa::Reserved));
static_assert(offsetof(moa::ValueMethods, ValueToString) == slotValueToString * sizeof(moa::Reserved));
static_assert(offsetof(moa::ValueMethods, IntegerToValue) == slotIntegerToValue * sizeof(moa::Reserved));
static_assert(offsetof(moa::ValueMethods, StringToValue) == slotStringToValue * sizeof(moa::Reserved));

class ValueHost {
 public:
  ValueHost();
  moa::ValueInterface* Interface() { return &face_.iface; }

  moa::HostValue Integer(std::int32_t v);
  moa::HostValue String(const std::string& text);
  static moa::HostValue Untouched() { return moa::HostValue{{kindUntouched, 0}}; }
  std::optional<std::int32_t> AsInteger(const moa::HostValue& v) const;
  std::optional<std::string> AsString(const moa::HostValue& v) const;

  struct Conversion {
    ValueSlot slot;
    moa::HostValue value;
  };
  std::vector<Conversion> log;
  // The text conversion fills the whole buffer and leaves out the terminating zero.
  bool unterminatedTexts = false;
  int references = 0;  // AddRef minus Release, the callback's queries included
  int unexpectedCalls = 0;

 private:
  static moa::MoaError MOA_CALL QueryInterface(moa::ValueInterface*, const moa::MoaId*, void**);
  static std::uint32_t MOA_CALL AddRef(moa::ValueInterface* self);
  static std::uint32_t MOA_CALL Release(moa::ValueInterface* self);
  static void MOA_CALL Unexpected();
  static moa::MoaError MOA_CALL ValueToInteger(moa::ValueInterface*, const moa::HostValue*, std::int32_t*);
  static moa::MoaError MOA_CALL StringLength(moa::ValueInterface*, const moa::HostValue*, std::int32_t*);
  static moa::MoaError MOA_CALL ValueToString(moa::ValueInterface*, const moa::HostValue*, char*,
                                              std::int32_t);
  static moa::MoaError MOA_CALL IntegerToValue(moa::ValueInterface*, std::int32_t, moa::HostValue*);
  static moa::MoaError MOA_CALL StringToValue(moa::ValueInterface*, const char*, moa::HostValue*);
  moa::ValueMethods methods_;
  Face<moa::ValueInterface, ValueHost> face_;
  std::vector<std::string> strings_;
};

// A reference-counted object that only the instance holds (the second host interface).
class CountedObject {
 public:
  CountedObject();
  moa::Unknown* Interface() { return &face_.iface; }
  int references = 0;

 private:
  static moa::MoaError MOA_CALL QueryInterface(moa::Unknown*, const moa::MoaId*, void**);
  static std::uint32_t MOA_CALL AddRef(moa::Unknown* self);
  static std::uint32_t MOA_CALL Release(moa::Unknown* self);
  Face<moa::Unknown, CountedObject> face_;
};

class HostCallback {
 public:
  HostCallback(ValueHost& values, CountedObject& second);
  moa::Callback* Interface() { return &face_.iface; }
  bool offerValues = true;
  bool offerSecond = true;
  int valueQueries = 0;

 private:
  static moa::MoaError MOA_CALL QueryInterface(moa::Callback*, const moa::MoaId*, void**);
  static std::uint32_t MOA_CALL AddRef(moa::Callback*);
  static std::uint32_t MOA_CALL Release(moa::Callback*);
  ValueHost& values_;
  CountedObject& second_;
  Face<moa::Callback, HostCallback> face_;
};

// A registry dictionary that records what the Xtra puts in it.
class RecordingDictionary {
 public:
  RecordingDictionary();
  moa::Dictionary* Interface() { return &face_.iface; }
  struct Entry {
    std::uint32_t type;
    std::string key;
    std::string data;
  };
  std::vector<Entry> entries;
  moa::MoaError answer = moa::errNone;

 private:
  static moa::MoaError MOA_CALL QueryInterface(moa::Dictionary*, const moa::MoaId*, void**);
  static std::uint32_t MOA_CALL AddRef(moa::Dictionary*);
  static std::uint32_t MOA_CALL Release(moa::Dictionary*);
  static void MOA_CALL Unexpected();
  static moa::MoaError MOA_CALL Put(moa::Dictionary*, std::uint32_t, const void*, std::int32_t, const char*);
  moa::DictionaryMethods methods_;
  Face<moa::Dictionary, RecordingDictionary> face_;
};

class RegistrationCache {
 public:
  RegistrationCache();
  moa::Cache* Interface() { return &face_.iface; }
  struct Entry {
    moa::Dictionary* xtraDictionary;
    moa::MoaId classId;
    moa::MoaId interfaceId;
  };
  std::vector<Entry> entries;
  RecordingDictionary registry;  // handed back for every entry
  moa::MoaError answer = moa::errNone;

 private:
  static moa::MoaError MOA_CALL QueryInterface(moa::Cache*, const moa::MoaId*, void**);
  static std::uint32_t MOA_CALL AddRef(moa::Cache*);
  static std::uint32_t MOA_CALL Release(moa::Cache*);
  static void MOA_CALL Unexpected();
  static moa::MoaError MOA_CALL AddRegistryEntry(moa::Cache*, moa::Dictionary*, const moa::MoaId*,
                                                 const moa::MoaId*, moa::Dictionary**);
  moa::CacheMethods methods_;
  Face<moa::Cache, RegistrationCache> face_;
};

using Argument = std::variant<std::int32_t, std::string>;

struct CallOutcome {
  moa::MoaError status;
  moa::HostValue result;
};

class DirectorHost {
 public:
  // Loads the Xtra; ASSERT-style failures are reported through Loaded().
  DirectorHost();
  // Unloads the Xtra when it says it may be; a fresh host therefore sees a fresh load.
  ~DirectorHost();
  DirectorHost(const DirectorHost&) = delete;
  DirectorHost& operator=(const DirectorHost&) = delete;

  bool Loaded() const {
    return module_ != nullptr && getClassForm && getInterface && getClassInfo && getClassObject &&
           canUnloadNow;
  }

  moa::DllGetClassFormFn getClassForm = nullptr;
  moa::DllGetInterfaceFn getInterface = nullptr;
  moa::DllGetClassInfoFn getClassInfo = nullptr;
  moa::DllGetClassObjectFn getClassObject = nullptr;
  moa::DllCanUnloadNowFn canUnloadNow = nullptr;

  CountingAllocator allocator;
  ValueHost values;
  CountedObject second;
  HostCallback callback{values, second};
  RegistrationCache cache;
  RecordingDictionary xtraDictionary;  // the host's dictionary of the Xtra, passed to Register

  // An instance of the class as the host makes one: the class form's size from the host's
  // allocator, the header filled, the class's create function run. Null when that fails.
  moa::ObjectHeader* CreateInstance(const moa::MoaId& classId);
  // The host's own count of references on the instance; -1 once it is destroyed.
  int References(moa::ObjectHeader* instance) const;
  void Release(moa::ObjectHeader* instance);

  // Register on a registration instance, as the host does when it builds its Xtra cache.
  moa::MoaError Register();
  // The selector of a handler: its line in the registered message table (0 when absent).
  std::int32_t SelectorOf(const std::string& handler) const;

  CallOutcome Call(moa::ScriptingInterface* scripting, std::int32_t selector,
                   const std::vector<moa::HostValue>& arguments);
  std::vector<moa::HostValue> Values(const std::vector<Argument>& arguments);

 private:
  struct InstanceRecord {
    DirectorHost* host;
    moa::MoaId classId;
    moa::InstanceDestroy destroy;
    int references;
    bool destroyed;
  };
  static InstanceRecord* RecordOf(moa::ObjectHeader* instance);
  static moa::MoaError MOA_CALL InstanceQueryInterface(moa::Unknown*, const moa::MoaId*, void**);
  static std::uint32_t MOA_CALL InstanceAddRef(moa::Unknown*);
  static std::uint32_t MOA_CALL InstanceRelease(moa::Unknown*);
  static const moa::UnknownMethods instanceMethods;

  HMODULE module_ = nullptr;
  std::map<moa::ObjectHeader*, std::unique_ptr<InstanceRecord>> instances_;
};

// One scripting instance and its interface, as a movie's "new" makes it; Lingo calls by name.
class LingoObject {
 public:
  explicit LingoObject(DirectorHost& host);
  ~LingoObject();
  LingoObject(const LingoObject&) = delete;
  LingoObject& operator=(const LingoObject&) = delete;

  bool Ready() const { return scripting_ != nullptr; }
  moa::ScriptingInterface* Scripting() const { return scripting_; }
  moa::ObjectHeader* Instance() const { return instance_; }

  CallOutcome Call(const std::string& handler, const std::vector<Argument>& arguments = {});
  // The handler's text result; nullopt when it set none or set another kind.
  std::optional<std::string> Text(const std::string& handler, const std::vector<Argument>& arguments = {});
  std::optional<std::int32_t> Integer(const std::string& handler,
                                      const std::vector<Argument>& arguments = {});

 private:
  DirectorHost& host_;
  moa::ObjectHeader* instance_ = nullptr;
  moa::ScriptingInterface* scripting_ = nullptr;
};

// Files as the course-management system sees them.
std::string WindowsDirectory();
std::string LaunchFilePath();
// Writes a file the Xtra reads through the profile functions, and makes them forget any copy
// of it they keep in this process: a rewritten file must not read as its old self.
void WriteProfileFile(const std::string& path, const std::string& bytes);
void RemoveFile(const std::string& path);
std::string ProfileValue(const std::string& file, const std::string& section, const std::string& key);

// Control characters shown, for readable failures.
using testing_support::Visible;

}  // namespace director_host
