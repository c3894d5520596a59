#include "driver/program_version.h"

namespace aplpatch {

std::string_view programNameAndVersion() { return "aplpatch " APLPATCH_VERSION; }

}  // namespace aplpatch
