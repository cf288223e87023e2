// Making and compiling blueprints. The compile checks the graphs as the engine's compiler would for
// the faults the stand-in's graphs can have, and makes the generated class again.

#include "Animation/AnimBlueprint.h"
#include "Animation/AnimationAsset.h"
#include "Animation/Skeleton.h"
#include "AnimGraphNode_Base.h"
#include "AnimGraphNode_Root.h"
#include "AnimationGraph.h"
#include "EdGraph/EdGraph.h"
#include "EdGraph/EdGraphNode.h"
#include "Engine/BlueprintGeneratedClass.h"
#include "Engine/SimpleConstructionScript.h"
#include "GameFramework/Actor.h"
#include "K2Node_DynamicCast.h"
#include "Kismet2/BlueprintEditorUtils.h"
#include "Kismet2/CompilerResultsLog.h"
#include "Kismet2/KismetEditorUtilities.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogBlueprint, Log, All);

namespace BlueprintClassGeneration
{
	ENGINE_API UClass* RegenerateClass(UBlueprint* Blueprint, const TArray<FString>* LoadedDefaults);
}

void FCompilerResultsLog::Error(const TCHAR* Message)
{
	++NumErrors;
	Messages.Add(FString(TEXT("Error: ")) + Message);
}

void FCompilerResultsLog::Warning(const TCHAR* Message)
{
	++NumWarnings;
	Messages.Add(FString(TEXT("Warning: ")) + Message);
}

void FCompilerResultsLog::Note(const TCHAR* Message)
{
	Messages.Add(FString(TEXT("Note: ")) + Message);
}

namespace
{
	FString NodeLabel(const UEdGraphNode* Node)
	{
		return FString::Printf(TEXT("%s (%s)"), *Node->GetNodeTitle(0).ToString(), *Node->GetName());
	}

	void CheckLinks(const UEdGraph* Graph, const UEdGraphNode* Node, FCompilerResultsLog& Results)
	{
		for (const UEdGraphPin* Pin : Node->Pins)
		{
			for (const UEdGraphPin* Other : Pin->LinkedTo)
			{
				const UEdGraphNode* OtherNode = Other ? Other->GetOwningNode() : nullptr;
				if (!OtherNode || OtherNode->IsGarbage() || !Graph->Nodes.Contains(OtherNode))
				{
					Results.Error(*FString::Printf(TEXT("%s: pin %s is linked to a node that is not in the graph %s"), *NodeLabel(Node), *Pin->PinName.ToString(), *Graph->GetName()));
				}
				else if (Other->Direction == Pin->Direction)
				{
					Results.Error(*FString::Printf(TEXT("%s: pin %s is linked to another %s pin"), *NodeLabel(Node), *Pin->PinName.ToString(),
						Pin->Direction == EGPD_Output ? TEXT("output") : TEXT("input")));
				}
			}
		}
	}

	void CheckAnimationNode(const UAnimBlueprint* AnimBlueprint, const UAnimGraphNode_Base* Node, FCompilerResultsLog& Results)
	{
		TArray<UAnimationAsset*> Assets;
		Node->GetAllAnimationSequencesReferred(Assets);
		for (const UAnimationAsset* Asset : Assets)
		{
			if (Asset->GetSkeleton() != AnimBlueprint->TargetSkeleton)
			{
				Results.Error(*FString::Printf(TEXT("%s references %s, which plays on the Skeleton %s, not on %s"), *NodeLabel(Node), *Asset->GetPathName(),
					Asset->GetSkeleton() ? *Asset->GetSkeleton()->GetPathName() : TEXT("None"), *AnimBlueprint->TargetSkeleton->GetPathName()));
			}
		}
	}

	void CheckGraphs(UBlueprint* Blueprint, FCompilerResultsLog& Results)
	{
		UAnimBlueprint* AnimBlueprint = Cast<UAnimBlueprint>(Blueprint);
		if (AnimBlueprint && !AnimBlueprint->TargetSkeleton)
		{
			Results.Error(TEXT("The animation blueprint has no target Skeleton"));
		}
		TArray<UEdGraph*> Graphs;
		Blueprint->GetAllGraphs(Graphs);
		for (const UEdGraph* Graph : Graphs)
		{
			int32 OutputNodes = 0;
			for (const UEdGraphNode* Node : Graph->Nodes)
			{
				if (!Node)
				{
					continue;
				}
				CheckLinks(Graph, Node, Results);
				if (const UK2Node_DynamicCast* Cast_ = Cast<UK2Node_DynamicCast>(Node); Cast_ && !Cast_->TargetType)
				{
					Results.Error(*FString::Printf(TEXT("%s has no class to cast to"), *NodeLabel(Node)));
				}
				if (const UAnimGraphNode_Base* AnimNode = Cast<UAnimGraphNode_Base>(Node); AnimNode && AnimBlueprint && AnimBlueprint->TargetSkeleton)
				{
					CheckAnimationNode(AnimBlueprint, AnimNode, Results);
				}
				OutputNodes += Node->IsA<UAnimGraphNode_Root>() ? 1 : 0;
			}
			if (AnimBlueprint && Graph->IsA<UAnimationGraph>() && OutputNodes != 1)
			{
				Results.Error(*FString::Printf(TEXT("The animation graph %s has %d Output Pose nodes; it needs one"), *Graph->GetName(), OutputNodes));
			}
		}
	}
}

bool FKismetEditorUtilities::CanCreateBlueprintOfClass(const UClass* Class)
{
	return Class && Class->ClassConstructor && !Class->HasAnyClassFlags(CLASS_Interface) && !Class->IsChildOf(UField::StaticClass())
		&& !Class->IsChildOf(UPackage::StaticClass());
}

UBlueprint* FKismetEditorUtilities::CreateBlueprint(UClass* ParentClass, UObject* Outer, const FName NewBPName, EBlueprintType BlueprintType, FName CallingContext)
{
	return CreateBlueprint(ParentClass, Outer, NewBPName, BlueprintType, UBlueprint::StaticClass(), UBlueprintGeneratedClass::StaticClass(), CallingContext);
}

UBlueprint* FKismetEditorUtilities::CreateBlueprint(UClass* ParentClass, UObject* Outer, const FName NewBPName, EBlueprintType BlueprintType, TSubclassOf<UBlueprint> BlueprintClassType,
	TSubclassOf<UBlueprintGeneratedClass> BlueprintGeneratedClassType, FName CallingContext)
{
	(void)BlueprintGeneratedClassType;
	(void)CallingContext;
	if (!CanCreateBlueprintOfClass(ParentClass) || !Outer || !BlueprintClassType)
	{
		UE_LOG(LogBlueprint, Error, TEXT("CreateBlueprint: %s cannot be the parent class of a blueprint"), ParentClass ? *ParentClass->GetName() : TEXT("None"));
		return nullptr;
	}
	UBlueprint* Blueprint = static_cast<UBlueprint*>(NewObject<UObject>(Outer, BlueprintClassType.Get(), NewBPName, EObjectFlags(RF_Public | RF_Standalone | RF_Transactional)));
	Blueprint->ParentClass = ParentClass;
	Blueprint->BlueprintType = BlueprintType;
	Blueprint->Status = BS_BeingCreated;
	if (ParentClass->IsChildOf(AActor::StaticClass()))
	{
		Blueprint->SimpleConstructionScript = NewObject<USimpleConstructionScript>(Blueprint, FName(TEXT("SimpleConstructionScript")), RF_Transactional);
	}
	CompileBlueprint(Blueprint);
	return Blueprint;
}

void FKismetEditorUtilities::CompileBlueprint(UBlueprint* BlueprintObj, EBlueprintCompileOptions CompileFlags, FCompilerResultsLog* pResults)
{
	(void)CompileFlags;
	if (!BlueprintObj)
	{
		return;
	}
	FCompilerResultsLog LocalResults;
	FCompilerResultsLog& Results = pResults ? *pResults : LocalResults;
	const int32 ErrorsBefore = Results.NumErrors;
	const int32 WarningsBefore = Results.NumWarnings;
	if (!FKismetEditorUtilities::CanCreateBlueprintOfClass(BlueprintObj->ParentClass))
	{
		Results.Error(*FString::Printf(TEXT("%s has no valid parent class"), *BlueprintObj->GetName()));
		BlueprintObj->GeneratedClass = nullptr;
	}
	else
	{
		CheckGraphs(BlueprintObj, Results);
		BlueprintClassGeneration::RegenerateClass(BlueprintObj, nullptr);
	}
	const int32 Errors = Results.NumErrors - ErrorsBefore;
	const int32 Warnings = Results.NumWarnings - WarningsBefore;
	BlueprintObj->Status = Errors > 0 ? BS_Error : (Warnings > 0 ? BS_UpToDateWithWarnings : BS_UpToDate);
	for (const FString& Message : Results.Messages)
	{
		UE_LOG(LogBlueprint, Display, TEXT("[Compiler %s] %s"), *BlueprintObj->GetName(), *Message);
	}
	if (Errors > 0)
	{
		UE_LOG(LogBlueprint, Warning, TEXT("Compile of %s failed. %d Fatal Issue(s) %d Warning(s)"), *BlueprintObj->GetName(), Errors, Warnings);
	}
}

void FBlueprintEditorUtils::MarkBlueprintAsStructurallyModified(UBlueprint* Blueprint)
{
	MarkBlueprintAsModified(Blueprint);
}

void FBlueprintEditorUtils::MarkBlueprintAsModified(UBlueprint* Blueprint)
{
	if (!Blueprint)
	{
		return;
	}
	Blueprint->Status = BS_Dirty;
	Blueprint->MarkPackageDirty();
}

UBlueprint* FBlueprintEditorUtils::FindBlueprintForGraph(const UEdGraph* Graph)
{
	return Graph ? Graph->GetTypedOuter<UBlueprint>() : nullptr;
}
