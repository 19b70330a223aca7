#pragma once
// The end of a thread's matrix pool, for threads that end.

namespace talver {

// Deletes every matrix of the calling thread's pool; a worker thread calls
// it last. Where thread_local objects cannot be destroyed safely at thread
// exit, the pool itself goes too (see CurrentPool).
void ReleaseThreadPool();

} // namespace talver
