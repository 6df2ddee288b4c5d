#include <windows.h>

#include "cmi_xtra/xtra_registration.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  lmint::moduleHandle = instance;
  return TRUE;
}
