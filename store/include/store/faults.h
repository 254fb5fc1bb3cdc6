// Fault injection for tests: failures that cannot be provoked honestly on a
// test machine (root writes read-only files; another station's lock is hard to
// time). A planned fault makes one matching store operation fail with the given
// error number before it touches the container.
#pragma once

#include <string>

namespace store::faults {

enum class Op { Open, Create, Read, Write, Begin, Rebuild };

// The (skip+1)-th later operation `op` on a file whose name on disk is
// `diskName` (any file when empty) fails once with `code`.
void plan(Op op, int code, std::string diskName = {}, int skip = 0);
void clearAll();

// Called by the store at the start of each operation: the planned error, or 0.
int take(Op op, const std::string& diskName);

}  // namespace store::faults
