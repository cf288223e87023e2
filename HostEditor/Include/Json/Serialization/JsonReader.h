// TJsonReader: JSON text waiting to be read by FJsonSerializer::Deserialize.
#pragma once

#include <string>

#include "CoreMinimal.h"

class FJsonSerializer;

template <class CharType = TCHAR>
class TJsonReader;

/**
 * Reads one JSON document from TCHAR text. A reader is read once: FJsonSerializer::Deserialize
 * consumes it, and afterwards the reader tells why the text was rejected, if it was.
 */
template <>
class JSON_API TJsonReader<TCHAR>
{
public:
	virtual ~TJsonReader() = default;

	/** Returns why the document was rejected, or an empty string when it was not. */
	const FString& GetErrorMessage() const { return ErrorMessage; }

	/** Returns the line (from 1) at which reading stopped with an error, or 0 when the position is unknown. */
	uint32 GetLineNumber() const { return LineNumber; }

	/** Returns the character within the line (from 1) at which reading stopped with an error, or 0 when the position is unknown. */
	uint32 GetCharacterNumber() const { return CharacterNumber; }

protected:
	/** Takes the text and checks that it can be read: no NUL characters and no unpaired surrogates. */
	explicit TJsonReader(const FString& JsonText);

private:
	friend class FJsonSerializer;

	/** Records why the document was rejected and where, as a line and a character within it. */
	void SetError(const FString& Message, uint32 InLineNumber, uint32 InCharacterNumber);

	/** The text as UTF-8, emptied once it has been read. */
	std::string Utf8Text;
	FString ErrorMessage;
	uint32 LineNumber = 0;
	uint32 CharacterNumber = 0;
	/** Set when the text was found unreadable on creation or has already been read. */
	bool bConsumed = false;
};

template <class CharType = TCHAR>
class TJsonStringReader;

/** A reader over a string. */
template <>
class JSON_API TJsonStringReader<TCHAR> : public TJsonReader<TCHAR>
{
public:
	/** Makes a reader over JsonString. */
	static TSharedRef<TJsonStringReader<TCHAR>> Create(const FString& JsonString)
	{
		return MakeShareable(new TJsonStringReader<TCHAR>(JsonString));
	}

	/** Makes a reader over JsonString. */
	static TSharedRef<TJsonStringReader<TCHAR>> Create(FString&& JsonString)
	{
		return MakeShareable(new TJsonStringReader<TCHAR>(JsonString));
	}

protected:
	explicit TJsonStringReader(const FString& JsonString)
		: TJsonReader<TCHAR>(JsonString)
	{
	}
};

/** Makes JSON readers. */
template <class CharType = TCHAR>
class TJsonReaderFactory
{
public:
	/** Makes a reader over the text of JsonString. */
	static TSharedRef<TJsonReader<TCHAR>> Create(const FString& JsonString)
	{
		return TJsonStringReader<TCHAR>::Create(JsonString);
	}

	/** Makes a reader over the text of JsonString. */
	static TSharedRef<TJsonReader<TCHAR>> Create(FString&& JsonString)
	{
		return TJsonStringReader<TCHAR>::Create(MoveTemp(JsonString));
	}
};
