#include "system_services/programs/registry_values.h"

#include <cstring>
#include <string>
#include <vector>

#include "system_services/programs/program_texts.h"

using namespace rxsystem;

namespace {

constexpr DWORD kValueBuffer = 29999;  // 29998 characters and the NUL
constexpr DWORD kRegistryDataLimit = 29998;
constexpr size_t kVariableNameLimit = 255;
constexpr LONGLONG kVariableFileLimit = 30000;

HKEY RootKeyOf(int32_t rootKey) {
  switch (rootKey) {
    case 0:
      return HKEY_CLASSES_ROOT;
    case 1:
      return HKEY_CURRENT_USER;
    case 2:
      return HKEY_LOCAL_MACHINE;
    case 3:
      return HKEY_USERS;
    case 4:
      return HKEY_CURRENT_CONFIG;
    default:
      return nullptr;
  }
}

// Unlocks the block and cuts it to `size` bytes; a block that cannot shrink is handed back
// whole, which holds the same text.
HGLOBAL FinishValueBlock(LockedBlock& block, size_t size) { return block.shrinkAndRelease(size); }

// A string get from the host; the host's block is read only while it is locked here.
// Without a host window there is no one to answer, and the name is passed over.
template <class F>
bool WithHostText(HWND window, const char* name, F&& use) {
  if (!window || !IsWindow(window)) return false;
  HostVariableRecord record{};
  record.VariableName = name;
  record.IsNumber = 0;
  if (SendMessageA(window, HostGetVariable, 0, reinterpret_cast<LPARAM>(&record)) != 0) return false;
  auto handle = reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(record.VariableValue));
  if (!handle) return false;
  forms::GlobalLockGuard text(handle);
  if (!text) return false;
  use(text.get<const char>());
  return true;
}

}  // namespace

extern "C" HGLOBAL __stdcall SysReadRegistry(const HostContext* context, int32_t RootKey, const char* MainKey,
                                             const char* SubKey) {
  if (!EnterExport(context)) return nullptr;
  HKEY root = RootKeyOf(RootKey);
  if (!root) {
    VeruPlainError("Invalid key");
    return nullptr;
  }
  const char* mainKey = MainKey ? MainKey : "";
  LockedBlock block;
  char* data = NewResultBlock(kValueBuffer, block);
  if (!data) return nullptr;
  forms::UniqueKey key;
  if (RegOpenKeyExA(root, mainKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    ReportError(kErrorOpeningKey, mainKey);
    return nullptr;
  }
  DWORD size = kRegistryDataLimit;
  LONG status = RegQueryValueExA(key.get(), SubKey, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  if (status != ERROR_SUCCESS || size > kRegistryDataLimit) {
    if (SubKey)
      ReportError(kErrorGettingValueOfKey, mainKey);
    else
      ReportError(kErrorGettingKeyValue);
    return nullptr;
  }
  // The block was zero-filled, so the data is followed by a NUL.
  return FinishValueBlock(block, size + 1);
}

extern "C" int32_t __stdcall SysWriteRegistry(const HostContext* context, int32_t RootKey,
                                              const char* MainKey, const char* SubKey, const char* Value) {
  if (!EnterExport(context)) return -1;
  HKEY root = RootKeyOf(RootKey);
  if (!root) {
    ReportError(kInvalidRootKey);
    return -1;
  }
  const char* mainKey = MainKey ? MainKey : "";
  char noClass[] = "";
  forms::UniqueKey key;
  if (RegCreateKeyExA(root, mainKey, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS) {
    ReportError(kErrorCreatingKey, mainKey);
    return -1;
  }
  // A missing value is stored as the empty text, like every other missing text argument.
  const char* value = Value ? Value : "";
  // The stored text has no NUL after it; readers get the length from the registry.
  LONG status = RegSetValueExA(key.get(), SubKey, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                               static_cast<DWORD>(std::strlen(value)));
  if (status != ERROR_SUCCESS) {
    if (SubKey)
      ReportError(kErrorSettingValueOfKey, SubKey);
    else
      ReportError(kErrorSettingKeyValue);
    return -1;
  }
  return 0;
}

extern "C" int32_t __stdcall SysWriteValue(const HostContext* context, const char* FileName,
                                           const char* Section, const char* Label, const char* Value) {
  if (!EnterExport(context)) return -1;
  // Without a section the platform would only flush its cache and answer success.
  if (Missing(Section) || Missing(Label) || !Value) {
    ReportError(kInvalidParameter);
    return -1;
  }
  BOOL written = Missing(FileName) ? WriteProfileStringA(Section, Label, Value)
                                   : WritePrivateProfileStringA(Section, Label, Value, FileName);
  if (!written) {
    ReportError(kErrorSavingValue, Label);
    return -1;
  }
  return 0;
}

extern "C" HGLOBAL __stdcall SysReadValue(const HostContext* context, const char* FileName,
                                          const char* Section, const char* Label, const char* Default) {
  if (!EnterExport(context)) return nullptr;
  if (Missing(Section) || Missing(Label)) {
    ReportError(kInvalidParameter);
    return nullptr;
  }
  LockedBlock block;
  char* text = NewResultBlock(kValueBuffer, block);
  if (!text) return nullptr;
  const char* fallback = Default ? Default : "";
  DWORD length = Missing(FileName)
                     ? GetProfileStringA(Section, Label, fallback, text, kValueBuffer)
                     : GetPrivateProfileStringA(Section, Label, fallback, text, kValueBuffer, FileName);
  if (length >= kValueBuffer) length = kValueBuffer - 1;
  text[length] = '\0';
  return FinishValueBlock(block, length + 1);
}

extern "C" int32_t __stdcall SysWriteVariables(const HostContext* context, const char* FileName,
                                               const char* Section, const char* VariableList) {
  if (!EnterExport(context)) return -1;
  if (Missing(FileName) || Missing(Section) || Missing(VariableList)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  return Guarded<int32_t>(-1, [&]() -> int32_t {
    std::vector<std::string_view> names = VariablesToSave(VariableList);
    // No host variable has a longer name; refusing the list up front writes no part of it.
    for (std::string_view name : names)
      if (name.size() > kVariableNameLimit) {
        ReportError(kInvalidParameter);
        return -1;
      }
    for (std::string_view view : names) {
      char name[kVariableNameLimit + 1];
      std::memcpy(name, view.data(), view.size());
      name[view.size()] = '\0';
      BOOL written = TRUE;
      WithHostText(context->HostWindow, name, [&](const char* text) {
        written = WritePrivateProfileStringA(Section, name, text, FileName);
      });
      if (!written) {
        ReportError(kErrorSavingValue, static_cast<const char*>(name));
        return -1;
      }
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, FileName);
    return 0;
  });
}

extern "C" int32_t __stdcall SysReadVariables(const HostContext* context, const char* FileName,
                                              const char* Section, const char* VariableList) {
  if (!EnterExport(context)) return -1;
  if (Missing(FileName) || Missing(Section)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  if (!PathExists(FileName)) {
    ReportError(kFileNotFound, FileName);
    return -1;
  }
  bool sized = false;
  LARGE_INTEGER fileSize{};
  {
    forms::UniqueHandle file(
        CreateFileA(FileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file) sized = GetFileSizeEx(file.get(), &fileSize) != 0;
  }
  if (sized && fileSize.QuadPart >= kVariableFileLimit) {
    ReportError(kFileTooLarge, FileName);
    return -1;
  }
  return Guarded<int32_t>(-1, [&]() -> int32_t {
    // Both kinds of name list become NUL-separated texts, so every name ends with a NUL.
    std::string nameText;
    if (!Missing(VariableList)) {
      nameText = VariableList;
      for (char& c : nameText)
        if (c == '\r') c = '\0';
    } else {
      // A file that cannot be opened has no keys to read either.
      if (!sized) {
        ReportError(kErrorReading, FileName);
        return -1;
      }
      // The key list is never longer than the file; the two bytes more hold its closing NULs
      // even for a file of a few bytes.
      nameText.assign(static_cast<size_t>(fileSize.QuadPart) + 2, '\0');
      DWORD length = GetPrivateProfileStringA(Section, nullptr, "", nameText.data(),
                                              static_cast<DWORD>(nameText.size()), FileName);
      if (length == 0) {
        ReportError(kErrorReading, FileName);
        return -1;
      }
      nameText.resize(length);
    }
    std::vector<char> value(kVariableFileLimit, '\0');
    for (std::string_view name : VariablesToLoad(nameText, '\0')) {
      DWORD length = GetPrivateProfileStringA(Section, name.data(), "", value.data(), kValueBuffer, FileName);
      if (length == 0) {
        ReportError(kErrorReading, FileName);
        return -1;
      }
      if (SetHostStringVariable(context->HostWindow, name.data(), value.data()) != 0) {
        ReportError(kErrorSettingVariable, name.data());
        return -1;
      }
    }
    return 0;
  });
}
