#include "variable_store.h"

#include <charconv>

namespace authorware_host {

std::optional<Value> VariableStore::Get(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::optional<int32_t> VariableStore::Number(const std::string& name) const {
  auto v = Get(name);
  if (!v) return std::nullopt;
  if (auto* n = std::get_if<int32_t>(&*v)) return *n;
  const std::string& s = std::get<std::string>(*v);
  int32_t n = 0;
  std::from_chars(s.data(), s.data() + s.size(), n);
  return n;
}

std::optional<std::string> VariableStore::Text(const std::string& name) const {
  auto v = Get(name);
  if (!v) return std::nullopt;
  if (auto* n = std::get_if<int32_t>(&*v)) return std::to_string(*n);
  return std::get<std::string>(*v);
}

RecordWords WordsOf(const RecordLayout& r) {
  return {{r.name, r.word2, r.word3, r.isSet, r.isNumber, r.value, r.word7}};
}

std::vector<std::string> CheckRecord(uint32_t message, uintptr_t wParam, const RecordWords& r) {
  std::vector<std::string> problems;
  const char* what = message == kGetVariable ? "get: " : "set: ";
  auto add = [&](const std::string& p) { problems.push_back(what + p); };
  if (wParam != 0) add("wParam is " + std::to_string(wParam));
  if (r.word[0] == 0) add("no variable name");
  if (r.word[1] != 0 || r.word[2] != 0 || r.word[6] != 0) add("an unused word is not zero");
  uintptr_t isSet = message == kSetVariable ? 1 : 0;
  if (r.word[3] != isSet) add("IsSet is " + std::to_string(r.word[3]));
  if (r.word[4] > 1) add("IsNumber is " + std::to_string(r.word[4]));
  if (message == kGetVariable && r.word[5] != 0) add("the value is not zero before the get");
  return problems;
}

}  // namespace authorware_host
