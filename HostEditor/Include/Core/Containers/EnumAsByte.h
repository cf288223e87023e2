// TEnumAsByte: an enumeration stored in one byte.
#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"

template <typename InEnumType>
class TEnumAsByte
{
public:
	typedef InEnumType EnumType;

	TEnumAsByte() = default;
	TEnumAsByte(EnumType InValue)
		: Value((uint8)InValue)
	{
	}
	explicit TEnumAsByte(int32 InValue)
		: Value((uint8)InValue)
	{
	}

	operator EnumType() const { return (EnumType)Value; }
	EnumType GetValue() const { return (EnumType)Value; }
	uint8 GetIntValue() const { return Value; }
	bool operator==(EnumType InValue) const { return (EnumType)Value == InValue; }
	bool operator==(TEnumAsByte InValue) const { return Value == InValue.Value; }

private:
	uint8 Value = 0;
};

template <typename T>
uint32 GetTypeHash(const TEnumAsByte<T>& Enum)
{
	return GetTypeHash(Enum.GetIntValue());
}
