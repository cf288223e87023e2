// UMeshDescriptionBase: a mesh description as an object scripts can fill: vertices with positions,
// vertex instances of them, triangles over three vertex instances, and polygon groups the triangles
// belong to.
#pragma once

#include "CoreMinimal.h"
#include "Containers/Set.h"
#include "MeshTypes.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

#include "MeshDescriptionBase.generated.h"

class UStaticMesh;

UCLASS(BlueprintType)
class MESHDESCRIPTION_API UMeshDescriptionBase : public UObject
{
	GENERATED_BODY()

public:
	/** Reserves space for this number of new vertices. */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	void ReserveNewVertices(int32 NumberOfNewVertices);

	/** Reserves space for this number of new vertex instances. */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	void ReserveNewVertexInstances(int32 NumberOfNewVertexInstances);

	/** Reserves space for this number of new triangles. */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	void ReserveNewTriangles(int32 NumberOfNewTriangles);

	/** Reserves space for this number of new polygon groups. */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	void ReserveNewPolygonGroups(int32 NumberOfNewPolygonGroups);

	/** Adds a new vertex at the origin and returns its ID. */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	FVertexID CreateVertex();

	/** Sets the position of a vertex; an ID that names no vertex changes nothing. */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	void SetVertexPosition(FVertexID VertexID, const FVector& Position);

	/** Adds a new instance of a vertex and returns its ID; INDEX_NONE when the vertex does not exist. */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	FVertexInstanceID CreateVertexInstance(FVertexID VertexID);

	/** Adds a new polygon group and returns its ID. */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	FPolygonGroupID CreatePolygonGroup();

	/**
	 * Adds a triangle over three vertex instances to a polygon group and returns its ID, with the edges
	 * it made that the mesh did not have yet. INDEX_NONE when the group does not exist, when there are
	 * not exactly three vertex instances or one of them does not exist.
	 */
	UFUNCTION(BlueprintCallable, Category = "MeshDescription")
	FTriangleID CreateTriangle(FPolygonGroupID PolygonGroupID, const TArray<FVertexInstanceID>& VertexInstanceIDs, TArray<FEdgeID>& NewEdgeIDs);

protected:
	/** Whether the ID names one of the polygon groups. */
	bool IsPolygonGroupValid(FPolygonGroupID PolygonGroupID) const;

private:
	friend class UStaticMesh;

	/** A triangle: the vertex instances of its corners and its polygon group. */
	struct FTriangle
	{
		int32 VertexInstances[3] = {INDEX_NONE, INDEX_NONE, INDEX_NONE};
		int32 PolygonGroup = INDEX_NONE;
	};

	TArray<FVector> VertexPositions;
	/** The vertex of each vertex instance. */
	TArray<int32> VertexInstanceVertices;
	TArray<FTriangle> Triangles;
	/** Each edge's two vertices, the lower in the high half; an edge's ID is the order it was made in. */
	TSet<int64> EdgeKeys;
	int32 PolygonGroupCount = 0;

protected:
	/** The material slot name of each polygon group. */
	TArray<FName> PolygonGroupMaterialSlotNames;
};
