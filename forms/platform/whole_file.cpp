#include "forms/platform/whole_file.h"

#include <algorithm>
#include <new>
#include <utility>

namespace forms {
namespace {

WriteOutcome Failed(DWORD error) { return {false, error}; }

// The new file beside the one it replaces, from its creation until it is moved in: on every
// other way out it goes again. Its name lives in the guard itself, so that holding it cannot
// fail once the file is there.
class FileBeside {
 public:
  explicit FileBeside(const std::wstring& folder)
      : made_(GetTempFileNameW(folder.c_str(), L"kel", 0, name_) != 0) {}
  ~FileBeside() {
    if (made_) DeleteFileW(name_);
  }
  FileBeside(const FileBeside&) = delete;
  FileBeside& operator=(const FileBeside&) = delete;

  explicit operator bool() const { return made_; }
  const wchar_t* Name() const { return name_; }
  // Once in the other's place it is no longer a file of ours to delete.
  void MovedIn() { made_ = false; }

 private:
  wchar_t name_[MAX_PATH + 16] = {};
  bool made_;
};

// Wine answers "access denied" where another program holds the file open too: the file itself
// then tells the one from the other, and the student reads the reason that is.
DWORD ReasonOfRefusedMove(const std::wstring& path, DWORD error) {
  if (error != ERROR_ACCESS_DENIED) return error;
  const UniqueHandle probe(CreateFileW(path.c_str(), GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe && GetLastError() == ERROR_SHARING_VIOLATION) return ERROR_SHARING_VIOLATION;
  return error;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path, const WholeFileReading& reading) {
  const UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, reading.share, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > reading.maxBytes) {
    return std::nullopt;
  }
  // Beyond the address space, on the 32-bit build: no memory holds it.
  if (static_cast<std::uint64_t>(size.QuadPart) > std::string().max_size()) throw std::bad_alloc();
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) return std::nullopt;
    done += got;
  }
  return bytes;
}

UniqueHandle CreateForWriting(const std::wstring& path) {
  return UniqueHandle(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

WriteOutcome WriteAndClose(UniqueHandle file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0)
      return Failed(GetLastError());
    bytes.remove_prefix(written);
  }
  if (!FlushFileBuffers(file.get())) return Failed(GetLastError());
  if (!CloseChecked(file)) return Failed(GetLastError());
  return {};
}

WriteOutcome ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  const std::size_t slash = path.find_last_of(L"\\/");
  std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
  if (folder.empty()) folder = L".";
  // The move below replaces a read-only file under Wine (whose read-only mark is no bar to a
  // process with the rights of root), and fails on a folder with no more than "access denied".
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Failed(kFolderInPlaceOfFile);
    if (attributes & FILE_ATTRIBUTE_READONLY) return Failed(kFileReadOnly);
  }
  const DWORD folderAttributes = GetFileAttributesW(folder.c_str());
  if (folderAttributes == INVALID_FILE_ATTRIBUTES || !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Failed(ERROR_PATH_NOT_FOUND);
  }
  FileBeside beside(folder);
  if (!beside) return Failed(GetLastError());
  UniqueHandle file = CreateForWriting(beside.Name());
  if (!file) return Failed(GetLastError());
  // Closed before the file beside may go: an open file cannot be deleted.
  if (const WriteOutcome written = WriteAndClose(std::move(file), bytes); !written.ok) return written;
  if (!MoveFileExW(beside.Name(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Failed(ReasonOfRefusedMove(path, GetLastError()));
  }
  beside.MovedIn();
  return {};
}

}  // namespace forms
