// TJsonWriter: writes a JSON document value by value, laid out by a print policy.
#pragma once

#include <cmath>
#include <cstdio>
#include <type_traits>

#include "CoreMinimal.h"
#include "JsonGlobals.h"
#include "Policies/PrettyJsonPrintPolicy.h"
#include "Serialization/JsonTypes.h"

/**
 * Returns String as the contents of a JSON string literal: quotes, backslashes and control
 * characters (NUL included) escaped, everything else as it is.
 */
inline FString EscapeJsonString(const FString& String)
{
	FString Result;
	Result.Reserve(String.Len() + 2);
	for (const TCHAR Char : String)
	{
		switch (Char)
		{
		case TCHAR('\\'): Result += TEXT("\\\\"); break;
		case TCHAR('\n'): Result += TEXT("\\n"); break;
		case TCHAR('\t'): Result += TEXT("\\t"); break;
		case TCHAR('\b'): Result += TEXT("\\b"); break;
		case TCHAR('\f'): Result += TEXT("\\f"); break;
		case TCHAR('\r'): Result += TEXT("\\r"); break;
		case TCHAR('\"'): Result += TEXT("\\\""); break;
		default:
			if (Char >= TCHAR(32))
			{
				Result.AppendChar(Char);
			}
			else
			{
				ANSICHAR Escape[8];
				std::snprintf(Escape, sizeof(Escape), "\\u%04x", (unsigned)Char);
				for (const ANSICHAR* Cursor = Escape; *Cursor; ++Cursor)
				{
					Result.AppendChar((TCHAR)*Cursor);
				}
			}
		}
	}
	return Result;
}

/**
 * Writes JSON text one token at a time. Objects and arrays are opened and closed explicitly;
 * inside an object every value is written with its field name (the Identifier overloads), inside
 * an array or at the top level without one. Misuse (a value without a name inside an object,
 * closing what is not open) stops the program, as the engine's checks do.
 */
template <class CharType = TCHAR, class PrintPolicy = TPrettyJsonPrintPolicy<CharType>>
class TJsonWriter
{
	static_assert(std::is_same_v<CharType, TCHAR>, "JSON writers produce TCHAR text");

public:
	virtual ~TJsonWriter() = default;

	/** Returns how many levels deep the writer currently indents. */
	int32 GetIndentLevel() const { return IndentLevel; }

	/** True when the next value may be written without a field name: at the top, in an array, or after a name. */
	bool CanWriteValueWithoutIdentifier() const
	{
		return Stack.Num() <= 0 || Stack.Top() == EJson::Array || PreviousTokenWritten == EJsonToken::Identifier;
	}

	/** True when an object may be opened without a field name. */
	bool CanWriteObjectWithoutIdentifier() const
	{
		return CanWriteValueWithoutIdentifier();
	}

	/** Opens an object at the top level, in an array, or after WriteIdentifierPrefix. */
	void WriteObjectStart()
	{
		check(CanWriteObjectWithoutIdentifier());
		if (PreviousTokenWritten != EJsonToken::None)
		{
			WriteCommaIfNeeded();
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		OpenContainer(TCHAR('{'), EJson::Object, EJsonToken::CurlyOpen);
	}

	/** Opens an object as the field Identifier of the current object. */
	void WriteObjectStart(const FString& Identifier)
	{
		CheckInsideObject();
		WriteIdentifier(Identifier);
		PrintPolicy::WriteLineTerminator(Stream);
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		OpenContainer(TCHAR('{'), EJson::Object, EJsonToken::CurlyOpen);
	}

	/** Closes the current object. */
	void WriteObjectEnd()
	{
		CheckInsideObject();
		PrintPolicy::WriteLineTerminator(Stream);
		--IndentLevel;
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		PrintPolicy::WriteChar(Stream, TCHAR('}'));
		Stack.Pop(false);
		PreviousTokenWritten = EJsonToken::CurlyClose;
	}

	/** Opens an array at the top level, in an array, or after WriteIdentifierPrefix. */
	void WriteArrayStart()
	{
		check(CanWriteValueWithoutIdentifier());
		if (PreviousTokenWritten != EJsonToken::None)
		{
			WriteCommaIfNeeded();
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		OpenContainer(TCHAR('['), EJson::Array, EJsonToken::SquareOpen);
	}

	/** Opens an array as the field Identifier of the current object. */
	void WriteArrayStart(const FString& Identifier)
	{
		CheckInsideObject();
		WriteIdentifier(Identifier);
		PrintPolicy::WriteSpace(Stream);
		OpenContainer(TCHAR('['), EJson::Array, EJsonToken::SquareOpen);
	}

	/** Closes the current array. */
	void WriteArrayEnd()
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Array);
		--IndentLevel;
		if (PreviousTokenWritten == EJsonToken::SquareClose || PreviousTokenWritten == EJsonToken::CurlyClose || PreviousTokenWritten == EJsonToken::String)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		else if (PreviousTokenWritten != EJsonToken::SquareOpen)
		{
			PrintPolicy::WriteSpace(Stream);
		}
		PrintPolicy::WriteChar(Stream, TCHAR(']'));
		Stack.Pop(false);
		PreviousTokenWritten = EJsonToken::SquareClose;
	}

	/** Writes a number, boolean or null (nullptr) at the top level, in an array, or after WriteIdentifierPrefix. */
	template <class FValue>
	void WriteValue(FValue Value)
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();
		if (PreviousTokenWritten == EJsonToken::SquareOpen || EJsonToken_IsShortValue(PreviousTokenWritten))
		{
			PrintPolicy::WriteSpace(Stream);
		}
		else if (PreviousTokenWritten != EJsonToken::None)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		PreviousTokenWritten = WriteValueOnly(Value);
	}

	/** Writes a string at the top level, in an array, or after WriteIdentifierPrefix. */
	void WriteValue(const FString& Value)
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();
		if (PreviousTokenWritten != EJsonToken::None)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		PreviousTokenWritten = WriteValueOnly(Value);
	}

	/** Writes a string at the top level, in an array, or after WriteIdentifierPrefix. */
	void WriteValue(const TCHAR* Value)
	{
		WriteValue(FString(Value));
	}

	/** Writes a number, boolean, string or null (nullptr) as the field Identifier of the current object. */
	template <class FValue>
	void WriteValue(const FString& Identifier, FValue Value)
	{
		CheckInsideObject();
		WriteIdentifier(Identifier);
		PrintPolicy::WriteSpace(Stream);
		PreviousTokenWritten = WriteValueOnly(Value);
	}

	/** Writes a string as the field Identifier of the current object. */
	void WriteValue(const FString& Identifier, const FString& Value)
	{
		CheckInsideObject();
		WriteIdentifier(Identifier);
		PrintPolicy::WriteSpace(Stream);
		PreviousTokenWritten = WriteValueOnly(Value);
	}

	/** Writes a string as the field Identifier of the current object. */
	void WriteValue(const FString& Identifier, const TCHAR* Value)
	{
		WriteValue(Identifier, FString(Value));
	}

	/** Writes an array of numbers, booleans or strings as the field Identifier of the current object. */
	template <class ElementType>
	void WriteValue(const FString& Identifier, const TArray<ElementType>& Array)
	{
		WriteArrayStart(Identifier);
		for (const ElementType& Element : Array)
		{
			WriteValue(Element);
		}
		WriteArrayEnd();
	}

	/** Writes null at the top level, in an array, or after WriteIdentifierPrefix. */
	void WriteNull()
	{
		WriteValue(nullptr);
	}

	/** Writes null as the field Identifier of the current object. */
	void WriteNull(const FString& Identifier)
	{
		WriteValue(Identifier, nullptr);
	}

	/** Writes the field name Identifier, so that the next value, array or object becomes that field. */
	void WriteIdentifierPrefix(const FString& Identifier)
	{
		CheckInsideObject();
		WriteIdentifier(Identifier);
		PrintPolicy::WriteSpace(Stream);
		PreviousTokenWritten = EJsonToken::Identifier;
	}

	/** Writes Value, which must already be JSON text, as the field Identifier of the current object. */
	void WriteRawJSONValue(const FString& Identifier, const FString& Value)
	{
		CheckInsideObject();
		WriteIdentifier(Identifier);
		PrintPolicy::WriteSpace(Stream);
		PrintPolicy::WriteString(Stream, Value);
		PreviousTokenWritten = EJsonToken::String;
	}

	/** Writes Value, which must already be JSON text, at the top level, in an array, or after WriteIdentifierPrefix. */
	void WriteRawJSONValue(const FString& Value)
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();
		if (PreviousTokenWritten == EJsonToken::True || PreviousTokenWritten == EJsonToken::False || PreviousTokenWritten == EJsonToken::SquareOpen)
		{
			PrintPolicy::WriteSpace(Stream);
		}
		else if (PreviousTokenWritten != EJsonToken::None)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		PrintPolicy::WriteString(Stream, Value);
		PreviousTokenWritten = EJsonToken::String;
	}

	/** Finishes writing; true when every object and array opened has been closed. */
	virtual bool Close()
	{
		return Stack.Num() == 0;
	}

protected:
	explicit TJsonWriter(int32 InitialIndentLevel)
		: PreviousTokenWritten(EJsonToken::None)
		, IndentLevel(InitialIndentLevel)
	{
	}

	/** Writes a comma unless the value is the first of the document or its container, or follows its field name. */
	void WriteCommaIfNeeded()
	{
		if (PreviousTokenWritten != EJsonToken::None && PreviousTokenWritten != EJsonToken::CurlyOpen && PreviousTokenWritten != EJsonToken::SquareOpen
			&& PreviousTokenWritten != EJsonToken::Identifier)
		{
			PrintPolicy::WriteChar(Stream, TCHAR(','));
		}
	}

	/** Writes a field name and its colon on a new line. */
	void WriteIdentifier(const FString& Identifier)
	{
		WriteCommaIfNeeded();
		PrintPolicy::WriteLineTerminator(Stream);
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		WriteStringValue(Identifier);
		PrintPolicy::WriteChar(Stream, TCHAR(':'));
	}

	EJsonToken WriteValueOnly(bool Value)
	{
		PrintPolicy::WriteString(Stream, Value ? TEXT("true") : TEXT("false"));
		return Value ? EJsonToken::True : EJsonToken::False;
	}

	EJsonToken WriteValueOnly(float Value)
	{
		if (!std::isfinite(Value))
		{
			return WriteNonFiniteNumber();
		}
		PrintPolicy::WriteFloat(Stream, Value);
		return EJsonToken::Number;
	}

	EJsonToken WriteValueOnly(double Value)
	{
		if (!std::isfinite(Value))
		{
			return WriteNonFiniteNumber();
		}
		PrintPolicy::WriteDouble(Stream, Value);
		return EJsonToken::Number;
	}

	EJsonToken WriteValueOnly(int32 Value)
	{
		return WriteValueOnly((int64)Value);
	}

	EJsonToken WriteValueOnly(uint32 Value)
	{
		return WriteValueOnly((int64)Value);
	}

	EJsonToken WriteValueOnly(int64 Value)
	{
		ANSICHAR Buffer[24];
		std::snprintf(Buffer, sizeof(Buffer), "%lld", (long long)Value);
		PrintPolicy::WriteString(Stream, FString(Buffer));
		return EJsonToken::Number;
	}

	EJsonToken WriteValueOnly(uint64 Value)
	{
		ANSICHAR Buffer[24];
		std::snprintf(Buffer, sizeof(Buffer), "%llu", (unsigned long long)Value);
		PrintPolicy::WriteString(Stream, FString(Buffer));
		return EJsonToken::Number;
	}

	EJsonToken WriteValueOnly(std::nullptr_t)
	{
		PrintPolicy::WriteString(Stream, TEXT("null"));
		return EJsonToken::Null;
	}

	EJsonToken WriteValueOnly(const TCHAR* Value)
	{
		WriteStringValue(FString(Value));
		return EJsonToken::String;
	}

	EJsonToken WriteValueOnly(const FString& Value)
	{
		WriteStringValue(Value);
		return EJsonToken::String;
	}

	/** Writes String as a quoted, escaped JSON string. */
	virtual void WriteStringValue(const FString& String)
	{
		PrintPolicy::WriteChar(Stream, TCHAR('"'));
		PrintPolicy::WriteString(Stream, EscapeJsonString(String));
		PrintPolicy::WriteChar(Stream, TCHAR('"'));
	}

	/** The text written so far. */
	FString Stream;
	/** The containers open at the moment, innermost last. */
	TArray<EJson> Stack;
	EJsonToken PreviousTokenWritten;
	int32 IndentLevel;

private:
	void CheckInsideObject() const
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);
	}

	void OpenContainer(TCHAR OpeningChar, EJson ContainerType, EJsonToken OpeningToken)
	{
		PrintPolicy::WriteChar(Stream, OpeningChar);
		++IndentLevel;
		Stack.Push(ContainerType);
		PreviousTokenWritten = OpeningToken;
	}

	/** JSON has no infinities or NaN: such a number is written as null, so that the text stays readable. */
	EJsonToken WriteNonFiniteNumber()
	{
		UE_LOG(LogJson, Warning, TEXT("A number that is infinite or not a number was written as null."));
		PrintPolicy::WriteString(Stream, TEXT("null"));
		return EJsonToken::Null;
	}
};

/** A JSON writer whose text goes into a string. The string receives the text when the writer is closed. */
template <class CharType = TCHAR, class PrintPolicy = TPrettyJsonPrintPolicy<CharType>>
class TJsonStringWriter : public TJsonWriter<CharType, PrintPolicy>
{
public:
	/** Makes a writer that puts its text into *InOutString on Close; InOutString must outlive it. */
	static TSharedRef<TJsonStringWriter> Create(FString* const InOutString, int32 InitialIndent = 0)
	{
		return MakeShareable(new TJsonStringWriter(InOutString, InitialIndent));
	}

	/** Replaces the target string with the text written so far; true when that text is one complete document. */
	virtual bool Close() override
	{
		*OutString = this->Stream;
		return TJsonWriter<CharType, PrintPolicy>::Close();
	}

protected:
	TJsonStringWriter(FString* const InOutString, int32 InitialIndent)
		: TJsonWriter<CharType, PrintPolicy>(InitialIndent)
		, OutString(InOutString)
	{
		check(OutString != nullptr);
	}

private:
	FString* const OutString;
};

/** Makes JSON writers. */
template <class CharType = TCHAR, class PrintPolicy = TPrettyJsonPrintPolicy<CharType>>
class TJsonWriterFactory
{
public:
	/** Makes a writer that puts its text into *Stream when it is closed. */
	static TSharedRef<TJsonWriter<CharType, PrintPolicy>> Create(FString* const Stream, int32 InitialIndent = 0)
	{
		return StaticCastSharedRef<TJsonWriter<CharType, PrintPolicy>>(TJsonStringWriter<CharType, PrintPolicy>::Create(Stream, InitialIndent));
	}
};
