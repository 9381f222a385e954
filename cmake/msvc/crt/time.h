// <time.h> of the C runtime, with the C11 structure its Wine version lacks: timespec, as the
// Windows runtime lays it out (a 64-bit time_t and a long of nanoseconds).
#pragma once
#include_next <time.h>
#ifndef _TIMESPEC_DEFINED
#define _TIMESPEC_DEFINED
struct timespec {
    time_t tv_sec;
    long tv_nsec;
};
#endif
