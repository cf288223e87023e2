// Reflected types: UStruct, UScriptStruct, UClass, UEnum and UFunction.
#pragma once

#include <new>
#include <type_traits>

#include "CoreMinimal.h"
#include "UObject/TopLevelAssetPath.h"
#include "UObject/Field.h"

class FProperty;
class FObjectInitializer;

/** A reflected type with properties: the base of structs, classes and functions. */
class COREUOBJECT_API UStruct : public UField
{
	DECLARE_CLASS(UStruct, UField, CLASS_None, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)

public:
	UStruct();
	explicit UStruct(const FObjectInitializer& ObjectInitializer);
	virtual ~UStruct() override;

	UStruct* GetSuperStruct() const { return SuperStruct; }
	void SetSuperStruct(UStruct* NewSuperStruct) { SuperStruct = NewSuperStruct; }
	/** True when this type is SomeBase or derives from it. */
	bool IsChildOf(const UStruct* SomeBase) const;
	template <typename T>
	bool IsChildOf() const
	{
		return IsChildOf(T::StaticClass());
	}

	/** Finds a property by name here or in a base type (names compare without case). */
	FProperty* FindPropertyByName(FName InName) const;
	/** The properties declared by this type itself, in declaration order. Owned by the type. */
	const TArray<FProperty*>& GetOwnProperties() const { return Properties; }
	/** Adds a property; the type takes ownership. */
	void AddProperty(FProperty* Property);

	int32 GetPropertiesSize() const { return PropertiesSize; }
	int32 GetMinAlignment() const { return MinAlignment; }
	void SetPropertiesSize(int32 Size, int32 Alignment)
	{
		PropertiesSize = Size;
		MinAlignment = Alignment;
	}

	/** Returns the C++ name of the type ("FVector", "UObject"). */
	virtual FString GetPrefixCPP() const { return FString(); }

private:
	UStruct* SuperStruct = nullptr;
	TArray<FProperty*> Properties;
	int32 PropertiesSize = 0;
	int32 MinAlignment = 1;
};

/** A reflected struct (a USTRUCT or one of the engine's core structs). */
class COREUOBJECT_API UScriptStruct : public UStruct
{
	DECLARE_CLASS(UScriptStruct, UStruct, CLASS_None, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)

public:
	/** How to construct, copy, compare and destroy values of the native type. */
	struct ICppStructOps
	{
		ICppStructOps(int32 InSize, int32 InAlignment)
			: Size(InSize)
			, Alignment(InAlignment)
		{
		}
		virtual ~ICppStructOps() = default;
		virtual void Construct(void* Dest) const = 0;
		virtual void Destruct(void* Dest) const = 0;
		virtual void Copy(void* Dest, const void* Src) const = 0;
		/** Compares two values with operator== when the type has one; false otherwise. */
		virtual bool Identical(const void* A, const void* B, bool& bOutResult) const = 0;
		/** True when the native type has a GetTypeHash overload. */
		virtual bool HasGetTypeHash() const = 0;
		/** The native type's GetTypeHash of a value; 0 when the type has none. */
		virtual uint32 GetStructTypeHash(const void* Src) const = 0;
		int32 GetSize() const { return Size; }
		int32 GetAlignment() const { return Alignment; }

	private:
		int32 Size;
		int32 Alignment;
	};

	/** Native operations for a struct type T. */
	template <typename T>
	struct TCppStructOps : ICppStructOps
	{
		TCppStructOps()
			: ICppStructOps((int32)sizeof(T), (int32)alignof(T))
		{
		}
		virtual void Construct(void* Dest) const override { new (Dest) T(); }
		virtual void Destruct(void* Dest) const override { static_cast<T*>(Dest)->~T(); }
		virtual void Copy(void* Dest, const void* Src) const override { *static_cast<T*>(Dest) = *static_cast<const T*>(Src); }
		virtual bool Identical(const void* A, const void* B, bool& bOutResult) const override
		{
			if constexpr (requires(const T& X, const T& Y) { { X == Y } -> std::convertible_to<bool>; })
			{
				bOutResult = *static_cast<const T*>(A) == *static_cast<const T*>(B);
				return true;
			}
			else
			{
				return false;
			}
		}
		virtual bool HasGetTypeHash() const override
		{
			return requires(const T& X) { { GetTypeHash(X) } -> std::convertible_to<uint32>; };
		}
		virtual uint32 GetStructTypeHash(const void* Src) const override
		{
			if constexpr (requires(const T& X) { { GetTypeHash(X) } -> std::convertible_to<uint32>; })
			{
				return GetTypeHash(*static_cast<const T*>(Src));
			}
			else
			{
				return 0;
			}
		}
	};

	UScriptStruct();
	explicit UScriptStruct(const FObjectInitializer& ObjectInitializer);
	virtual ~UScriptStruct() override;

	void SetCppStructOps(ICppStructOps* InOps);
	ICppStructOps* GetCppStructOps() const { return CppStructOps; }
	/** Returns the C++ name of the struct, with its F prefix. */
	FString GetStructCPPName() const { return TEXT("F") + GetName(); }
	virtual FString GetPrefixCPP() const override { return TEXT("F"); }
	int32 GetStructureSize() const { return CppStructOps ? CppStructOps->GetSize() : GetPropertiesSize(); }

	/** Default-constructs ArrayDim values at Dest. */
	void InitializeStruct(void* Dest, int32 ArrayDim = 1) const;
	void DestroyStruct(void* Dest, int32 ArrayDim = 1) const;
	void CopyScriptStruct(void* Dest, const void* Src, int32 ArrayDim = 1) const;
	/** Compares two values: with the type's operator== when it has one, else property by property. */
	bool CompareScriptStruct(const void* A, const void* B, uint32 PortFlags) const;

private:
	ICppStructOps* CppStructOps = nullptr;
};

/** A reflected enumeration. Names of scoped enumerations carry their type name: "EType::Member". */
class COREUOBJECT_API UEnum : public UField
{
	DECLARE_CLASS(UEnum, UField, CLASS_None, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)

public:
	enum class ECppForm : uint8
	{
		Regular,
		Namespaced,
		EnumClass,
	};

	UEnum();
	explicit UEnum(const FObjectInitializer& ObjectInitializer);

	/** Sets the entries; the engine's generated "_MAX" entry is added behind them. */
	void SetEnums(const TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm);
	ECppForm GetCppForm() const { return CppForm; }
	/** Returns the number of entries, the "_MAX" entry included. */
	int32 NumEnums() const { return Names.Num(); }
	/** Returns the full name of entry Index ("EType::Member" for scoped enumerations). */
	FName GetNameByIndex(int32 Index) const;
	/** Returns the member name of entry Index, without the type name. */
	FString GetNameStringByIndex(int32 Index) const;
	int64 GetValueByIndex(int32 Index) const;
	FName GetNameByValue(int64 InValue) const;
	FString GetNameStringByValue(int64 InValue) const;
	/** Returns the value of a member given with or without its type name, or INDEX_NONE. */
	int64 GetValueByName(FName InName) const;
	int64 GetValueByNameString(const FString& SearchString) const;
	int32 GetIndexByName(FName InName) const;
	int32 GetIndexByValue(int64 InValue) const;
	bool IsValidEnumValue(int64 InValue) const { return GetIndexByValue(InValue) != INDEX_NONE; }
	int64 GetMaxEnumValue() const;
	/** Returns the "DisplayName" metadata of an entry, else its member name. */
	FText GetDisplayNameTextByIndex(int32 Index) const;
	FText GetDisplayNameTextByValue(int64 InValue) const;
	FString GetMetaData(const TCHAR* Key, int32 NameIndex) const;
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue, int32 NameIndex);
	bool HasMetaData(const TCHAR* Key, int32 NameIndex) const;
	/** Returns the name of the type ("EVNFaceSDKChannel"). */
	FString GenerateEnumPrefix() const { return GetName(); }

	/** The scripting names of the members, in entry order (the "_MAX" entry excluded). */
	void SetMemberScriptNames(const TArray<FString>& InNames) { MemberScriptNames = InNames; }
	const TArray<FString>& GetMemberScriptNames() const { return MemberScriptNames; }

private:
	TArray<TPair<FName, int64>> Names;
	TArray<TMap<FName, FString>> EntryMetaData;
	TArray<FString> MemberScriptNames;
	ECppForm CppForm = ECppForm::EnumClass;
};

/** A reflected function: its parameters are its properties, laid out as its parameter block. */
class COREUOBJECT_API UFunction : public UStruct
{
	DECLARE_CLASS(UFunction, UStruct, CLASS_None, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)

public:
	/** Calls the native function: Context is the object (null for static functions), Parms the parameter block. */
	typedef void (*FNativeFuncPtr)(UObject* Context, void* Parms);

	UFunction();
	explicit UFunction(const FObjectInitializer& ObjectInitializer);
	virtual ~UFunction() override;

	EFunctionFlags FunctionFlags = FUNC_None;
	bool HasAnyFunctionFlags(EFunctionFlags Flags) const { return (FunctionFlags & Flags) != 0; }
	bool HasAllFunctionFlags(EFunctionFlags Flags) const { return (FunctionFlags & Flags) == Flags; }

	void SetNativeFunc(FNativeFuncPtr InFunc) { Func = InFunc; }
	FNativeFuncPtr GetNativeFunc() const { return Func; }
	/** Runs the native function. */
	void Invoke(UObject* Context, void* Parms) const;

	/** Sets how the parameter block is made; the function takes ownership. */
	void SetParmsOps(UScriptStruct::ICppStructOps* InOps);
	int32 GetParmsSize() const { return ParmsOps ? ParmsOps->GetSize() : 0; }
	/** Constructs a parameter block with default values at Dest. */
	void InitializeParms(void* Dest) const;
	void DestroyParms(void* Dest) const;

	/** Returns the "ReturnValue" parameter, or null. */
	FProperty* GetReturnProperty() const;
	int32 NumParms() const { return GetOwnProperties().Num(); }
	/** Returns the class that declares the function. */
	UClass* GetOwnerClass() const;

private:
	FNativeFuncPtr Func = nullptr;
	UScriptStruct::ICppStructOps* ParmsOps = nullptr;
};

/** A reflected class of objects. */
class COREUOBJECT_API UClass : public UStruct
{
	DECLARE_CLASS(UClass, UStruct, CLASS_None, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)

public:
	/** The class's path as the asset registry names classes: its package and name ("/Script/Engine.Blueprint"). */
	FTopLevelAssetPath GetClassPathName() const;

	/** Creates an object of the class; the object system has already chosen its name, outer and flags. */
	typedef UObject* (*FClassConstructor)();

	UClass();
	explicit UClass(const FObjectInitializer& ObjectInitializer);

	UClass* GetSuperClass() const { return static_cast<UClass*>(GetSuperStruct()); }
	EClassFlags ClassFlags = CLASS_None;
	bool HasAnyClassFlags(EClassFlags FlagsToCheck) const { return (ClassFlags & FlagsToCheck) != 0; }
	bool HasAllClassFlags(EClassFlags FlagsToCheck) const { return (ClassFlags & FlagsToCheck) == FlagsToCheck; }
	virtual FString GetPrefixCPP() const override { return CppPrefix; }
	void SetPrefixCPP(const FString& InPrefix) { CppPrefix = InPrefix; }

	FClassConstructor ClassConstructor = nullptr;

	/** Returns the class default object, creating it on first use (null for abstract classes). */
	UObject* GetDefaultObject(bool bCreateIfNeeded = true) const;
	template <typename T>
	T* GetDefaultObject() const
	{
		return static_cast<T*>(GetDefaultObject());
	}

	/** Adds a function of the class; the class takes ownership. */
	void AddFunctionToFunctionMap(UFunction* Function, FName FuncName);
	/** Finds a function here or in a base class. */
	UFunction* FindFunctionByName(FName InName) const;
	/** The functions declared by this class itself, in declaration order. */
	const TArray<UFunction*>& GetOwnFunctions() const { return Functions; }

	/** True once the class is listed in its package; set by the object system. */
	bool bLinkedToPackage = false;

	/** A class is never an asset: a generated class travels in the package of the blueprint that made it. */
	virtual bool IsAsset() const override { return false; }

protected:
	/** The class default object, once made. A class that is made again replaces it. */
	mutable UObject* ClassDefaultObject = nullptr;

private:
	TArray<UFunction*> Functions;
	FString CppPrefix = TEXT("U");
};

/** Returns the reflected enumeration of an enum type; the header tool writes the specialisations. */
template <typename EnumType>
UEnum* StaticEnum();

/** The reflected struct of one of the engine's core value types; specialised per type. */
template <typename T>
struct TBaseStructure;

/** Returns the reflected struct of a value type: a USTRUCT's StaticStruct(), or a core struct. */
template <typename StructType>
UScriptStruct* StaticStruct()
{
	if constexpr (requires { StructType::StaticStruct(); })
	{
		return StructType::StaticStruct();
	}
	else
	{
		return TBaseStructure<StructType>::Get();
	}
}
