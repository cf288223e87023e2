// Static meshes built from static mesh descriptions: elements and edges of the description, sections
// per polygon group drawn with the slot of their slot name, the text form of the built geometry, and
// refusing geometry text that names what the mesh does not have.

#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "Engine/StaticMesh.h"
#include "Materials/Material.h"
#include "Misc/FeedbackContext.h"
#include "Misc/OutputDevice.h"
#include "StaticMeshDescription.h"
#include "UObject/UObjectGlobals.h"

namespace
{
	/** Collects what ExportCustomProperties writes, one line per call. */
	class FLines : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			Text += FString(V) + TEXT("\n");
		}

		FString Text;
	};

	/** Adds a triangle over three new vertices at the positions given; returns its ID. */
	FTriangleID AddTriangle(UStaticMeshDescription* Description, FPolygonGroupID Group, const FVector& A, const FVector& B, const FVector& C, TArray<FEdgeID>& OutNewEdges)
	{
		TArray<FVertexInstanceID> Instances;
		for (const FVector& Position : {A, B, C})
		{
			const FVertexID Vertex = Description->CreateVertex();
			Description->SetVertexPosition(Vertex, Position);
			Instances.Add(Description->CreateVertexInstance(Vertex));
		}
		return Description->CreateTriangle(Group, Instances, OutNewEdges);
	}
}

TEST(StaticMeshDescription, ATriangleNeedsThreeInstancesOfExistingVerticesInAnExistingGroup)
{
	UStaticMeshDescription* Description = UStaticMesh::CreateStaticMeshDescription();
	const FPolygonGroupID Group = Description->CreatePolygonGroup();
	const FVertexID Vertex = Description->CreateVertex();
	const FVertexInstanceID Instance = Description->CreateVertexInstance(Vertex);
	TArray<FEdgeID> Edges;
	EXPECT_EQ(Description->CreateTriangle(Group, {Instance, Instance}, Edges).GetValue(), INDEX_NONE);
	EXPECT_EQ(Description->CreateTriangle(FPolygonGroupID(3), {Instance, Instance, Instance}, Edges).GetValue(), INDEX_NONE);
	EXPECT_EQ(Description->CreateTriangle(Group, {Instance, Instance, FVertexInstanceID(9)}, Edges).GetValue(), INDEX_NONE);
	EXPECT_EQ(Description->CreateVertexInstance(FVertexID(7)).GetValue(), INDEX_NONE);
}

TEST(StaticMeshDescription, TwoTrianglesOverOneSideShareItsEdge)
{
	UStaticMeshDescription* Description = UStaticMesh::CreateStaticMeshDescription();
	const FPolygonGroupID Group = Description->CreatePolygonGroup();
	TArray<FVertexID> Corners;
	for (const FVector& Position : {FVector(0, 0, 0), FVector(1, 0, 0), FVector(1, 1, 0), FVector(0, 1, 0)})
	{
		Corners.Add(Description->CreateVertex());
		Description->SetVertexPosition(Corners.Last(), Position);
	}
	auto Instances = [&](int32 A, int32 B, int32 C) {
		return TArray<FVertexInstanceID>{Description->CreateVertexInstance(Corners[A]), Description->CreateVertexInstance(Corners[B]), Description->CreateVertexInstance(Corners[C])};
	};
	TArray<FEdgeID> First;
	TArray<FEdgeID> Second;
	EXPECT_EQ(Description->CreateTriangle(Group, Instances(0, 1, 2), First).GetValue(), 0);
	EXPECT_EQ(Description->CreateTriangle(Group, Instances(0, 2, 3), Second).GetValue(), 1);
	EXPECT_EQ(First.Num(), 3);
	ASSERT_EQ(Second.Num(), 2);
	EXPECT_EQ(Second[0].GetValue(), 3);
	EXPECT_EQ(Second[1].GetValue(), 4);
}

TEST(StaticMesh, EachPolygonGroupIsASectionDrawnWithTheSlotOfItsName)
{
	UStaticMesh* Mesh = NewObject<UStaticMesh>(GetTransientPackage(), FName(TEXT("SM_Sections")));
	UMaterial* Gizmo = NewObject<UMaterial>(GetTransientPackage(), FName(TEXT("M_Gizmo")));
	UMaterial* Other = NewObject<UMaterial>(GetTransientPackage(), FName(TEXT("M_Other")));
	EXPECT_EQ(Mesh->AddMaterial(Other), FName(TEXT("M_Other")));
	EXPECT_EQ(Mesh->AddMaterial(Gizmo), FName(TEXT("M_Gizmo")));
	EXPECT_EQ(Mesh->AddMaterial(Gizmo), FName(TEXT("M_Gizmo_1")));

	UStaticMeshDescription* Description = UStaticMesh::CreateStaticMeshDescription(Mesh);
	const FPolygonGroupID Unnamed = Description->CreatePolygonGroup();
	const FPolygonGroupID Named = Description->CreatePolygonGroup();
	Description->SetPolygonGroupMaterialSlotName(Named, FName(TEXT("M_Gizmo")));
	TArray<FEdgeID> Edges;
	AddTriangle(Description, Named, FVector(0, 0, 0), FVector(2, 0, 0), FVector(0, 4, 0), Edges);
	AddTriangle(Description, Unnamed, FVector(0, 0, -6), FVector(1, 0, 0), FVector(0, 1, 0), Edges);
	AddTriangle(Description, Named, FVector(0, 0, 0), FVector(1, 0, 0), FVector(0, 1, 0), Edges);
	Mesh->BuildFromStaticMeshDescriptions({Description});

	EXPECT_EQ(Mesh->GetNumVertices(0), 9);
	EXPECT_EQ(Mesh->GetNumTriangles(0), 3);
	EXPECT_EQ(Mesh->GetNumSections(0), 2);
	EXPECT_EQ(Mesh->GetNumSections(1), 0);
	const FBoxSphereBounds Bounds = Mesh->GetBounds();
	EXPECT_EQ(Bounds.Origin, FVector(1, 2, -3));
	EXPECT_EQ(Bounds.BoxExtent, FVector(1, 2, 3));

	// The text form keeps the sections in group order: the unnamed group on slot 0, the named on slot 1.
	FLines Lines;
	Mesh->ExportCustomProperties(Lines, 0);
	EXPECT_NE(Lines.Text.Find(TEXT("Section 0 1 0\n")), INDEX_NONE);
	EXPECT_NE(Lines.Text.Find(TEXT("Section 1 2 1\n")), INDEX_NONE);

	UStaticMesh* Copy = NewObject<UStaticMesh>(GetTransientPackage(), FName(TEXT("SM_Copy")));
	FFeedbackContext Warn;
	Copy->ImportCustomProperties(*Lines.Text, &Warn);
	EXPECT_TRUE(Warn.Warnings.IsEmpty());
	EXPECT_EQ(Copy->GetNumVertices(0), 9);
	EXPECT_EQ(Copy->GetNumTriangles(0), 3);
	EXPECT_EQ(Copy->GetNumSections(0), 2);
	EXPECT_EQ(Copy->GetBounds().BoxExtent, FVector(1, 2, 3));
}

TEST(StaticMesh, ADescriptionWithoutTrianglesBuildsNothing)
{
	UStaticMesh* Mesh = NewObject<UStaticMesh>(GetTransientPackage(), FName(TEXT("SM_Empty")));
	UStaticMeshDescription* Description = UStaticMesh::CreateStaticMeshDescription();
	Description->CreatePolygonGroup();
	Mesh->BuildFromStaticMeshDescriptions({Description});
	Mesh->BuildFromStaticMeshDescriptions({});
	EXPECT_EQ(Mesh->GetNumTriangles(0), 0);
	EXPECT_EQ(Mesh->GetBounds().SphereRadius, 0.0);
}

TEST(StaticMesh, GeometryTextNamingAMissingVertexIsRefusedWithAWarning)
{
	UStaticMesh* Mesh = NewObject<UStaticMesh>(GetTransientPackage(), FName(TEXT("SM_Bad")));
	for (const TCHAR* Text : {TEXT("LOD\nVertex 0 0 0\nTriangle 0 0 1\n"), TEXT("Vertex 0 0 0\n"), TEXT("LOD\nVertex 0 x 0\n"), TEXT("LOD\nEdge 0 1 2\n")})
	{
		FFeedbackContext Warn;
		Mesh->ImportCustomProperties(Text, &Warn);
		EXPECT_EQ(Warn.Warnings.Num(), 1) << TCHAR_TO_UTF8(Text);
		EXPECT_EQ(Mesh->GetNumVertices(0), 0);
	}
}
