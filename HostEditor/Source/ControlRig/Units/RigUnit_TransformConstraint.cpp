// The constraint units: an element follows the weighted blend of its parents.
#include "Units/Highlevel/Hierarchy/RigUnit_TransformConstraint.h"

#include "AnimationCoreLibrary.h"
#include "RigUnitRunContext.h"
#include "RigUnitTransformAccess.h"

namespace
{
	/** A parent that takes part in the blend, with its weight normalised over all that do. */
	struct FWeightedParent
	{
		FRigElementKey Item;
		float Weight = 0.f;
	};

	/** The existing parents with a weight above zero, their weights normalised to add up to one. */
	TArray<FWeightedParent> WeightedParents(const URigHierarchy& Hierarchy, const TArray<FConstraintParent>& Parents)
	{
		TArray<FWeightedParent> Result;
		float OverallWeight = 0.f;
		for (const FConstraintParent& Parent : Parents)
		{
			const float ClampedWeight = FMath::Max(Parent.Weight, 0.f);
			if (ClampedWeight < UE_KINDA_SMALL_NUMBER || !Hierarchy.Contains(Parent.Item))
			{
				continue;
			}
			Result.Add({Parent.Item, ClampedWeight});
			OverallWeight += ClampedWeight;
		}
		if (OverallWeight <= UE_KINDA_SMALL_NUMBER)
		{
			return TArray<FWeightedParent>();
		}
		for (FWeightedParent& Parent : Result)
		{
			Parent.Weight /= OverallWeight;
		}
		return Result;
	}

	/** Blends rotations: a weighted sum kept on one hemisphere (Average) or slerps in parent order (Shortest). */
	class FRotationBlend
	{
	public:
		explicit FRotationBlend(EConstraintInterpType InType)
			: Type(InType)
		{
		}

		void Add(const FQuat& Rotation, float Weight)
		{
			if (Type == EConstraintInterpType::Shortest)
			{
				Mixed = bEmpty ? Rotation : FQuat::Slerp(Mixed, Rotation, (double)Weight);
			}
			else
			{
				const FQuat Weighted = Rotation * (double)Weight;
				Mixed = (Weighted | Mixed) < 0.0 ? Mixed - Weighted : Mixed + Weighted;
			}
			bEmpty = false;
		}

		FQuat Get() const { return Mixed.GetNormalized(); }

	private:
		EConstraintInterpType Type;
		FQuat Mixed = FQuat(0.0, 0.0, 0.0, 0.0);
		bool bEmpty = true;
	};

	/** Keeps the rotation's Euler angles that the filter passes and Child's for the others, in Order. */
	FQuat FilterRotation(const FQuat& Mixed, const FQuat& Child, const FFilterOptionPerAxis& Filter, EEulerRotationOrder Order)
	{
		if (Filter.bX && Filter.bY && Filter.bZ)
		{
			return Mixed;
		}
		FVector MixedEuler = AnimationCore::EulerFromQuat(Mixed, Order);
		const FVector ChildEuler = AnimationCore::EulerFromQuat(Child, Order);
		MixedEuler.X = Filter.bX ? MixedEuler.X : ChildEuler.X;
		MixedEuler.Y = Filter.bY ? MixedEuler.Y : ChildEuler.Y;
		MixedEuler.Z = Filter.bZ ? MixedEuler.Z : ChildEuler.Z;
		return AnimationCore::QuatFromEuler(MixedEuler, Order).GetNormalized();
	}

	FVector FilterVector(const FVector& Mixed, const FVector& Child, const FFilterOptionPerAxis& Filter)
	{
		return FVector(Filter.bX ? Mixed.X : Child.X, Filter.bY ? Mixed.Y : Child.Y, Filter.bZ ? Mixed.Z : Child.Z);
	}

	/**
	 * Applies a blended transform given in the child's parent space (for a control, the space its offset
	 * lives in): blended with the present one by Weight, then set with the children following.
	 */
	void ApplyInParentSpace(URigHierarchy& Hierarchy, const FRigElementKey& Child, const FTransform& Current, FTransform Mixed, float Weight)
	{
		if (Weight < 1.f - UE_KINDA_SMALL_NUMBER)
		{
			Mixed = RigUnitTransformAccess::Lerp(Current, Mixed, Weight);
		}
		Mixed.NormalizeRotation();
		Hierarchy.SetGlobalTransform(Child, Mixed * RigUnitTransformAccess::ParentGlobal(Hierarchy, Child, false), false, true);
	}
}

void FRigUnit_ParentConstraint::Execute()
{
	URigHierarchy* Hierarchy = ExecuteContext.Hierarchy;
	if (Weight < UE_KINDA_SMALL_NUMBER || !Hierarchy)
	{
		return;
	}
	if (!Hierarchy->Contains(Child))
	{
		RigUnitTransformAccess::ReportMissingItem(TEXT("Parent Constraint"), Child);
		return;
	}
	const TArray<FWeightedParent> Blend = WeightedParents(*Hierarchy, Parents);
	if (Blend.Num() == 0)
	{
		return;
	}

	FVector MixedTranslation = FVector::ZeroVector;
	FVector MixedScale = FVector::ZeroVector;
	FRotationBlend MixedRotation(AdvancedSettings.InterpolationType);
	float Accumulated = 0.f;
	for (const FWeightedParent& Parent : Blend)
	{
		FTransform ParentGlobal = Hierarchy->GetGlobalTransform(Parent.Item, false);
		if (bMaintainOffset)
		{
			// The child's initial placement relative to the parent's initial one rides along.
			const FTransform Offset = Hierarchy->GetGlobalTransform(Child, true).GetRelativeTransform(Hierarchy->GetGlobalTransform(Parent.Item, true));
			ParentGlobal = Offset * ParentGlobal;
			ParentGlobal.NormalizeRotation();
		}
		Accumulated += Parent.Weight;
		if (AdvancedSettings.InterpolationType == EConstraintInterpType::Shortest)
		{
			const double Alpha = Parent.Weight / Accumulated;
			MixedTranslation = Accumulated == Parent.Weight ? ParentGlobal.GetTranslation() : FMath::Lerp(MixedTranslation, ParentGlobal.GetTranslation(), Alpha);
			MixedScale = Accumulated == Parent.Weight ? ParentGlobal.GetScale3D() : FMath::Lerp(MixedScale, ParentGlobal.GetScale3D(), Alpha);
		}
		else
		{
			MixedTranslation += ParentGlobal.GetTranslation() * (double)Parent.Weight;
			MixedScale += ParentGlobal.GetScale3D() * (double)Parent.Weight;
		}
		MixedRotation.Add(ParentGlobal.GetRotation(), Parent.Weight);
	}
	const FTransform MixedGlobal(MixedRotation.Get(), MixedTranslation, MixedScale);

	// Filtering happens in the child's parent space.
	const FTransform Current = RigUnitTransformAccess::Get(*Hierarchy, Child, ERigVMTransformSpace::GlobalSpace, false).GetRelativeTransform(RigUnitTransformAccess::ParentGlobal(*Hierarchy, Child, false));
	FTransform Mixed = MixedGlobal.GetRelativeTransform(RigUnitTransformAccess::ParentGlobal(*Hierarchy, Child, false));
	Mixed.SetTranslation(FilterVector(Mixed.GetTranslation(), Current.GetTranslation(), Filter.TranslationFilter));
	Mixed.SetRotation(FilterRotation(Mixed.GetRotation(), Current.GetRotation(), Filter.RotationFilter, AdvancedSettings.RotationOrderForFilter));
	Mixed.SetScale3D(FilterVector(Mixed.GetScale3D(), Current.GetScale3D(), Filter.ScaleFilter));
	ApplyInParentSpace(*Hierarchy, Child, Current, Mixed, Weight);
}

void FRigUnit_RotationConstraintLocalSpaceOffset::Execute()
{
	URigHierarchy* Hierarchy = ExecuteContext.Hierarchy;
	if (Weight < UE_KINDA_SMALL_NUMBER || !Hierarchy)
	{
		return;
	}
	if (!Hierarchy->Contains(Child))
	{
		RigUnitTransformAccess::ReportMissingItem(TEXT("Rotation Constraint"), Child);
		return;
	}
	const TArray<FWeightedParent> Blend = WeightedParents(*Hierarchy, Parents);
	if (Blend.Num() == 0)
	{
		return;
	}

	// The offset is taken in the child's parent space: the rotation that turns the blend of the
	// parents' initial rotations into the child's initial rotation there.
	FQuat Offset = FQuat::Identity;
	if (bMaintainOffset)
	{
		FRotationBlend MixedInitial(AdvancedSettings.InterpolationType);
		for (const FWeightedParent& Parent : Blend)
		{
			MixedInitial.Add(Hierarchy->GetGlobalTransform(Parent.Item, true).GetRotation(), Parent.Weight);
		}
		const FQuat ParentInitial = RigUnitTransformAccess::ParentGlobal(*Hierarchy, Child, true).GetRotation();
		const FQuat MixedInitialLocal = ParentInitial.Inverse() * MixedInitial.Get();
		const FQuat ChildInitialLocal = Hierarchy->GetGlobalTransform(Child, true).GetRelativeTransform(RigUnitTransformAccess::ParentGlobal(*Hierarchy, Child, true)).GetRotation();
		Offset = MixedInitialLocal.Inverse() * ChildInitialLocal;
	}

	FRotationBlend Mixed(AdvancedSettings.InterpolationType);
	for (const FWeightedParent& Parent : Blend)
	{
		Mixed.Add(Hierarchy->GetGlobalTransform(Parent.Item, false).GetRotation(), Parent.Weight);
	}
	const FTransform ParentGlobal = RigUnitTransformAccess::ParentGlobal(*Hierarchy, Child, false);
	FQuat MixedLocal = ParentGlobal.GetRotation().Inverse() * Mixed.Get();
	if (bMaintainOffset)
	{
		MixedLocal = MixedLocal * Offset;
	}
	const FTransform Current = Hierarchy->GetGlobalTransform(Child, false).GetRelativeTransform(ParentGlobal);
	FTransform Result = Current;
	Result.SetRotation(FilterRotation(MixedLocal.GetNormalized(), Current.GetRotation(), Filter, AdvancedSettings.RotationOrderForFilter));
	ApplyInParentSpace(*Hierarchy, Child, Current, Result, Weight);
}
