// The stand-in host's variables and what it expects of a host-variable record. Pure.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace authorware_host {

inline constexpr uint32_t kGetVariable = 0x600B;
inline constexpr uint32_t kSetVariable = 0x600C;

// A host variable holds a number or a text.
using Value = std::variant<int32_t, std::string>;

class VariableStore {
 public:
  void Set(const std::string& name, Value value) { values_[name] = std::move(value); }
  void Erase(const std::string& name) { values_.erase(name); }
  std::optional<Value> Get(const std::string& name) const;
  // The value as the library would ask for it: a number (text read as a decimal number) or
  // a text (a number written in decimal).
  std::optional<int32_t> Number(const std::string& name) const;
  std::optional<std::string> Text(const std::string& name) const;

  // Scripted failures: the host answers the message for this name with a nonzero result.
  void FailGet(const std::string& name) { failingGets_.insert(name); }
  void FailSet(const std::string& name) { failingSets_.insert(name); }
  bool GetFails(const std::string& name) const { return failingGets_.count(name) != 0; }
  bool SetFails(const std::string& name) const { return failingSets_.count(name) != 0; }

 private:
  std::map<std::string, Value> values_;
  std::set<std::string> failingGets_, failingSets_;
};

// The seven words of a HostVariableRecord as the library sent them. The record is seven
// 32-bit words in the 32-bit build; the name (word 0) and the value (word 5) carry an address
// or a handle, and take the pointer's width in a 64-bit build.
struct RecordLayout {
  uintptr_t name;
  uint32_t word2, word3, isSet, isNumber;
  uintptr_t value;
  uint32_t word7;
};
#if defined(__i386__)
static_assert(sizeof(RecordLayout) == 28);
#endif

struct RecordWords {
  uintptr_t word[7];
};
RecordWords WordsOf(const RecordLayout& record);

// Every way the record of one message differs from what the host expects: wParam 0, the
// unused words 0, IsSet 0 for a get and 1 for a set, IsNumber 0 or 1, a name, and a get's
// value still zero (the record is zero-filled before each use).
std::vector<std::string> CheckRecord(uint32_t message, uintptr_t wParam, const RecordWords& record);

}  // namespace authorware_host
