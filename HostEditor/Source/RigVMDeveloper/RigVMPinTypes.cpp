#include "RigVMPinTypes.h"

#include <new>

#include "RigVMCore/RigVMExecuteContext.h"
#include "RigVMCore/RigVMUnknownType.h"
#include "UObject/SoftObjectPtr.h"

namespace RigVMPinTypes
{
	const TCHAR* WildCardCPPType = TEXT("FRigVMUnknownType");
	const TCHAR* WildCardArrayCPPType = TEXT("TArray<FRigVMUnknownType>");

	namespace
	{
		const TCHAR* const ArrayPrefix = TEXT("TArray<");
		/** Values are laid out at this alignment at least, enough for every reflected type. */
		constexpr size_t ValueAlignment = 16;

		/** The class named inside "TObjectPtr<UFoo>" / "TSoftObjectPtr<UFoo>" / "UFoo*" must be the type object. */
		bool NamesClass(const FString& CPPType, const UClass* Class)
		{
			const FString ClassName = Class->GetPrefixCPP() + Class->GetName();
			return CPPType == TEXT("TObjectPtr<") + ClassName + TEXT(">") || CPPType == TEXT("TSoftObjectPtr<") + ClassName + TEXT(">") || CPPType == ClassName + TEXT("*");
		}
	}

	bool IsArrayType(const FString& CPPType)
	{
		return CPPType.StartsWith(ArrayPrefix, ESearchCase::CaseSensitive) && CPPType.EndsWith(TEXT(">"), ESearchCase::CaseSensitive);
	}

	FString BaseTypeFromArrayType(const FString& CPPType)
	{
		if (!IsArrayType(CPPType))
		{
			return CPPType;
		}
		return CPPType.Mid(FCString::Strlen(ArrayPrefix), CPPType.Len() - FCString::Strlen(ArrayPrefix) - 1).TrimStartAndEnd();
	}

	FString ArrayTypeFromBaseType(const FString& CPPType)
	{
		return ArrayPrefix + CPPType + TEXT(">");
	}

	bool IsWildCardType(const FString& CPPType)
	{
		return CPPType == WildCardCPPType || CPPType == WildCardArrayCPPType;
	}

	bool IsExecuteType(const UObject* TypeObject)
	{
		const UScriptStruct* Struct = dynamic_cast<const UScriptStruct*>(TypeObject);
		if (!Struct)
		{
			return false;
		}
		if (Struct->IsChildOf(FRigVMExecuteContext::StaticStruct()))
		{
			return true;
		}
		for (const UStruct* Current = Struct; Current; Current = Current->GetSuperStruct())
		{
			if (Current->GetName() == TEXT("RigVMExecutePin"))
			{
				return true;
			}
		}
		return false;
	}

	void GetPropertyPinType(const FProperty* Property, FString& OutCPPType, UObject*& OutTypeObject)
	{
		OutTypeObject = nullptr;
		if (const FArrayProperty* Array = CastField<FArrayProperty>(Property))
		{
			FString InnerType;
			GetPropertyPinType(Array->Inner, InnerType, OutTypeObject);
			OutCPPType = ArrayTypeFromBaseType(InnerType);
			return;
		}
		if (const FStructProperty* Struct = CastField<FStructProperty>(Property))
		{
			OutTypeObject = Struct->Struct;
			OutCPPType = Struct->Struct->GetStructCPPName();
			return;
		}
		if (const FEnumProperty* Enum = CastField<FEnumProperty>(Property))
		{
			OutTypeObject = Enum->GetEnum();
			OutCPPType = Enum->GetEnum()->GetName();
			return;
		}
		if (const FByteProperty* Byte = CastField<FByteProperty>(Property); Byte && Byte->Enum)
		{
			OutTypeObject = Byte->Enum;
			OutCPPType = Byte->GetCPPType();
			return;
		}
		if (const FSoftObjectProperty* Soft = CastField<FSoftObjectProperty>(Property))
		{
			OutTypeObject = Soft->PropertyClass;
			OutCPPType = Soft->GetCPPType();
			return;
		}
		if (const FObjectProperty* Object = CastField<FObjectProperty>(Property); Object && !CastField<FClassProperty>(Property))
		{
			OutTypeObject = Object->PropertyClass;
			OutCPPType = TEXT("TObjectPtr<") + Object->PropertyClass->GetPrefixCPP() + Object->PropertyClass->GetName() + TEXT(">");
			return;
		}
		OutCPPType = Property->GetCPPType();
	}

	TUniquePtr<FProperty> MakeValueProperty(const FString& CPPType, UObject* TypeObject)
	{
		if (IsArrayType(CPPType))
		{
			return nullptr;
		}
		const FName Name(TEXT("Value"));
		if (UScriptStruct* Struct = dynamic_cast<UScriptStruct*>(TypeObject))
		{
			if (CPPType != Struct->GetStructCPPName())
			{
				return nullptr;
			}
			return TUniquePtr<FProperty>(new FStructProperty(nullptr, Name, 0, CPF_None, Struct));
		}
		if (UEnum* Enum = dynamic_cast<UEnum*>(TypeObject))
		{
			if (CPPType != Enum->GetName() && CPPType != FString::Printf(TEXT("TEnumAsByte<%s>"), *Enum->GetName()))
			{
				return nullptr;
			}
			return TUniquePtr<FProperty>(new FByteProperty(nullptr, Name, 0, CPF_None, Enum));
		}
		if (UClass* Class = dynamic_cast<UClass*>(TypeObject))
		{
			if (!NamesClass(CPPType, Class))
			{
				return nullptr;
			}
			if (CPPType.StartsWith(TEXT("TSoftObjectPtr<"), ESearchCase::CaseSensitive))
			{
				return TUniquePtr<FProperty>(new FSoftObjectProperty(nullptr, Name, 0, CPF_None, Class));
			}
			return TUniquePtr<FProperty>(new FObjectProperty(nullptr, Name, 0, CPF_None, Class));
		}
		if (TypeObject)
		{
			return nullptr;
		}
		if (CPPType == TEXT("bool")) { return TUniquePtr<FProperty>(new FBoolProperty(nullptr, Name, 0, CPF_None)); }
		if (CPPType == TEXT("int32")) { return TUniquePtr<FProperty>(new FIntProperty(nullptr, Name, 0, CPF_None)); }
		if (CPPType == TEXT("int64")) { return TUniquePtr<FProperty>(new FInt64Property(nullptr, Name, 0, CPF_None)); }
		if (CPPType == TEXT("uint8")) { return TUniquePtr<FProperty>(new FByteProperty(nullptr, Name, 0, CPF_None)); }
		if (CPPType == TEXT("uint32")) { return TUniquePtr<FProperty>(new FUInt32Property(nullptr, Name, 0, CPF_None)); }
		if (CPPType == TEXT("float")) { return TUniquePtr<FProperty>(new FFloatProperty(nullptr, Name, 0, CPF_None)); }
		if (CPPType == TEXT("double")) { return TUniquePtr<FProperty>(new FDoubleProperty(nullptr, Name, 0, CPF_None)); }
		if (CPPType == TEXT("FName")) { return TUniquePtr<FProperty>(new FNameProperty(nullptr, Name, 0, CPF_None)); }
		if (CPPType == TEXT("FString")) { return TUniquePtr<FProperty>(new FStrProperty(nullptr, Name, 0, CPF_None)); }
		if (CPPType == TEXT("FText")) { return TUniquePtr<FProperty>(new FTextProperty(nullptr, Name, 0, CPF_None)); }
		return nullptr;
	}

	bool IsValidPinType(const FString& CPPType, const UObject* TypeObject)
	{
		return MakeValueProperty(BaseTypeFromArrayType(CPPType), const_cast<UObject*>(TypeObject)) != nullptr;
	}

	bool ImportWhole(const FProperty* Property, const FString& Text, void* Data)
	{
		const TCHAR* End = Property->ImportText_Direct(*Text, Data, nullptr, PPF_None);
		if (!End)
		{
			return false;
		}
		End = PropertyTextUtils::SkipWhitespace(End);
		return End && *End == 0;
	}

	bool SplitArrayText(const FString& Text, TArray<FString>& OutElements)
	{
		OutElements.Reset();
		const FString Trimmed = Text.TrimStartAndEnd();
		if (Trimmed.IsEmpty() || Trimmed == TEXT("()"))
		{
			return true;
		}
		if (!Trimmed.StartsWith(TEXT("("), ESearchCase::CaseSensitive) || !Trimmed.EndsWith(TEXT(")"), ESearchCase::CaseSensitive))
		{
			return false;
		}
		int32 Depth = 0;
		bool bInQuotes = false;
		FString Current;
		for (int32 Index = 1; Index < Trimmed.Len() - 1; ++Index)
		{
			const TCHAR Char = Trimmed[Index];
			if (bInQuotes)
			{
				Current.AppendChar(Char);
				if (Char == '\\' && Index + 1 < Trimmed.Len() - 1)
				{
					Current.AppendChar(Trimmed[++Index]);
				}
				else if (Char == '"')
				{
					bInQuotes = false;
				}
				continue;
			}
			if (Char == '"')
			{
				bInQuotes = true;
			}
			else if (Char == '(')
			{
				++Depth;
			}
			else if (Char == ')')
			{
				if (--Depth < 0)
				{
					return false;
				}
			}
			else if (Char == ',' && Depth == 0)
			{
				OutElements.Add(Current.TrimStartAndEnd());
				Current.Reset();
				continue;
			}
			Current.AppendChar(Char);
		}
		if (bInQuotes || Depth != 0)
		{
			return false;
		}
		OutElements.Add(Current.TrimStartAndEnd());
		return true;
	}

	FString GetStructNodeTitle(const UScriptStruct* Struct)
	{
		const FString DisplayName = Struct->GetMetaData(TEXT("DisplayName"));
		return DisplayName.IsEmpty() ? Struct->GetDisplayNameText().ToString() : DisplayName;
	}

	FString GetStructMetaDataHierarchical(const UScriptStruct* Struct, const TCHAR* Key)
	{
		for (const UStruct* Current = Struct; Current; Current = Current->GetSuperStruct())
		{
			if (Current->HasMetaData(Key))
			{
				return Current->GetMetaData(Key);
			}
		}
		return FString();
	}

	TArray<FProperty*> GetOrderedProperties(const UStruct* Struct)
	{
		TArray<const UStruct*> Chain;
		for (const UStruct* Current = Struct; Current; Current = Current->GetSuperStruct())
		{
			Chain.Insert(Current, 0);
		}
		TArray<FProperty*> Result;
		for (const UStruct* Current : Chain)
		{
			Result.Append(Current->GetOwnProperties());
		}
		return Result;
	}

	FScopedValue::FScopedValue(const FProperty* InProperty)
		: Property(InProperty)
	{
		Data = ::operator new((size_t)FMath::Max(Property->GetSize(), 1), std::align_val_t(ValueAlignment));
		Property->InitializeValue(Data);
	}

	FScopedValue::~FScopedValue()
	{
		Property->DestroyValue(Data);
		::operator delete(Data, std::align_val_t(ValueAlignment));
	}
}
