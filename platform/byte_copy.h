#pragma once

#include "base/byte_stream.h"

namespace aplpatch {

// Copies what is left of `from` to `to`, 64 KiB at a time. Returns false as soon as a write fails
// (`to` keeps the reason); a read error ends the copy as the end of the input does and stays with
// `from`.
bool copyAll(ByteSource& from, ByteSink& to);

}  // namespace aplpatch
