// UField (reflected types are objects) and FField (reflected members are not).
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

class UStruct;

/** The base of reflected types: classes, structs, enumerations and functions. Carries metadata. */
class COREUOBJECT_API UField : public UObject
{
	DECLARE_CLASS(UField, UObject, CLASS_Abstract, 0, TEXT("/Script/CoreUObject"), COREUOBJECT_API)

public:
	UField();
	explicit UField(const FObjectInitializer& ObjectInitializer);

	bool HasMetaData(const FName& Key) const { return MetaData.Contains(Key); }
	/** Returns the metadata value of Key, or an empty string. */
	const FString& GetMetaData(const FName& Key) const;
	void SetMetaData(const FName& Key, const FString& Value) { MetaData.Add(Key, Value); }
	const TMap<FName, FString>& GetMetaDataMap() const { return MetaData; }
	/** Returns the "DisplayName" metadata, else the name. */
	FText GetDisplayNameText() const;
	/** Returns the "ToolTip" metadata. */
	FText GetToolTipText() const;

	/** The type's name as the editor's Python shows it. */
	const FString& GetScriptName() const { return ScriptName; }
	void SetScriptName(const FString& InScriptName) { ScriptName = InScriptName; }

private:
	TMap<FName, FString> MetaData;
	FString ScriptName;
};

/** The base of reflected members (properties). Owned by the type that declares them. */
class COREUOBJECT_API FField
{
public:
	FField(UStruct* InOwner, const FName& InName);
	virtual ~FField();
	FField(const FField&) = delete;
	FField& operator=(const FField&) = delete;

	FName GetFName() const { return NamePrivate; }
	FString GetName() const { return NamePrivate.ToString(); }
	/** Returns the type that declares the member. */
	UStruct* GetOwnerStruct() const { return Owner; }

	bool HasMetaData(const FName& Key) const { return MetaData.Contains(Key); }
	const FString& GetMetaData(const FName& Key) const;
	void SetMetaData(const FName& Key, const FString& Value) { MetaData.Add(Key, Value); }
	const TMap<FName, FString>& GetMetaDataMap() const { return MetaData; }
	FText GetDisplayNameText() const;
	FText GetToolTipText() const;

	/** The member's name as the editor's Python shows it. */
	const FString& GetScriptName() const { return ScriptName; }
	void SetScriptName(const FString& InScriptName) { ScriptName = InScriptName; }

private:
	UStruct* Owner;
	FName NamePrivate;
	TMap<FName, FString> MetaData;
	FString ScriptName;
};

/** Casts a member to a property kind; null when it is of another kind. */
template <typename FieldType>
FieldType* CastField(FField* Source)
{
	return dynamic_cast<FieldType*>(Source);
}

template <typename FieldType>
const FieldType* CastField(const FField* Source)
{
	return dynamic_cast<const FieldType*>(Source);
}

template <typename FieldType>
FieldType* CastFieldChecked(FField* Source)
{
	FieldType* Result = dynamic_cast<FieldType*>(Source);
	check(Result);
	return Result;
}

template <typename FieldType>
const FieldType* CastFieldChecked(const FField* Source)
{
	const FieldType* Result = dynamic_cast<const FieldType*>(Source);
	check(Result);
	return Result;
}
