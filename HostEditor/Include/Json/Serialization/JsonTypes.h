// The kinds of JSON values and the tokens the writer tracks between calls.
#pragma once

#include "CoreMinimal.h"

/** The type of a JSON value. */
enum class EJson
{
	None,
	Null,
	String,
	Number,
	Boolean,
	Array,
	Object
};

/** The last syntactic element a JSON writer produced. */
enum class EJsonToken
{
	None,
	Comma,
	CurlyOpen,
	CurlyClose,
	SquareOpen,
	SquareClose,
	Colon,
	String,
	Number,
	True,
	False,
	Null,
	Identifier
};

/** True for the tokens of values that print on one short line: numbers, booleans and null. */
inline bool EJsonToken_IsShortValue(EJsonToken Token)
{
	switch (Token)
	{
	case EJsonToken::Number:
	case EJsonToken::True:
	case EJsonToken::False:
	case EJsonToken::Null:
		return true;
	default:
		return false;
	}
}

