// The Director host's component interfaces, as far as the Xtra and its stand-in host use them.
// IDs are 16 bytes in the standard GUID layout. Every interface object starts with a pointer
// to its method table, and every method table starts with QueryInterface, AddRef and Release;
// methods take the object as their first argument and use the platform's standard call. Slots
// that nobody here calls are placeholders, so the numbered ones land at their positions.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#define MOA_CALL __attribute__((stdcall))

namespace moa {

struct MoaId {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};
static_assert(sizeof(MoaId) == 16);

inline bool operator==(const MoaId& a, const MoaId& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

using MoaError = std::int32_t;

inline constexpr MoaError errNone = 0;
inline constexpr MoaError errOutOfMemory = static_cast<MoaError>(0x80040002u);
inline constexpr MoaError errStillInUse = static_cast<MoaError>(0x80040003u);
inline constexpr MoaError errNoInterface = static_cast<MoaError>(0x80040004u);
inline constexpr MoaError errNoClass = static_cast<MoaError>(0x80040005u);  // also "not supported"
inline constexpr MoaError errUnknownSelector = static_cast<MoaError>(0x80040BC9u);

// A method that neither the Xtra nor the stand-in host calls.
using Reserved = void(MOA_CALL*)();

#define MOA_UNKNOWN_METHODS(Self)                                                       \
  MoaError(MOA_CALL* QueryInterface)(Self * self, const ::moa::MoaId* iid, void** out); \
  std::uint32_t(MOA_CALL* AddRef)(Self * self);                                         \
  std::uint32_t(MOA_CALL* Release)(Self * self)

// Any interface object, seen through its first three methods.
struct Unknown;
struct UnknownMethods {
  MOA_UNKNOWN_METHODS(Unknown);
};
struct Unknown {
  const UnknownMethods* methods;
};

// The host's memory allocator.
struct Allocator;
struct AllocatorMethods {
  MOA_UNKNOWN_METHODS(Allocator);
  void*(MOA_CALL* Allocate)(Allocator* self, std::uint32_t size);  // 3; null when it fails
  void(MOA_CALL* Free)(Allocator* self, void* block);              // 4
};
struct Allocator {
  const AllocatorMethods* methods;
};

// The host callback of an instance: further host interfaces are asked for through it.
struct Callback;
struct CallbackMethods {
  MOA_UNKNOWN_METHODS(Callback);
};
struct Callback {
  const CallbackMethods* methods;
};

// The first 28 bytes of every class instance, filled by the host. The instance's own method
// table begins with QueryInterface, AddRef and Release.
struct ObjectHeader {
  const UnknownMethods* methods;   // 0
  std::uint32_t hostReserved1;     // 4
  Callback* callback;              // 8
  Allocator* allocator;            // 12
  std::uint32_t hostReserved2[3];  // 16..27
};

inline Unknown* asUnknown(ObjectHeader* instance) { return reinterpret_cast<Unknown*>(instance); }

// A host value: an 8-byte Lingo integer or string that only the value interface looks into.
struct HostValue {
  std::uint32_t word[2];
};
static_assert(sizeof(HostValue) == 8);

// The host's value interface: conversions between host values and integers or texts.
struct ValueInterface;
struct ValueMethods {
  MOA_UNKNOWN_METHODS(ValueInterface);
  Reserved reserved3[10];  // 3..12
  MoaError(MOA_CALL* ValueToInteger)(ValueInterface* self, const HostValue* value, std::int32_t* out);  // 13
  Reserved reserved14[2];  // 14, 15
  MoaError(MOA_CALL* StringLength)(ValueInterface* self, const HostValue* value, std::int32_t* out);  // 16
  MoaError(MOA_CALL* ValueToString)(ValueInterface* self, const HostValue* value, char* buffer,
                                    std::int32_t bufferSize);                                      // 17
  Reserved reserved18[4];                                                                          // 18..21
  MoaError(MOA_CALL* IntegerToValue)(ValueInterface* self, std::int32_t integer, HostValue* out);  // 22
  Reserved reserved23[2];                                                                          // 23, 24
  MoaError(MOA_CALL* StringToValue)(ValueInterface* self, const char* text, HostValue* out);       // 25
};
struct ValueInterface {
  const ValueMethods* methods;
};

// A registry dictionary of the host.
struct Dictionary;
struct DictionaryMethods {
  MOA_UNKNOWN_METHODS(Dictionary);
  Reserved reserved3[3];  // 3..5
  // 6: stores data under key; for type dictTypeText a size of 0 means "up to the zero".
  MoaError(MOA_CALL* Put)(Dictionary* self, std::uint32_t type, const void* data, std::int32_t size,
                          const char* key);
};
struct Dictionary {
  const DictionaryMethods* methods;
};
inline constexpr std::uint32_t dictTypeText = 9;

// The host's registration cache, handed to the Register method. The registry dictionary it
// hands back stays the cache's: the Xtra does not release it.
struct Cache;
struct CacheMethods {
  MOA_UNKNOWN_METHODS(Cache);
  Reserved reserved3[4];  // 3..6
  MoaError(MOA_CALL* AddRegistryEntry)(Cache* self, Dictionary* xtraDictionary, const MoaId* classId,
                                       const MoaId* interfaceId, Dictionary** registryDictionary);  // 7
};
struct Cache {
  const CacheMethods* methods;
};

// The host's record of one Lingo call.
struct CallInfo {
  std::uint32_t hostReserved[2];  // 0, 4
  std::int32_t methodSelector;    // 8
  HostValue resultValue;          // 12
  std::int32_t argumentCount;     // 20: elements in arguments
  HostValue* arguments;           // 24: argument n (from 1) is element n - 1
};

// The Xtra's two interfaces as the host calls them.
struct RegistrationInterface;
struct RegistrationMethods {
  MOA_UNKNOWN_METHODS(RegistrationInterface);
  MoaError(MOA_CALL* Register)(RegistrationInterface* self, Cache* cache, Dictionary* xtraDictionary);  // 3
};
struct RegistrationInterface {
  const RegistrationMethods* methods;
};

struct ScriptingInterface;
struct ScriptingMethods {
  MOA_UNKNOWN_METHODS(ScriptingInterface);
  MoaError(MOA_CALL* Call)(ScriptingInterface* self, CallInfo* call);  // 3
};
struct ScriptingInterface {
  const ScriptingMethods* methods;
};

// One entry of the list that DllGetClassInfo hands the host; a zero class ID ends the list.
struct ClassInfoEntry {
  MoaId classId;
  std::uint32_t classVersion;
  MoaId interfaceId;
  std::uint32_t interfaceVersion;
};
static_assert(sizeof(ClassInfoEntry) == 40);

using InstanceCreate = MoaError(MOA_CALL*)(ObjectHeader* instance);
using InstanceDestroy = void(MOA_CALL*)(ObjectHeader* instance);

// The five exports.
using DllGetClassFormFn = MoaError(MOA_CALL*)(const MoaId* classId, std::int32_t* instanceSize,
                                              InstanceCreate* create, InstanceDestroy* destroy);
using DllGetInterfaceFn = MoaError(MOA_CALL*)(ObjectHeader* instance, const MoaId* classId,
                                              const MoaId* interfaceId, void** out);
using DllGetClassInfoFn = MoaError(MOA_CALL*)(Allocator* allocator, ClassInfoEntry** list);
using DllGetClassObjectFn = MoaError(MOA_CALL*)(const void* a, const void* b, void** c);
using DllCanUnloadNowFn = MoaError(MOA_CALL*)();

// The IDs both sides know.
inline constexpr MoaId registrationClassId = {
    0xAD50D761, 0x000F, 0xE9B1, {0x00, 0x00, 0x08, 0x00, 0x07, 0x57, 0xFC, 0x90}};
inline constexpr MoaId registrationInterfaceId = {
    0xAC3E7803, 0x0002, 0x8FE5, {0x00, 0x00, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
inline constexpr MoaId scriptingClassId = {
    0x8960E004, 0x362D, 0x11D0, {0x8D, 0xCF, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr MoaId scriptingInterfaceId = {
    0xAC401FB6, 0x0001, 0xF9B0, {0x00, 0x00, 0x08, 0x00, 0x07, 0x2C, 0x63, 0x26}};
// The interface ID that the class entries of the class list carry.
inline constexpr MoaId unknownInterfaceId = {
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr MoaId valueInterfaceId = {
    0xAC96CF89, 0x0045, 0x5879, {0x00, 0x00, 0x00, 0x40, 0x10, 0x50, 0x23, 0xFB}};
inline constexpr MoaId secondHostInterfaceId = {
    0xAC96CF98, 0x0045, 0x5C0B, {0x00, 0x00, 0x00, 0x40, 0x10, 0x50, 0x23, 0xFB}};

// The positions the host and the Xtra agree on. Only a 32-bit build has the host's layout.
#if defined(__i386__)
static_assert(sizeof(ObjectHeader) == 28);
static_assert(offsetof(ObjectHeader, callback) == 8 && offsetof(ObjectHeader, allocator) == 12);
static_assert(offsetof(AllocatorMethods, Allocate) == 3 * 4 && offsetof(AllocatorMethods, Free) == 4 * 4);
static_assert(offsetof(ValueMethods, ValueToInteger) == 13 * 4);
static_assert(offsetof(ValueMethods, StringLength) == 16 * 4);
static_assert(offsetof(ValueMethods, ValueToString) == 17 * 4);
static_assert(offsetof(ValueMethods, IntegerToValue) == 22 * 4);
static_assert(offsetof(ValueMethods, StringToValue) == 25 * 4);
static_assert(offsetof(DictionaryMethods, Put) == 6 * 4);
static_assert(offsetof(CacheMethods, AddRegistryEntry) == 7 * 4);
static_assert(offsetof(CallInfo, methodSelector) == 8 && offsetof(CallInfo, resultValue) == 12 &&
              offsetof(CallInfo, arguments) == 24);
static_assert(offsetof(RegistrationMethods, Register) == 3 * 4 && offsetof(ScriptingMethods, Call) == 3 * 4);
#endif

}  // namespace moa
