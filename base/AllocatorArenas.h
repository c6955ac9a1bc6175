#pragma once
// glibc gives each new thread that allocates a heap arena of its own, up to
// eight per core. The program runs every background task on a new thread,
// so each arena fills with fragments and the resident size climbs for the
// first minutes of playback (about 17 MB more than with two arenas, found
// by the playback soak bench). Two arenas keep that away; the threads
// allocate little, so they hardly contend.

// Call at the start of main, before any other thread exists.
void limitAllocatorArenas();
