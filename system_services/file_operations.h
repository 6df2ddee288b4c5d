// The file family's exports.
#pragma once
#include <cstdint>

#include "system_services/host_interface.h"

extern "C" int32_t __stdcall SysDeleteFile(const rxsystem::HostContext* context, const char* FileName);
