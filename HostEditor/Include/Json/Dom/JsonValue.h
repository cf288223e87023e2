// FJsonValue and its kinds: one value of a JSON document object model.
#pragma once

#include "CoreMinimal.h"
#include "JsonGlobals.h"
#include "Serialization/JsonTypes.h"

class FJsonObject;

/**
 * A JSON value of any type. Each subclass stores one kind of value and converts it to the other
 * kinds where the conversion makes sense; TryGet* reports whether a conversion was possible, As*
 * logs an error in LogJson and returns a default value when it was not.
 */
class JSON_API FJsonValue
{
public:
	/** Returns the value as a number; logs an error and returns zero when it cannot be one. */
	double AsNumber() const;

	/** Returns the value as text; logs an error and returns an empty string when it cannot be text. */
	FString AsString() const;

	/** Returns the value as a boolean; logs an error and returns false when it cannot be one. */
	bool AsBool() const;

	/** Returns the elements of an array value; logs an error and returns an empty array for other kinds. */
	const TArray<TSharedPtr<FJsonValue>>& AsArray() const;

	/** Returns the object of an object value; logs an error and returns an empty object for other kinds. */
	const TSharedPtr<FJsonObject>& AsObject() const;

	/** Converts the value to a double; false when it has no numeric meaning. */
	virtual bool TryGetNumber(double& OutNumber) const { return false; }

	/** Converts the value to a float; false when it has no numeric meaning. */
	virtual bool TryGetNumber(float& OutNumber) const;

	/** Converts the value to an integer rounded half away from zero; false when it is not a number or out of range. */
	virtual bool TryGetNumber(int8& OutNumber) const;
	/** Converts the value to an integer rounded half away from zero; false when it is not a number or out of range. */
	virtual bool TryGetNumber(int16& OutNumber) const;
	/** Converts the value to an integer rounded half away from zero; false when it is not a number or out of range. */
	virtual bool TryGetNumber(int32& OutNumber) const;
	/** Converts the value to an integer rounded half away from zero; false when it is not a number or out of range. */
	virtual bool TryGetNumber(int64& OutNumber) const;
	/** Converts the value to an integer rounded half away from zero; false when it is not a number or out of range. */
	virtual bool TryGetNumber(uint8& OutNumber) const;
	/** Converts the value to an integer rounded half away from zero; false when it is not a number or out of range. */
	virtual bool TryGetNumber(uint16& OutNumber) const;
	/** Converts the value to an integer rounded half away from zero; false when it is not a number or out of range. */
	virtual bool TryGetNumber(uint32& OutNumber) const;
	/** Converts the value to an integer rounded half away from zero; false when it is not a number or out of range. */
	virtual bool TryGetNumber(uint64& OutNumber) const;

	/** Converts the value to text; false for null, arrays and objects. */
	virtual bool TryGetString(FString& OutString) const { return false; }

	/** Converts the value to a boolean; false for null, arrays and objects. */
	virtual bool TryGetBool(bool& OutBool) const { return false; }

	/** Points OutArray at the elements of an array value; false for other kinds. */
	virtual bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const { return false; }

	/** Points OutArray at the modifiable elements of an array value; false for other kinds. */
	virtual bool TryGetArray(TArray<TSharedPtr<FJsonValue>>*& OutArray) { return false; }

	/** Points OutObject at the object of an object value; false for other kinds. */
	virtual bool TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const { return false; }

	/** Points OutObject at the modifiable object of an object value; false for other kinds. */
	virtual bool TryGetObject(TSharedPtr<FJsonObject>*& OutObject) { return false; }

	/** True for a null value (and for a value of no type). */
	bool IsNull() const { return Type == EJson::Null || Type == EJson::None; }

	/**
	 * True when both values have the same type and equal contents: numbers and booleans by value,
	 * strings character for character, arrays element by element, objects field by field in any order.
	 */
	static bool CompareEqual(const FJsonValue& Lhs, const FJsonValue& Rhs);

	/** Compares two values with CompareEqual. */
	bool operator==(const FJsonValue& Rhs) const { return CompareEqual(*this, Rhs); }

	/** Compares two values with CompareEqual. */
	bool operator!=(const FJsonValue& Rhs) const { return !CompareEqual(*this, Rhs); }

	/** The type of the value. */
	EJson Type;

protected:
	FJsonValue()
		: Type(EJson::None)
	{
	}

	virtual ~FJsonValue() = default;

	/** Returns the name of the value's kind for error messages. */
	virtual FString GetType() const = 0;

	/** Logs that the value was used as a kind it cannot be converted to. */
	void ErrorMessage(const FString& InType) const;
};

/** A JSON string. */
class JSON_API FJsonValueString : public FJsonValue
{
public:
	FJsonValueString(const FString& InString)
		: Value(InString)
	{
		Type = EJson::String;
	}

	FJsonValueString(FString&& InString)
		: Value(MoveTemp(InString))
	{
		Type = EJson::String;
	}

	using FJsonValue::TryGetNumber;

	/** Returns the text. */
	virtual bool TryGetString(FString& OutString) const override
	{
		OutString = Value;
		return true;
	}

	/** Reads the text as a number; false unless it is numeric (an optional sign, digits and at most one point). */
	virtual bool TryGetNumber(double& OutNumber) const override;

	/** Reads the text as a boolean: "true", "yes" and "on" in any case, or a non-zero integer. */
	virtual bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value.ToBool();
		return true;
	}

	/** True when the text is empty, without copying it. */
	bool IsEmpty() const { return Value.IsEmpty(); }

protected:
	virtual FString GetType() const override { return TEXT("String"); }

	FString Value;
};

/** A JSON number, stored as a double. */
class JSON_API FJsonValueNumber : public FJsonValue
{
public:
	FJsonValueNumber(double InNumber)
		: Value(InNumber)
	{
		Type = EJson::Number;
	}

	using FJsonValue::TryGetNumber;

	/** Returns the number. */
	virtual bool TryGetNumber(double& OutNumber) const override
	{
		OutNumber = Value;
		return true;
	}

	/** Returns true for any number but zero. */
	virtual bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value != 0.0;
		return true;
	}

	/** Returns the number as text with no trailing zeros: "1" for 1.0, "1.5" for 1.5. */
	virtual bool TryGetString(FString& OutString) const override
	{
		OutString = FString::SanitizeFloat(Value, 0);
		return true;
	}

protected:
	virtual FString GetType() const override { return TEXT("Number"); }

	double Value;
};

/**
 * A JSON number kept as the text it was written with, so that numbers beyond the precision of a
 * double (large 64-bit integers) are not rounded.
 */
class JSON_API FJsonValueNumberString : public FJsonValue
{
public:
	FJsonValueNumberString(const FString& InString)
		: Value(InString)
	{
		Type = EJson::Number;
	}

	FJsonValueNumberString(FString&& InString)
		: Value(MoveTemp(InString))
	{
		Type = EJson::Number;
	}

	/** Returns the number's text as written. */
	virtual bool TryGetString(FString& OutString) const override
	{
		OutString = Value;
		return true;
	}

	/** Reads the whole text as a number; false when it is not one. */
	virtual bool TryGetNumber(double& OutNumber) const override;
	/** Reads the whole text as a number; false when it is not one. */
	virtual bool TryGetNumber(float& OutNumber) const override;
	/** Reads the whole text as an integer, exactly when it is written as one; false when out of range. */
	virtual bool TryGetNumber(int8& OutNumber) const override;
	/** Reads the whole text as an integer, exactly when it is written as one; false when out of range. */
	virtual bool TryGetNumber(int16& OutNumber) const override;
	/** Reads the whole text as an integer, exactly when it is written as one; false when out of range. */
	virtual bool TryGetNumber(int32& OutNumber) const override;
	/** Reads the whole text as an integer, exactly when it is written as one; false when out of range. */
	virtual bool TryGetNumber(int64& OutNumber) const override;
	/** Reads the whole text as an integer, exactly when it is written as one; false when out of range. */
	virtual bool TryGetNumber(uint8& OutNumber) const override;
	/** Reads the whole text as an integer, exactly when it is written as one; false when out of range. */
	virtual bool TryGetNumber(uint16& OutNumber) const override;
	/** Reads the whole text as an integer, exactly when it is written as one; false when out of range. */
	virtual bool TryGetNumber(uint32& OutNumber) const override;
	/** Reads the whole text as an integer, exactly when it is written as one; false when out of range. */
	virtual bool TryGetNumber(uint64& OutNumber) const override;

	/** Reads the text as a boolean the way FString::ToBool does. */
	virtual bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value.ToBool();
		return true;
	}

protected:
	virtual FString GetType() const override { return TEXT("NumberString"); }

	FString Value;
};

/** A JSON boolean. */
class JSON_API FJsonValueBoolean : public FJsonValue
{
public:
	FJsonValueBoolean(bool InBool)
		: Value(InBool)
	{
		Type = EJson::Boolean;
	}

	using FJsonValue::TryGetNumber;

	/** Returns 1 for true and 0 for false. */
	virtual bool TryGetNumber(double& OutNumber) const override
	{
		OutNumber = Value ? 1.0 : 0.0;
		return true;
	}

	/** Returns the boolean. */
	virtual bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value;
		return true;
	}

	/** Returns "true" or "false". */
	virtual bool TryGetString(FString& OutString) const override
	{
		OutString = Value ? TEXT("true") : TEXT("false");
		return true;
	}

protected:
	virtual FString GetType() const override { return TEXT("Boolean"); }

	bool Value;
};

/** A JSON array. */
class JSON_API FJsonValueArray : public FJsonValue
{
public:
	FJsonValueArray(const TArray<TSharedPtr<FJsonValue>>& InArray)
		: Value(InArray)
	{
		Type = EJson::Array;
	}

	FJsonValueArray(TArray<TSharedPtr<FJsonValue>>&& InArray)
		: Value(MoveTemp(InArray))
	{
		Type = EJson::Array;
	}

	/** Points OutArray at the elements. */
	virtual bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const override
	{
		OutArray = &Value;
		return true;
	}

	/** Points OutArray at the modifiable elements. */
	virtual bool TryGetArray(TArray<TSharedPtr<FJsonValue>>*& OutArray) override
	{
		OutArray = &Value;
		return true;
	}

protected:
	virtual FString GetType() const override { return TEXT("Array"); }

	TArray<TSharedPtr<FJsonValue>> Value;
};

/** A JSON object. A value made from a null object pointer converts to nothing and is written as null. */
class JSON_API FJsonValueObject : public FJsonValue
{
public:
	FJsonValueObject(TSharedPtr<FJsonObject> InObject)
		: Value(MoveTemp(InObject))
	{
		Type = EJson::Object;
	}

	/** Points OutObject at the object; false when the value holds no object. */
	virtual bool TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const override
	{
		if (!Value.IsValid())
		{
			return false;
		}
		OutObject = &Value;
		return true;
	}

	/** Points OutObject at the modifiable object; false when the value holds no object. */
	virtual bool TryGetObject(TSharedPtr<FJsonObject>*& OutObject) override
	{
		if (!Value.IsValid())
		{
			return false;
		}
		OutObject = &Value;
		return true;
	}

protected:
	virtual FString GetType() const override { return TEXT("Object"); }

	TSharedPtr<FJsonObject> Value;
};

/** A JSON null. */
class JSON_API FJsonValueNull : public FJsonValue
{
public:
	FJsonValueNull()
	{
		Type = EJson::Null;
	}

protected:
	virtual FString GetType() const override { return TEXT("Null"); }
};
