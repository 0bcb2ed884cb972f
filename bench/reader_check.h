#pragma once

namespace tolvaris::bench {

// Compares the reader's fast search for a key line with plain line-by-line
// reading on many random files, chunk sizes and keys; a benchmark of a
// search that finds the wrong line would be worth nothing. Prints what
// differs; returns whether nothing did.
bool CheckKeyLineSearch();

}  // namespace tolvaris::bench
