// The element IDs of a mesh description: an index into one of its element arrays.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

#include "MeshTypes.generated.h"

/** An element's index; INDEX_NONE names no element. */
USTRUCT(BlueprintType)
struct MESHDESCRIPTION_API FElementID
{
	GENERATED_BODY()

	FElementID() = default;
	explicit FElementID(const int32 InIDValue) : IDValue(InIDValue) {}

	int32 GetValue() const { return IDValue; }

	bool operator==(const FElementID& Other) const { return IDValue == Other.IDValue; }
	bool operator!=(const FElementID& Other) const { return IDValue != Other.IDValue; }

	UPROPERTY(VisibleAnywhere, BlueprintReadWrite, Category = "MeshDescription")
	int32 IDValue = INDEX_NONE;
};

USTRUCT(BlueprintType)
struct MESHDESCRIPTION_API FVertexID : public FElementID
{
	GENERATED_BODY()

	FVertexID() = default;
	explicit FVertexID(const int32 InIDValue) : FElementID(InIDValue) {}
};

USTRUCT(BlueprintType)
struct MESHDESCRIPTION_API FVertexInstanceID : public FElementID
{
	GENERATED_BODY()

	FVertexInstanceID() = default;
	explicit FVertexInstanceID(const int32 InIDValue) : FElementID(InIDValue) {}
};

USTRUCT(BlueprintType)
struct MESHDESCRIPTION_API FEdgeID : public FElementID
{
	GENERATED_BODY()

	FEdgeID() = default;
	explicit FEdgeID(const int32 InIDValue) : FElementID(InIDValue) {}
};

USTRUCT(BlueprintType)
struct MESHDESCRIPTION_API FTriangleID : public FElementID
{
	GENERATED_BODY()

	FTriangleID() = default;
	explicit FTriangleID(const int32 InIDValue) : FElementID(InIDValue) {}
};

USTRUCT(BlueprintType)
struct MESHDESCRIPTION_API FPolygonGroupID : public FElementID
{
	GENERATED_BODY()

	FPolygonGroupID() = default;
	explicit FPolygonGroupID(const int32 InIDValue) : FElementID(InIDValue) {}
};
