// GetTypeHash for the built-in types and the hash combiners.
#pragma once

#include <cstring>
#include <type_traits>

#include "HAL/Platform.h"

inline constexpr uint32 HashCombine(uint32 A, uint32 C)
{
	uint32 B = 0x9e3779b9;
	A += B;
	A -= B; A -= C; A ^= (C >> 13);
	B -= C; B -= A; B ^= (A << 8);
	C -= A; C -= B; C ^= (B >> 13);
	A -= B; A -= C; A ^= (C >> 12);
	B -= C; B -= A; B ^= (A << 16);
	C -= A; C -= B; C ^= (B >> 5);
	A -= B; A -= C; A ^= (C >> 3);
	B -= C; B -= A; B ^= (A << 10);
	C -= A; C -= B; C ^= (B >> 15);
	return C;
}

inline constexpr uint32 HashCombineFast(uint32 A, uint32 B)
{
	return A ^ (B + 0x9e3779b9 + (A << 6) + (A >> 2));
}

inline constexpr uint32 GetTypeHash(const uint64 Value)
{
	return (uint32)Value + ((uint32)(Value >> 32) * 23);
}

template <typename T>
inline constexpr std::enable_if_t<std::is_integral_v<T> && (sizeof(T) <= 4), uint32> GetTypeHash(const T Value)
{
	return (uint32)Value;
}

inline constexpr uint32 GetTypeHash(const int64 Value)
{
	return GetTypeHash((uint64)Value);
}

inline uint32 GetTypeHash(const float Value)
{
	uint32 Bits = 0;
	std::memcpy(&Bits, &Value, sizeof(Bits));
	return Bits;
}

inline uint32 GetTypeHash(const double Value)
{
	uint64 Bits = 0;
	std::memcpy(&Bits, &Value, sizeof(Bits));
	return GetTypeHash(Bits);
}

inline uint32 GetTypeHash(const void* Value)
{
	return GetTypeHash((uint64)(UPTRINT)Value);
}

template <typename EnumType>
inline std::enable_if_t<std::is_enum_v<EnumType>, uint32> GetTypeHash(const EnumType Value)
{
	return GetTypeHash((std::underlying_type_t<EnumType>)Value);
}
