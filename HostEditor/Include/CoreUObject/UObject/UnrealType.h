// Reflected properties: the typed members of reflected structs, classes and function parameter blocks.
#pragma once

#include <new>
#include <type_traits>

#include "CoreMinimal.h"
#include "UObject/Class.h"
#include "UObject/Field.h"

/** A reflected member variable: its type, where it lives in its container and how it reads and writes as text. */
class COREUOBJECT_API FProperty : public FField
{
public:
	FProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, int32 InElementSize);

	int32 ArrayDim = 1;
	int32 ElementSize;
	EPropertyFlags PropertyFlags;

	int32 GetOffset_ForInternal() const { return Offset; }
	int32 GetElementSize() const { return ElementSize; }
	int32 GetSize() const { return ElementSize * ArrayDim; }
	bool HasAnyPropertyFlags(EPropertyFlags Flags) const { return (PropertyFlags & Flags) != 0; }
	bool HasAllPropertyFlags(EPropertyFlags Flags) const { return (PropertyFlags & Flags) == Flags; }

	template <typename ValueType = void>
	ValueType* ContainerPtrToValuePtr(void* Container, int32 ArrayIndex = 0) const
	{
		return reinterpret_cast<ValueType*>(static_cast<uint8*>(Container) + Offset + ElementSize * ArrayIndex);
	}

	template <typename ValueType = void>
	const ValueType* ContainerPtrToValuePtr(const void* Container, int32 ArrayIndex = 0) const
	{
		return reinterpret_cast<const ValueType*>(static_cast<const uint8*>(Container) + Offset + ElementSize * ArrayIndex);
	}

	/** Returns the C++ type of the member as declared ("float", "TArray<FVNSDKKey>"). */
	virtual FString GetCPPType() const = 0;
	/** Default-constructs a value at Dest (a value address, not a container). */
	virtual void InitializeValue(void* Dest) const = 0;
	virtual void DestroyValue(void* Dest) const = 0;
	virtual void CopySingleValue(void* Dest, const void* Src) const = 0;
	void CopyCompleteValue(void* Dest, const void* Src) const;
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const = 0;

	/** Appends the value at PropertyValue in the engine's text form. */
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const = 0;
	/**
	 * Reads a value in the engine's text form from Buffer into Data. Returns the text after what was
	 * read, or null when the text is not a value of this property (Data is then unspecified).
	 */
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const = 0;

	void ExportText_InContainer(int32 Index, FString& ValueStr, const void* Container, const void* DefaultContainer, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const;
	const TCHAR* ImportText_InContainer(const TCHAR* Buffer, void* Container, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const;

private:
	int32 Offset;
};

/** The value-handling half of a property of native type T. */
template <typename T, typename BaseType>
class TProperty : public BaseType
{
public:
	typedef T TCppType;

	TProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags)
		: BaseType(InOwner, InName, InOffset, InFlags, (int32)sizeof(T))
	{
	}

	static const T& GetPropertyValue(const void* Address) { return *static_cast<const T*>(Address); }
	static T* GetPropertyValuePtr(void* Address) { return static_cast<T*>(Address); }
	static void SetPropertyValue(void* Address, const T& Value) { *static_cast<T*>(Address) = Value; }
	const T& GetPropertyValue_InContainer(const void* Container, int32 ArrayIndex = 0) const { return *this->template ContainerPtrToValuePtr<T>(Container, ArrayIndex); }
	T* GetPropertyValuePtr_InContainer(void* Container, int32 ArrayIndex = 0) const { return this->template ContainerPtrToValuePtr<T>(Container, ArrayIndex); }
	void SetPropertyValue_InContainer(void* Container, const T& Value, int32 ArrayIndex = 0) const { *this->template ContainerPtrToValuePtr<T>(Container, ArrayIndex) = Value; }

	virtual void InitializeValue(void* Dest) const override { new (Dest) T(); }
	virtual void DestroyValue(void* Dest) const override { static_cast<T*>(Dest)->~T(); }
	virtual void CopySingleValue(void* Dest, const void* Src) const override { *static_cast<T*>(Dest) = *static_cast<const T*>(Src); }
};

/** The base of integer and floating-point properties. */
class COREUOBJECT_API FNumericProperty : public FProperty
{
public:
	using FProperty::FProperty;

	virtual bool IsFloatingPoint() const = 0;
	virtual bool IsInteger() const = 0;
	/** The enumeration of an enum stored as a byte, or null. */
	virtual UEnum* GetIntPropertyEnum() const { return nullptr; }
	virtual void SetIntPropertyValue(void* Data, int64 Value) const = 0;
	virtual void SetFloatingPointPropertyValue(void* Data, double Value) const = 0;
	virtual int64 GetSignedIntPropertyValue(const void* Data) const = 0;
	virtual double GetFloatingPointPropertyValue(const void* Data) const = 0;
};

/** A property of an integer or floating-point type T. */
template <typename T>
class TProperty_Numeric : public TProperty<T, FNumericProperty>
{
public:
	using TProperty<T, FNumericProperty>::TProperty;

	virtual bool IsFloatingPoint() const override { return std::is_floating_point_v<T>; }
	virtual bool IsInteger() const override { return std::is_integral_v<T>; }
	virtual void SetIntPropertyValue(void* Data, int64 Value) const override { *static_cast<T*>(Data) = (T)Value; }
	virtual void SetFloatingPointPropertyValue(void* Data, double Value) const override { *static_cast<T*>(Data) = (T)Value; }
	virtual int64 GetSignedIntPropertyValue(const void* Data) const override { return (int64) * static_cast<const T*>(Data); }
	virtual double GetFloatingPointPropertyValue(const void* Data) const override { return (double)*static_cast<const T*>(Data); }
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override { return *static_cast<const T*>(A) == *static_cast<const T*>(B); }
	virtual FString GetCPPType() const override;
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

class COREUOBJECT_API FInt8Property : public TProperty_Numeric<int8> { public: using TProperty_Numeric::TProperty_Numeric; };
class COREUOBJECT_API FInt16Property : public TProperty_Numeric<int16> { public: using TProperty_Numeric::TProperty_Numeric; };
class COREUOBJECT_API FIntProperty : public TProperty_Numeric<int32> { public: using TProperty_Numeric::TProperty_Numeric; };
class COREUOBJECT_API FInt64Property : public TProperty_Numeric<int64> { public: using TProperty_Numeric::TProperty_Numeric; };
class COREUOBJECT_API FUInt16Property : public TProperty_Numeric<uint16> { public: using TProperty_Numeric::TProperty_Numeric; };
class COREUOBJECT_API FUInt32Property : public TProperty_Numeric<uint32> { public: using TProperty_Numeric::TProperty_Numeric; };
class COREUOBJECT_API FUInt64Property : public TProperty_Numeric<uint64> { public: using TProperty_Numeric::TProperty_Numeric; };
class COREUOBJECT_API FFloatProperty : public TProperty_Numeric<float> { public: using TProperty_Numeric::TProperty_Numeric; };
class COREUOBJECT_API FDoubleProperty : public TProperty_Numeric<double> { public: using TProperty_Numeric::TProperty_Numeric; };

/** A byte, optionally holding the values of an enumeration (TEnumAsByte). */
class COREUOBJECT_API FByteProperty : public TProperty_Numeric<uint8>
{
public:
	FByteProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UEnum* InEnum = nullptr)
		: TProperty_Numeric(InOwner, InName, InOffset, InFlags)
		, Enum(InEnum)
	{
	}

	UEnum* Enum;
	virtual UEnum* GetIntPropertyEnum() const override { return Enum; }
	virtual FString GetCPPType() const override;
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

class COREUOBJECT_API FBoolProperty : public TProperty<bool, FProperty>
{
public:
	using TProperty::TProperty;
	virtual FString GetCPPType() const override { return TEXT("bool"); }
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override { return GetPropertyValue(A) == GetPropertyValue(B); }
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

class COREUOBJECT_API FNameProperty : public TProperty<FName, FProperty>
{
public:
	using TProperty::TProperty;
	virtual FString GetCPPType() const override { return TEXT("FName"); }
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override { return GetPropertyValue(A) == GetPropertyValue(B); }
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

class COREUOBJECT_API FStrProperty : public TProperty<FString, FProperty>
{
public:
	using TProperty::TProperty;
	virtual FString GetCPPType() const override { return TEXT("FString"); }
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override { return GetPropertyValue(A).Equals(GetPropertyValue(B)); }
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

class COREUOBJECT_API FTextProperty : public TProperty<FText, FProperty>
{
public:
	using TProperty::TProperty;
	virtual FString GetCPPType() const override { return TEXT("FText"); }
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override { return GetPropertyValue(A).EqualTo(GetPropertyValue(B)); }
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

/** A scoped enumeration stored in its underlying integer type. */
class COREUOBJECT_API FEnumProperty : public FProperty
{
public:
	/** Takes ownership of InUnderlyingProp, which addresses the same storage. */
	FEnumProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UEnum* InEnum, FNumericProperty* InUnderlyingProp);
	virtual ~FEnumProperty() override;

	UEnum* GetEnum() const { return Enum; }
	FNumericProperty* GetUnderlyingProperty() const { return UnderlyingProp; }

	virtual FString GetCPPType() const override;
	virtual void InitializeValue(void* Dest) const override { UnderlyingProp->InitializeValue(Dest); }
	virtual void DestroyValue(void* Dest) const override { UnderlyingProp->DestroyValue(Dest); }
	virtual void CopySingleValue(void* Dest, const void* Src) const override { UnderlyingProp->CopySingleValue(Dest, Src); }
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override { return UnderlyingProp->Identical(A, B, PortFlags); }
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;

private:
	UEnum* Enum;
	FNumericProperty* UnderlyingProp;
};

/** A value of a reflected struct type. */
class COREUOBJECT_API FStructProperty : public FProperty
{
public:
	FStructProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UScriptStruct* InStruct);

	UScriptStruct* Struct;

	virtual FString GetCPPType() const override { return Struct->GetStructCPPName(); }
	virtual void InitializeValue(void* Dest) const override { Struct->InitializeStruct(Dest); }
	virtual void DestroyValue(void* Dest) const override { Struct->DestroyStruct(Dest); }
	virtual void CopySingleValue(void* Dest, const void* Src) const override { Struct->CopyScriptStruct(Dest, Src); }
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override { return Struct->CompareScriptStruct(A, B, PortFlags); }
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

/** The type-erased operations on a TArray that an array property needs. */
struct FScriptArrayOps
{
	int32 (*Num)(const void* Array);
	void (*Resize)(void* Array, int32 NewNum);
	void* (*GetData)(void* Array);
	void (*Construct)(void* Array);
	void (*Destruct)(void* Array);
	void (*Copy)(void* Dest, const void* Src);
	int32 Size;
	int32 ElementSize;
};

/** Builds the operations for TArray<T>. */
template <typename T>
struct TScriptArrayOps
{
	static const FScriptArrayOps* Get()
	{
		static const FScriptArrayOps Ops = {
			[](const void* Array) { return static_cast<const TArray<T>*>(Array)->Num(); },
			[](void* Array, int32 NewNum) { static_cast<TArray<T>*>(Array)->SetNum(NewNum); },
			[](void* Array) -> void* { return static_cast<TArray<T>*>(Array)->GetData(); },
			[](void* Array) { new (Array) TArray<T>(); },
			[](void* Array) { static_cast<TArray<T>*>(Array)->~TArray<T>(); },
			[](void* Dest, const void* Src) { *static_cast<TArray<T>*>(Dest) = *static_cast<const TArray<T>*>(Src); },
			(int32)sizeof(TArray<T>),
			(int32)sizeof(T),
		};
		return &Ops;
	}
};

/** A TArray of values of one property type. */
class COREUOBJECT_API FArrayProperty : public FProperty
{
public:
	/** Takes ownership of InInner, whose offset is 0 (it addresses elements). */
	FArrayProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, FProperty* InInner, const FScriptArrayOps* InOps);
	virtual ~FArrayProperty() override;

	FProperty* Inner;
	const FScriptArrayOps* Ops;

	virtual FString GetCPPType() const override { return TEXT("TArray<") + Inner->GetCPPType() + TEXT(">"); }
	virtual void InitializeValue(void* Dest) const override { Ops->Construct(Dest); }
	virtual void DestroyValue(void* Dest) const override { Ops->Destruct(Dest); }
	virtual void CopySingleValue(void* Dest, const void* Src) const override { Ops->Copy(Dest, Src); }
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

/** Reads and resizes the array an array property addresses. */
class FScriptArrayHelper
{
public:
	FScriptArrayHelper(const FArrayProperty* InProperty, const void* InArray)
		: Property(InProperty)
		, Array(const_cast<void*>(InArray))
	{
	}

	int32 Num() const { return Property->Ops->Num(Array); }
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
	uint8* GetRawPtr(int32 Index = 0) const { return static_cast<uint8*>(Property->Ops->GetData(Array)) + (SIZE_T)Index * (SIZE_T)Property->Ops->ElementSize; }
	/** Resizes the array; new elements are default-constructed. */
	void Resize(int32 NewNum) const { Property->Ops->Resize(Array, NewNum); }
	int32 AddValue() const
	{
		const int32 Index = Num();
		Resize(Index + 1);
		return Index;
	}
	void EmptyValues() const { Resize(0); }

private:
	const FArrayProperty* Property;
	void* Array;
};

/** The base of properties that refer to objects. */
class COREUOBJECT_API FObjectPropertyBase : public FProperty
{
public:
	FObjectPropertyBase(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, int32 InElementSize, UClass* InPropertyClass);

	UClass* PropertyClass;
	void SetPropertyClass(UClass* NewClass) { PropertyClass = NewClass; }

	virtual UObject* GetObjectPropertyValue(const void* PropertyValueAddress) const = 0;
	virtual void SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const = 0;
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override { return GetObjectPropertyValue(A) == GetObjectPropertyValue(B); }
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

/** A pointer to an object (T* or TObjectPtr<T>; both are one raw pointer). */
class COREUOBJECT_API FObjectProperty : public FObjectPropertyBase
{
public:
	FObjectProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UClass* InPropertyClass);

	virtual FString GetCPPType() const override;
	virtual void InitializeValue(void* Dest) const override { *static_cast<UObject**>(Dest) = nullptr; }
	virtual void DestroyValue(void* Dest) const override {}
	virtual void CopySingleValue(void* Dest, const void* Src) const override { *static_cast<UObject**>(Dest) = *static_cast<UObject* const*>(Src); }
	virtual UObject* GetObjectPropertyValue(const void* PropertyValueAddress) const override { return *static_cast<UObject* const*>(PropertyValueAddress); }
	virtual void SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const override { *static_cast<UObject**>(PropertyValueAddress) = Value; }
};

/** A pointer to a class object limited to subclasses of MetaClass (TSubclassOf). */
class COREUOBJECT_API FClassProperty : public FObjectProperty
{
public:
	FClassProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UClass* InMetaClass);

	UClass* MetaClass;
	virtual FString GetCPPType() const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

/** A reference to an asset by path that loads on demand (TSoftObjectPtr). */
class COREUOBJECT_API FSoftObjectProperty : public FObjectPropertyBase
{
public:
	FSoftObjectProperty(UStruct* InOwner, const FName& InName, int32 InOffset, EPropertyFlags InFlags, UClass* InPropertyClass);

	virtual FString GetCPPType() const override;
	virtual void InitializeValue(void* Dest) const override;
	virtual void DestroyValue(void* Dest) const override;
	virtual void CopySingleValue(void* Dest, const void* Src) const override;
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual UObject* GetObjectPropertyValue(const void* PropertyValueAddress) const override;
	virtual void SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const override;
	virtual void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const override;
	virtual const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* Data, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = nullptr) const override;
};

/** Text-form helpers shared by the properties and by code that writes values as the engine does. */
namespace PropertyTextUtils
{
	/** Skips blanks. */
	COREUOBJECT_API const TCHAR* SkipWhitespace(const TCHAR* Buffer);
	/**
	 * Reads one token: a double-quoted string with backslash escapes, or a run of characters up to a
	 * blank, ',' or ')' (and '(' when bStopAtOpenParen). Returns null when nothing could be read.
	 */
	COREUOBJECT_API const TCHAR* ReadToken(const TCHAR* Buffer, FString& OutToken, bool bStopAtOpenParen = false);
	/** Quotes a string, escaping quotes, backslashes and control characters. */
	COREUOBJECT_API FString QuoteString(const FString& Value);
}

/** Iterates the properties of a type: its own first, then those of each base type. */
template <typename FieldType>
class TFieldIterator
{
public:
	explicit TFieldIterator(const UStruct* InStruct)
		: Struct(InStruct)
	{
		SkipToMatch();
	}

	explicit operator bool() const { return Struct != nullptr; }
	bool operator!() const { return Struct == nullptr; }
	TFieldIterator& operator++()
	{
		++Index;
		SkipToMatch();
		return *this;
	}
	FieldType* operator*() const { return static_cast<FieldType*>(Struct->GetOwnProperties()[Index]); }
	FieldType* operator->() const { return **this; }

private:
	void SkipToMatch()
	{
		while (Struct)
		{
			const TArray<FProperty*>& Properties = Struct->GetOwnProperties();
			while (Index < Properties.Num() && !CastField<FieldType>(Properties[Index]))
			{
				++Index;
			}
			if (Index < Properties.Num())
			{
				return;
			}
			Struct = Struct->GetSuperStruct();
			Index = 0;
		}
	}

	const UStruct* Struct;
	int32 Index = 0;
};

/** What an edit of an object changed: the property, when one is known. */
struct FPropertyChangedEvent
{
	explicit FPropertyChangedEvent(FProperty* InProperty)
		: Property(InProperty)
		, MemberProperty(InProperty)
	{
	}
	FName GetPropertyName() const { return Property ? Property->GetFName() : NAME_None; }

	FProperty* Property;
	FProperty* MemberProperty;
};
