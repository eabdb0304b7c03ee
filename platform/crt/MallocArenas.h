#pragma once

// Limits the C library's malloc to two arenas shared by every thread. With one arena a thread,
// the page buffers a worker frees stay in its own arena, where the other workers cannot reuse
// them, and a long run's resident memory creeps up towards every arena holding its largest
// page at once. Leaves MALLOC_ARENA_MAX alone when the user has set it. Call at the start of
// main, before any thread starts.
void ShareMallocArenas();
