// Reflected types and their registration.

#include "UObject/Class.h"

#include "UObject/GeneratedCppIncludes.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"
#include "UObjectSystemInternal.h"

namespace
{
	const FString EmptyString;

	/** Makes a reflection object outside NewObject: its own class may not exist yet while it is made. */
	template <typename T>
	T* ConstructReflectionObject(const TCHAR* Name)
	{
		T* Object = new T();
		FUObjectSystem::SetIdentity(Object, nullptr, FName(Name), nullptr, EObjectFlags(RF_Public | RF_Standalone | RF_MarkAsNative));
		return Object;
	}

	void ApplyFieldMetaData(UField* Field, const UECodeGen_Private::FMetaDataPair* MetaData, int32 NumMetaData)
	{
		for (int32 Index = 0; Index < NumMetaData; ++Index)
		{
			Field->SetMetaData(FName(MetaData[Index].Key), FString(MetaData[Index].Value));
		}
	}
}

// Intrinsic classes of the object system. Their reflection is written here rather than generated.
#define IMPLEMENT_INTRINSIC_CLASS(TClass, TSuperClass, TName, TFlags) \
	UClass* TClass::StaticClass() \
	{ \
		static UClass* Class = nullptr; \
		if (!Class) \
		{ \
			static const UECodeGen_Private::FClassParams Params = { \
				TEXT("/Script/CoreUObject"), TEXT(TName), TEXT("U"), TEXT(TName), \
				TSuperClass, &UECodeGen_Private::InternalConstructor<TClass>, EClassFlags(TFlags | CLASS_Intrinsic), \
				nullptr, nullptr, 0}; \
			UECodeGen_Private::ConstructUClass(Class, Params); \
		} \
		return Class; \
	} \
	UClass* Z_Construct_UClass_##TClass##_NoRegister() \
	{ \
		return TClass::StaticClass(); \
	}

static UClass* NoSuperClass()
{
	return nullptr;
}

IMPLEMENT_INTRINSIC_CLASS(UObject, &NoSuperClass, "Object", CLASS_Abstract)
IMPLEMENT_INTRINSIC_CLASS(UField, &UObject::StaticClass, "Field", CLASS_Abstract)
IMPLEMENT_INTRINSIC_CLASS(UStruct, &UField::StaticClass, "Struct", CLASS_None)
IMPLEMENT_INTRINSIC_CLASS(UScriptStruct, &UStruct::StaticClass, "ScriptStruct", CLASS_None)
IMPLEMENT_INTRINSIC_CLASS(UClass, &UStruct::StaticClass, "Class", CLASS_None)
IMPLEMENT_INTRINSIC_CLASS(UEnum, &UField::StaticClass, "Enum", CLASS_None)
IMPLEMENT_INTRINSIC_CLASS(UFunction, &UStruct::StaticClass, "Function", CLASS_None)
IMPLEMENT_INTRINSIC_CLASS(UPackage, &UObject::StaticClass, "Package", CLASS_None)

namespace UECodeGen_Private
{
	void ConstructUClass(UClass*& OutClass, const FClassParams& Params)
	{
		UClass* Class = ConstructReflectionObject<UClass>(Params.Name);
		OutClass = Class;
		Class->ClassFlags = EClassFlags(Params.ClassFlags | CLASS_Native);
		Class->ClassConstructor = Params.Constructor;
		Class->SetPrefixCPP(Params.CppPrefix);
		Class->SetScriptName(Params.ScriptName ? Params.ScriptName : Params.Name);
		ApplyFieldMetaData(Class, Params.MetaData, Params.NumMetaData);
		if (Params.SuperClassFunc)
		{
			Class->SetSuperStruct(Params.SuperClassFunc());
		}
		FUObjectSystem::SetClass(Class, UClass::StaticClass());
		FUObjectSystem::SetOuterAndRegister(Class, CreatePackage(Params.PackageName));
		Class->bLinkedToPackage = true;
		if (Params.DefineMembers)
		{
			Params.DefineMembers(Class);
		}
		Class->ClassFlags = EClassFlags(Class->ClassFlags | CLASS_Constructed);
	}

	void ConstructUScriptStruct(UScriptStruct*& OutStruct, const FStructParams& Params)
	{
		UScriptStruct* Struct = ConstructReflectionObject<UScriptStruct>(Params.Name);
		OutStruct = Struct;
		Struct->SetScriptName(Params.ScriptName ? Params.ScriptName : Params.Name);
		ApplyFieldMetaData(Struct, Params.MetaData, Params.NumMetaData);
		if (Params.SuperStructFunc)
		{
			Struct->SetSuperStruct(Params.SuperStructFunc());
		}
		if (Params.MakeStructOps)
		{
			Struct->SetCppStructOps(Params.MakeStructOps());
		}
		FUObjectSystem::SetClass(Struct, UScriptStruct::StaticClass());
		FUObjectSystem::SetOuterAndRegister(Struct, CreatePackage(Params.PackageName));
		if (Params.DefineMembers)
		{
			Params.DefineMembers(Struct);
		}
	}

	void ConstructUEnum(UEnum*& OutEnum, const FEnumParams& Params)
	{
		UEnum* Enum = ConstructReflectionObject<UEnum>(Params.Name);
		OutEnum = Enum;
		Enum->SetScriptName(Params.ScriptName ? Params.ScriptName : Params.Name);
		ApplyFieldMetaData(Enum, Params.MetaData, Params.NumMetaData);
		TArray<TPair<FName, int64>> Names;
		TArray<FString> ScriptNames;
		for (int32 Index = 0; Index < Params.NumEnumerators; ++Index)
		{
			Names.Add(TPair<FName, int64>(FName(Params.Enumerators[Index].NameUTF8), Params.Enumerators[Index].Value));
			ScriptNames.Add(Params.Enumerators[Index].ScriptName);
		}
		Enum->SetEnums(Names, Params.CppForm);
		Enum->SetMemberScriptNames(ScriptNames);
		for (int32 Index = 0; Index < Params.NumEnumerators; ++Index)
		{
			for (int32 MetaIndex = 0; MetaIndex < Params.Enumerators[Index].NumMetaData; ++MetaIndex)
			{
				Enum->SetMetaData(Params.Enumerators[Index].MetaData[MetaIndex].Key, Params.Enumerators[Index].MetaData[MetaIndex].Value, Index);
			}
		}
		FUObjectSystem::SetClass(Enum, UEnum::StaticClass());
		FUObjectSystem::SetOuterAndRegister(Enum, CreatePackage(Params.PackageName));
	}

	UFunction* ConstructUFunction(UClass* OuterClass, const FFunctionParams& Params)
	{
		UFunction* Function = ConstructReflectionObject<UFunction>(Params.Name);
		Function->FunctionFlags = Params.FunctionFlags;
		Function->SetNativeFunc(Params.NativeFunc);
		Function->SetScriptName(Params.ScriptName ? Params.ScriptName : Params.Name);
		ApplyFieldMetaData(Function, Params.MetaData, Params.NumMetaData);
		if (Params.MakeParmsOps)
		{
			Function->SetParmsOps(Params.MakeParmsOps());
		}
		FUObjectSystem::SetClass(Function, UFunction::StaticClass());
		FUObjectSystem::SetOuterAndRegister(Function, OuterClass);
		if (Params.DefineParms)
		{
			Params.DefineParms(Function);
		}
		OuterClass->AddFunctionToFunctionMap(Function, Function->GetFName());
		return Function;
	}

	void ApplyMetaData(FField* Field, const FMetaDataPair* MetaData, int32 NumMetaData)
	{
		for (int32 Index = 0; Index < NumMetaData; ++Index)
		{
			Field->SetMetaData(FName(MetaData[Index].Key), FString(MetaData[Index].Value));
		}
	}
}

UField::UField() = default;
UField::UField(const FObjectInitializer& ObjectInitializer) : UObject(ObjectInitializer) {}

const FString& UField::GetMetaData(const FName& Key) const
{
	const FString* Value = MetaData.Find(Key);
	return Value ? *Value : EmptyString;
}

FText UField::GetDisplayNameText() const
{
	const FString* DisplayName = MetaData.Find(FName(TEXT("DisplayName")));
	return FText::FromString(DisplayName ? *DisplayName : GetName());
}

FText UField::GetToolTipText() const
{
	return FText::FromString(GetMetaData(FName(TEXT("ToolTip"))));
}

FField::FField(UStruct* InOwner, const FName& InName)
	: Owner(InOwner)
	, NamePrivate(InName)
{
}

FField::~FField() = default;

const FString& FField::GetMetaData(const FName& Key) const
{
	const FString* Value = MetaData.Find(Key);
	return Value ? *Value : EmptyString;
}

FText FField::GetDisplayNameText() const
{
	const FString* DisplayName = MetaData.Find(FName(TEXT("DisplayName")));
	return FText::FromString(DisplayName ? *DisplayName : GetName());
}

FText FField::GetToolTipText() const
{
	return FText::FromString(GetMetaData(FName(TEXT("ToolTip"))));
}

UStruct::UStruct() = default;
UStruct::UStruct(const FObjectInitializer& ObjectInitializer) : UField(ObjectInitializer) {}

UStruct::~UStruct()
{
	for (FProperty* Property : Properties)
	{
		delete Property;
	}
}

bool UStruct::IsChildOf(const UStruct* SomeBase) const
{
	for (const UStruct* Current = this; Current; Current = Current->GetSuperStruct())
	{
		if (Current == SomeBase)
		{
			return true;
		}
	}
	return false;
}

FProperty* UStruct::FindPropertyByName(FName InName) const
{
	for (const UStruct* Current = this; Current; Current = Current->GetSuperStruct())
	{
		for (FProperty* Property : Current->Properties)
		{
			if (Property->GetFName() == InName)
			{
				return Property;
			}
		}
	}
	return nullptr;
}

void UStruct::AddProperty(FProperty* Property)
{
	Properties.Add(Property);
}

UScriptStruct::UScriptStruct() = default;
UScriptStruct::UScriptStruct(const FObjectInitializer& ObjectInitializer) : UStruct(ObjectInitializer) {}

UScriptStruct::~UScriptStruct()
{
	delete CppStructOps;
}

void UScriptStruct::SetCppStructOps(ICppStructOps* InOps)
{
	delete CppStructOps;
	CppStructOps = InOps;
	if (CppStructOps)
	{
		SetPropertiesSize(CppStructOps->GetSize(), CppStructOps->GetAlignment());
	}
}

void UScriptStruct::InitializeStruct(void* Dest, int32 ArrayDim) const
{
	check(CppStructOps);
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		CppStructOps->Construct(static_cast<uint8*>(Dest) + Index * CppStructOps->GetSize());
	}
}

void UScriptStruct::DestroyStruct(void* Dest, int32 ArrayDim) const
{
	check(CppStructOps);
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		CppStructOps->Destruct(static_cast<uint8*>(Dest) + Index * CppStructOps->GetSize());
	}
}

void UScriptStruct::CopyScriptStruct(void* Dest, const void* Src, int32 ArrayDim) const
{
	check(CppStructOps);
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		CppStructOps->Copy(static_cast<uint8*>(Dest) + Index * CppStructOps->GetSize(), static_cast<const uint8*>(Src) + Index * CppStructOps->GetSize());
	}
}

bool UScriptStruct::CompareScriptStruct(const void* A, const void* B, uint32 PortFlags) const
{
	bool bResult = false;
	if (CppStructOps && CppStructOps->Identical(A, B, bResult))
	{
		return bResult;
	}
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		for (int32 Index = 0; Index < It->ArrayDim; ++Index)
		{
			if (!It->Identical(It->ContainerPtrToValuePtr<void>(A, Index), It->ContainerPtrToValuePtr<void>(B, Index), PortFlags))
			{
				return false;
			}
		}
	}
	return true;
}

UEnum::UEnum() = default;
UEnum::UEnum(const FObjectInitializer& ObjectInitializer) : UField(ObjectInitializer) {}

void UEnum::SetEnums(const TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm)
{
	CppForm = InCppForm;
	Names = InNames;
	int64 MaxValue = -1;
	for (const TPair<FName, int64>& Entry : Names)
	{
		MaxValue = Entry.Value > MaxValue ? Entry.Value : MaxValue;
	}
	const FString Prefix = CppForm == ECppForm::Regular ? FString() : GetName() + TEXT("::");
	Names.Add(TPair<FName, int64>(FName(*(Prefix + GetName() + TEXT("_MAX"))), MaxValue + 1));
	EntryMetaData.SetNum(Names.Num());
}

FName UEnum::GetNameByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Key : FName();
}

FString UEnum::GetNameStringByIndex(int32 Index) const
{
	if (!Names.IsValidIndex(Index))
	{
		return FString();
	}
	const FString Full = Names[Index].Key.ToString();
	FString Member;
	return Full.Split(TEXT("::"), nullptr, &Member) ? Member : Full;
}

int64 UEnum::GetValueByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Value : (int64)INDEX_NONE;
}

int32 UEnum::GetIndexByValue(int64 InValue) const
{
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		if (Names[Index].Value == InValue)
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

FName UEnum::GetNameByValue(int64 InValue) const
{
	return GetNameByIndex(GetIndexByValue(InValue));
}

FString UEnum::GetNameStringByValue(int64 InValue) const
{
	return GetNameStringByIndex(GetIndexByValue(InValue));
}

int32 UEnum::GetIndexByName(FName InName) const
{
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		if (Names[Index].Key == InName)
		{
			return Index;
		}
	}
	// A member named without its type name matches "EType::Member".
	if (CppForm != ECppForm::Regular && !InName.ToString().Contains(TEXT("::")))
	{
		const FName Qualified(*(GetName() + TEXT("::") + InName.ToString()));
		for (int32 Index = 0; Index < Names.Num(); ++Index)
		{
			if (Names[Index].Key == Qualified)
			{
				return Index;
			}
		}
	}
	return INDEX_NONE;
}

int64 UEnum::GetValueByName(FName InName) const
{
	const int32 Index = GetIndexByName(InName);
	return Index == INDEX_NONE ? (int64)INDEX_NONE : Names[Index].Value;
}

int64 UEnum::GetValueByNameString(const FString& SearchString) const
{
	return GetValueByName(FName(*SearchString));
}

int64 UEnum::GetMaxEnumValue() const
{
	return Names.IsEmpty() ? 0 : Names.Last().Value;
}

FString UEnum::GetMetaData(const TCHAR* Key, int32 NameIndex) const
{
	if (!EntryMetaData.IsValidIndex(NameIndex))
	{
		return FString();
	}
	const FString* Value = EntryMetaData[NameIndex].Find(FName(Key));
	return Value ? *Value : FString();
}

void UEnum::SetMetaData(const TCHAR* Key, const TCHAR* InValue, int32 NameIndex)
{
	if (EntryMetaData.IsValidIndex(NameIndex))
	{
		EntryMetaData[NameIndex].Add(FName(Key), FString(InValue));
	}
}

bool UEnum::HasMetaData(const TCHAR* Key, int32 NameIndex) const
{
	return EntryMetaData.IsValidIndex(NameIndex) && EntryMetaData[NameIndex].Contains(FName(Key));
}

FText UEnum::GetDisplayNameTextByIndex(int32 Index) const
{
	const FString DisplayName = GetMetaData(TEXT("DisplayName"), Index);
	return FText::FromString(DisplayName.IsEmpty() ? GetNameStringByIndex(Index) : DisplayName);
}

FText UEnum::GetDisplayNameTextByValue(int64 InValue) const
{
	return GetDisplayNameTextByIndex(GetIndexByValue(InValue));
}

UFunction::UFunction() = default;
UFunction::UFunction(const FObjectInitializer& ObjectInitializer) : UStruct(ObjectInitializer) {}

UFunction::~UFunction()
{
	delete ParmsOps;
}

void UFunction::Invoke(UObject* Context, void* Parms) const
{
	check(Func);
	Func(Context, Parms);
}

void UFunction::SetParmsOps(UScriptStruct::ICppStructOps* InOps)
{
	delete ParmsOps;
	ParmsOps = InOps;
	if (ParmsOps)
	{
		SetPropertiesSize(ParmsOps->GetSize(), ParmsOps->GetAlignment());
	}
}

void UFunction::InitializeParms(void* Dest) const
{
	if (ParmsOps)
	{
		ParmsOps->Construct(Dest);
	}
}

void UFunction::DestroyParms(void* Dest) const
{
	if (ParmsOps)
	{
		ParmsOps->Destruct(Dest);
	}
}

FProperty* UFunction::GetReturnProperty() const
{
	for (FProperty* Property : GetOwnProperties())
	{
		if (Property->HasAnyPropertyFlags(CPF_ReturnParm))
		{
			return Property;
		}
	}
	return nullptr;
}

UClass* UFunction::GetOwnerClass() const
{
	return static_cast<UClass*>(GetOuter());
}

UClass::UClass() = default;
UClass::UClass(const FObjectInitializer& ObjectInitializer) : UStruct(ObjectInitializer) {}

UObject* UClass::GetDefaultObject(bool bCreateIfNeeded) const
{
	if (!ClassDefaultObject && bCreateIfNeeded && ClassConstructor)
	{
		UClass* MutableThis = const_cast<UClass*>(this);
		const FName DefaultName(*(TEXT("Default__") + GetName()));
		// Class default objects exist for abstract classes too; they are made past NewObject's refusal.
		const EClassFlags SavedFlags = ClassFlags;
		MutableThis->ClassFlags = EClassFlags(ClassFlags & ~CLASS_Abstract);
		FStaticConstructObjectParameters Params(this);
		Params.Outer = GetOuter();
		Params.Name = DefaultName;
		Params.SetFlags = EObjectFlags(RF_Public | RF_ClassDefaultObject | RF_ArchetypeObject);
		ClassDefaultObject = StaticConstructObject_Internal(Params);
		MutableThis->ClassFlags = SavedFlags;
	}
	return ClassDefaultObject;
}

void UClass::AddFunctionToFunctionMap(UFunction* Function, FName FuncName)
{
	(void)FuncName;
	Functions.Add(Function);
}

UFunction* UClass::FindFunctionByName(FName InName) const
{
	for (const UClass* Current = this; Current; Current = Current->GetSuperClass())
	{
		for (UFunction* Function : Current->Functions)
		{
			if (Function->GetFName() == InName)
			{
				return Function;
			}
		}
	}
	return nullptr;
}

FTopLevelAssetPath UClass::GetClassPathName() const
{
	return FTopLevelAssetPath(FName(GetOutermost()->GetName()), GetFName());
}
