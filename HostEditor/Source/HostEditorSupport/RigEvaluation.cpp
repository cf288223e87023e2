// A Control Rig blueprint evaluated as a rig instance, for tests and the host program.

#include "HostEditorSupport/RigEvaluation.h"

#include "../ControlRigDeveloper/ControlRigGraphExecutor.h"
#include "ControlRigBlueprint.h"
#include "Rigs/RigHierarchy.h"
#include "UObject/Package.h"
#include "UObject/NoExportTypes.h"
#include "UObject/UnrealType.h"
#include "UObject/UObjectGlobals.h"

namespace HostEditor
{
	namespace
	{
		const FName ConstructionEvent(TEXT("Construction"));
		const FName ForwardsSolveEvent(TEXT("Forwards Solve"));
		const FName BackwardsSolveEvent(TEXT("Backwards Solve"));

		/** Reads all of Text as a value of the struct T; false when it is not one. */
		template <typename T>
		bool ReadStruct(const FString& Text, T& OutValue)
		{
			const FStructProperty Property(nullptr, NAME_None, 0, CPF_None, StaticStruct<T>());
			const TCHAR* End = Property.ImportText_Direct(*Text, &OutValue, nullptr, PPF_None);
			return End && *PropertyTextUtils::SkipWhitespace(End) == 0;
		}

		/** Reads Text as a value of a control of the given type. */
		bool ReadControlValue(ERigControlType Type, const FString& Text, FRigControlValue& OutValue)
		{
			const FString Trimmed = Text.TrimStartAndEnd();
			switch (Type)
			{
			case ERigControlType::Bool:
				if (Trimmed.Equals(TEXT("true"), ESearchCase::IgnoreCase) || Trimmed == TEXT("1"))
				{
					OutValue = URigHierarchy::MakeControlValueFromBool(true);
					return true;
				}
				if (Trimmed.Equals(TEXT("false"), ESearchCase::IgnoreCase) || Trimmed == TEXT("0"))
				{
					OutValue = URigHierarchy::MakeControlValueFromBool(false);
					return true;
				}
				return false;
			case ERigControlType::Float:
			case ERigControlType::ScaleFloat:
			case ERigControlType::Integer:
			{
				if (!Trimmed.IsNumeric())
				{
					return false;
				}
				const double Number = FCString::Atod(*Trimmed);
				OutValue = Type == ERigControlType::Integer ? URigHierarchy::MakeControlValueFromInt((int32)Number) : URigHierarchy::MakeControlValueFromFloat((float)Number);
				return true;
			}
			case ERigControlType::Vector2D:
			{
				FVector2D Vector = FVector2D::ZeroVector;
				return ReadStruct(Trimmed, Vector) && (OutValue = URigHierarchy::MakeControlValueFromVector2D(Vector), true);
			}
			case ERigControlType::Position:
			case ERigControlType::Scale:
			{
				FVector Vector = FVector::ZeroVector;
				return ReadStruct(Trimmed, Vector) && (OutValue = URigHierarchy::MakeControlValueFromVector(Vector), true);
			}
			case ERigControlType::Rotator:
			{
				FRotator Rotator = FRotator::ZeroRotator;
				return ReadStruct(Trimmed, Rotator) && (OutValue = URigHierarchy::MakeControlValueFromRotator(Rotator), true);
			}
			case ERigControlType::Transform:
			case ERigControlType::TransformNoScale:
			{
				FTransform Transform = FTransform::Identity;
				return ReadStruct(Trimmed, Transform) && (OutValue = URigHierarchy::MakeControlValueFromTransform(Transform), true);
			}
			case ERigControlType::EulerTransform:
			{
				FEulerTransform Transform = FEulerTransform::Identity;
				return ReadStruct(Trimmed, Transform) && (OutValue = URigHierarchy::MakeControlValueFromEulerTransform(Transform), true);
			}
			}
			return false;
		}

		/** The blueprint's graph, or null when it has none. */
		const URigVMGraph* GraphOf(const UControlRigBlueprint& Blueprint)
		{
			return Blueprint.GetDefaultModel();
		}
	}

	FRigEvaluation::FRigEvaluation(UControlRigBlueprint& Blueprint)
	{
		Hierarchy = Blueprint.Hierarchy ? DuplicateObject<URigHierarchy>(Blueprint.Hierarchy.Get(), GetTransientPackage()) : NewObject<URigHierarchy>(GetTransientPackage());
		const URigVMGraph* Graph = GraphOf(Blueprint);
		if (Graph)
		{
			Executor = MakeUnique<FControlRigGraphExecutor>(*Graph, *Hierarchy, Blueprint.RigGraphDisplaySettings.NodeRunLimit);
		}
		Hierarchy->ResetPoseToInitial();
		if (Executor && Executor->HasEvent(ConstructionEvent))
		{
			Executor->RunEvent(ConstructionEvent);
		}
	}

	FRigEvaluation::~FRigEvaluation() = default;

	bool FRigEvaluation::SetControlValue(const FName& Control, const FRigControlValue& Value, FString& OutError)
	{
		const FRigElementKey Key(Control, ERigElementType::Control);
		if (!Hierarchy->Contains(Key))
		{
			OutError = FString::Printf(TEXT("The rig has no control %s."), *Control.ToString());
			return false;
		}
		Hierarchy->SetControlValue(Key, Value, ERigControlValueType::Current);
		return true;
	}

	bool FRigEvaluation::SetControlValueFromText(const FName& Control, const FString& Text, FString& OutError)
	{
		const FRigControlElement* Element = Hierarchy->Find<FRigControlElement>(FRigElementKey(Control, ERigElementType::Control));
		if (!Element)
		{
			OutError = FString::Printf(TEXT("The rig has no control %s."), *Control.ToString());
			return false;
		}
		FRigControlValue Value;
		if (!ReadControlValue(Element->Settings.ControlType, Text, Value))
		{
			OutError = FString::Printf(TEXT("'%s' is not a value of the %s control %s."), *Text, *StaticEnum<ERigControlType>()->GetNameStringByValue((int64)Element->Settings.ControlType), *Control.ToString());
			return false;
		}
		return SetControlValue(Control, Value, OutError);
	}

	bool FRigEvaluation::RunForwardsSolve(int32 Count)
	{
		if (!Executor)
		{
			return false;
		}
		bool bSucceeded = true;
		for (int32 Run = 0; Run < Count; ++Run)
		{
			Hierarchy->ResetPoseToInitial(ERigElementType::Bone);
			bSucceeded &= Executor->RunEvent(ForwardsSolveEvent);
		}
		return bSucceeded;
	}

	bool FRigEvaluation::SetBoneLocalTransform(const FName& Bone, const FTransform& LocalTransform, FString& OutError)
	{
		const FRigElementKey Key(Bone, ERigElementType::Bone);
		if (!Hierarchy->Contains(Key))
		{
			OutError = FString::Printf(TEXT("The rig has no bone %s."), *Bone.ToString());
			return false;
		}
		Hierarchy->SetLocalTransform(Key, LocalTransform, false, true);
		return true;
	}

	bool FRigEvaluation::HasBackwardsSolve() const
	{
		return Executor && Executor->HasEvent(BackwardsSolveEvent);
	}

	bool FRigEvaluation::RunBackwardsSolve()
	{
		return HasBackwardsSolve() && Executor->RunEvent(BackwardsSolveEvent);
	}

	bool FRigEvaluation::GetGlobalTransform(const FRigElementKey& Key, FTransform& OutTransform) const
	{
		if (!Hierarchy->Contains(Key))
		{
			return false;
		}
		OutTransform = Hierarchy->GetGlobalTransform(Key, false);
		return true;
	}

	bool FRigEvaluation::GetControlShapeVisible(const FName& Control, bool& bOutVisible) const
	{
		const FRigControlElement* Element = Hierarchy->Find<FRigControlElement>(FRigElementKey(Control, ERigElementType::Control));
		if (Element == nullptr)
		{
			return false;
		}
		bOutVisible = Element->Settings.IsVisible();
		return true;
	}

	FRigRunReport FRigEvaluation::GetReport() const
	{
		FRigRunReport Result;
		if (!Executor)
		{
			Result.Errors.Add(TEXT("The blueprint has no graph."));
			return Result;
		}
		const FControlRigRunReport& Report = Executor->GetReport();
		Result.EventsRun = Report.EventsRun;
		Result.NodesExecuted = Report.NodesExecuted;
		Result.UnitsPerType = Report.UnitsPerType;
		Result.Errors = Report.Errors;
		Result.Warnings = Report.Warnings;
		Result.NodesNeverRun = Executor->GetNodesNeverRun();
		return Result;
	}

	FString DescribeRigRunReport(const FRigRunReport& Report)
	{
		FString Text = FString::Printf(TEXT("%d events, %d nodes executed, %d errors, %d warnings, %d nodes never run\n"),
			Report.EventsRun, Report.NodesExecuted, Report.Errors.Num(), Report.Warnings.Num(), Report.NodesNeverRun.Num());
		TArray<FString> Types;
		Report.UnitsPerType.GetKeys(Types);
		Types.Sort();
		for (const FString& Type : Types)
		{
			Text += FString::Printf(TEXT("  %s: %d\n"), *Type, Report.UnitsPerType[Type]);
		}
		for (const FString& Error : Report.Errors)
		{
			Text += TEXT("error: ") + Error + TEXT("\n");
		}
		for (const FString& Warning : Report.Warnings)
		{
			Text += TEXT("warning: ") + Warning + TEXT("\n");
		}
		if (Report.NodesNeverRun.Num() > 0)
		{
			Text += TEXT("never run: ") + FString::Join(Report.NodesNeverRun, TEXT(", ")) + TEXT("\n");
		}
		return Text;
	}
}
