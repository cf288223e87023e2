// The static mesh asset: built from static mesh descriptions, its material slots, and the text form of
// its built geometry.

#include "Engine/StaticMesh.h"

#include "Misc/FeedbackContext.h"
#include "StaticMeshDescription.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogStaticMesh, Log, All);

namespace
{
	const TCHAR* const LODTag = TEXT("LOD");
	const TCHAR* const VertexTag = TEXT("Vertex");
	const TCHAR* const TriangleTag = TEXT("Triangle");
	const TCHAR* const SectionTag = TEXT("Section");
	/** The slot name AddMaterial gives a material without a name of its own. */
	const TCHAR* const DefaultSlotPrefix = TEXT("MaterialSlot");

	void Report(FFeedbackContext* Warn, const FString& Message)
	{
		if (Warn)
		{
			Warn->Log(ELogVerbosity::Warning, Message);
		}
	}
}

UStaticMeshDescription* UStaticMesh::CreateStaticMeshDescription(UObject* Outer)
{
	return NewObject<UStaticMeshDescription>(Outer ? Outer : GetTransientPackage(), NAME_None, RF_Transient);
}

void UStaticMesh::BuildFromStaticMeshDescriptions(const TArray<UStaticMeshDescription*>& StaticMeshDescriptions, bool bBuildSimpleCollision, bool bFastBuild)
{
	TArray<FLOD> Built;
	for (int32 LODIndex = 0; LODIndex < StaticMeshDescriptions.Num(); ++LODIndex)
	{
		const UStaticMeshDescription* Description = StaticMeshDescriptions[LODIndex];
		if (!Description || Description->Triangles.IsEmpty())
		{
			UE_LOG(LogStaticMesh, Error, TEXT("BuildFromStaticMeshDescriptions: LOD %d of %s has no mesh description with triangles; nothing is built"), LODIndex, *GetPathName());
			return;
		}
		FLOD& LOD = Built.AddDefaulted_GetRef();
		LOD.Positions = Description->VertexPositions;
		// Sections follow the polygon groups; each draws with the slot named like its group.
		for (int32 Group = 0; Group < Description->PolygonGroupCount; ++Group)
		{
			FSection Section;
			Section.FirstTriangle = LOD.Indices.Num() / 3;
			for (const UMeshDescriptionBase::FTriangle& Triangle : Description->Triangles)
			{
				if (Triangle.PolygonGroup != Group)
				{
					continue;
				}
				for (const int32 Instance : Triangle.VertexInstances)
				{
					LOD.Indices.Add(Description->VertexInstanceVertices[Instance]);
				}
				++Section.NumTriangles;
			}
			if (Section.NumTriangles == 0)
			{
				continue;
			}
			const FName SlotName = Description->PolygonGroupMaterialSlotNames[Group];
			const int32 Slot = StaticMaterials.IndexOfByPredicate([&](const FStaticMaterial& Material) { return !SlotName.IsNone() && Material.MaterialSlotName == SlotName; });
			Section.MaterialIndex = Slot == INDEX_NONE ? 0 : Slot;
			LOD.Sections.Add(Section);
		}
	}
	if (Built.IsEmpty())
	{
		UE_LOG(LogStaticMesh, Error, TEXT("BuildFromStaticMeshDescriptions: no mesh description was given for %s"), *GetPathName());
		return;
	}
	LODs = MoveTemp(Built);
	MarkPackageDirty();
}

FName UStaticMesh::AddMaterial(UMaterialInterface* Material)
{
	if (!Material)
	{
		return NAME_None;
	}
	FName SlotName = Material->GetFName();
	auto IsTaken = [this](const FName Name) { return StaticMaterials.ContainsByPredicate([&](const FStaticMaterial& Slot) { return Slot.MaterialSlotName == Name; }); };
	for (int32 Suffix = 1; SlotName.IsNone() || IsTaken(SlotName); ++Suffix)
	{
		SlotName = FName(*FString::Printf(TEXT("%s_%d"), SlotName.IsNone() ? DefaultSlotPrefix : *Material->GetName(), Suffix));
	}
	StaticMaterials.Add(FStaticMaterial(Material, SlotName, SlotName));
	return SlotName;
}

void UStaticMesh::SetMaterial(int32 MaterialIndex, UMaterialInterface* NewMaterial)
{
	if (StaticMaterials.IsValidIndex(MaterialIndex))
	{
		StaticMaterials[MaterialIndex].MaterialInterface = NewMaterial;
		MarkPackageDirty();
	}
}

UMaterialInterface* UStaticMesh::GetMaterial(int32 MaterialIndex) const
{
	return StaticMaterials.IsValidIndex(MaterialIndex) ? StaticMaterials[MaterialIndex].MaterialInterface.Get() : nullptr;
}

void UStaticMesh::SetStaticMaterials(const TArray<FStaticMaterial>& InStaticMaterials)
{
	StaticMaterials = InStaticMaterials;
	MarkPackageDirty();
}

int32 UStaticMesh::GetNumSections(int32 InLOD) const
{
	return LODs.IsValidIndex(InLOD) ? LODs[InLOD].Sections.Num() : 0;
}

int32 UStaticMesh::GetNumVertices(int32 LODIndex) const
{
	return LODs.IsValidIndex(LODIndex) ? LODs[LODIndex].Positions.Num() : 0;
}

int32 UStaticMesh::GetNumTriangles(int32 LODIndex) const
{
	return LODs.IsValidIndex(LODIndex) ? LODs[LODIndex].Indices.Num() / 3 : 0;
}

FBoxSphereBounds UStaticMesh::GetBounds() const
{
	FBoxSphereBounds Bounds;
	Bounds.Origin = FVector::ZeroVector;
	Bounds.BoxExtent = FVector::ZeroVector;
	Bounds.SphereRadius = 0.0;
	if (LODs.IsEmpty() || LODs[0].Positions.IsEmpty())
	{
		return Bounds;
	}
	FVector Min = LODs[0].Positions[0];
	FVector Max = Min;
	for (const FVector& Position : LODs[0].Positions)
	{
		Min = FVector(FMath::Min(Min.X, Position.X), FMath::Min(Min.Y, Position.Y), FMath::Min(Min.Z, Position.Z));
		Max = FVector(FMath::Max(Max.X, Position.X), FMath::Max(Max.Y, Position.Y), FMath::Max(Max.Z, Position.Z));
	}
	Bounds.Origin = (Min + Max) * 0.5;
	Bounds.BoxExtent = (Max - Min) * 0.5;
	for (const FVector& Position : LODs[0].Positions)
	{
		Bounds.SphereRadius = FMath::Max(Bounds.SphereRadius, (Position - Bounds.Origin).Size());
	}
	return Bounds;
}

void UStaticMesh::ExportCustomProperties(FOutputDevice& Out, uint32 Indent)
{
	for (const FLOD& LOD : LODs)
	{
		Out.Logf(TEXT("%s"), LODTag);
		for (const FVector& Position : LOD.Positions)
		{
			Out.Logf(TEXT("%s %.9f %.9f %.9f"), VertexTag, Position.X, Position.Y, Position.Z);
		}
		for (int32 Index = 0; Index + 2 < LOD.Indices.Num(); Index += 3)
		{
			Out.Logf(TEXT("%s %d %d %d"), TriangleTag, LOD.Indices[Index], LOD.Indices[Index + 1], LOD.Indices[Index + 2]);
		}
		for (const FSection& Section : LOD.Sections)
		{
			Out.Logf(TEXT("%s %d %d %d"), SectionTag, Section.FirstTriangle, Section.NumTriangles, Section.MaterialIndex);
		}
	}
}

void UStaticMesh::ImportCustomProperties(const TCHAR* SourceText, FFeedbackContext* Warn)
{
	LODs.Reset();
	TArray<FString> Lines;
	FString(SourceText).ParseIntoArray(Lines, TEXT("\n"), true);
	TArray<FLOD> Read;
	for (const FString& RawLine : Lines)
	{
		TArray<FString> Words;
		RawLine.TrimStartAndEnd().ParseIntoArray(Words, TEXT(" "), true);
		if (Words.IsEmpty())
		{
			continue;
		}
		if (Words[0] == LODTag)
		{
			Read.AddDefaulted();
			continue;
		}
		TArray<double> Numbers;
		for (int32 Index = 1; Index < Words.Num(); ++Index)
		{
			if (!Words[Index].IsNumeric())
			{
				Report(Warn, FString::Printf(TEXT("The mesh geometry cannot be read: '%s' is not a number in '%s'"), *Words[Index], *RawLine));
				return;
			}
			Numbers.Add(FCString::Atod(*Words[Index]));
		}
		if (Read.IsEmpty() || Numbers.Num() != 3)
		{
			Report(Warn, FString::Printf(TEXT("The mesh geometry cannot be read: '%s' is not a line of a LOD"), *RawLine));
			return;
		}
		FLOD& LOD = Read.Last();
		if (Words[0] == VertexTag)
		{
			LOD.Positions.Add(FVector(Numbers[0], Numbers[1], Numbers[2]));
		}
		else if (Words[0] == TriangleTag)
		{
			for (const double Number : Numbers)
			{
				const int32 Vertex = (int32)Number;
				if (Vertex != Number || !LOD.Positions.IsValidIndex(Vertex))
				{
					Report(Warn, FString::Printf(TEXT("The mesh geometry cannot be read: '%s' names a vertex the LOD does not have"), *RawLine));
					return;
				}
				LOD.Indices.Add(Vertex);
			}
		}
		else if (Words[0] == SectionTag)
		{
			FSection Section;
			Section.FirstTriangle = (int32)Numbers[0];
			Section.NumTriangles = (int32)Numbers[1];
			Section.MaterialIndex = (int32)Numbers[2];
			LOD.Sections.Add(Section);
		}
		else
		{
			Report(Warn, FString::Printf(TEXT("The mesh geometry cannot be read: unknown line '%s'"), *RawLine));
			return;
		}
	}
	LODs = MoveTemp(Read);
}
