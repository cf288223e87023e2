// The mesh description object: its elements, added one by one.

#include "MeshDescriptionBase.h"

#include "Modules/ModuleManager.h"

IMPLEMENT_MODULE(FDefaultModuleImpl, MeshDescription)

void UMeshDescriptionBase::ReserveNewVertices(int32 NumberOfNewVertices)
{
	VertexPositions.Reserve(VertexPositions.Num() + FMath::Max(NumberOfNewVertices, 0));
}

void UMeshDescriptionBase::ReserveNewVertexInstances(int32 NumberOfNewVertexInstances)
{
	VertexInstanceVertices.Reserve(VertexInstanceVertices.Num() + FMath::Max(NumberOfNewVertexInstances, 0));
}

void UMeshDescriptionBase::ReserveNewTriangles(int32 NumberOfNewTriangles)
{
	Triangles.Reserve(Triangles.Num() + FMath::Max(NumberOfNewTriangles, 0));
}

void UMeshDescriptionBase::ReserveNewPolygonGroups(int32 NumberOfNewPolygonGroups)
{
	PolygonGroupMaterialSlotNames.Reserve(PolygonGroupMaterialSlotNames.Num() + FMath::Max(NumberOfNewPolygonGroups, 0));
}

FVertexID UMeshDescriptionBase::CreateVertex()
{
	return FVertexID(VertexPositions.Add(FVector::ZeroVector));
}

void UMeshDescriptionBase::SetVertexPosition(FVertexID VertexID, const FVector& Position)
{
	if (VertexPositions.IsValidIndex(VertexID.GetValue()))
	{
		VertexPositions[VertexID.GetValue()] = Position;
	}
}

FVertexInstanceID UMeshDescriptionBase::CreateVertexInstance(FVertexID VertexID)
{
	if (!VertexPositions.IsValidIndex(VertexID.GetValue()))
	{
		return FVertexInstanceID();
	}
	return FVertexInstanceID(VertexInstanceVertices.Add(VertexID.GetValue()));
}

FPolygonGroupID UMeshDescriptionBase::CreatePolygonGroup()
{
	PolygonGroupMaterialSlotNames.Add(NAME_None);
	return FPolygonGroupID(PolygonGroupCount++);
}

bool UMeshDescriptionBase::IsPolygonGroupValid(FPolygonGroupID PolygonGroupID) const
{
	return PolygonGroupID.GetValue() >= 0 && PolygonGroupID.GetValue() < PolygonGroupCount;
}

FTriangleID UMeshDescriptionBase::CreateTriangle(FPolygonGroupID PolygonGroupID, const TArray<FVertexInstanceID>& VertexInstanceIDs, TArray<FEdgeID>& NewEdgeIDs)
{
	NewEdgeIDs.Reset();
	if (!IsPolygonGroupValid(PolygonGroupID) || VertexInstanceIDs.Num() != 3)
	{
		return FTriangleID();
	}
	FTriangle Triangle;
	Triangle.PolygonGroup = PolygonGroupID.GetValue();
	for (int32 Corner = 0; Corner < 3; ++Corner)
	{
		const int32 Instance = VertexInstanceIDs[Corner].GetValue();
		if (!VertexInstanceVertices.IsValidIndex(Instance))
		{
			return FTriangleID();
		}
		Triangle.VertexInstances[Corner] = Instance;
	}
	// A triangle's sides become edges once: the edge between two vertices is shared by the triangles
	// on both of its sides.
	for (int32 Corner = 0; Corner < 3; ++Corner)
	{
		const int32 A = VertexInstanceVertices[Triangle.VertexInstances[Corner]];
		const int32 B = VertexInstanceVertices[Triangle.VertexInstances[(Corner + 1) % 3]];
		const int64 Key = ((int64)FMath::Min(A, B) << 32) | (int64)(uint32)FMath::Max(A, B);
		if (!EdgeKeys.Contains(Key))
		{
			NewEdgeIDs.Add(FEdgeID(EdgeKeys.Num()));
			EdgeKeys.Add(Key);
		}
	}
	return FTriangleID(Triangles.Add(Triangle));
}
