// A stand-in for the Authorware host, as much of it as a user-code library meets: it loads
// the library, reads and checks its description resources, owns a presentation window that
// answers the host-variable messages from a variable store, and calls the exports through a
// typed helper that passes its host record first.
//
//   StandInHost host;
//   ASSERT_TRUE(host.Load(LocalPath(RXSYSTEM_DLL_PATH))) << host.Problems().front();
//   host.variables.Set("TLHideErrors", 1);
//   BoxCatcher boxes;  // reads and closes any box the calls show
//   int32_t r = host.Call<int32_t>("SysDeleteFile", "c:\\x.txt");
//   HostString dir = host.Call<HostString>("SysGetTempDir");
//   EXPECT_EQ(host.variables.Text("TLLastError"), ...);
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "description_check.h"
#include "variable_store.h"

namespace authorware_host {

// The host record as the host lays it out: three 32-bit fields in the 32-bit build; the
// window handle takes the pointer's width in a 64-bit one, as the library's record does.
struct HostContext {
  uint32_t firstWord = 0;
  HWND HostWindow = nullptr;
  uint32_t ChildWindowFlag = 0;
};
#if defined(__i386__)
static_assert(sizeof(HostContext) == 12);
#endif

// One host-variable message as the presentation window saw it.
struct HostMessage {
  uint32_t message = 0;  // kGetVariable or kSetVariable
  std::string name;
  bool isNumber = false;
  Value value;           // what was set, or what the host answered a get with
  LRESULT answer = 0;    // 0 = success
  bool ignored = false;  // the window was told to ignore the messages
};

// The host's presentation window, on the thread that creates it.
class PresentationWindow {
 public:
  explicit PresentationWindow(VariableStore& store);
  ~PresentationWindow();
  PresentationWindow(const PresentationWindow&) = delete;
  PresentationWindow& operator=(const PresentationWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  // Answer nothing: the messages go to the default procedure (which answers 0).
  bool ignoreMessages = false;
  // Unknown names answer a get with failure unless this is set (then 0 or the empty text).
  bool answerUnknownNames = false;

  std::vector<HostMessage> traffic;
  std::vector<std::string> recordProblems;  // every record that broke the protocol
  // Frees the string blocks that gets handed out; the library only reads them during a call.
  void ReleaseHandedBlocks();

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Answer(UINT msg, WPARAM wp, LPARAM lp);

  VariableStore& store_;
  HWND hwnd_ = nullptr;
  std::vector<HGLOBAL> handed_;
};

// A string result as the host receives it. The host takes the block over and frees it.
struct HostString {
  bool present = false;  // a handle came back
  std::string text;
  size_t blockSize = 0;
  bool movable = false;     // the handle is not the block's address
  unsigned lockCount = 0;   // as handed back: an unlocked block has 0
  bool terminated = false;  // a NUL inside the block
  bool freed = false;       // GlobalFree succeeded
};

struct LoadedDescription {
  std::string name;
  std::string bytes;
  Description description;
};

// Argument and result letters of the C++ types the typed helper accepts.
template <class T>
struct LetterOf;
template <>
struct LetterOf<const char*> {
  static constexpr char value = 'S';
};
template <>
struct LetterOf<char*> {
  static constexpr char value = 'S';
};
template <>
struct LetterOf<std::nullptr_t> {
  static constexpr char value = 'S';
};
template <>
struct LetterOf<int32_t> {
  static constexpr char value = 'I';
};
template <>
struct LetterOf<uint32_t> {
  static constexpr char value = 'L';
};
template <>
struct LetterOf<HWND> {
  static constexpr char value = 'L';
};
template <>
struct LetterOf<HostString> {
  static constexpr char value = 'S';
};
template <>
struct LetterOf<void> {
  static constexpr char value = 'V';
};

class StandInHost {
 public:
  StandInHost();
  ~StandInHost();
  StandInHost(const StandInHost&) = delete;
  StandInHost& operator=(const StandInHost&) = delete;

  // Loads the library and reads every description; false when it cannot be loaded. What the
  // descriptions get wrong is in Problems().
  bool Load(const std::wstring& path);
  void Unload();
  HMODULE Module() const { return module_; }
  const std::vector<std::string>& Problems() const { return problems_; }
  const std::vector<std::string>& IndexNames() const { return index_; }
  const std::map<std::string, LoadedDescription>& Descriptions() const { return descriptions_; }

  VariableStore variables;
  PresentationWindow window{variables};
  HostContext context;  // HostWindow is the presentation window

  // Calls a described export with the host record first; throws std::logic_error when the
  // export is not described or its letters differ from the C++ types of the call.
  template <class R, class... A>
  R Call(std::string_view name, A... args) {
    return CallWith<R>(&context, name, args...);
  }
  template <class R, class... A>
  R CallWith(const HostContext* record, std::string_view name, A... args) {
    FARPROC f = Resolve(name, LetterOf<R>::value, std::string{LetterOf<A>::value...});
    using Raw = std::conditional_t<std::is_same_v<R, HostString>, HGLOBAL, R>;
    using Fn = Raw(__stdcall*)(const HostContext*, Passed<A>...);
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(f));
    if constexpr (std::is_void_v<R>) {
      fn(record, static_cast<Passed<A>>(args)...);
      window.ReleaseHandedBlocks();
    } else if constexpr (std::is_same_v<R, HostString>) {
      HGLOBAL block = fn(record, static_cast<Passed<A>>(args)...);
      window.ReleaseHandedBlocks();
      return TakeString(block);
    } else {
      R r = fn(record, static_cast<Passed<A>>(args)...);
      window.ReleaseHandedBlocks();
      return r;
    }
  }

  // The host's side of a string result: inspects the block, reads it, frees it.
  static HostString TakeString(HGLOBAL block);

 private:
  template <class T>
  using Passed = std::conditional_t<std::is_same_v<T, std::nullptr_t>, const char*, T>;

  FARPROC Resolve(std::string_view name, char result, const std::string& arguments) const;
  void ReadDescriptions();

  HMODULE module_ = nullptr;
  std::vector<std::string> problems_;
  std::vector<std::string> index_;
  std::map<std::string, LoadedDescription> descriptions_;
};

// A path of the build machine as the program under Wine reaches it (unchanged on Windows).
std::wstring LocalPath(const std::string& buildPath);

// The names in the export directory and the DLLs in the import directory of a loaded module.
std::vector<std::string> ExportedNames(HMODULE module);
std::vector<std::string> ImportedModules(HMODULE module);

}  // namespace authorware_host
