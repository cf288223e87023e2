// Reflected properties and their text form, as the engine writes values in copy/paste and defaults.

#include "UObject/UnrealType.h"

#include "Templates/Casts.h"
#include "UObject/Package.h"
#include "UObject/SoftObjectPtr.h"
#include "UObject/UObjectGlobals.h"

namespace PropertyTextUtils
{
	const TCHAR* SkipWhitespace(const TCHAR* Buffer)
	{
		while (Buffer && *Buffer && FChar::IsWhitespace(*Buffer))
		{
			++Buffer;
		}
		return Buffer;
	}

	/**
	 * Steps over what follows one item of a parenthesised list: a comma and the blanks after it, or
	 * nothing before the closing parenthesis. Anything else is malformed and gives null.
	 */
	const TCHAR* SkipListSeparator(const TCHAR* Cursor)
	{
		Cursor = SkipWhitespace(Cursor);
		if (*Cursor == ',')
		{
			return SkipWhitespace(Cursor + 1);
		}
		return *Cursor == ')' ? Cursor : nullptr;
	}

	const TCHAR* ReadToken(const TCHAR* Buffer, FString& OutToken, bool bStopAtOpenParen)
	{
		OutToken.Reset();
		Buffer = SkipWhitespace(Buffer);
		if (!Buffer || !*Buffer)
		{
			return nullptr;
		}
		if (*Buffer == '"')
		{
			++Buffer;
			while (*Buffer && *Buffer != '"')
			{
				if (*Buffer == '\\' && Buffer[1])
				{
					++Buffer;
					switch (*Buffer)
					{
					case 'n': OutToken.AppendChar('\n'); break;
					case 't': OutToken.AppendChar('\t'); break;
					case 'r': OutToken.AppendChar('\r'); break;
					default: OutToken.AppendChar(*Buffer); break;
					}
				}
				else
				{
					OutToken.AppendChar(*Buffer);
				}
				++Buffer;
			}
			if (*Buffer != '"')
			{
				return nullptr;
			}
			return Buffer + 1;
		}
		while (*Buffer && *Buffer != ',' && *Buffer != ')' && !(bStopAtOpenParen && *Buffer == '(') && !FChar::IsWhitespace(*Buffer))
		{
			OutToken.AppendChar(*Buffer++);
		}
		return OutToken.IsEmpty() ? nullptr : Buffer;
	}

	FString QuoteString(const FString& Value)
	{
		FString Result = TEXT("\"");
		for (const TCHAR Char : Value)
		{
			switch (Char)
			{
			case '"': Result += TEXT("\\\""); break;
			case '\\': Result += TEXT("\\\\"); break;
			case '\n': Result += TEXT("\\n"); break;
			case '\t': Result += TEXT("\\t"); break;
			case '\r': Result += TEXT("\\r"); break;
			default: Result.AppendChar(Char); break;
			}
		}
		Result.AppendChar('"');
		return Result;
	}
}

using namespace PropertyTextUtils;

FProperty::FProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, int32 InElementSize)
	: FField(InOwner, InName)
	, ElementSize(InElementSize)
	, PropertyFlags(InFlags)
	, Offset(InOffset)
{
}

void FProperty::CopyCompleteValue(void* Dest, const void* Src) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		CopySingleValue(static_cast<uint8*>(Dest) + Index * ElementSize, static_cast<const uint8*>(Src) + Index * ElementSize);
	}
}

void FProperty::ExportText_InContainer(int32 Index, FString& ValueStr, const void* Container, const void* DefaultContainer, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ExportTextItem_Direct(ValueStr, ContainerPtrToValuePtr<void>(Container, Index), DefaultContainer ? ContainerPtrToValuePtr<void>(DefaultContainer, Index) : nullptr, Parent, PortFlags, ExportRootScope);
}

const TCHAR* FProperty::ImportText_InContainer(const TCHAR* Buffer, void* Container, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	return ImportText_Direct(Buffer, ContainerPtrToValuePtr<void>(Container), OwnerObject, PortFlags, ErrorText);
}

template <typename T>
FString TProperty_Numeric<T>::GetCPPType() const
{
	if constexpr (std::is_same_v<T, int8>) { return TEXT("int8"); }
	else if constexpr (std::is_same_v<T, int16>) { return TEXT("int16"); }
	else if constexpr (std::is_same_v<T, int32>) { return TEXT("int32"); }
	else if constexpr (std::is_same_v<T, int64>) { return TEXT("int64"); }
	else if constexpr (std::is_same_v<T, uint8>) { return TEXT("uint8"); }
	else if constexpr (std::is_same_v<T, uint16>) { return TEXT("uint16"); }
	else if constexpr (std::is_same_v<T, uint32>) { return TEXT("uint32"); }
	else if constexpr (std::is_same_v<T, uint64>) { return TEXT("uint64"); }
	else if constexpr (std::is_same_v<T, float>) { return TEXT("float"); }
	else { return TEXT("double"); }
}

template <typename T>
void TProperty_Numeric<T>::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const T Value = *static_cast<const T*>(PropertyValue);
	if constexpr (std::is_floating_point_v<T>)
	{
		ValueStr += FString::Printf(TEXT("%f"), (double)Value);
	}
	else if constexpr (std::is_signed_v<T>)
	{
		ValueStr += FString::Printf(TEXT("%lld"), (long long)Value);
	}
	else
	{
		ValueStr += FString::Printf(TEXT("%llu"), (unsigned long long)Value);
	}
}

template <typename T>
const TCHAR* TProperty_Numeric<T>::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FString Token;
	const TCHAR* End = ReadToken(Buffer, Token);
	if (!End)
	{
		return nullptr;
	}
	TCHAR* NumberEnd = nullptr;
	if constexpr (std::is_floating_point_v<T>)
	{
		const double Value = FCString::Atod(*Token);
		const bool bLooksNumeric = !Token.IsEmpty() && (FChar::IsDigit(Token[0]) || Token[0] == '-' || Token[0] == '+' || Token[0] == '.');
		if (!bLooksNumeric)
		{
			return nullptr;
		}
		*static_cast<T*>(Data) = (T)Value;
	}
	else
	{
		const int64 Value = FCString::Strtoi64(*Token, &NumberEnd, 10);
		if (NumberEnd == *Token || *NumberEnd != 0)
		{
			return nullptr;
		}
		*static_cast<T*>(Data) = (T)Value;
	}
	return End;
}

template class TProperty_Numeric<int8>;
template class TProperty_Numeric<int16>;
template class TProperty_Numeric<int32>;
template class TProperty_Numeric<int64>;
template class TProperty_Numeric<uint8>;
template class TProperty_Numeric<uint16>;
template class TProperty_Numeric<uint32>;
template class TProperty_Numeric<uint64>;
template class TProperty_Numeric<float>;
template class TProperty_Numeric<double>;

namespace
{
	/** Writes an enumeration value by member name, as the engine's text form does. */
	void ExportEnumValue(FString& ValueStr, const UEnum* Enum, int64 Value)
	{
		const int32 Index = Enum->GetIndexByValue(Value);
		ValueStr += Index == INDEX_NONE ? FString::Printf(TEXT("%lld"), (long long)Value) : Enum->GetNameStringByIndex(Index);
	}

	/** Reads an enumeration member name (with or without type name) or number. */
	const TCHAR* ImportEnumValue(const TCHAR* Buffer, const UEnum* Enum, int64& OutValue)
	{
		FString Token;
		const TCHAR* End = ReadToken(Buffer, Token);
		if (!End)
		{
			return nullptr;
		}
		const int64 ByName = Enum->GetValueByNameString(Token);
		if (ByName != INDEX_NONE)
		{
			OutValue = ByName;
			return End;
		}
		TCHAR* NumberEnd = nullptr;
		const int64 ByNumber = FCString::Strtoi64(*Token, &NumberEnd, 10);
		if (NumberEnd != *Token && *NumberEnd == 0 && Enum->IsValidEnumValue(ByNumber))
		{
			OutValue = ByNumber;
			return End;
		}
		return nullptr;
	}
}

FString FByteProperty::GetCPPType() const
{
	return Enum ? FString::Printf(TEXT("TEnumAsByte<%s>"), *Enum->GetName()) : FString(TEXT("uint8"));
}

void FByteProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	if (Enum)
	{
		ExportEnumValue(ValueStr, Enum, *static_cast<const uint8*>(PropertyValue));
		return;
	}
	TProperty_Numeric::ExportTextItem_Direct(ValueStr, PropertyValue, DefaultValue, Parent, PortFlags, ExportRootScope);
}

const TCHAR* FByteProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	if (Enum)
	{
		int64 Value = 0;
		const TCHAR* End = ImportEnumValue(Buffer, Enum, Value);
		if (End)
		{
			*static_cast<uint8*>(Data) = (uint8)Value;
		}
		return End;
	}
	return TProperty_Numeric::ImportText_Direct(Buffer, Data, OwnerObject, PortFlags, ErrorText);
}

void FBoolProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ValueStr += GetPropertyValue(PropertyValue) ? TEXT("True") : TEXT("False");
}

const TCHAR* FBoolProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FString Token;
	const TCHAR* End = ReadToken(Buffer, Token);
	if (!End)
	{
		return nullptr;
	}
	if (Token == TEXT("True") || Token == TEXT("Yes") || Token == TEXT("1"))
	{
		SetPropertyValue(Data, true);
		return End;
	}
	if (Token == TEXT("False") || Token == TEXT("No") || Token == TEXT("0"))
	{
		SetPropertyValue(Data, false);
		return End;
	}
	return nullptr;
}

void FNameProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FString Text = GetPropertyValue(PropertyValue).ToString();
	ValueStr += (PortFlags & PPF_Delimited) ? QuoteString(Text) : Text;
}

const TCHAR* FNameProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FString Token;
	const TCHAR* End = ReadToken(Buffer, Token);
	if (!End)
	{
		// An empty quoted or unquoted name reads as None.
		const TCHAR* Rest = SkipWhitespace(Buffer);
		if (Rest && Rest[0] == '"' && Rest[1] == '"')
		{
			SetPropertyValue(Data, FName());
			return Rest + 2;
		}
		return nullptr;
	}
	SetPropertyValue(Data, FName(*Token));
	return End;
}

void FStrProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FString& Text = GetPropertyValue(PropertyValue);
	ValueStr += (PortFlags & PPF_Delimited) ? QuoteString(Text) : Text;
}

const TCHAR* FStrProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	const TCHAR* Start = SkipWhitespace(Buffer);
	if (Start && *Start == '"')
	{
		FString Token;
		const TCHAR* End = ReadToken(Start, Token);
		if (!End)
		{
			return nullptr;
		}
		SetPropertyValue(Data, Token);
		return End;
	}
	if (PortFlags & PPF_Delimited)
	{
		FString Token;
		const TCHAR* End = ReadToken(Buffer, Token);
		SetPropertyValue(Data, Token);
		return End ? End : Start;
	}
	// Outside a struct or array the whole remaining text is the string.
	SetPropertyValue(Data, FString(Buffer));
	return Buffer + FCString::Strlen(Buffer);
}

void FTextProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FText& Text = GetPropertyValue(PropertyValue);
	const TOptional<FString> Namespace = FTextInspector::GetNamespace(Text);
	const TOptional<FString> Key = FTextInspector::GetKey(Text);
	if (Namespace.IsSet() && Key.IsSet())
	{
		ValueStr += FString::Printf(TEXT("NSLOCTEXT(%s, %s, %s)"), *QuoteString(Namespace.GetValue()), *QuoteString(Key.GetValue()), *QuoteString(Text.ToString()));
	}
	else
	{
		ValueStr += FString::Printf(TEXT("INVTEXT(%s)"), *QuoteString(Text.ToString()));
	}
}

const TCHAR* FTextProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	const TCHAR* Cursor = SkipWhitespace(Buffer);
	const FString Rest(Cursor);
	auto ReadArguments = [](const TCHAR* Start, int32 Count, TArray<FString>& OutArguments) -> const TCHAR*
	{
		const TCHAR* Cursor = Start;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			FString Argument;
			Cursor = ReadToken(Cursor, Argument);
			if (!Cursor)
			{
				return nullptr;
			}
			OutArguments.Add(Argument);
			Cursor = SkipWhitespace(Cursor);
			if (*Cursor != (Index + 1 < Count ? ',' : ')'))
			{
				return nullptr;
			}
			++Cursor;
		}
		return Cursor;
	};
	TArray<FString> Arguments;
	if (Rest.StartsWith(TEXT("NSLOCTEXT("), ESearchCase::CaseSensitive))
	{
		const TCHAR* End = ReadArguments(Cursor + 10, 3, Arguments);
		if (End)
		{
			SetPropertyValue(Data, FText::AsLocalizable_Advanced(*Arguments[0], *Arguments[1], *Arguments[2]));
		}
		return End;
	}
	if (Rest.StartsWith(TEXT("INVTEXT("), ESearchCase::CaseSensitive))
	{
		const TCHAR* End = ReadArguments(Cursor + 8, 1, Arguments);
		if (End)
		{
			SetPropertyValue(Data, FText::AsCultureInvariant(Arguments[0]));
		}
		return End;
	}
	FString Token;
	const TCHAR* End = ReadToken(Cursor, Token);
	if (End)
	{
		SetPropertyValue(Data, FText::FromString(Token));
	}
	return End;
}

FEnumProperty::FEnumProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UEnum* InEnum, FNumericProperty* InUnderlyingProp)
	: FProperty(InOwner, InName, InOffset, InFlags, InUnderlyingProp->ElementSize)
	, Enum(InEnum)
	, UnderlyingProp(InUnderlyingProp)
{
}

FEnumProperty::~FEnumProperty()
{
	delete UnderlyingProp;
}

FString FEnumProperty::GetCPPType() const
{
	return Enum->GetName();
}

void FEnumProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ExportEnumValue(ValueStr, Enum, UnderlyingProp->GetSignedIntPropertyValue(PropertyValue));
}

const TCHAR* FEnumProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	int64 Value = 0;
	const TCHAR* End = ImportEnumValue(Buffer, Enum, Value);
	if (End)
	{
		UnderlyingProp->SetIntPropertyValue(Data, Value);
	}
	return End;
}

FStructProperty::FStructProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UScriptStruct* InStruct)
	: FProperty(InOwner, InName, InOffset, InFlags, InStruct->GetStructureSize())
	, Struct(InStruct)
{
}

void FStructProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ValueStr.AppendChar('(');
	bool bFirst = true;
	for (TFieldIterator<FProperty> It(Struct); It; ++It)
	{
		// A static array member writes each element as Name(Index)=Value.
		for (int32 ArrayIndex = 0; ArrayIndex < It->ArrayDim; ++ArrayIndex)
		{
			if (!bFirst)
			{
				ValueStr.AppendChar(',');
			}
			bFirst = false;
			ValueStr += It->ArrayDim > 1 ? FString::Printf(TEXT("%s(%d)"), *It->GetName(), ArrayIndex) : It->GetName();
			ValueStr.AppendChar('=');
			It->ExportTextItem_Direct(ValueStr, It->ContainerPtrToValuePtr<void>(PropertyValue, ArrayIndex), nullptr, Parent, PortFlags | PPF_Delimited, ExportRootScope);
		}
	}
	ValueStr.AppendChar(')');
}

const TCHAR* FStructProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	const TCHAR* Cursor = SkipWhitespace(Buffer);
	if (!Cursor || *Cursor != '(')
	{
		return nullptr;
	}
	Cursor = SkipWhitespace(Cursor + 1);
	// Members may come in any order; those not named keep their values.
	while (*Cursor && *Cursor != ')')
	{
		FString MemberName;
		while (*Cursor && *Cursor != '=' && !FChar::IsWhitespace(*Cursor))
		{
			MemberName.AppendChar(*Cursor++);
		}
		Cursor = SkipWhitespace(Cursor);
		if (*Cursor != '=')
		{
			return nullptr;
		}
		int32 ArrayIndex = 0;
		int32 Open = INDEX_NONE;
		if (MemberName.EndsWith(TEXT(")")) && MemberName.FindChar('(', Open))
		{
			ArrayIndex = FCString::Atoi(*MemberName.Mid(Open + 1, MemberName.Len() - Open - 2));
			MemberName.LeftInline(Open);
		}
		FProperty* Member = Struct->FindPropertyByName(FName(*MemberName));
		if (!Member || ArrayIndex < 0 || ArrayIndex >= Member->ArrayDim)
		{
			return nullptr;
		}
		Cursor = Member->ImportText_Direct(Cursor + 1, Member->ContainerPtrToValuePtr<void>(Data, ArrayIndex), OwnerObject, PortFlags | PPF_Delimited, ErrorText);
		Cursor = Cursor ? SkipListSeparator(Cursor) : nullptr;
		if (!Cursor)
		{
			return nullptr;
		}
	}
	return *Cursor == ')' ? Cursor + 1 : nullptr;
}

FArrayProperty::FArrayProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, FProperty* InInner, const FScriptArrayOps* InOps)
	: FProperty(InOwner, InName, InOffset, InFlags, InOps->Size)
	, Inner(InInner)
	, Ops(InOps)
{
}

FArrayProperty::~FArrayProperty()
{
	delete Inner;
}

bool FArrayProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	const FScriptArrayHelper HelperA(this, A);
	const FScriptArrayHelper HelperB(this, B);
	if (HelperA.Num() != HelperB.Num())
	{
		return false;
	}
	for (int32 Index = 0; Index < HelperA.Num(); ++Index)
	{
		if (!Inner->Identical(HelperA.GetRawPtr(Index), HelperB.GetRawPtr(Index), PortFlags))
		{
			return false;
		}
	}
	return true;
}

void FArrayProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FScriptArrayHelper Helper(this, PropertyValue);
	ValueStr.AppendChar('(');
	for (int32 Index = 0; Index < Helper.Num(); ++Index)
	{
		if (Index > 0)
		{
			ValueStr.AppendChar(',');
		}
		Inner->ExportTextItem_Direct(ValueStr, Helper.GetRawPtr(Index), nullptr, Parent, PortFlags | PPF_Delimited, ExportRootScope);
	}
	ValueStr.AppendChar(')');
}

const TCHAR* FArrayProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	const TCHAR* Cursor = SkipWhitespace(Buffer);
	if (!Cursor || *Cursor != '(')
	{
		return nullptr;
	}
	const FScriptArrayHelper Helper(this, Data);
	Helper.EmptyValues();
	Cursor = SkipWhitespace(Cursor + 1);
	while (*Cursor && *Cursor != ')')
	{
		const int32 Index = Helper.AddValue();
		Cursor = Inner->ImportText_Direct(Cursor, Helper.GetRawPtr(Index), OwnerObject, PortFlags | PPF_Delimited, ErrorText);
		Cursor = Cursor ? SkipListSeparator(Cursor) : nullptr;
		if (!Cursor)
		{
			return nullptr;
		}
	}
	return *Cursor == ')' ? Cursor + 1 : nullptr;
}

FObjectPropertyBase::FObjectPropertyBase(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, int32 InElementSize, UClass* InPropertyClass)
	: FProperty(InOwner, InName, InOffset, InFlags, InElementSize)
	, PropertyClass(InPropertyClass)
{
}

void FObjectPropertyBase::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const UObject* Object = GetObjectPropertyValue(PropertyValue);
	if (!Object)
	{
		ValueStr += TEXT("None");
		return;
	}
	// The engine's export path: the class path, then the object path in single quotes.
	ValueStr += FString::Printf(TEXT("%s'%s'"), *Object->GetClass()->GetPathName(), *Object->GetPathName());
}

const TCHAR* FObjectPropertyBase::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FString Token;
	const TCHAR* End = ReadToken(Buffer, Token);
	if (!End)
	{
		return nullptr;
	}
	if (Token == TEXT("None"))
	{
		SetObjectPropertyValue(Data, nullptr);
		return End;
	}
	UObject* Object = StaticFindObject(PropertyClass, nullptr, *Token);
	if (!Object)
	{
		Object = FSoftObjectPath(Token).TryLoad();
	}
	if (!Object || !Object->IsA(PropertyClass))
	{
		return nullptr;
	}
	SetObjectPropertyValue(Data, Object);
	return End;
}

FObjectProperty::FObjectProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UClass* InPropertyClass)
	: FObjectPropertyBase(InOwner, InName, InOffset, InFlags, (int32)sizeof(UObject*), InPropertyClass)
{
}

FString FObjectProperty::GetCPPType() const
{
	return PropertyClass->GetPrefixCPP() + PropertyClass->GetName() + TEXT("*");
}

FClassProperty::FClassProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UClass* InMetaClass)
	: FObjectProperty(InOwner, InName, InOffset, InFlags, UClass::StaticClass())
	, MetaClass(InMetaClass)
{
}

FString FClassProperty::GetCPPType() const
{
	return FString::Printf(TEXT("TSubclassOf<%s%s>"), *MetaClass->GetPrefixCPP(), *MetaClass->GetName());
}

const TCHAR* FClassProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	const TCHAR* End = FObjectProperty::ImportText_Direct(Buffer, Data, OwnerObject, PortFlags, ErrorText);
	const UClass* Class = static_cast<const UClass*>(GetObjectPropertyValue(Data));
	if (End && Class && !Class->IsChildOf(MetaClass))
	{
		SetObjectPropertyValue(Data, nullptr);
		return nullptr;
	}
	return End;
}

FSoftObjectProperty::FSoftObjectProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UClass* InPropertyClass)
	: FObjectPropertyBase(InOwner, InName, InOffset, InFlags, (int32)sizeof(FSoftObjectPtr), InPropertyClass)
{
}

FString FSoftObjectProperty::GetCPPType() const
{
	return FString::Printf(TEXT("TSoftObjectPtr<%s%s>"), *PropertyClass->GetPrefixCPP(), *PropertyClass->GetName());
}

void FSoftObjectProperty::InitializeValue(void* Dest) const
{
	new (Dest) FSoftObjectPtr();
}

void FSoftObjectProperty::DestroyValue(void* Dest) const
{
	static_cast<FSoftObjectPtr*>(Dest)->~FSoftObjectPtr();
}

void FSoftObjectProperty::CopySingleValue(void* Dest, const void* Src) const
{
	*static_cast<FSoftObjectPtr*>(Dest) = *static_cast<const FSoftObjectPtr*>(Src);
}

bool FSoftObjectProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return *static_cast<const FSoftObjectPtr*>(A) == *static_cast<const FSoftObjectPtr*>(B);
}

UObject* FSoftObjectProperty::GetObjectPropertyValue(const void* PropertyValueAddress) const
{
	return static_cast<const FSoftObjectPtr*>(PropertyValueAddress)->Get();
}

void FSoftObjectProperty::SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const
{
	*static_cast<FSoftObjectPtr*>(PropertyValueAddress) = FSoftObjectPtr(Value);
}

void FSoftObjectProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FString Path = static_cast<const FSoftObjectPtr*>(PropertyValue)->ToSoftObjectPath().ToString();
	ValueStr += (PortFlags & PPF_Delimited) ? QuoteString(Path) : Path;
}

const TCHAR* FSoftObjectProperty::ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FString Token;
	const TCHAR* End = ReadToken(Buffer, Token);
	if (!End)
	{
		const TCHAR* Rest = SkipWhitespace(Buffer);
		if (Rest && Rest[0] == '"' && Rest[1] == '"')
		{
			*static_cast<FSoftObjectPtr*>(Data) = FSoftObjectPtr();
			return Rest + 2;
		}
		return nullptr;
	}
	int32 Quote = INDEX_NONE;
	if (Token.EndsWith(TEXT("'")) && Token.FindChar('\'', Quote) && Quote < Token.Len() - 1)
	{
		Token = Token.Mid(Quote + 1, Token.Len() - Quote - 2);
	}
	*static_cast<FSoftObjectPtr*>(Data) = Token == TEXT("None") ? FSoftObjectPtr() : FSoftObjectPtr(FSoftObjectPath(Token));
	return End;
}
