// <stdlib.h> of the C runtime, with what libc++ refers to and Wine's version does not declare
// (the runtime exports all of it): the conversions that take a locale, and MB_CUR_MAX, the
// longest multibyte character of the current locale.
#pragma once
#include_next <stdlib.h>
#ifdef __cplusplus
extern "C" {
#endif
float __cdecl _strtof_l(const char*, char**, _locale_t);
double __cdecl _strtod_l(const char*, char**, _locale_t);
#ifndef MB_CUR_MAX
#define MB_CUR_MAX ___mb_cur_max_func()
#endif
#ifdef __cplusplus
}
#endif
