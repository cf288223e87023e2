// FJsonObject: the named fields of a JSON object.
#pragma once

#include "Containers/StringView.h"
#include "CoreMinimal.h"
#include "Dom/JsonValue.h"
#include "JsonGlobals.h"
#include "Serialization/JsonTypes.h"

/**
 * A JSON object: field names mapped to values, kept in the order the fields were added. Field names
 * are compared ignoring case, as FString compares. Get*Field logs in LogJson and returns a default
 * when a field is missing or of the wrong type; TryGet*Field only reports false.
 */
class JSON_API FJsonObject
{
public:
	/** The fields of the object, in the order they were added. */
	TMap<FString, TSharedPtr<FJsonValue>> Values;

	/**
	 * Returns the field named FieldName when it exists and, unless JsonType is EJson::None, is of
	 * that type; otherwise logs a warning and returns a null value.
	 */
	template <EJson JsonType>
	TSharedPtr<FJsonValue> GetField(FStringView FieldName) const
	{
		const FString Name(FieldName.Len(), FieldName.GetData());
		const TSharedPtr<FJsonValue>* Field = Values.Find(Name);
		if (Field != nullptr && Field->IsValid())
		{
			if (JsonType == EJson::None || (*Field)->Type == JsonType)
			{
				return *Field;
			}
			UE_LOG(LogJson, Warning, TEXT("Field %s is of the wrong type."), *Name);
		}
		else
		{
			UE_LOG(LogJson, Warning, TEXT("Field %s was not found."), *Name);
		}
		return MakeShared<FJsonValueNull>();
	}

	/** Returns the field named FieldName, or an invalid pointer when there is none. */
	TSharedPtr<FJsonValue> TryGetField(FStringView FieldName) const;

	/** True when the object has a field named FieldName. */
	bool HasField(FStringView FieldName) const;

	/** True when the object has a field named FieldName of type JsonType. */
	template <EJson JsonType>
	bool HasTypedField(FStringView FieldName) const
	{
		const TSharedPtr<FJsonValue>* Field = Values.Find(FString(FieldName.Len(), FieldName.GetData()));
		return Field != nullptr && Field->IsValid() && (*Field)->Type == JsonType;
	}

	/** Sets the field named FieldName to Value, replacing any field of that name. */
	void SetField(const FString& FieldName, const TSharedPtr<FJsonValue>& Value);

	/** Removes the field named FieldName, if there is one. */
	void RemoveField(const FString& FieldName);

	/** Returns the field named FieldName as a number; logs and returns zero when that is not possible. */
	double GetNumberField(FStringView FieldName) const;

	/**
	 * Returns the field named FieldName as a number truncated toward zero and held within the int32
	 * range; logs and returns zero when the field is not a number.
	 */
	int32 GetIntegerField(FStringView FieldName) const;

	/** Reads the field named FieldName as a number; false when it is missing or not numeric. */
	bool TryGetNumberField(FStringView FieldName, double& OutNumber) const;
	/** Reads the field named FieldName as a number; false when it is missing or not numeric. */
	bool TryGetNumberField(FStringView FieldName, float& OutNumber) const;
	/** Reads the field named FieldName as an integer rounded half away from zero; false when missing, not numeric or out of range. */
	bool TryGetNumberField(FStringView FieldName, int32& OutNumber) const;
	/** Reads the field named FieldName as an integer rounded half away from zero; false when missing, not numeric or out of range. */
	bool TryGetNumberField(FStringView FieldName, uint32& OutNumber) const;
	/** Reads the field named FieldName as an integer rounded half away from zero; false when missing, not numeric or out of range. */
	bool TryGetNumberField(FStringView FieldName, int64& OutNumber) const;

	/** Sets the field named FieldName to a number. */
	void SetNumberField(const FString& FieldName, double Number);

	/** Returns the field named FieldName as text; logs and returns an empty string when that is not possible. */
	FString GetStringField(FStringView FieldName) const;

	/** Reads the field named FieldName as text; false when it is missing or cannot be text. */
	bool TryGetStringField(FStringView FieldName, FString& OutString) const;

	/**
	 * Appends the elements of the array field named FieldName to OutArray as text. False, with
	 * OutArray untouched, when the field is missing, not an array or holds an element that cannot be text.
	 */
	bool TryGetStringArrayField(FStringView FieldName, TArray<FString>& OutArray) const;

	/** Sets the field named FieldName to a string. */
	void SetStringField(const FString& FieldName, const FString& StringValue);

	/** Sets the field named FieldName to a string, taking the text over. */
	void SetStringField(const FString& FieldName, FString&& StringValue);

	/** Returns the field named FieldName as a boolean; logs and returns false when that is not possible. */
	bool GetBoolField(FStringView FieldName) const;

	/** Reads the field named FieldName as a boolean; false when it is missing or cannot be one. */
	bool TryGetBoolField(FStringView FieldName, bool& OutBool) const;

	/** Sets the field named FieldName to a boolean. */
	void SetBoolField(const FString& FieldName, bool InValue);

	/** Returns the elements of the array field named FieldName; logs and returns an empty array when it is not an array. */
	const TArray<TSharedPtr<FJsonValue>>& GetArrayField(FStringView FieldName) const;

	/** Points OutArray at the elements of the array field named FieldName; false when it is missing or not an array. */
	bool TryGetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const;

	/** Sets the field named FieldName to an array of Array's elements. */
	void SetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>& Array);

	/** Sets the field named FieldName to an array, taking the elements over. */
	void SetArrayField(const FString& FieldName, TArray<TSharedPtr<FJsonValue>>&& Array);

	/** Returns the object field named FieldName; logs and returns an empty object when it is not an object. */
	const TSharedPtr<FJsonObject>& GetObjectField(FStringView FieldName) const;

	/** Points OutObject at the object field named FieldName; false when it is missing or not an object. */
	bool TryGetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>*& OutObject) const;

	/** Sets the field named FieldName to an object; an invalid pointer sets it to null. */
	void SetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>& JsonObject);
};
