// What the header tool's generated .gen.cpp files use to register reflected types.
#pragma once

#include <type_traits>

#include "CoreMinimal.h"
#include "Templates/SubclassOf.h"
#include "UObject/Class.h"
#include "UObject/NoExportTypes.h"
#include "UObject/ObjectPtr.h"
#include "UObject/Package.h"
#include "UObject/SoftObjectPtr.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/WeakObjectPtr.h"

namespace UECodeGen_Private
{
	/** One metadata entry of a type, member or enumeration entry. */
	struct FMetaDataPair
	{
		const TCHAR* Key;
		const TCHAR* Value;
	};

	struct FClassParams
	{
		const TCHAR* PackageName;
		const TCHAR* Name;
		const TCHAR* CppPrefix;
		const TCHAR* ScriptName;
		UClass* (*SuperClassFunc)();
		UClass::FClassConstructor Constructor;
		EClassFlags ClassFlags;
		void (*DefineMembers)(UClass* Class);
		const FMetaDataPair* MetaData;
		int32 NumMetaData;
	};

	struct FStructParams
	{
		const TCHAR* PackageName;
		const TCHAR* Name;
		const TCHAR* ScriptName;
		UScriptStruct* (*SuperStructFunc)();
		UScriptStruct::ICppStructOps* (*MakeStructOps)();
		void (*DefineMembers)(UScriptStruct* Struct);
		const FMetaDataPair* MetaData;
		int32 NumMetaData;
	};

	struct FEnumeratorParam
	{
		const TCHAR* NameUTF8;
		int64 Value;
		const TCHAR* ScriptName;
		const FMetaDataPair* MetaData;
		int32 NumMetaData;
	};

	struct FEnumParams
	{
		const TCHAR* PackageName;
		const TCHAR* Name;
		const TCHAR* ScriptName;
		UEnum::ECppForm CppForm;
		const FEnumeratorParam* Enumerators;
		int32 NumEnumerators;
		const FMetaDataPair* MetaData;
		int32 NumMetaData;
	};

	struct FFunctionParams
	{
		const TCHAR* Name;
		const TCHAR* ScriptName;
		EFunctionFlags FunctionFlags;
		UFunction::FNativeFuncPtr NativeFunc;
		UScriptStruct::ICppStructOps* (*MakeParmsOps)();
		void (*DefineParms)(UFunction* Function);
		const FMetaDataPair* MetaData;
		int32 NumMetaData;
	};

	/**
	 * Creates a class and stores it in OutClass before its members are defined, so that members that
	 * refer back to the class find it.
	 */
	COREUOBJECT_API void ConstructUClass(UClass*& OutClass, const FClassParams& Params);
	COREUOBJECT_API void ConstructUScriptStruct(UScriptStruct*& OutStruct, const FStructParams& Params);
	COREUOBJECT_API void ConstructUEnum(UEnum*& OutEnum, const FEnumParams& Params);
	COREUOBJECT_API UFunction* ConstructUFunction(UClass* OuterClass, const FFunctionParams& Params);
	COREUOBJECT_API void ApplyMetaData(FField* Field, const FMetaDataPair* MetaData, int32 NumMetaData);

	/** Constructs an object of class T for the object system. */
	template <typename T>
	UObject* InternalConstructor()
	{
		if constexpr (std::is_abstract_v<T>)
		{
			return nullptr;
		}
		else if constexpr (std::is_constructible_v<T, const FObjectInitializer&>)
		{
			return new T(FObjectInitializer::Get());
		}
		else
		{
			return new T();
		}
	}

	template <typename T>
	struct TIsTEnumAsByte : std::false_type
	{
	};

	template <typename E>
	struct TIsTEnumAsByte<TEnumAsByte<E>> : std::true_type
	{
		typedef E EnumType;
	};

	template <typename T>
	struct TIsTArray : std::false_type
	{
	};

	template <typename E>
	struct TIsTArray<TArray<E>> : std::true_type
	{
		typedef E ElementType;
	};

	template <typename T>
	struct TObjectPointee
	{
		typedef void Type;
	};

	template <typename T>
	struct TObjectPointee<T*>
	{
		typedef T Type;
	};

	template <typename T>
	struct TObjectPointee<TObjectPtr<T>>
	{
		typedef T Type;
	};

	template <typename T>
	struct TSoftPointee
	{
		typedef void Type;
	};

	template <typename T>
	struct TSoftPointee<TSoftObjectPtr<T>>
	{
		typedef T Type;
	};

	template <typename T>
	struct TSubclassMeta
	{
		typedef void Type;
	};

	template <typename T>
	struct TSubclassMeta<TSubclassOf<T>>
	{
		typedef T Type;
	};

	/**
	 * Creates the property that describes a member of C++ type T. Every reflected member type has a
	 * branch here; an unsupported type fails to compile, as the engine's header tool refuses it.
	 */
	/**
	 * The class of an object-typed member. The generated code passes the class's registration
	 * function, so a member may point at a class that is only forward-declared in its header.
	 */
	typedef UClass* (*FClassRegistrationFunc)();

	template <typename T>
	UClass* ResolveClass(FClassRegistrationFunc ClassFunc)
	{
		if constexpr (requires { T::StaticClass(); })
		{
			return ClassFunc ? ClassFunc() : T::StaticClass();
		}
		else
		{
			check(ClassFunc);
			return ClassFunc();
		}
	}

	template <typename T>
	FProperty* MakeProperty(UStruct* Owner, const TCHAR* Name, int32 Offset, EPropertyFlags Flags, FClassRegistrationFunc ClassFunc = nullptr)
	{
		if constexpr (std::is_same_v<T, bool>) { return new FBoolProperty(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, int8>) { return new FInt8Property(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, int16>) { return new FInt16Property(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, int32>) { return new FIntProperty(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, int64>) { return new FInt64Property(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, uint8>) { return new FByteProperty(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, uint16>) { return new FUInt16Property(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, uint32>) { return new FUInt32Property(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, uint64>) { return new FUInt64Property(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, float>) { return new FFloatProperty(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, double>) { return new FDoubleProperty(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, FName>) { return new FNameProperty(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, FString>) { return new FStrProperty(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_same_v<T, FText>) { return new FTextProperty(Owner, Name, Offset, Flags); }
		else if constexpr (std::is_enum_v<T>)
		{
			static_assert(sizeof(T) == 1, "Reflected enumerations are stored in one byte");
			return new FEnumProperty(Owner, Name, Offset, Flags, StaticEnum<T>(), new FByteProperty(Owner, Name, Offset, Flags));
		}
		else if constexpr (TIsTEnumAsByte<T>::value)
		{
			return new FByteProperty(Owner, Name, Offset, Flags, StaticEnum<typename TIsTEnumAsByte<T>::EnumType>());
		}
		else if constexpr (TIsTArray<T>::value)
		{
			typedef typename TIsTArray<T>::ElementType ElementType;
			return new FArrayProperty(Owner, Name, Offset, Flags, MakeProperty<ElementType>(Owner, Name, 0, Flags, ClassFunc), TScriptArrayOps<ElementType>::Get());
		}
		else if constexpr (!std::is_void_v<typename TObjectPointee<T>::Type>)
		{
			typedef typename TObjectPointee<T>::Type PointeeType;
			if constexpr (std::is_same_v<std::remove_const_t<PointeeType>, UClass>)
			{
				return new FClassProperty(Owner, Name, Offset, Flags, UObject::StaticClass());
			}
			else
			{
				return new FObjectProperty(Owner, Name, Offset, Flags, ResolveClass<std::remove_const_t<PointeeType>>(ClassFunc));
			}
		}
		else if constexpr (!std::is_void_v<typename TSubclassMeta<T>::Type>)
		{
			return new FClassProperty(Owner, Name, Offset, Flags, ResolveClass<typename TSubclassMeta<T>::Type>(ClassFunc));
		}
		else if constexpr (!std::is_void_v<typename TSoftPointee<T>::Type>)
		{
			return new FSoftObjectProperty(Owner, Name, Offset, Flags, ResolveClass<typename TSoftPointee<T>::Type>(ClassFunc));
		}
		else
		{
			return new FStructProperty(Owner, Name, Offset, Flags, StaticStruct<T>());
		}
	}

	/** Adds a member property with its metadata and scripting name. */
	template <typename T>
	FProperty* AddProperty(UStruct* Owner, const TCHAR* Name, int32 Offset, EPropertyFlags Flags, const TCHAR* ScriptName, const FMetaDataPair* MetaData, int32 NumMetaData, FClassRegistrationFunc ClassFunc = nullptr)
	{
		FProperty* Property = nullptr;
		if constexpr (std::is_array_v<T>)
		{
			// A static array member (Type Name[N]): one property of the element type, N elements long.
			static_assert(std::rank_v<T> == 1, "Reflected static arrays have one dimension");
			Property = MakeProperty<std::remove_extent_t<T>>(Owner, Name, Offset, Flags, ClassFunc);
			Property->ArrayDim = (int32)std::extent_v<T>;
		}
		else
		{
			Property = MakeProperty<T>(Owner, Name, Offset, Flags, ClassFunc);
		}
		Property->SetScriptName(ScriptName);
		ApplyMetaData(Property, MetaData, NumMetaData);
		Owner->AddProperty(Property);
		return Property;
	}
}

/** The byte offset of a member, for members of classes that are not standard-layout too. */
#define VN_MEMBER_OFFSET(Type, Member) ((int32)(reinterpret_cast<UPTRINT>(&reinterpret_cast<const volatile char&>(reinterpret_cast<Type*>(0x1000)->Member)) - 0x1000))
