#pragma once

// Has blocks of 128 KiB and more given back to the system as soon as they
// are freed. The C library otherwise learns from each large block freed to
// keep the next ones of that size in its heap, where a burst of them (a
// snapshot of a long game queued for each of hundreds of clients that
// connect at once) stays resident long after it was sent. Does nothing where
// the C library has no such setting.
void ReturnLargeBlocksWhenFreed();
