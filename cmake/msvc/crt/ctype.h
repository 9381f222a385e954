// <ctype.h> of the C runtime, with the locale-taking classifications that libc++'s <locale>
// refers to and Wine's version does not declare (the runtime exports them).
#pragma once
#include_next <ctype.h>
#ifdef __cplusplus
extern "C" {
#endif
int __cdecl _islower_l(int, _locale_t);
int __cdecl _isupper_l(int, _locale_t);
#ifdef __cplusplus
}
#endif
