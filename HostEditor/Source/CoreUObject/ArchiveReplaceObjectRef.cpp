// Replacing object references: a walk over the reflected properties of an object and the objects
// inside it (arrays, structs and static arrays included); soft references are paths and stay.

#include "Serialization/ArchiveReplaceObjectRef.h"

#include "UObject/Class.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	struct FReplaceWalk
	{
		const TFunction<UObject*(UObject*)>& Replace;
		UObject* Owner = nullptr;
		int64 Count = 0;
		TMap<UObject*, int32>* Tracked = nullptr;

		void Value(const FProperty* Property, void* Address)
		{
			if (const FObjectPropertyBase* ObjectProperty = CastField<FObjectPropertyBase>(Property))
			{
				if (CastField<FSoftObjectProperty>(Property))
				{
					return;
				}
				UObject* Current = ObjectProperty->GetObjectPropertyValue(Address);
				UObject* Replacement = Current ? Replace(Current) : nullptr;
				if (Replacement && Replacement != Current)
				{
					ObjectProperty->SetObjectPropertyValue(Address, Replacement);
					++Count;
					if (Tracked)
					{
						++Tracked->FindOrAdd(Owner);
					}
				}
			}
			else if (const FStructProperty* StructProperty = CastField<FStructProperty>(Property))
			{
				Container(StructProperty->Struct, Address);
			}
			else if (const FArrayProperty* ArrayProperty = CastField<FArrayProperty>(Property))
			{
				FScriptArrayHelper Helper(ArrayProperty, Address);
				for (int32 Index = 0; Index < Helper.Num(); ++Index)
				{
					Value(ArrayProperty->Inner, Helper.GetRawPtr(Index));
				}
			}
		}

		void Container(const UStruct* Struct, void* Data)
		{
			for (TFieldIterator<FProperty> It(Struct); It; ++It)
			{
				for (int32 ArrayIndex = 0; ArrayIndex < It->ArrayDim; ++ArrayIndex)
				{
					Value(*It, It->ContainerPtrToValuePtr<void>(Data, ArrayIndex));
				}
			}
		}
	};
}

void FArchiveReplaceObjectRefBase::ReplaceObjectRefsWith(const TFunction<UObject*(UObject*)>& Replace)
{
	if (!SearchObject)
	{
		return;
	}
	TArray<UObject*> Objects;
	Objects.Add(SearchObject);
	if (!EnumHasAnyFlags(Flags, EArchiveReplaceObjectFlags::IgnoreOuterRef))
	{
		TArray<UObject*> Inner;
		GetObjectsWithOuter(SearchObject, Inner, true);
		Objects.Append(Inner);
	}
	FReplaceWalk Walk{Replace};
	Walk.Tracked = EnumHasAnyFlags(Flags, EArchiveReplaceObjectFlags::TrackReplacedReferences) ? &ReplacedReferences : nullptr;
	for (UObject* Object : Objects)
	{
		Walk.Owner = Object;
		Walk.Container(Object->GetClass(), Object);
	}
	Count += Walk.Count;
}
