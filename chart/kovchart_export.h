#pragma once

// KOVCHART_EXPORT marks what the shared chart library exports: the classes
// and functions declared in its installed headers. Everything else is built
// with hidden visibility and stays inside the library. The same mark serves
// the library's own build, the static build the tests link and a program
// that uses the library: on ELF platforms a symbol's visibility is all that
// differs.
#if defined(_WIN32)
#if defined(KOVCHART_STATIC)
#define KOVCHART_EXPORT
#elif defined(KOVCHART_BUILDING)
#define KOVCHART_EXPORT __declspec(dllexport)
#else
#define KOVCHART_EXPORT __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define KOVCHART_EXPORT __attribute__((visibility("default")))
#else
#define KOVCHART_EXPORT
#endif
