// Rig element identities: the element type and the key (type and name) that names an element.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "RigHierarchyDefines.generated.h"

UENUM(BlueprintType, meta = (RigVMTypeAllowed))
enum class ERigElementType : uint8
{
	None = 0,
	Bone = 0x001,
	Null = 0x002,
	Space = Null UMETA(Hidden),
	Control = 0x004,
	Curve = 0x008,
	Physics = 0x010 UMETA(Hidden),
	Reference = 0x020,
	Connector = 0x040,
	Socket = 0x080,
	First = Bone UMETA(Hidden),
	Last = Socket UMETA(Hidden),
	All = Bone | Null | Control | Curve | Reference | Connector | Socket,
	ToResetAfterConstructionEvent = Bone | Control | Curve | Socket UMETA(Hidden),
};

ENUM_CLASS_FLAGS(ERigElementType)

namespace ERigTransformType
{
	enum Type : uint8
	{
		InitialLocal,
		CurrentLocal,
		InitialGlobal,
		CurrentGlobal,
		NumTransformTypes
	};

	inline bool IsInitial(Type InType) { return InType == InitialLocal || InType == InitialGlobal; }
	inline bool IsLocal(Type InType) { return InType == InitialLocal || InType == CurrentLocal; }
}

USTRUCT(BlueprintType)
struct FRigElementKey
{
	GENERATED_BODY()

	FRigElementKey() = default;
	FRigElementKey(const FName& InName, ERigElementType InType)
		: Type(InType)
		, Name(InName)
	{
	}

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Hierarchy)
	ERigElementType Type = ERigElementType::None;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Hierarchy)
	FName Name;

	/** True when the key names an element: a type and a name are set. */
	bool IsValid() const { return Type != ERigElementType::None && !Name.IsNone(); }
	void Reset()
	{
		Type = ERigElementType::None;
		Name = NAME_None;
	}
	/** Returns "(Type=Bone,Name=\"Root\")", the key's text form. */
	FString ToString() const;

	bool operator==(const FRigElementKey& Other) const { return Type == Other.Type && Name == Other.Name; }
	bool operator!=(const FRigElementKey& Other) const { return !(*this == Other); }
};

inline uint32 GetTypeHash(const FRigElementKey& Key)
{
	return HashCombine(GetTypeHash((uint8)Key.Type), GetTypeHash(Key.Name));
}
