// FJsonSerializer: turns JSON text into values and objects, and values and objects into JSON text.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonWriter.h"

/**
 * Reads whole JSON documents into FJsonValue trees and writes such trees as JSON text.
 *
 * Reading accepts exactly the JSON grammar: anything else (trailing text, comments, NUL characters,
 * unpaired surrogates, objects and arrays nested deeper than MaxNestingDepth) makes Deserialize
 * return false with the reader's GetErrorMessage saying why, and leaves the output untouched.
 * Numbers become FJsonValueNumber doubles; when an object names a field twice, the later value
 * replaces the earlier one and keeps the earlier one's place.
 */
class JSON_API FJsonSerializer
{
public:
	/** How Deserialize builds values. */
	enum class EFlags
	{
		None = 0,
		/** Numbers become FJsonValueNumberString values holding their text, so that no digits are lost. */
		StoreNumbersAsStrings = 1,
	};

	/** The deepest nesting of objects and arrays that Deserialize accepts. */
	static constexpr int32 MaxNestingDepth = 512;

	/** Reads a document whose root is an object into OutObject; false when the text is not such a document. */
	template <class CharType>
	static bool Deserialize(const TSharedRef<TJsonReader<CharType>>& Reader, TSharedPtr<FJsonObject>& OutObject, EFlags InOptions = EFlags::None)
	{
		return Deserialize(*Reader, OutObject, InOptions);
	}

	/** Reads a document whose root is an object into OutObject; false when the text is not such a document. */
	template <class CharType>
	static bool Deserialize(TJsonReader<CharType>& Reader, TSharedPtr<FJsonObject>& OutObject, EFlags InOptions = EFlags::None)
	{
		return ReadRootObject(Reader, OutObject, InOptions);
	}

	/** Reads a document whose root is an array into OutArray; false when the text is not such a document. */
	template <class CharType>
	static bool Deserialize(const TSharedRef<TJsonReader<CharType>>& Reader, TArray<TSharedPtr<FJsonValue>>& OutArray, EFlags InOptions = EFlags::None)
	{
		return Deserialize(*Reader, OutArray, InOptions);
	}

	/** Reads a document whose root is an array into OutArray; false when the text is not such a document. */
	template <class CharType>
	static bool Deserialize(TJsonReader<CharType>& Reader, TArray<TSharedPtr<FJsonValue>>& OutArray, EFlags InOptions = EFlags::None)
	{
		return ReadRootArray(Reader, OutArray, InOptions);
	}

	/** Reads a document with a root of any kind into OutValue; false when the text is not a JSON document. */
	template <class CharType>
	static bool Deserialize(const TSharedRef<TJsonReader<CharType>>& Reader, TSharedPtr<FJsonValue>& OutValue, EFlags InOptions = EFlags::None)
	{
		return Deserialize(*Reader, OutValue, InOptions);
	}

	/** Reads a document with a root of any kind into OutValue; false when the text is not a JSON document. */
	template <class CharType>
	static bool Deserialize(TJsonReader<CharType>& Reader, TSharedPtr<FJsonValue>& OutValue, EFlags InOptions = EFlags::None)
	{
		return ReadRootValue(Reader, OutValue, InOptions);
	}

	/**
	 * Writes Object as a JSON object; closes the writer unless told not to. Returns false when the
	 * writer, closed, does not hold complete JSON.
	 */
	template <class CharType, class PrintPolicy>
	static bool Serialize(const TSharedRef<FJsonObject>& Object, const TSharedRef<TJsonWriter<CharType, PrintPolicy>>& Writer, bool bCloseWriter = true)
	{
		WriteObject(*Writer, nullptr, *Object);
		return !bCloseWriter || Writer->Close();
	}

	/**
	 * Writes Array as a JSON array; closes the writer unless told not to. Returns false when the
	 * writer, closed, does not hold complete JSON.
	 */
	template <class CharType, class PrintPolicy>
	static bool Serialize(const TArray<TSharedPtr<FJsonValue>>& Array, const TSharedRef<TJsonWriter<CharType, PrintPolicy>>& Writer, bool bCloseWriter = true)
	{
		WriteArray(*Writer, nullptr, Array);
		return !bCloseWriter || Writer->Close();
	}

	/**
	 * Writes Value, as the field Identifier of the object being written when Identifier is not
	 * empty; an invalid pointer is written as null. Closes the writer unless told not to; returns
	 * false when the writer, closed, does not hold complete JSON.
	 */
	template <class CharType, class PrintPolicy>
	static bool Serialize(const TSharedPtr<FJsonValue>& Value, const FString& Identifier, const TSharedRef<TJsonWriter<CharType, PrintPolicy>>& Writer, bool bCloseWriter = true)
	{
		WriteJsonValue(*Writer, Identifier.IsEmpty() ? nullptr : &Identifier, Value);
		return !bCloseWriter || Writer->Close();
	}

private:
	/** Parses the reader's text into a tree; false, with the reader's error set, when it is not one JSON document. */
	static bool ReadRootValue(TJsonReader<TCHAR>& Reader, TSharedPtr<FJsonValue>& OutValue, EFlags InOptions);
	static bool ReadRootObject(TJsonReader<TCHAR>& Reader, TSharedPtr<FJsonObject>& OutObject, EFlags InOptions);
	static bool ReadRootArray(TJsonReader<TCHAR>& Reader, TArray<TSharedPtr<FJsonValue>>& OutArray, EFlags InOptions);

	/** Writes one value, named by *Identifier inside an object, or unnamed when Identifier is null. */
	template <class CharType, class PrintPolicy>
	static void WriteJsonValue(TJsonWriter<CharType, PrintPolicy>& Writer, const FString* Identifier, const TSharedPtr<FJsonValue>& Value)
	{
		const EJson Type = Value.IsValid() ? Value->Type : EJson::Null;
		switch (Type)
		{
		case EJson::String:
			WriteScalar(Writer, Identifier, Value->AsString());
			break;
		case EJson::Number:
			WriteScalar(Writer, Identifier, Value->AsNumber());
			break;
		case EJson::Boolean:
			WriteScalar(Writer, Identifier, Value->AsBool());
			break;
		case EJson::Array:
		{
			const TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
			if (Value->TryGetArray(Elements))
			{
				WriteArray(Writer, Identifier, *Elements);
			}
			else
			{
				WriteScalar(Writer, Identifier, nullptr);
			}
			break;
		}
		case EJson::Object:
		{
			const TSharedPtr<FJsonObject>* Object = nullptr;
			if (Value->TryGetObject(Object))
			{
				WriteObject(Writer, Identifier, **Object);
			}
			else
			{
				WriteScalar(Writer, Identifier, nullptr);
			}
			break;
		}
		default:
			WriteScalar(Writer, Identifier, nullptr);
			break;
		}
	}

	template <class CharType, class PrintPolicy, class ScalarType>
	static void WriteScalar(TJsonWriter<CharType, PrintPolicy>& Writer, const FString* Identifier, const ScalarType& Scalar)
	{
		if (Identifier)
		{
			Writer.WriteValue(*Identifier, Scalar);
		}
		else
		{
			Writer.WriteValue(Scalar);
		}
	}

	template <class CharType, class PrintPolicy>
	static void WriteArray(TJsonWriter<CharType, PrintPolicy>& Writer, const FString* Identifier, const TArray<TSharedPtr<FJsonValue>>& Elements)
	{
		if (Identifier)
		{
			Writer.WriteArrayStart(*Identifier);
		}
		else
		{
			Writer.WriteArrayStart();
		}
		for (const TSharedPtr<FJsonValue>& Element : Elements)
		{
			WriteJsonValue(Writer, nullptr, Element);
		}
		Writer.WriteArrayEnd();
	}

	template <class CharType, class PrintPolicy>
	static void WriteObject(TJsonWriter<CharType, PrintPolicy>& Writer, const FString* Identifier, const FJsonObject& Object)
	{
		if (Identifier)
		{
			Writer.WriteObjectStart(*Identifier);
		}
		else
		{
			Writer.WriteObjectStart();
		}
		for (const TPair<FString, TSharedPtr<FJsonValue>>& Field : Object.Values)
		{
			WriteJsonValue(Writer, &Field.Key, Field.Value);
		}
		Writer.WriteObjectEnd();
	}
};

ENUM_CLASS_FLAGS(FJsonSerializer::EFlags);
