// Export macro of the type library.
#pragma once

#if defined(_WIN32)
#if defined(PELLORIN_BUILDING)
#define PELLORIN_API __declspec(dllexport)
#else
#define PELLORIN_API __declspec(dllimport)
#endif
#else
#define PELLORIN_API __attribute__((visibility("default")))
#endif
