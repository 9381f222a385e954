// <stddef.h> of the C runtime, with the C11 type its Wine version lacks: max_align_t, the type
// of strictest fundamental alignment (a double's on this target, as the Microsoft runtime has
// it).
#pragma once
#include_next <stddef.h>
#if !defined(PELLORIN_MAX_ALIGN_T) && !defined(__need_wint_t) && !defined(__need_wchar_t)
#define PELLORIN_MAX_ALIGN_T
typedef double max_align_t;
#endif
