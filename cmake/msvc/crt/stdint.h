// Wine's <stdint.h> asks <stddef.h> for wint_t alone and leaves the request standing, so that
// the next <stddef.h> (the compiler's) would define nothing else: the request is withdrawn.
#pragma once
#include_next <stdint.h>
#undef __need_wint_t
