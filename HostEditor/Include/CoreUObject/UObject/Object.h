// UObject: the base of every reflected engine object.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

class UClass;
class UFunction;
class UPackage;
class FObjectInitializer;
class ITransaction;
class FOutputDevice;
class FFeedbackContext;

/**
 * Declares the reflection members of a class whose reflection is written by hand (the engine's own
 * intrinsic classes) rather than generated from its markup.
 */
#define DECLARE_CLASS(TClass, TSuperClass, TStaticFlags, TStaticCastFlags, TPackage, TRequiredAPI) \
public: \
	typedef TSuperClass Super; \
	typedef TClass ThisClass; \
	static UClass* StaticClass(); \
	static const TCHAR* StaticPackage() { return TPackage; } \
	static constexpr EClassFlags StaticClassFlags = EClassFlags(TStaticFlags);

class COREUOBJECT_API UObject
{
public:
	typedef UObject ThisClass;
	static UClass* StaticClass();
	static const TCHAR* StaticPackage() { return TEXT("/Script/CoreUObject"); }
	static constexpr EClassFlags StaticClassFlags = CLASS_Abstract;

	UObject();
	explicit UObject(const FObjectInitializer& ObjectInitializer);
	UObject(const UObject&) = delete;
	UObject& operator=(const UObject&) = delete;
	virtual ~UObject();

	/** Returns the object's name inside its outer. */
	FName GetFName() const { return NamePrivate; }
	FString GetName() const { return NamePrivate.ToString(); }
	UObject* GetOuter() const { return OuterPrivate; }
	UClass* GetClass() const { return ClassPrivate; }
	/** Returns the package at the top of the outer chain (the object itself for a package). */
	UPackage* GetPackage() const;
	UPackage* GetOutermost() const { return GetPackage(); }
	/** Returns the object's path: "/Game/Folder/Package.Object", with ':' before sub-objects of objects. */
	FString GetPathName(const UObject* StopOuter = nullptr) const;
	/** Returns the class name, a blank and the path name. */
	FString GetFullName(const UObject* StopOuter = nullptr) const;

	EObjectFlags GetFlags() const { return ObjectFlags; }
	void SetFlags(EObjectFlags NewFlags) { ObjectFlags |= NewFlags; }
	void ClearFlags(EObjectFlags FlagsToClear) { ObjectFlags &= ~FlagsToClear; }
	bool HasAnyFlags(EObjectFlags FlagsToCheck) const { return (ObjectFlags & FlagsToCheck) != 0; }
	bool HasAllFlags(EObjectFlags FlagsToCheck) const { return (ObjectFlags & FlagsToCheck) == FlagsToCheck; }

	/** True when the object's class is SomeBase or derives from it. */
	bool IsA(const UClass* SomeBase) const;
	template <typename OtherClassType>
	bool IsA() const
	{
		return IsA(OtherClassType::StaticClass());
	}

	/** Returns the first outer (walking up) of the given class. */
	UObject* GetTypedOuter(UClass* Target) const;
	template <typename T>
	T* GetTypedOuter() const
	{
		return static_cast<T*>(GetTypedOuter(T::StaticClass()));
	}

	/**
	 * Records the object in the active transaction, when there is one and the object is transactional,
	 * and marks its package dirty when bAlwaysMarkDirty. Returns whether the object was recorded.
	 */
	virtual bool Modify(bool bAlwaysMarkDirty = true);
	/** Marks the package of the object as needing a save. Returns false when that was suppressed. */
	bool MarkPackageDirty() const;

	/** Changes the object's name and/or outer. With REN_Test, only tells whether that would succeed. */
	virtual bool Rename(const TCHAR* NewName = nullptr, UObject* NewOuter = nullptr, ERenameFlags Flags = REN_None);

	/** Returns the function of this object's class with that name, or null. */
	UFunction* FindFunction(FName InName) const;
	UFunction* FindFunctionChecked(FName InName) const;
	/** Calls a reflected function with its parameters laid out as the function's parameter block. */
	virtual void ProcessEvent(UFunction* Function, void* Parms);

	/** Tells the object that a property of it was edited (null when it is not known which). */
	virtual void PostEditChangeProperty(struct FPropertyChangedEvent& PropertyChangedEvent) {}
	/** Tells the object that it was edited, without naming a property. */
	virtual void PostEditChange();

	virtual void PostInitProperties() {}
	virtual void PostLoad() {}
	virtual void BeginDestroy() {}
	virtual void PostRename(UObject* OldOuter, const FName OldName) {}
	virtual bool IsAsset() const;
	/**
	 * Writes the object's state that its reflected properties do not hold, as text lines inside the
	 * object's block of an exported package; ImportCustomProperties reads them back.
	 */
	virtual void ExportCustomProperties(FOutputDevice& Out, uint32 Indent) {}
	virtual void ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn) {}

	/** True for a class default object or an archetype. */
	bool IsTemplate(EObjectFlags TemplateTypes = EObjectFlags(RF_ArchetypeObject | RF_ClassDefaultObject)) const;
	bool IsValidLowLevel() const;
	/** Marks the object as destroyed; lookups no longer find it. */
	void MarkAsGarbage();
	bool IsGarbage() const { return bGarbage; }

	/**
	 * Makes a sub-object of this object while its constructor runs (a default subobject): named
	 * SubobjectFName, of ClassToCreateByDefault, flagged as a default subobject, and as an archetype
	 * when this object is a class default object or an archetype.
	 */
	UObject* CreateDefaultSubobject(FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault, bool bIsRequired, bool bIsTransient);
	template <class TReturnType>
	TReturnType* CreateDefaultSubobject(FName SubobjectName, bool bTransient = false)
	{
		UClass* ReturnType = TReturnType::StaticClass();
		return static_cast<TReturnType*>(CreateDefaultSubobject(SubobjectName, ReturnType, ReturnType, true, bTransient));
	}

	/** Returns the object's index in the global object list. */
	int32 GetUniqueID() const { return InternalIndex; }

private:
	friend class FObjectInitializer;
	friend struct FUObjectSystem;

	UClass* ClassPrivate = nullptr;
	FName NamePrivate;
	UObject* OuterPrivate = nullptr;
	EObjectFlags ObjectFlags = RF_NoFlags;
	int32 InternalIndex = INDEX_NONE;
	bool bGarbage = false;
};

/** True when Test is non-null and not destroyed. */
COREUOBJECT_API bool IsValid(const UObject* Test);

/** The undo system's interface: what UObject::Modify records into. */
class COREUOBJECT_API ITransaction
{
public:
	virtual ~ITransaction() = default;
	/** Records the state of Object so that the change that follows can be undone. */
	virtual void SaveObject(UObject* Object) = 0;
};

/** The transaction in progress, or null. */
extern COREUOBJECT_API ITransaction* GUndo;
