#include "Factories/FbxSkeletalMeshImportData.h"

UFbxAssetImportData::UFbxAssetImportData(const FObjectInitializer& ObjectInitializer)
	: UAssetImportData(ObjectInitializer)
{
}

UFbxMeshImportData::UFbxMeshImportData(const FObjectInitializer& ObjectInitializer)
	: UFbxAssetImportData(ObjectInitializer)
{
}

UFbxSkeletalMeshImportData::UFbxSkeletalMeshImportData(const FObjectInitializer& ObjectInitializer)
	: UFbxMeshImportData(ObjectInitializer)
{
}
