#include "Dom/JsonValue.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

#include "Dom/JsonObject.h"

namespace
{
	const TArray<TSharedPtr<FJsonValue>> EmptyArray;

	/**
	 * Returns the object handed out when a value is asked for an object it does not hold. Each
	 * thread has its own, and it is emptied every time it is handed out, so that fields a caller
	 * set on it never show up in a later failed lookup.
	 */
	const TSharedPtr<FJsonObject>& GetEmptyObject()
	{
		thread_local const TSharedPtr<FJsonObject> EmptyObject = MakeShared<FJsonObject>();
		EmptyObject->Values.Empty();
		return EmptyObject;
	}

	/**
	 * Converts Number to IntegerType, rounding half away from zero. The range is checked on the
	 * number before rounding; for 64-bit types, whose largest value has no exact double, the limit
	 * is the next power of two, excluded.
	 */
	template <typename IntegerType>
	bool TryConvertNumber(double Number, IntegerType& OutNumber)
	{
		typedef std::numeric_limits<IntegerType> FLimits;
		constexpr bool bMaxIsExact = FLimits::digits <= std::numeric_limits<double>::digits;
		constexpr double Lowest = (double)FLimits::min();
		constexpr double Highest = (double)FLimits::max();
		const bool bInRange = Number >= Lowest && (bMaxIsExact ? Number <= Highest : Number < Highest);
		if (!bInRange)
		{
			return false;
		}
		OutNumber = (IntegerType)std::round(Number);
		return true;
	}

	/** Returns the text narrowed to bytes, or false when it holds anything but ASCII. */
	bool NarrowAscii(const FString& Text, std::string& OutNarrow)
	{
		OutNarrow.reserve((SIZE_T)Text.Len());
		for (const TCHAR Char : Text)
		{
			if (Char == 0 || Char > 127)
			{
				return false;
			}
			OutNarrow.push_back((char)Char);
		}
		return true;
	}

	/** Reads all of Text as a decimal number; false when any of it is not part of one. */
	bool ParseWholeDouble(const FString& Text, double& OutNumber)
	{
		std::string Narrow;
		if (!NarrowAscii(Text, Narrow))
		{
			return false;
		}
		// Only digits may follow the sign: the C++ parser would also take "inf" and "nan".
		const SIZE_T FirstDigit = (!Narrow.empty() && Narrow[0] == '-') ? 1 : 0;
		if (FirstDigit >= Narrow.size() || Narrow[FirstDigit] < '0' || Narrow[FirstDigit] > '9')
		{
			return false;
		}
		const char* const First = Narrow.data();
		const char* const Last = First + Narrow.size();
		double Number = 0.0;
		const std::from_chars_result Result = std::from_chars(First, Last, Number, std::chars_format::general);
		if (Result.ptr != Last)
		{
			return false;
		}
		if (Result.ec == std::errc::result_out_of_range)
		{
			// The text is a number but beyond the double range: strtod gives the infinity or zero it rounds to.
			Number = std::strtod(Narrow.c_str(), nullptr);
		}
		else if (Result.ec != std::errc())
		{
			return false;
		}
		OutNumber = Number;
		return true;
	}

	/** Reads all of Text as an integer, exactly when it is written as one, else through its double value. */
	template <typename IntegerType>
	bool ParseWholeInteger(const FString& Text, IntegerType& OutNumber)
	{
		std::string Narrow;
		if (!NarrowAscii(Text, Narrow))
		{
			return false;
		}
		const char* const First = Narrow.data();
		const char* const Last = First + Narrow.size();
		IntegerType Integer = 0;
		const std::from_chars_result Result = std::from_chars(First, Last, Integer, 10);
		if (Result.ptr == Last && Result.ec == std::errc())
		{
			OutNumber = Integer;
			return true;
		}
		if (Result.ptr == Last && Result.ec == std::errc::result_out_of_range)
		{
			return false;
		}
		double Number = 0.0;
		return ParseWholeDouble(Text, Number) && TryConvertNumber(Number, OutNumber);
	}

	/** Compares two elements of arrays or objects; two missing values are equal. */
	bool CompareElements(const TSharedPtr<FJsonValue>& Lhs, const TSharedPtr<FJsonValue>& Rhs)
	{
		if (!Lhs.IsValid() || !Rhs.IsValid())
		{
			return Lhs.IsValid() == Rhs.IsValid();
		}
		return FJsonValue::CompareEqual(*Lhs, *Rhs);
	}
}

double FJsonValue::AsNumber() const
{
	double Number = 0.0;
	if (!TryGetNumber(Number))
	{
		ErrorMessage(TEXT("Number"));
	}
	return Number;
}

FString FJsonValue::AsString() const
{
	FString String;
	if (!TryGetString(String))
	{
		ErrorMessage(TEXT("String"));
	}
	return String;
}

bool FJsonValue::AsBool() const
{
	bool bValue = false;
	if (!TryGetBool(bValue))
	{
		ErrorMessage(TEXT("Boolean"));
	}
	return bValue;
}

const TArray<TSharedPtr<FJsonValue>>& FJsonValue::AsArray() const
{
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	if (!TryGetArray(Array))
	{
		ErrorMessage(TEXT("Array"));
		return EmptyArray;
	}
	return *Array;
}

const TSharedPtr<FJsonObject>& FJsonValue::AsObject() const
{
	const TSharedPtr<FJsonObject>* Object = nullptr;
	if (!TryGetObject(Object))
	{
		ErrorMessage(TEXT("Object"));
		return GetEmptyObject();
	}
	return *Object;
}

bool FJsonValue::TryGetNumber(float& OutNumber) const
{
	double Number = 0.0;
	if (!TryGetNumber(Number))
	{
		return false;
	}
	OutNumber = (float)Number;
	return true;
}

bool FJsonValue::TryGetNumber(int8& OutNumber) const
{
	double Number = 0.0;
	return TryGetNumber(Number) && TryConvertNumber(Number, OutNumber);
}

bool FJsonValue::TryGetNumber(int16& OutNumber) const
{
	double Number = 0.0;
	return TryGetNumber(Number) && TryConvertNumber(Number, OutNumber);
}

bool FJsonValue::TryGetNumber(int32& OutNumber) const
{
	double Number = 0.0;
	return TryGetNumber(Number) && TryConvertNumber(Number, OutNumber);
}

bool FJsonValue::TryGetNumber(int64& OutNumber) const
{
	double Number = 0.0;
	return TryGetNumber(Number) && TryConvertNumber(Number, OutNumber);
}

bool FJsonValue::TryGetNumber(uint8& OutNumber) const
{
	double Number = 0.0;
	return TryGetNumber(Number) && TryConvertNumber(Number, OutNumber);
}

bool FJsonValue::TryGetNumber(uint16& OutNumber) const
{
	double Number = 0.0;
	return TryGetNumber(Number) && TryConvertNumber(Number, OutNumber);
}

bool FJsonValue::TryGetNumber(uint32& OutNumber) const
{
	double Number = 0.0;
	return TryGetNumber(Number) && TryConvertNumber(Number, OutNumber);
}

bool FJsonValue::TryGetNumber(uint64& OutNumber) const
{
	double Number = 0.0;
	return TryGetNumber(Number) && TryConvertNumber(Number, OutNumber);
}

bool FJsonValue::CompareEqual(const FJsonValue& Lhs, const FJsonValue& Rhs)
{
	if (Lhs.Type != Rhs.Type)
	{
		return false;
	}
	switch (Lhs.Type)
	{
	case EJson::None:
	case EJson::Null:
		return true;
	case EJson::String:
	{
		FString LhsString;
		FString RhsString;
		Lhs.TryGetString(LhsString);
		Rhs.TryGetString(RhsString);
		return LhsString.Equals(RhsString, ESearchCase::CaseSensitive);
	}
	case EJson::Number:
	{
		double LhsNumber = 0.0;
		double RhsNumber = 0.0;
		if (Lhs.TryGetNumber(LhsNumber) && Rhs.TryGetNumber(RhsNumber))
		{
			return LhsNumber == RhsNumber;
		}
		// Number texts that do not read as numbers are equal only as identical texts.
		FString LhsString;
		FString RhsString;
		return Lhs.TryGetString(LhsString) && Rhs.TryGetString(RhsString) && LhsString.Equals(RhsString, ESearchCase::CaseSensitive);
	}
	case EJson::Boolean:
	{
		bool bLhs = false;
		bool bRhs = false;
		Lhs.TryGetBool(bLhs);
		Rhs.TryGetBool(bRhs);
		return bLhs == bRhs;
	}
	case EJson::Array:
	{
		const TArray<TSharedPtr<FJsonValue>>* LhsArray = nullptr;
		const TArray<TSharedPtr<FJsonValue>>* RhsArray = nullptr;
		if (!Lhs.TryGetArray(LhsArray) || !Rhs.TryGetArray(RhsArray) || LhsArray->Num() != RhsArray->Num())
		{
			return false;
		}
		for (int32 Index = 0; Index < LhsArray->Num(); ++Index)
		{
			if (!CompareElements((*LhsArray)[Index], (*RhsArray)[Index]))
			{
				return false;
			}
		}
		return true;
	}
	case EJson::Object:
	{
		const TSharedPtr<FJsonObject>* LhsObject = nullptr;
		const TSharedPtr<FJsonObject>* RhsObject = nullptr;
		const bool bLhsHasObject = Lhs.TryGetObject(LhsObject);
		const bool bRhsHasObject = Rhs.TryGetObject(RhsObject);
		if (!bLhsHasObject || !bRhsHasObject)
		{
			return bLhsHasObject == bRhsHasObject;
		}
		const TMap<FString, TSharedPtr<FJsonValue>>& LhsValues = (*LhsObject)->Values;
		const TMap<FString, TSharedPtr<FJsonValue>>& RhsValues = (*RhsObject)->Values;
		if (LhsValues.Num() != RhsValues.Num())
		{
			return false;
		}
		for (const TPair<FString, TSharedPtr<FJsonValue>>& Field : LhsValues)
		{
			const TSharedPtr<FJsonValue>* RhsValue = RhsValues.Find(Field.Key);
			if (RhsValue == nullptr || !CompareElements(Field.Value, *RhsValue))
			{
				return false;
			}
		}
		return true;
	}
	default:
		return false;
	}
}

void FJsonValue::ErrorMessage(const FString& InType) const
{
	UE_LOG(LogJson, Error, TEXT("Json Value of type '%s' used as a '%s'."), *GetType(), *InType);
}

bool FJsonValueString::TryGetNumber(double& OutNumber) const
{
	if (!Value.IsNumeric())
	{
		return false;
	}
	OutNumber = FCString::Atod(*Value);
	return true;
}

bool FJsonValueNumberString::TryGetNumber(double& OutNumber) const
{
	return ParseWholeDouble(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(float& OutNumber) const
{
	double Number = 0.0;
	if (!ParseWholeDouble(Value, Number))
	{
		return false;
	}
	OutNumber = (float)Number;
	return true;
}

bool FJsonValueNumberString::TryGetNumber(int8& OutNumber) const { return ParseWholeInteger(Value, OutNumber); }
bool FJsonValueNumberString::TryGetNumber(int16& OutNumber) const { return ParseWholeInteger(Value, OutNumber); }
bool FJsonValueNumberString::TryGetNumber(int32& OutNumber) const { return ParseWholeInteger(Value, OutNumber); }
bool FJsonValueNumberString::TryGetNumber(int64& OutNumber) const { return ParseWholeInteger(Value, OutNumber); }
bool FJsonValueNumberString::TryGetNumber(uint8& OutNumber) const { return ParseWholeInteger(Value, OutNumber); }
bool FJsonValueNumberString::TryGetNumber(uint16& OutNumber) const { return ParseWholeInteger(Value, OutNumber); }
bool FJsonValueNumberString::TryGetNumber(uint32& OutNumber) const { return ParseWholeInteger(Value, OutNumber); }
bool FJsonValueNumberString::TryGetNumber(uint64& OutNumber) const { return ParseWholeInteger(Value, OutNumber); }
