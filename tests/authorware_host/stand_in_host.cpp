#include "stand_in_host.h"

#include <cstring>
#include <set>

namespace authorware_host {
namespace {

constexpr wchar_t kWindowClass[] = L"AuthorwareStandInPresentation";
constexpr WORD kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
// Longest variable name and text the host reads from the library's memory.
constexpr size_t kMaxName = 256;
constexpr size_t kMaxText = 1 << 16;

// True when [p, p + n) is committed, readable memory.
bool Readable(const void* p, size_t n) {
  auto at = reinterpret_cast<uintptr_t>(p);
  uintptr_t end = at + n;
  if (!p || end < at) return false;
  while (at < end) {
    MEMORY_BASIC_INFORMATION info;
    if (!VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info)) return false;
    if (info.State != MEM_COMMIT || (info.Protect & (PAGE_NOACCESS | PAGE_GUARD))) return false;
    at = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
  }
  return true;
}

// A NUL-terminated text of at most `limit` characters in readable memory.
std::optional<std::string> ReadText(const char* p, size_t limit) {
  std::string s;
  for (size_t i = 0; i <= limit; ++i) {
    if (!Readable(p + i, 1)) return std::nullopt;
    if (p[i] == '\0') return s;
    s.push_back(p[i]);
  }
  return std::nullopt;
}

void RegisterWindowClass(WNDPROC procedure) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kWindowClass;
  RegisterClassW(&wc);
  registered = true;
}

std::string Bytes(HMODULE module, HRSRC res) {
  HGLOBAL loaded = LoadResource(module, res);
  const void* p = loaded ? LockResource(loaded) : nullptr;
  DWORD n = SizeofResource(module, res);
  return p ? std::string(static_cast<const char*>(p), n) : std::string();
}

std::span<const unsigned char> AsBytes(const std::string& s) {
  return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

std::string Upper(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

}  // namespace

// ---------------------------------------------------------------- presentation window

PresentationWindow::PresentationWindow(VariableStore& store) : store_(store) {
  RegisterWindowClass(&PresentationWindow::Procedure);
  hwnd_ = CreateWindowExW(0, kWindowClass, L"Authorware stand-in presentation", WS_OVERLAPPEDWINDOW, 40, 40,
                          320, 240, nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

PresentationWindow::~PresentationWindow() {
  ReleaseHandedBlocks();
  if (hwnd_) DestroyWindow(hwnd_);
}

void PresentationWindow::ReleaseHandedBlocks() {
  for (HGLOBAL h : handed_) GlobalFree(h);
  handed_.clear();
}

LRESULT CALLBACK PresentationWindow::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<PresentationWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && (msg == kGetVariable || msg == kSetVariable)) {
    // No exception may unwind through the library's SendMessage into the window manager.
    try {
      return self->Answer(msg, wp, lp);
    } catch (const std::exception& e) {
      self->recordProblems.push_back(std::string("host failed: ") + e.what());
      return 1;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT PresentationWindow::Answer(UINT msg, WPARAM wp, LPARAM lp) {
  HostMessage seen;
  seen.message = msg;
  auto* record = reinterpret_cast<RecordLayout*>(lp);
  if (!Readable(record, sizeof(RecordLayout))) {
    recordProblems.push_back("the record is not " + std::to_string(sizeof(RecordLayout)) + " readable bytes");
    seen.answer = 1;
    traffic.push_back(seen);
    return 1;
  }
  RecordLayout laidOut;
  std::memcpy(&laidOut, record, sizeof laidOut);
  RecordWords words = WordsOf(laidOut);
  for (std::string& p : CheckRecord(msg, wp, words)) recordProblems.push_back(std::move(p));
  auto name = ReadText(reinterpret_cast<const char*>(static_cast<uintptr_t>(words.word[0])), kMaxName);
  if (!name) {
    recordProblems.push_back("the variable name is not a readable text of at most 256 characters");
    seen.answer = 1;
    traffic.push_back(seen);
    return 1;
  }
  seen.name = *name;
  seen.isNumber = words.word[4] == 1;
  if (ignoreMessages) {
    seen.ignored = true;
    seen.answer = DefWindowProcW(hwnd_, msg, wp, lp);
    traffic.push_back(seen);
    return seen.answer;
  }

  if (msg == kGetVariable) {
    bool known = store_.Get(*name).has_value();
    if (store_.GetFails(*name) || (!known && !answerUnknownNames)) {
      seen.answer = 1;
    } else if (seen.isNumber) {
      int32_t n = store_.Number(*name).value_or(0);
      record->value = static_cast<uint32_t>(n);
      seen.value = n;
    } else {
      std::string text = store_.Text(*name).value_or("");
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
      char* p = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
      if (!p) {
        if (block) GlobalFree(block);
        seen.answer = 1;
      } else {
        std::memcpy(p, text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        handed_.push_back(block);
        record->value = reinterpret_cast<uintptr_t>(block);
        seen.value = text;
      }
    }
  } else {
    if (seen.isNumber) {
      seen.value = static_cast<int32_t>(words.word[5]);
    } else {
      auto text = ReadText(reinterpret_cast<const char*>(static_cast<uintptr_t>(words.word[5])), kMaxText);
      if (!text) {
        recordProblems.push_back("set: the value is not a readable text");
        seen.answer = 1;
        traffic.push_back(seen);
        return 1;
      }
      seen.value = *text;
    }
    if (store_.SetFails(*name)) {
      seen.answer = 1;
    } else {
      store_.Set(*name, seen.value);
    }
  }
  traffic.push_back(seen);
  return seen.answer;
}

// ---------------------------------------------------------------- host

StandInHost::StandInHost() { context.HostWindow = window.Handle(); }

StandInHost::~StandInHost() { Unload(); }

bool StandInHost::Load(const std::wstring& path) {
  Unload();
  problems_.clear();
  module_ = LoadLibraryW(path.c_str());
  if (!module_) {
    problems_.push_back("the library cannot be loaded (error " + std::to_string(GetLastError()) + ")");
    return false;
  }
  ReadDescriptions();
  return true;
}

void StandInHost::Unload() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  index_.clear();
  descriptions_.clear();
}

void StandInHost::ReadDescriptions() {
  HRSRC indexRes = FindResourceExA(module_, "DLL_HEADER", MAKEINTRESOURCEA(1), kUsEnglish);
  if (!indexRes) {
    problems_.push_back("no description index (DLL_HEADER 1, US English)");
    return;
  }
  std::string why;
  std::string indexBytes = Bytes(module_, indexRes);
  auto names = ParseIndex(AsBytes(indexBytes), &why);
  if (!names) {
    problems_.push_back("index: " + why);
    return;
  }
  index_ = *names;
  for (std::string& p : CheckIndex(index_)) problems_.push_back(std::move(p));

  for (const std::string& name : index_) {
    std::string resName = Upper(name);
    HRSRC res = FindResourceExA(module_, "DLL_HEADER", resName.c_str(), kUsEnglish);
    if (!res) {
      problems_.push_back(name + ": no description resource " + resName + " in US English");
      continue;
    }
    LoadedDescription loaded;
    loaded.name = name;
    loaded.bytes = Bytes(module_, res);
    auto d = ParseDescription(AsBytes(loaded.bytes), &why);
    if (!d) {
      problems_.push_back(name + ": " + why);
      continue;
    }
    for (std::string& p : CheckDescription(name, *d)) problems_.push_back(std::move(p));
    if (!GetProcAddress(module_, name.c_str()))
      problems_.push_back(name + ": described but not exported under its plain name");
    loaded.description = std::move(*d);
    descriptions_[name] = std::move(loaded);
  }

  // Every DLL_HEADER resource is the index or the one description of an indexed name, in
  // one language.
  struct Names {
    std::vector<std::string> named;
    std::vector<uintptr_t> numbered;
  } all;
  EnumResourceNamesA(
      module_, "DLL_HEADER", [](HMODULE, LPCSTR, LPSTR name, LONG_PTR lp) __attribute__((stdcall))->BOOL {
        auto* all = reinterpret_cast<Names*>(lp);
        if (IS_INTRESOURCE(name))
          all->numbered.push_back(reinterpret_cast<uintptr_t>(name));
        else
          all->named.emplace_back(name);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&all));
  std::set<std::string> expected;
  for (const std::string& n : index_) expected.insert(Upper(n));
  for (uintptr_t id : all.numbered)
    if (id != 1) problems_.push_back("a description resource with the number " + std::to_string(id));
  std::set<std::string> seen;
  for (const std::string& n : all.named) {
    if (!expected.count(n)) problems_.push_back("description resource " + n + " is in no index entry");
    if (!seen.insert(n).second) problems_.push_back("description resource " + n + " stands twice");
  }
  auto countLanguages = [&](LPCSTR name, const std::string& label) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(
        module_, "DLL_HEADER", name,
        [](HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR lp) __attribute__((stdcall))->BOOL {
          reinterpret_cast<std::vector<WORD>*>(lp)->push_back(language);
          return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    if (languages.size() != 1 || languages[0] != kUsEnglish)
      problems_.push_back(label + ": not exactly one resource, in US English");
  };
  countLanguages(MAKEINTRESOURCEA(1), "index");
  for (const std::string& n : all.named) countLanguages(n.c_str(), n);
}

FARPROC StandInHost::Resolve(std::string_view name, char result, const std::string& arguments) const {
  std::string n(name);
  auto it = descriptions_.find(n);
  if (it == descriptions_.end()) throw std::logic_error(n + " is not described by the library");
  const Description& d = it->second.description;
  std::string letters = "A" + arguments;
  if (d.result != std::string(1, result) || d.arguments != letters)
    throw std::logic_error(n + " is described " + d.result + "/" + d.arguments + " but called " +
                           std::string(1, result) + "/" + letters);
  FARPROC f = GetProcAddress(module_, n.c_str());
  if (!f) throw std::logic_error(n + " is not exported");
  return f;
}

HostString StandInHost::TakeString(HGLOBAL block) {
  HostString s;
  if (!block) return s;
  s.present = true;
  s.lockCount = GlobalFlags(block) & GMEM_LOCKCOUNT;
  s.blockSize = GlobalSize(block);
  auto* p = static_cast<const char*>(GlobalLock(block));
  s.movable = p && static_cast<const void*>(p) != static_cast<const void*>(block);
  if (p) {
    size_t n = 0;
    while (n < s.blockSize && p[n]) ++n;
    s.terminated = n < s.blockSize;
    s.text.assign(p, n);
    GlobalUnlock(block);
  }
  s.freed = GlobalFree(block) == nullptr;
  return s;
}

// ---------------------------------------------------------------- module helpers

std::wstring LocalPath(const std::string& buildPath) {
  using ToDos = LPWSTR(CDECL*)(LPCSTR);
  // Wine's own converter from its host's paths; absent on Windows, where the path is local.
  auto toDos = reinterpret_cast<ToDos>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (toDos && !buildPath.empty() && buildPath[0] == '/') {
    if (LPWSTR dos = toDos(buildPath.c_str())) {
      std::wstring r(dos);
      HeapFree(GetProcessHeap(), 0, dos);
      return r;
    }
  }
  return std::wstring(buildPath.begin(), buildPath.end());
}

namespace {

const IMAGE_DATA_DIRECTORY* Directory(HMODULE module, int which) {
  auto* base = reinterpret_cast<const unsigned char*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY* dir = &nt->OptionalHeader.DataDirectory[which];
  return dir->VirtualAddress ? dir : nullptr;
}

}  // namespace

std::vector<std::string> ExportedNames(HMODULE module) {
  std::vector<std::string> names;
  auto* base = reinterpret_cast<const unsigned char*>(module);
  const IMAGE_DATA_DIRECTORY* dir = Directory(module, IMAGE_DIRECTORY_ENTRY_EXPORT);
  if (!dir) return names;
  auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir->VirtualAddress);
  auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    names.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
  return names;
}

std::vector<std::string> ImportedModules(HMODULE module) {
  std::vector<std::string> names;
  auto* base = reinterpret_cast<const unsigned char*>(module);
  const IMAGE_DATA_DIRECTORY* dir = Directory(module, IMAGE_DIRECTORY_ENTRY_IMPORT);
  if (!dir) return names;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir->VirtualAddress); d->Name; ++d)
    names.emplace_back(reinterpret_cast<const char*>(base + d->Name));
  return names;
}

}  // namespace authorware_host
