#include "ControlRigBlueprintFactory.h"

#include "Animation/Skeleton.h"
#include "Engine/SkeletalMesh.h"
#include "Modules/ModuleManager.h"
#include "RigVMModel/RigVMController.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogControlRigEditor, Log, All);

namespace
{
	const TCHAR* const BeginExecutionStructPath = TEXT("/Script/ControlRig.RigUnit_BeginExecution");
	const TCHAR* const RigAssetSuffix = TEXT("_CtrlRig");

	/** True for a long package name such as "/Game/Rigs/MyRig": rooted, at least two segments, plain characters. */
	bool IsValidLongPackageName(const FString& Path)
	{
		if (!Path.StartsWith(TEXT("/"), ESearchCase::CaseSensitive) || Path.EndsWith(TEXT("/"), ESearchCase::CaseSensitive) || Path.Contains(TEXT("//")))
		{
			return false;
		}
		int32 Separators = 0;
		for (int32 Index = 0; Index < Path.Len(); ++Index)
		{
			const TCHAR Char = Path[Index];
			Separators += Char == '/' ? 1 : 0;
			if (!FChar::IsAlnum(Char) && Char != '_' && Char != '-' && Char != '/')
			{
				return false;
			}
		}
		return Separators >= 2;
	}

	FString AssetNameOf(const FString& PackagePath)
	{
		FString Folder;
		FString Name;
		return PackagePath.Split(TEXT("/"), &Folder, &Name, ESearchCase::CaseSensitive, ESearchDir::FromEnd) ? Name : PackagePath;
	}

	bool AssetExists(const FString& PackagePath)
	{
		UPackage* Package = FindPackage(nullptr, *PackagePath);
		return Package && StaticFindObjectFast(nullptr, Package, FName(*AssetNameOf(PackagePath)));
	}

	/** Adds the bones of a reference skeleton, each at its global reference pose. */
	void ImportBones(URigHierarchyController* Controller, const FReferenceSkeleton& RefSkeleton)
	{
		TArray<FTransform> GlobalPose;
		for (int32 Index = 0; Index < RefSkeleton.GetNum(); ++Index)
		{
			const int32 ParentIndex = RefSkeleton.GetParentIndex(Index);
			const FTransform& Local = RefSkeleton.GetRefBonePose()[Index];
			GlobalPose.Add(ParentIndex == INDEX_NONE ? Local : Local * GlobalPose[ParentIndex]);
			const FRigElementKey Parent = ParentIndex == INDEX_NONE ? FRigElementKey() : FRigElementKey(RefSkeleton.GetBoneName(ParentIndex), ERigElementType::Bone);
			Controller->AddBone(RefSkeleton.GetBoneName(Index), Parent, GlobalPose[Index], true, ERigBoneType::Imported, false, false);
		}
	}
}

UControlRigBlueprintFactory::UControlRigBlueprintFactory()
{
	SupportedClass = UControlRigBlueprint::StaticClass();
	ParentClass = UControlRig::StaticClass();
	bCreateNew = true;
	bEditAfterNew = true;
}

UObject* UControlRigBlueprintFactory::FactoryCreateNew(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags, UObject* Context, FFeedbackContext* Warn, FName CallingContext)
{
	UClass* BlueprintClass = InClass && InClass->IsChildOf(UControlRigBlueprint::StaticClass()) ? InClass : UControlRigBlueprint::StaticClass();
	UControlRigBlueprint* Blueprint = NewObject<UControlRigBlueprint>(InParent, BlueprintClass, InName, Flags);
	Blueprint->InitializeRig();
	Blueprint->ParentClass = ParentClass ? ParentClass.Get() : UControlRig::StaticClass();
	// New rigs start with the event that runs the forward solve.
	if (URigVMController* Controller = Blueprint->GetController())
	{
		Controller->AddUnitNodeFromStructPath(BeginExecutionStructPath, TEXT("Execute"), FVector2D::ZeroVector, FString(), false, false);
	}
	Blueprint->RecompileVM();
	return Blueprint;
}

UControlRigBlueprint* UControlRigBlueprintFactory::CreateNewControlRigAsset(const FString& InDesiredPackagePath, const bool bModularRig)
{
	if (bModularRig)
	{
		UE_LOG(LogControlRigEditor, Error, TEXT("Cannot create '%s': modular rigs are not supported."), *InDesiredPackagePath);
		return nullptr;
	}
	if (!IsValidLongPackageName(InDesiredPackagePath))
	{
		UE_LOG(LogControlRigEditor, Error, TEXT("Cannot create a Control Rig asset at '%s': not a valid package path."), *InDesiredPackagePath);
		return nullptr;
	}
	if (AssetExists(InDesiredPackagePath))
	{
		UE_LOG(LogControlRigEditor, Error, TEXT("Cannot create a Control Rig asset at '%s': an asset already exists there."), *InDesiredPackagePath);
		return nullptr;
	}
	UPackage* Package = CreatePackage(*InDesiredPackagePath);
	UControlRigBlueprintFactory* Factory = NewObject<UControlRigBlueprintFactory>();
	UControlRigBlueprint* Blueprint = static_cast<UControlRigBlueprint*>(Factory->FactoryCreateNew(UControlRigBlueprint::StaticClass(), Package, FName(*AssetNameOf(InDesiredPackagePath)), EObjectFlags(RF_Public | RF_Standalone | RF_Transactional), nullptr, nullptr, NAME_None));
	Package->SetPackageFlags(PKG_NewlyCreated);
	Blueprint->MarkPackageDirty();
	return Blueprint;
}

UControlRigBlueprint* UControlRigBlueprintFactory::CreateControlRigFromSkeletalMeshOrSkeleton(UObject* InSelectedObject, const bool bModularRig)
{
	USkeletalMesh* Mesh = dynamic_cast<USkeletalMesh*>(InSelectedObject);
	USkeleton* Skeleton = dynamic_cast<USkeleton*>(InSelectedObject);
	if (!Mesh && !Skeleton)
	{
		UE_LOG(LogControlRigEditor, Error, TEXT("Cannot create a Control Rig: the selected object is not a skeletal mesh or skeleton."));
		return nullptr;
	}
	FString Folder;
	FString PackageName = InSelectedObject->GetPackage()->GetName();
	if (!PackageName.Split(TEXT("/"), &Folder, nullptr, ESearchCase::CaseSensitive, ESearchDir::FromEnd))
	{
		Folder = TEXT("/Game");
	}
	// The first free name: "<Name>_CtrlRig", then "<Name>_CtrlRig1", ...
	const FString BasePath = Folder + TEXT("/") + InSelectedObject->GetName() + RigAssetSuffix;
	FString Path = BasePath;
	for (int32 Suffix = 1; AssetExists(Path); ++Suffix)
	{
		Path = BasePath + FString::FromInt(Suffix);
	}
	UControlRigBlueprint* Blueprint = CreateNewControlRigAsset(Path, bModularRig);
	if (!Blueprint)
	{
		return nullptr;
	}
	ImportBones(Blueprint->GetHierarchyController(), Mesh ? Mesh->GetRefSkeleton() : Skeleton->GetReferenceSkeleton());
	if (Mesh)
	{
		Blueprint->SetPreviewMesh(Mesh, true);
	}
	return Blueprint;
}

IMPLEMENT_MODULE(FDefaultModuleImpl, ControlRigEditor)
