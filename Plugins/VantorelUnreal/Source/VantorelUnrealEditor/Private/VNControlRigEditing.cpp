// The native Control Rig edits the tool script calls for exact placement: on-face controls from bones,
// from Maya data or from exported transforms, shape moves, body control re-orientation and verified
// re-parenting. Each edit writes the initial and the current pose, pushes the hierarchy to the rig's
// instances and marks the rig's package dirty; none saves. A call that fails leaves the rig as it was.

#include "VNFaceSDKImportLibrary.h"

#include "AnimationRuntime.h"
#include "ControlRigBlueprint.h"
#include "Engine/SkeletalMesh.h"
#include "Rigs/RigHierarchy.h"
#include "Rigs/RigHierarchyController.h"
#include "VNMayaSpaceConversion.h"

namespace
{
	// The setup warnings and the placement lines log to LogTemp, not the module's category: users and
	// the docs look for them there.
	const TCHAR* const OnFaceSetupFailedPrefix = TEXT("Vantorel on-face setup failed: ");
	const TCHAR* const ParentSetupFailedPrefix = TEXT("Vantorel parent setup failed: ");

	/** The smallest magnitude a shape scale or a world scale it is compensated for may have. */
	constexpr double ShapeScaleFloor = 0.0001;

	/** Why a control could not be resolved, so that each function can word its own warning. */
	enum class EResolveResult
	{
		Resolved,
		MissingInput,
		NoHierarchy,
		NoControl,
	};

	/** The hierarchy of a rig, the key of one of its controls and its element there. */
	struct FResolvedControl
	{
		URigHierarchy* Hierarchy = nullptr;
		FRigElementKey Key;
		FRigControlElement* Element = nullptr;
	};

	/** Finds the control ControlName in the rig's hierarchy; nothing is created on the way. */
	EResolveResult ResolveControl(UControlRigBlueprint* ControlRigBlueprint, const FName& ControlName, FResolvedControl& OutControl)
	{
		if (!ControlRigBlueprint || ControlName.IsNone())
		{
			return EResolveResult::MissingInput;
		}
		OutControl.Hierarchy = ControlRigBlueprint->Hierarchy.Get();
		if (!OutControl.Hierarchy)
		{
			return EResolveResult::NoHierarchy;
		}
		OutControl.Key = FRigElementKey(ControlName, ERigElementType::Control);
		OutControl.Element = OutControl.Hierarchy->Find<FRigControlElement>(OutControl.Key);
		return OutControl.Element ? EResolveResult::Resolved : EResolveResult::NoControl;
	}

	void WarnOnFaceSetup(const FString& Reason)
	{
		UE_LOG(LogTemp, Warning, TEXT("%s%s"), OnFaceSetupFailedPrefix, *Reason);
	}

	FString ControlNotFound(const FName& ControlName)
	{
		return FString::Printf(TEXT("control '%s' was not found."), *ControlName.ToString());
	}

	/** The initial global transform of the control's first parent; the identity for a root. */
	FTransform ParentFrame(const FResolvedControl& Control)
	{
		const FRigElementKey Parent = Control.Hierarchy->GetFirstParent(Control.Key);
		if (!Parent.IsValid() || !Control.Hierarchy->Contains(Parent))
		{
			return FTransform::Identity;
		}
		return Control.Hierarchy->GetGlobalTransform(Parent, true);
	}

	/** Sets the control's offset on the initial pose, then on the current one; children move along. */
	void WriteOffset(const FResolvedControl& Control, const FTransform& Offset)
	{
		for (const bool bInitial : {true, false})
		{
			Control.Hierarchy->SetControlOffsetTransform(Control.Key, Offset, bInitial, true, false);
		}
	}

	/** Sets the control's shape on the initial pose, then on the current one. */
	void WriteShape(const FResolvedControl& Control, const FTransform& Shape)
	{
		for (const bool bInitial : {true, false})
		{
			Control.Hierarchy->SetControlShapeTransform(Control.Key, Shape, bInitial, false);
		}
	}

	/** Lets the rig's instances and the editor see the edit; the asset itself is not saved. */
	bool FinishEdit(UControlRigBlueprint* ControlRigBlueprint)
	{
		ControlRigBlueprint->PropagateHierarchyFromBPToInstances();
		ControlRigBlueprint->MarkPackageDirty();
		return true;
	}

	/** Per axis, ShapeScale divided by the world scale's magnitude (floored), so the shape keeps its world size. */
	FVector CompensatedShapeScale(float ShapeScale, const FVector& WorldScale)
	{
		const FVector Magnitudes = WorldScale.GetAbs();
		return FVector(
			ShapeScale / FMath::Max(Magnitudes.X, ShapeScaleFloor),
			ShapeScale / FMath::Max(Magnitudes.Y, ShapeScaleFloor),
			ShapeScale / FMath::Max(Magnitudes.Z, ShapeScaleFloor));
	}

	/** |ControlScale| per axis, keeping the sign of the matching axis of Scale (zero counts as positive). */
	FVector SignedControlScale(const FVector& ControlScale, const FVector& Scale)
	{
		const FVector Magnitudes = ControlScale.GetAbs();
		return FVector(
			Scale.X < 0.0 ? -Magnitudes.X : Magnitudes.X,
			Scale.Y < 0.0 ? -Magnitudes.Y : Magnitudes.Y,
			Scale.Z < 0.0 ? -Magnitudes.Z : Magnitudes.Z);
	}
}

bool UVNFaceSDKImportLibrary::ConfigureOnFaceControl(UControlRigBlueprint* ControlRigBlueprint, USkeletalMesh* SkeletalMesh, FName ControlName, FName BoneName, FVector ControlScale, float ShapeSize, float HorizontalPush)
{
	if (!ControlRigBlueprint || !SkeletalMesh)
	{
		WarnOnFaceSetup(TEXT("Control Rig or SkeletalMesh is null."));
		return false;
	}
	FResolvedControl Control;
	switch (ResolveControl(ControlRigBlueprint, ControlName, Control))
	{
	case EResolveResult::Resolved:
		break;
	case EResolveResult::NoHierarchy:
		WarnOnFaceSetup(TEXT("hierarchy is null."));
		return false;
	default:
		WarnOnFaceSetup(ControlNotFound(ControlName));
		return false;
	}
	const FReferenceSkeleton& RefSkeleton = SkeletalMesh->GetRefSkeleton();
	const int32 BoneIndex = BoneName.IsNone() ? INDEX_NONE : RefSkeleton.FindBoneIndex(BoneName);
	if (BoneIndex == INDEX_NONE)
	{
		WarnOnFaceSetup(FString::Printf(TEXT("bone '%s' was not found."), *BoneName.ToString()));
		return false;
	}

	const FTransform Bone = FAnimationRuntime::GetComponentSpaceTransformRefPose(RefSkeleton, BoneIndex);
	const FVector ScaleMagnitudes = ControlScale.GetAbs();
	FTransform Offset = Bone.GetRelativeTransform(ParentFrame(Control));
	Offset.SetScale3D(ScaleMagnitudes);
	WriteOffset(Control, Offset);

	// The shape is pushed away from the component's vertical axis, never up or down.
	const FVector BoneLocation = Bone.GetTranslation();
	const double Push = (double)HorizontalPush - 1.0;
	const FVector PushInComponentSpace(BoneLocation.X * Push, BoneLocation.Y * Push, 0.0);
	const FVector ShapeLocation = VNMayaSpaceConversion::DivideByScaleSafely(Bone.GetRotation().UnrotateVector(PushInComponentSpace), ScaleMagnitudes);
	const FTransform Shape(FQuat::Identity, ShapeLocation, FVector(FMath::Max((double)ShapeSize, ShapeScaleFloor)));
	WriteShape(Control, Shape);

	FinishEdit(ControlRigBlueprint);
	UE_LOG(LogTemp, Display, TEXT("Vantorel on-face control '%s' placed from '%s'."), *ControlName.ToString(), *BoneName.ToString());
	return true;
}

bool UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromMayaData(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, FVector MayaControlPosition, FVector MayaControlRotation, const TArray<float>& MayaControlWorldMatrix, FVector MayaShapePosition, FVector ControlScale, float ShapeScale, bool bMatchParentOrientation, bool bFlipShapeX)
{
	// A full world matrix replaces the Euler placement entirely: rotation, translation and scale.
	FTransform World = VNMayaSpaceConversion::MayaEulerFallbackToUnrealTransform(MayaControlPosition, MayaControlRotation);
	VNMayaSpaceConversion::MayaWorldMatrixToUnrealTransform(MayaControlWorldMatrix, World);

	FResolvedControl Control;
	if (ResolveControl(ControlRigBlueprint, ControlName, Control) != EResolveResult::Resolved)
	{
		return false;
	}
	const FTransform Parent = ParentFrame(Control);
	if (bMatchParentOrientation)
	{
		World.SetRotation(Parent.GetRotation());
	}

	// The mirrored axis of a converted Maya frame keeps its sign; only the magnitudes come from ControlScale.
	FTransform Offset = World.GetRelativeTransform(Parent);
	Offset.SetScale3D(SignedControlScale(ControlScale, Offset.GetScale3D()));
	WriteOffset(Control, Offset);

	const FTransform ControlWorld = Offset * Parent;
	const FVector ShapePoint = VNMayaSpaceConversion::MayaPositionToUnreal(MayaShapePosition);
	const FQuat ShapeRotation = bFlipShapeX ? FRotator(0.0, 0.0, 180.0).Quaternion() : FQuat::Identity;
	const FTransform Shape(ShapeRotation, VNMayaSpaceConversion::WorldPointToLocal(ControlWorld, ShapePoint), CompensatedShapeScale(ShapeScale, ControlWorld.GetScale3D()));
	WriteShape(Control, Shape);

	return FinishEdit(ControlRigBlueprint);
}

bool UVNFaceSDKImportLibrary::ConfigureOnFaceControlFromTransform(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, FTransform ControlGlobalTransform, FVector ControlScale, FTransform ShapeTransform)
{
	FResolvedControl Control;
	switch (ResolveControl(ControlRigBlueprint, ControlName, Control))
	{
	case EResolveResult::Resolved:
		break;
	case EResolveResult::MissingInput:
		return false;
	default:
		WarnOnFaceSetup(ControlNotFound(ControlName));
		return false;
	}

	FTransform Offset = ControlGlobalTransform.GetRelativeTransform(ParentFrame(Control));
	Offset.SetScale3D(ControlScale.GetAbs());
	WriteOffset(Control, Offset);
	WriteShape(Control, ShapeTransform);

	FinishEdit(ControlRigBlueprint);
	UE_LOG(LogTemp, Display, TEXT("Vantorel on-face control '%s' placed from exported controller data."), *ControlName.ToString());
	return true;
}

bool UVNFaceSDKImportLibrary::SetControlShapeFromMayaWorldPosition(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, FVector MayaShapeWorldPosition, float ShapeScale)
{
	FResolvedControl Control;
	if (ResolveControl(ControlRigBlueprint, ControlName, Control) != EResolveResult::Resolved)
	{
		return false;
	}

	const FTransform ControlWorld = Control.Hierarchy->GetGlobalTransform(Control.Key, true);
	const FVector ShapePoint = VNMayaSpaceConversion::MayaPositionToUnreal(MayaShapeWorldPosition);
	const FQuat ShapeRotation = Control.Hierarchy->GetLocalControlShapeTransform(Control.Key, true).GetRotation();
	const FTransform Shape(ShapeRotation, VNMayaSpaceConversion::WorldPointToLocal(ControlWorld, ShapePoint), CompensatedShapeScale(ShapeScale, ControlWorld.GetScale3D()));
	WriteShape(Control, Shape);

	return FinishEdit(ControlRigBlueprint);
}

bool UVNFaceSDKImportLibrary::ConfigureBodyControlRotationFromMayaMatrix(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, const TArray<float>& MayaControlWorldMatrix)
{
	FTransform World;
	if (!ControlRigBlueprint || ControlName.IsNone() || !VNMayaSpaceConversion::MayaWorldMatrixToUnrealTransform(MayaControlWorldMatrix, World))
	{
		return false;
	}
	FResolvedControl Control;
	if (ResolveControl(ControlRigBlueprint, ControlName, Control) != EResolveResult::Resolved)
	{
		return false;
	}

	const FTransform Relative = World.GetRelativeTransform(ParentFrame(Control));
	FTransform Offset = Control.Hierarchy->GetControlOffsetTransform(Control.Element, ERigTransformType::InitialLocal);
	Offset.SetRotation(Relative.GetRotation());
	WriteOffset(Control, Offset);

	return FinishEdit(ControlRigBlueprint);
}

bool UVNFaceSDKImportLibrary::EnsureControlParent(UControlRigBlueprint* ControlRigBlueprint, FName ControlName, FName ParentName, bool bMaintainGlobalTransform)
{
	FResolvedControl Control;
	if (ParentName.IsNone() || ResolveControl(ControlRigBlueprint, ControlName, Control) != EResolveResult::Resolved)
	{
		return false;
	}
	URigHierarchyController* Controller = Control.Hierarchy->GetController(true);
	if (!Controller)
	{
		return false;
	}

	// A null wins over a control of the same name: spaces are what controls hang below.
	FRigElementKey ParentKey(ParentName, ERigElementType::Null);
	if (!Control.Hierarchy->Contains(ParentKey))
	{
		ParentKey = FRigElementKey(ParentName, ERigElementType::Control);
		if (!Control.Hierarchy->Contains(ParentKey))
		{
			UE_LOG(LogTemp, Warning, TEXT("%sparent '%s' was not found."), ParentSetupFailedPrefix, *ParentName.ToString());
			return false;
		}
	}

	if (Control.Hierarchy->GetFirstParent(Control.Key) != ParentKey)
	{
		Controller->SetParent(Control.Key, ParentKey, bMaintainGlobalTransform, false, false);
	}
	if (Control.Hierarchy->GetFirstParent(Control.Key) != ParentKey)
	{
		UE_LOG(LogTemp, Warning, TEXT("%s'%s' is not parented to '%s'."), ParentSetupFailedPrefix, *ControlName.ToString(), *ParentName.ToString());
		return false;
	}
	return FinishEdit(ControlRigBlueprint);
}
