// The value family's exports: one text in the registry, one value in an INI file or WIN.INI,
// and host variables saved to and loaded from an INI section.
#pragma once
#include <cstdint>

#include "system_services/host/host_interface.h"

extern "C" {
HGLOBAL __stdcall SysReadRegistry(const rxsystem::HostContext* context, int32_t RootKey, const char* MainKey,
                                  const char* SubKey);
int32_t __stdcall SysWriteRegistry(const rxsystem::HostContext* context, int32_t RootKey, const char* MainKey,
                                   const char* SubKey, const char* Value);
int32_t __stdcall SysWriteValue(const rxsystem::HostContext* context, const char* FileName,
                                const char* Section, const char* Label, const char* Value);
HGLOBAL __stdcall SysReadValue(const rxsystem::HostContext* context, const char* FileName,
                               const char* Section, const char* Label, const char* Default);
int32_t __stdcall SysWriteVariables(const rxsystem::HostContext* context, const char* FileName,
                                    const char* Section, const char* VariableList);
int32_t __stdcall SysReadVariables(const rxsystem::HostContext* context, const char* FileName,
                                   const char* Section, const char* VariableList);
}
