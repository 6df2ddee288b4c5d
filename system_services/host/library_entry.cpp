// The platform's entry into the library; what it keeps is LibraryEntry's business.
#include "system_services/host/host_interface.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  return rxsystem::LibraryEntry(instance, reason, reserved);
}
