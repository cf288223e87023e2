// Platform types of the stand-in engine, as the engine's Linux build defines them.
#pragma once

#include <cstddef>
#include <cstdint>

typedef std::uint8_t uint8;
typedef std::uint16_t uint16;
typedef std::uint32_t uint32;
typedef std::uint64_t uint64;
typedef std::int8_t int8;
typedef std::int16_t int16;
typedef std::int32_t int32;
typedef std::int64_t int64;

typedef char ANSICHAR;
typedef wchar_t WIDECHAR;
typedef char8_t UTF8CHAR;
typedef char16_t UTF16CHAR;
typedef char32_t UTF32CHAR;

// The engine's Unix platforms store text as UTF-16 code units.
typedef char16_t TCHAR;

typedef std::size_t SIZE_T;
typedef std::ptrdiff_t SSIZE_T;
typedef std::intptr_t PTRINT;
typedef std::uintptr_t UPTRINT;

#define PLATFORM_LINUX 1
#define PLATFORM_WINDOWS 0
#define PLATFORM_TCHAR_IS_CHAR16 1
#define WITH_EDITOR 1
#define WITH_EDITORONLY_DATA 1

#define TEXT_PASTE(x) u##x
#define TEXT(x) TEXT_PASTE(x)

#define FORCEINLINE inline
#define FORCENOINLINE __attribute__((noinline))
#define DLLEXPORT __attribute__((visibility("default")))
#define DLLIMPORT __attribute__((visibility("default")))
#define UE_NODISCARD [[nodiscard]]
#define LINE_TERMINATOR TEXT("\n")

#define CORE_API DLLEXPORT
#define COREUOBJECT_API DLLEXPORT
#define ENGINE_API DLLEXPORT
#define JSON_API DLLEXPORT
#define RIGVM_API DLLEXPORT
#define CONTROLRIG_API DLLEXPORT
#define UNREALED_API DLLEXPORT
#define RIGVMDEVELOPER_API DLLEXPORT
#define CONTROLRIGDEVELOPER_API DLLEXPORT
#define CONTROLRIGEDITOR_API DLLEXPORT

enum { MAX_int32 = 0x7fffffff };
#define MAX_uint8 ((uint8)0xff)
#define MAX_uint16 ((uint16)0xffff)
#define MAX_uint32 ((uint32)0xffffffff)
#define MAX_int8 ((int8)0x7f)
#define MAX_int16 ((int16)0x7fff)
#define MIN_int32 ((int32)0x80000000)
#define MAX_int64 ((int64)0x7fffffffffffffff)
#define MIN_int64 ((int64)0x8000000000000000)
#define MAX_flt (3.402823466e+38F)
#define MAX_dbl (1.7976931348623158e+308)
