#include "RigVMBlueprint.h"

#include "EdGraph/EdGraph.h"
#include "RigVMCore/RigVMExecuteContext.h"
#include "UObject/UObjectGlobals.h"

const TCHAR* URigVMBlueprint::DefaultModelName = TEXT("RigVMModel");

void URigVMBlueprint::InitializeModels()
{
	if (Models.Num() == 0)
	{
		Models.Add(NewObject<URigVMGraph>(this, FName(DefaultModelName), RF_Transactional));
	}
}

void URigVMBlueprint::PostLoad()
{
	Super::PostLoad();
	// Controllers are not saved: drop any stale ones; they are made again on demand.
	Controllers.Reset();
	InitializeModels();
}

URigVMGraph* URigVMBlueprint::GetDefaultModel() const
{
	return Models.Num() > 0 ? Models[0].Get() : nullptr;
}

URigVMGraph* URigVMBlueprint::GetModel(const UEdGraph* InEdGraph) const
{
	if (InEdGraph)
	{
		for (URigVMGraph* Model : Models)
		{
			if (Model->GetFName() == InEdGraph->GetFName())
			{
				return Model;
			}
		}
	}
	return GetDefaultModel();
}

TArray<URigVMGraph*> URigVMBlueprint::GetAllModels() const
{
	TArray<URigVMGraph*> Result;
	for (URigVMGraph* Model : Models)
	{
		Result.Add(Model);
	}
	return Result;
}

UScriptStruct* URigVMBlueprint::GetExecuteContextStruct() const
{
	return FRigVMExecuteContext::StaticStruct();
}

URigVMController* URigVMBlueprint::GetController(const URigVMGraph* InGraph) const
{
	const URigVMGraph* Graph = InGraph ? InGraph : GetDefaultModel();
	if (!Graph || !Models.Contains(TObjectPtr<URigVMGraph>(const_cast<URigVMGraph*>(Graph))))
	{
		return nullptr;
	}
	for (URigVMController* Controller : Controllers)
	{
		if (Controller->GetGraph() == Graph)
		{
			return Controller;
		}
	}
	URigVMBlueprint* MutableThis = const_cast<URigVMBlueprint*>(this);
	URigVMController* Controller = NewObject<URigVMController>(MutableThis, MakeUniqueObjectName(MutableThis, URigVMController::StaticClass(), FName(TEXT("RigVMController"))), RF_Transient);
	Controller->SetGraph(const_cast<URigVMGraph*>(Graph));
	Controller->SetExecuteContextStruct(GetExecuteContextStruct());
	Controller->SetOnModified([MutableThis](URigVMGraph* InModified) { MutableThis->HandleModelModified(InModified); });
	Controllers.Add(Controller);
	return Controller;
}

URigVMController* URigVMBlueprint::GetControllerByName(const FString InGraphName) const
{
	if (InGraphName.IsEmpty())
	{
		return GetController(nullptr);
	}
	for (URigVMGraph* Model : Models)
	{
		if (Model->GetGraphName() == InGraphName)
		{
			return GetController(Model);
		}
	}
	return nullptr;
}

URigVMController* URigVMBlueprint::GetOrCreateController(URigVMGraph* InGraph)
{
	return GetController(InGraph);
}

void URigVMBlueprint::HandleModelModified(URigVMGraph* InGraph)
{
	MarkPackageDirty();
	bVMRecompilationRequired = true;
}

void URigVMBlueprint::RequestAutoVMRecompilation()
{
	if (bAutoRecompileVM)
	{
		bVMRecompilationRequired = true;
	}
}

void URigVMBlueprint::SetAutoVMRecompile(bool bAutoRecompile)
{
	bAutoRecompileVM = bAutoRecompile;
	if (bAutoRecompileVM)
	{
		RecompileVMIfRequired();
	}
}

void URigVMBlueprint::RecompileVMIfRequired()
{
	if (bVMRecompilationRequired)
	{
		RecompileVM();
	}
}

void URigVMBlueprint::RecompileVM()
{
	++VMCompileCount;
	bVMRecompilationRequired = false;
	const int32 Problems = ValidateModels();
	bLastCompileSucceeded = Problems == 0;
	if (!bLastCompileSucceeded)
	{
		UE_LOG(LogRigVMDeveloper, Error, TEXT("%s: the VM could not be compiled (%d problems)."), *GetPathName(), Problems);
	}
}

int32 URigVMBlueprint::ValidateModels() const
{
	int32 Problems = 0;
	const auto Report = [this, &Problems](const FString& Message) {
		UE_LOG(LogRigVMDeveloper, Error, TEXT("%s: %s"), *GetPathName(), *Message);
		++Problems;
	};
	for (const URigVMGraph* Model : Models)
	{
		TArray<FString> LinkedInputs;
		for (const URigVMLink* Link : Model->GetLinks())
		{
			const URigVMPin* Source = Link->GetSourcePin();
			const URigVMPin* Target = Link->GetTargetPin();
			if (!Source || !Target)
			{
				Report(FString::Printf(TEXT("Link '%s' refers to a pin that does not exist."), *Link->GetPinPathRepresentation()));
				continue;
			}
			if (LinkedInputs.Contains(Link->GetTargetPinPath()))
			{
				Report(FString::Printf(TEXT("Pin '%s' has more than one link into it."), *Link->GetTargetPinPath()));
			}
			LinkedInputs.Add(Link->GetTargetPinPath());
		}
		for (const URigVMNode* Node : Model->GetNodes())
		{
			if (const URigVMTemplateNode* TemplateNode = dynamic_cast<const URigVMTemplateNode*>(Node); TemplateNode && !TemplateNode->IsResolved())
			{
				Report(FString::Printf(TEXT("Node '%s' has unresolved types."), *Node->GetName()));
			}
		}
	}
	return Problems;
}
