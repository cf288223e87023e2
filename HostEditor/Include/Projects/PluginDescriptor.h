// FPluginDescriptor: what a plug-in's .uplugin file says about it.
#pragma once

#include "CoreMinimal.h"

/** One module a plug-in holds. */
struct FModuleDescriptor
{
	FName Name;
	/** "Runtime", "Editor", ... as written in the descriptor. */
	FString Type;
	/** "Default", "PreDefault", "PostEngineInit", ... as written in the descriptor. */
	FString LoadingPhase;
};

struct PROJECTS_API FPluginDescriptor
{
	int32 FileVersion = 0;
	int32 Version = 0;
	FString VersionName;
	FString FriendlyName;
	FString Description;
	FString Category;
	FString CreatedBy;
	FString EngineVersion;
	bool bCanContainContent = false;
	bool bIsBetaVersion = false;
	bool bIsExperimentalVersion = false;
	TArray<FModuleDescriptor> Modules;

	/** Reads a descriptor file; false with OutFailReason when it is missing or not a descriptor. */
	bool Load(const FString& FileName, FText& OutFailReason);
	/** Reads descriptor text; false with OutFailReason when it is not a descriptor. */
	bool Read(const FString& Text, FText& OutFailReason);
};
