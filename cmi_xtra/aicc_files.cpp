#include "cmi_xtra/aicc_files.h"

#include <algorithm>
#include <cstring>

#include "cmi_xtra/aicc_text.h"

namespace lmint {

std::string cachedOutputFile;
std::string cachedInteractionsFile;
std::string keptCourseId;
std::string keptStudentId;
std::int32_t objectiveIndexTable[100] = {};

namespace {

// The longest value the profile functions hand back, as the host's own reader allows.
constexpr DWORD profileValueSize = 65535;

using forms::UniqueHandle;

bool writeAll(const UniqueHandle& file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

enum class ReadOutcome { read, missing, failed };

// The whole file; "missing" only when the file itself is not there.
ReadOutcome readWholeFile(const std::string& file, std::string& bytes) {
  UniqueHandle f(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return GetLastError() == ERROR_FILE_NOT_FOUND ? ReadOutcome::missing : ReadOutcome::failed;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(f.get(), &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF) {
    return ReadOutcome::failed;
  }
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(f.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr)) {
      return ReadOutcome::failed;
    }
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return ReadOutcome::read;
}

}  // namespace

OwnedHandle handleAlloc(std::size_t size) {
  return OwnedHandle(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
}

void handleReAlloc(OwnedHandle& handle, std::size_t size) {
  if (!handle) return;
  if (TextHandle resized = GlobalReAlloc(handle.get(), size, GMEM_MOVEABLE | GMEM_ZEROINIT)) {
    // The old handle is no longer the block's when the platform answers with another one.
    (void)handle.release();
    handle.reset(resized);
  }
}

std::size_t handleSize(TextHandle handle) { return handle ? GlobalSize(handle) : 0; }

OwnedHandle emptyStringHandle() { return handleAlloc(1); }

OwnedHandle handleWithText(std::string_view text) {
  OwnedHandle h = handleAlloc(text.size() + 1);
  forms::GlobalLockGuard p(h.get());
  if (!p) return {};
  std::memcpy(p.get(), text.data(), text.size());
  return h;
}

std::optional<std::string> handleText(TextHandle handle) {
  forms::GlobalLockGuard p(handle);
  if (!p) return std::nullopt;
  // The block is zero-initialised, but a text never runs past the block's end.
  const std::size_t size = handleSize(handle);
  return std::string(p.get(), strnlen(p.get(), size));
}

OwnedHandle windowsDirectoryHandle() {
  // Sized for the directory, however long it is.
  const UINT needed = GetWindowsDirectoryA(nullptr, 0);
  const std::size_t size = std::max<std::size_t>(needed, 256);
  OwnedHandle h = handleAlloc(size);
  forms::GlobalLockGuard p(h.get());
  if (!p) return {};
  const UINT length = GetWindowsDirectoryA(p.get(), static_cast<UINT>(size));
  if (length >= size) p.get()[0] = '\0';
  return h;
}

OwnedHandle paramFilePath() {
  const std::optional<std::string> dir = windowsDirectoryHandle().text();
  if (!dir) return {};
  return handleWithText(paramPathIn(*dir));
}

OwnedHandle readProfileString(const std::string& file, const std::string& section, const std::string& key) {
  if (file.empty()) return emptyStringHandle();
  OwnedHandle h = handleAlloc(profileValueSize);
  DWORD length;
  {
    forms::GlobalLockGuard p(h.get());
    if (!p) return {};
    length =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), "", p.get(), profileValueSize, file.c_str());
  }
  handleReAlloc(h, length + 1);
  return h;
}

void writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
  if (file.empty()) return;
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

void forgetProfileCache(const std::string& file) {
  // All three null: the documented way to make the profile functions drop their copy.
  if (!file.empty()) WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

OwnedHandle readWholeSection(const std::string& file, const std::string& section) {
  if (file.empty()) return {};
  std::string bytes;
  if (readWholeFile(file, bytes) != ReadOutcome::read) return {};
  return handleWithText(sectionText(bytes, section));
}

void replaceWholeSection(const std::string& file, const std::string& section, const std::string& text) {
  if (file.empty()) return;
  std::string bytes;
  const ReadOutcome outcome = readWholeFile(file, bytes);
  // A file that is there but cannot be read is never overwritten.
  if (outcome == ReadOutcome::failed) return;
  const bool exists = outcome == ReadOutcome::read;
  const std::string updated =
      withSection(exists ? std::optional<std::string_view>(bytes) : std::nullopt, section, text);
  {
    UniqueHandle out(CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 exists ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return;
    writeAll(out, updated);
  }
  forgetProfileCache(file);
}

bool appendToFile(const std::string& file, std::string_view headerIfNew, std::string_view bytes) {
  if (file.empty()) return false;
  UniqueHandle created(CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (created) return writeAll(created, headerIfNew) && writeAll(created, bytes);
  const DWORD error = GetLastError();
  if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
  UniqueHandle existing(CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!existing) return false;
  if (SetFilePointer(existing.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    return false;
  }
  return writeAll(existing, bytes);
}

void cmiStateReset() {
  cachedOutputFile.clear();
  cachedInteractionsFile.clear();
  keptCourseId.clear();
  keptStudentId.clear();
}

void cmiStateFree() {
  std::string().swap(cachedOutputFile);
  std::string().swap(cachedInteractionsFile);
  std::string().swap(keptCourseId);
  std::string().swap(keptStudentId);
}

OwnedHandle cmiReadValue(const std::string& section, const std::string& key) {
  if (equalsIgnoreCase(key, "Output_file") && !cachedOutputFile.empty()) {
    return handleWithText(cachedOutputFile);
  }
  if (equalsIgnoreCase(key, "Interactions_File") && !cachedInteractionsFile.empty()) {
    return handleWithText(cachedInteractionsFile);
  }
  const std::optional<std::string> launchFile = paramFilePath().text();
  if (!launchFile) return {};
  OwnedHandle value = readProfileString(*launchFile, section, key);
  if (!equalsIgnoreCase(key, "Output_file") && !equalsIgnoreCase(key, "Interactions_File")) return value;
  // Left relative, the profile functions would take the name in the Windows directory and the
  // section and record writes in the current one: one lesson's results in two files.
  const std::optional<std::string> name = value.text();
  if (!name) return {};
  const std::string launchDirectory = launchFile->substr(0, launchFile->find_last_of("\\/") + 1);
  return handleWithText(resolvedFilePath(launchDirectory, *name));
}

std::int32_t cmiReadInteger(const std::string& section, const std::string& key) {
  const std::optional<std::string> text = cmiReadValue(section, key).text();
  return text ? decimalValue(*text) : 0;
}

void cmiWriteValue(const std::string& section, const std::string& key, const std::string& value) {
  const std::optional<std::string> outputFile = cmiReadValue("Core", "Output_file").text();
  if (outputFile && !outputFile->empty()) writeProfileString(*outputFile, section, key, value);
}

void cmiWriteSection(const std::string& section, const std::string& text) {
  const std::optional<std::string> outputFile = cmiReadValue("Core", "Output_file").text();
  if (outputFile && !outputFile->empty()) replaceWholeSection(*outputFile, section, text);
}

}  // namespace lmint
