// The directory and drive family's exports.
#pragma once
#include "system_services/host_interface.h"

extern "C" HGLOBAL __stdcall SysGetTempDir(const rxsystem::HostContext* context);
