#include "system_services/host/module_buffers.h"

namespace rxsystem {

char SearchPath[kPathBuffer];
char WalkPattern[kPathBuffer];
char TargetPath[kPathBuffer];

}  // namespace rxsystem
