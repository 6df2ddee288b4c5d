#include "system_services/file_operations.h"

using namespace rxsystem;

extern "C" int32_t __stdcall SysDeleteFile(const HostContext* context, const char* FileName) {
  if (!EnterExport(context)) return -1;
  if (!FileName || !*FileName) {
    ReportError(kInvalidParameter);
    return -1;
  }
  if (!DeleteFileA(FileName)) {
    ReportError(kErrorDeletingFile, FileName);
    return -1;
  }
  return 0;
}
