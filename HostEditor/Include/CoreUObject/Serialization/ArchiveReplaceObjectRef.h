// FArchiveReplaceObjectRef: replaces the references an object (and what is inside it) holds to some objects by others.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

enum class EArchiveReplaceObjectFlags
{
	None = 0,
	/** Also clears references to the map's keys that are private to other packages (no effect in the stand-in). */
	NullPrivateRefs = 1 << 0,
	/** Do not walk into the objects inside the search object. */
	IgnoreOuterRef = 1 << 1,
	/** Do not replace the search object's archetype. */
	IgnoreArchetypeRef = 1 << 2,
	/** Do not start at construction; call ReplaceObjectRefs. */
	DelayStart = 1 << 3,
	IncludeClassGeneratedByRef = 1 << 4,
	TrackReplacedReferences = 1 << 5,
};
ENUM_CLASS_FLAGS(EArchiveReplaceObjectFlags)

/** The walk behind FArchiveReplaceObjectRef: over the reflected properties of the object and its inner objects. */
class COREUOBJECT_API FArchiveReplaceObjectRefBase
{
public:
	virtual ~FArchiveReplaceObjectRefBase() = default;

	/** How many references were replaced. */
	int64 GetCount() const { return Count; }
	/** The objects a reference was replaced in. */
	const TMap<UObject*, int32>& GetReplacedReferences() const { return ReplacedReferences; }

protected:
	FArchiveReplaceObjectRefBase(UObject* InSearchObject, EArchiveReplaceObjectFlags InFlags)
		: SearchObject(InSearchObject)
		, Flags(InFlags)
	{
	}
	void ReplaceObjectRefsWith(const TFunction<UObject*(UObject*)>& Replace);

	UObject* SearchObject;
	EArchiveReplaceObjectFlags Flags;
	int64 Count = 0;
	TMap<UObject*, int32> ReplacedReferences;
};

template <class T>
class FArchiveReplaceObjectRef : public FArchiveReplaceObjectRefBase
{
public:
	FArchiveReplaceObjectRef(UObject* InSearchObject, const TMap<T*, T*>& InReplacementMap, EArchiveReplaceObjectFlags InFlags = EArchiveReplaceObjectFlags::None)
		: FArchiveReplaceObjectRefBase(InSearchObject, InFlags)
		, ReplacementMap(InReplacementMap)
	{
		if (!EnumHasAnyFlags(Flags, EArchiveReplaceObjectFlags::DelayStart))
		{
			ReplaceObjectRefs();
		}
	}

	void ReplaceObjectRefs()
	{
		ReplaceObjectRefsWith([this](UObject* Object) -> UObject* {
			T* const* Found = ReplacementMap.Find(static_cast<T*>(Object));
			return Found ? static_cast<UObject*>(*Found) : nullptr;
		});
	}

private:
	const TMap<T*, T*>& ReplacementMap;
};
