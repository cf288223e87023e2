#include "Serialization/JsonSerializer.h"

#include <cctype>
#include <charconv>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

namespace
{
	typedef nlohmann::json FParserJson;

	/** Makes a value of type ValueType held as a plain FJsonValue pointer, without a second reference count change. */
	template <class ValueType, class... ArgTypes>
	TSharedPtr<FJsonValue> MakeJsonValue(ArgTypes&&... Args)
	{
		return TSharedPtr<FJsonValue>::FromStdPointer(std::make_shared<ValueType>(Forward<ArgTypes>(Args)...));
	}

	/** Turns the parser's UTF-8 text into a string. */
	FString Utf8ToString(const std::string& Utf8)
	{
		return FString(StringConv::Utf8ToTChar(Utf8.data(), (int32)Utf8.size()));
	}

	/** Writes an integer the parser read as its decimal text. */
	template <class IntegerType>
	FString IntegerToString(IntegerType Value)
	{
		ANSICHAR Buffer[24];
		const std::to_chars_result Result = std::to_chars(Buffer, Buffer + sizeof(Buffer), Value);
		return FString((int32)(Result.ptr - Buffer), Buffer);
	}

	/**
	 * Builds the value tree while the parser reports what it reads. Finished values wait on one
	 * stack, field names on another; closing an array or object moves its members off the stacks
	 * into a container made at its final size.
	 */
	class FJsonTreeBuilder
	{
	public:
		explicit FJsonTreeBuilder(bool bInNumbersAsStrings)
			: bNumbersAsStrings(bInNumbersAsStrings)
		{
		}

		bool null()
		{
			return AddValue(MakeJsonValue<FJsonValueNull>());
		}

		bool boolean(bool bValue)
		{
			return AddValue(MakeJsonValue<FJsonValueBoolean>(bValue));
		}

		bool number_integer(FParserJson::number_integer_t Value)
		{
			return bNumbersAsStrings ? AddValue(MakeJsonValue<FJsonValueNumberString>(IntegerToString(Value))) : AddValue(MakeJsonValue<FJsonValueNumber>((double)Value));
		}

		bool number_unsigned(FParserJson::number_unsigned_t Value)
		{
			return bNumbersAsStrings ? AddValue(MakeJsonValue<FJsonValueNumberString>(IntegerToString(Value))) : AddValue(MakeJsonValue<FJsonValueNumber>((double)Value));
		}

		bool number_float(FParserJson::number_float_t Value, const FParserJson::string_t& Text)
		{
			return bNumbersAsStrings ? AddValue(MakeJsonValue<FJsonValueNumberString>(Utf8ToString(Text))) : AddValue(MakeJsonValue<FJsonValueNumber>(Value));
		}

		bool string(FParserJson::string_t& Value)
		{
			return AddValue(MakeJsonValue<FJsonValueString>(Utf8ToString(Value)));
		}

		bool binary(FParserJson::binary_t& Value)
		{
			// JSON text has no binary values; only the binary formats report them.
			return false;
		}

		bool start_object(std::size_t)
		{
			return OpenContainer();
		}

		bool key(FParserJson::string_t& Name)
		{
			Keys.Add(Utf8ToString(Name));
			return true;
		}

		bool end_object()
		{
			const FContainerStart Start = Containers.Pop(false);
			const int32 Count = Values.Num() - Start.FirstValue;
			const TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
			Object->Values.Reserve(Count);
			for (int32 Offset = 0; Offset < Count; ++Offset)
			{
				Object->Values.Add(MoveTemp(Keys[Start.FirstKey + Offset]), MoveTemp(Values[Start.FirstValue + Offset]));
			}
			Keys.RemoveAt(Start.FirstKey, Count, false);
			Values.RemoveAt(Start.FirstValue, Count, false);
			return AddValue(MakeJsonValue<FJsonValueObject>(Object));
		}

		bool start_array(std::size_t)
		{
			return OpenContainer();
		}

		bool end_array()
		{
			const FContainerStart Start = Containers.Pop(false);
			const int32 Count = Values.Num() - Start.FirstValue;
			TArray<TSharedPtr<FJsonValue>> Elements;
			Elements.Reserve(Count);
			for (int32 Index = Start.FirstValue; Index < Values.Num(); ++Index)
			{
				Elements.Add(MoveTemp(Values[Index]));
			}
			Values.RemoveAt(Start.FirstValue, Count, false);
			return AddValue(MakeJsonValue<FJsonValueArray>(MoveTemp(Elements)));
		}

		bool parse_error(std::size_t Position, const std::string& LastToken, const nlohmann::detail::exception& Error)
		{
			ErrorPosition = Position;
			ErrorDescription = Error.what();
			return false;
		}

		/** Returns the root value once the whole text has been read. */
		TSharedPtr<FJsonValue> TakeRoot()
		{
			check(Values.Num() == 1 && Containers.Num() == 0);
			return MoveTemp(Values[0]);
		}

		/** True when reading stopped because the text nests too deeply. */
		bool IsTooDeep() const { return bTooDeep; }

		/** Returns the parser's description of the syntax error, without its error code. */
		FString GetErrorDescription() const
		{
			// The parser's messages read "[json.exception.<kind>.<code>] <where>: <what>"; keep <what>.
			std::string Description = ErrorDescription;
			const std::string::size_type CodeEnd = Description.find("] ");
			if (CodeEnd != std::string::npos)
			{
				Description.erase(0, CodeEnd + 2);
			}
			const std::string::size_type PositionEnd = Description.find(": ");
			if (Description.rfind("parse error", 0) == 0 && PositionEnd != std::string::npos)
			{
				Description.erase(0, PositionEnd + 2);
			}
			if (!Description.empty())
			{
				Description[0] = (char)std::toupper((unsigned char)Description[0]);
			}
			return Utf8ToString(Description);
		}

		/** Returns how many bytes the parser had read when it stopped, the offending character included. */
		std::size_t GetErrorPosition() const { return ErrorPosition; }

	private:
		/** Where the members of an open array or object begin on the stacks. */
		struct FContainerStart
		{
			int32 FirstValue;
			int32 FirstKey;
		};

		bool OpenContainer()
		{
			if (Containers.Num() >= FJsonSerializer::MaxNestingDepth)
			{
				bTooDeep = true;
				return false;
			}
			Containers.Add(FContainerStart{Values.Num(), Keys.Num()});
			return true;
		}

		bool AddValue(TSharedPtr<FJsonValue>&& Value)
		{
			Values.Add(MoveTemp(Value));
			return true;
		}

		TArray<TSharedPtr<FJsonValue>> Values;
		TArray<FString> Keys;
		TArray<FContainerStart> Containers;
		std::string ErrorDescription;
		std::size_t ErrorPosition = 0;
		const bool bNumbersAsStrings;
		bool bTooDeep = false;
	};

	/**
	 * Finds the line and the character within it (both from 1, characters counted as UTF-16 code
	 * units) of the character at which the parser stopped. ReadCount is how many bytes the parser
	 * had read, that character included; past the end of the text it means the end itself.
	 */
	void FindTextPosition(const std::string& Utf8Text, std::size_t ReadCount, uint32& OutLine, uint32& OutCharacter)
	{
		const std::size_t StopIndex = ReadCount == 0 ? 0 : (ReadCount - 1 < Utf8Text.size() ? ReadCount - 1 : Utf8Text.size());
		uint32 Line = 1;
		uint32 CharactersBefore = 0;
		for (std::size_t Index = 0; Index < StopIndex; ++Index)
		{
			const uint8 Byte = (uint8)Utf8Text[Index];
			if (Byte == '\n')
			{
				++Line;
				CharactersBefore = 0;
			}
			else if ((Byte & 0xC0) != 0x80)
			{
				// A four-byte sequence is a character beyond the first plane: two UTF-16 code units.
				CharactersBefore += (Byte >= 0xF0) ? 2 : 1;
			}
		}
		OutLine = Line;
		OutCharacter = CharactersBefore + 1;
	}
}

bool FJsonSerializer::ReadRootValue(TJsonReader<TCHAR>& Reader, TSharedPtr<FJsonValue>& OutValue, EFlags InOptions)
{
	if (Reader.bConsumed)
	{
		if (Reader.ErrorMessage.IsEmpty())
		{
			Reader.SetError(TEXT("The reader's text has already been read."), 0, 0);
		}
		return false;
	}
	Reader.bConsumed = true;
	// The text is read once; it is released when this function returns.
	std::string Text;
	Text.swap(Reader.Utf8Text);

	FJsonTreeBuilder Builder(EnumHasAnyFlags(InOptions, EFlags::StoreNumbersAsStrings));
	const char* const First = Text.data();
	if (!FParserJson::sax_parse(First, First + Text.size(), &Builder, FParserJson::input_format_t::json, true))
	{
		if (Builder.IsTooDeep())
		{
			Reader.SetError(FString::Printf(TEXT("Objects and arrays are nested more than %d levels deep."), MaxNestingDepth), 0, 0);
		}
		else
		{
			uint32 Line = 0;
			uint32 Character = 0;
			FindTextPosition(Text, Builder.GetErrorPosition(), Line, Character);
			Reader.SetError(Builder.GetErrorDescription() + TEXT("."), Line, Character);
		}
		return false;
	}
	OutValue = Builder.TakeRoot();
	return true;
}

bool FJsonSerializer::ReadRootObject(TJsonReader<TCHAR>& Reader, TSharedPtr<FJsonObject>& OutObject, EFlags InOptions)
{
	TSharedPtr<FJsonValue> Root;
	if (!ReadRootValue(Reader, Root, InOptions))
	{
		return false;
	}
	const TSharedPtr<FJsonObject>* Object = nullptr;
	if (Root->Type != EJson::Object || !Root->TryGetObject(Object))
	{
		Reader.SetError(TEXT("The root of the document is not an object."), 0, 0);
		return false;
	}
	OutObject = *Object;
	return true;
}

bool FJsonSerializer::ReadRootArray(TJsonReader<TCHAR>& Reader, TArray<TSharedPtr<FJsonValue>>& OutArray, EFlags InOptions)
{
	TSharedPtr<FJsonValue> Root;
	if (!ReadRootValue(Reader, Root, InOptions))
	{
		return false;
	}
	TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
	if (Root->Type != EJson::Array || !Root->TryGetArray(Elements))
	{
		Reader.SetError(TEXT("The root of the document is not an array."), 0, 0);
		return false;
	}
	// The root was made by this read and nothing else refers to it: its elements can be moved out.
	OutArray = MoveTemp(*Elements);
	return true;
}
