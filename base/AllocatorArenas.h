#pragma once
// glibc gives each new thread that allocates a heap arena of its own, up to
// eight per core. The program runs every background task on a new thread,
// so the arenas fill with fragments and the resident size keeps climbing:
// in the playback soak bench 67 MB after 5 minutes and 70 MB after 10 with
// glibc's default, against 50.4 and 50.6 MB with one arena. The threads
// allocate little and rarely at once, so sharing one arena costs nothing
// that shows.

// Call at the start of main, before any other thread exists.
void limitAllocatorArenas();
