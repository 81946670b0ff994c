#pragma once

// A wide table of odds takes and frees tens of megabytes at a time. Where the C library would
// hand such blocks back to the system and fault them in afresh for the next table, which costs
// more than the work itself on some systems (virtual machines above all), it keeps them for
// reuse instead: blocks up to 32 MB come from the heap, and up to 64 MB of freed memory stays
// there, the largest values the GNU C library's own adaptation reaches. Elsewhere nothing
// changes. Called once, first thing.
void keepLargeBlocksForReuse();
