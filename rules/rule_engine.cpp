#include "rules/rule_engine.h"

namespace aplpatch {

template class BasicEngine<RewriteState>;

}  // namespace aplpatch
