// Rig element identities (the element type and the key that names an element) and control values:
// the control types and the value a control holds, kept in floats as the engine keeps it.
#pragma once

#include <cstring>
#include <type_traits>

#include "CoreMinimal.h"
#include "EulerTransform.h"
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

USTRUCT(BlueprintType)
struct FRigElementKey
{
	GENERATED_BODY()

	FRigElementKey(const ERigElementType InType = ERigElementType::None)
		: Type(InType)
	{
	}

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

UENUM(BlueprintType)
enum class ERigControlType : uint8
{
	Bool,
	Float,
	Integer,
	Vector2D,
	Position,
	Scale,
	Rotator,
	Transform UMETA(Hidden),
	TransformNoScale UMETA(Hidden),
	EulerTransform,
	ScaleFloat,
};

UENUM(BlueprintType)
enum class ERigControlValueType : uint8
{
	Initial,
	Current,
	Minimum,
	Maximum,
};

/** The axis a one- or two-dimensional control moves along. */
UENUM(BlueprintType)
enum class ERigControlAxis : uint8
{
	X,
	Y,
	Z,
};

/** The raw storage of a control value: sixteen floats, read as the control's type lays them out. */
USTRUCT()
struct FRigControlValueStorage
{
	GENERATED_BODY()

	UPROPERTY()
	float Float00 = 0.f;
	UPROPERTY()
	float Float01 = 0.f;
	UPROPERTY()
	float Float02 = 0.f;
	UPROPERTY()
	float Float03 = 0.f;
	UPROPERTY()
	float Float10 = 0.f;
	UPROPERTY()
	float Float11 = 0.f;
	UPROPERTY()
	float Float12 = 0.f;
	UPROPERTY()
	float Float13 = 0.f;
	UPROPERTY()
	float Float20 = 0.f;
	UPROPERTY()
	float Float21 = 0.f;
	UPROPERTY()
	float Float22 = 0.f;
	UPROPERTY()
	float Float23 = 0.f;
	UPROPERTY()
	float Float30 = 0.f;
	UPROPERTY()
	float Float31 = 0.f;
	UPROPERTY()
	float Float32 = 0.f;
	UPROPERTY()
	float Float33 = 0.f;
};

/**
 * The value of a control. It is stored as floats: a float, bool or integer in the first number, a
 * position, scale, two-dimensional vector (z zero) or rotator (its Euler angles: roll, pitch, yaw) as
 * an FVector3f, a transform as an FTransform_Float, an Euler transform as an FEulerTransform_Float. Get,
 * GetRef and Set read and write the storage as the given type, so the double-precision engine types
 * are refused: convert them to and from their float forms.
 */
USTRUCT(BlueprintType)
struct CONTROLRIG_API FRigControlValue
{
	GENERATED_BODY()

	/** A transform kept in floats: translation, rotation quaternion, scale. */
	struct FTransform_Float
	{
		float TranslationX = 0.f;
		float TranslationY = 0.f;
		float TranslationZ = 0.f;
		float RotationX = 0.f;
		float RotationY = 0.f;
		float RotationZ = 0.f;
		float RotationW = 1.f;
		float ScaleX = 1.f;
		float ScaleY = 1.f;
		float ScaleZ = 1.f;

		FTransform_Float() = default;
		FTransform_Float(const FTransform& InTransform);

		FTransform ToTransform() const;
		FVector3f GetTranslation() const { return FVector3f(TranslationX, TranslationY, TranslationZ); }
		FQuat GetRotation() const { return FQuat(RotationX, RotationY, RotationZ, RotationW); }
		FVector3f GetScale3D() const { return FVector3f(ScaleX, ScaleY, ScaleZ); }
	};

	/** An Euler transform kept in floats: translation, pitch, yaw, roll, scale. */
	struct FEulerTransform_Float
	{
		float TranslationX = 0.f;
		float TranslationY = 0.f;
		float TranslationZ = 0.f;
		float RotationPitch = 0.f;
		float RotationYaw = 0.f;
		float RotationRoll = 0.f;
		float ScaleX = 1.f;
		float ScaleY = 1.f;
		float ScaleZ = 1.f;

		FEulerTransform_Float() = default;
		FEulerTransform_Float(const FEulerTransform& InTransform);

		FEulerTransform ToTransform() const;
		FVector3f GetTranslation() const { return FVector3f(TranslationX, TranslationY, TranslationZ); }
		FRotator GetRotator() const { return FRotator(RotationPitch, RotationYaw, RotationRoll); }
		FVector3f GetScale3D() const { return FVector3f(ScaleX, ScaleY, ScaleZ); }
	};

	FRigControlValue() = default;

	/** The value read as T. */
	template<class T>
	T Get() const
	{
		static_assert(sizeof(T) <= sizeof(FRigControlValueStorage), "a control value holds sixteen floats");
		T Value;
		std::memcpy(static_cast<void*>(&Value), &FloatStorage, sizeof(T));
		return Value;
	}

	/** The storage seen as a T. */
	template<class T>
	T& GetRef()
	{
		static_assert(sizeof(T) <= sizeof(FRigControlValueStorage), "a control value holds sixteen floats");
		return *reinterpret_cast<T*>(&FloatStorage);
	}

	template<class T>
	const T& GetRef() const
	{
		static_assert(sizeof(T) <= sizeof(FRigControlValueStorage), "a control value holds sixteen floats");
		return *reinterpret_cast<const T*>(&FloatStorage);
	}

	/** Writes InValue over the first numbers of the storage. */
	template<class T>
	void Set(T InValue)
	{
		static_assert(sizeof(T) <= sizeof(FRigControlValueStorage), "a control value holds sixteen floats");
		std::memcpy(static_cast<void*>(&FloatStorage), &InValue, sizeof(T));
	}

	/** A value holding InValue. */
	template<class T>
	static FRigControlValue Make(T InValue)
	{
		FRigControlValue Value;
		Value.Set<T>(InValue);
		return Value;
	}

	/** The value as a transform of a control of the given type, relative to the control's offset. */
	FTransform GetAsTransform(ERigControlType InControlType, ERigControlAxis InPrimaryAxis) const;

	/** Sets the value from a transform relative to the control's offset, keeping what the type can hold. */
	void SetFromTransform(const FTransform& InTransform, ERigControlType InControlType, ERigControlAxis InPrimaryAxis);

	/** True when any number of the storage is set; a default-made value holds none. */
	bool IsSet() const;

	bool operator==(const FRigControlValue& Other) const;

	/** The storage, number by number (0 to 15). */
	float& operator[](int32 Index);
	float operator[](int32 Index) const { return const_cast<FRigControlValue&>(*this)[Index]; }

private:
	UPROPERTY(meta = (ScriptNoExport))
	FRigControlValueStorage FloatStorage;
};

// Control values keep floats: the double-precision types are not stored as they are.
template<> FVector2D FRigControlValue::Get() const = delete;
template<> FVector FRigControlValue::Get() const = delete;
template<> FVector4 FRigControlValue::Get() const = delete;
template<> FRotator FRigControlValue::Get() const = delete;
template<> FQuat FRigControlValue::Get() const = delete;
template<> FTransform FRigControlValue::Get() const = delete;
template<> FEulerTransform FRigControlValue::Get() const = delete;
template<> FVector2D& FRigControlValue::GetRef() = delete;
template<> FVector& FRigControlValue::GetRef() = delete;
template<> FVector4& FRigControlValue::GetRef() = delete;
template<> FRotator& FRigControlValue::GetRef() = delete;
template<> FQuat& FRigControlValue::GetRef() = delete;
template<> FTransform& FRigControlValue::GetRef() = delete;
template<> FEulerTransform& FRigControlValue::GetRef() = delete;
template<> const FVector2D& FRigControlValue::GetRef() const = delete;
template<> const FVector& FRigControlValue::GetRef() const = delete;
template<> const FVector4& FRigControlValue::GetRef() const = delete;
template<> const FRotator& FRigControlValue::GetRef() const = delete;
template<> const FQuat& FRigControlValue::GetRef() const = delete;
template<> const FTransform& FRigControlValue::GetRef() const = delete;
template<> const FEulerTransform& FRigControlValue::GetRef() const = delete;
template<> void FRigControlValue::Set(FVector2D InValue) = delete;
template<> void FRigControlValue::Set(FVector InValue) = delete;
template<> void FRigControlValue::Set(FVector4 InValue) = delete;
template<> void FRigControlValue::Set(FRotator InValue) = delete;
template<> void FRigControlValue::Set(FQuat InValue) = delete;
template<> void FRigControlValue::Set(FTransform InValue) = delete;
template<> void FRigControlValue::Set(FEulerTransform InValue) = delete;

/** A transform is kept as an FTransform_Float. */
template<>
inline FRigControlValue FRigControlValue::Make(FTransform InValue)
{
	return Make<FTransform_Float>(FTransform_Float(InValue));
}

/** An Euler transform is kept as an FEulerTransform_Float. */
template<>
inline FRigControlValue FRigControlValue::Make(FEulerTransform InValue)
{
	return Make<FEulerTransform_Float>(FEulerTransform_Float(InValue));
}
