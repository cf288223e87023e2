// UPluginBlueprintLibrary: what scripts can read about the editor's plug-ins.
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "PluginBlueprintLibrary.generated.h"

UCLASS(MinimalAPI)
class ENGINE_API UPluginBlueprintLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** The names of the enabled plug-ins. */
	UFUNCTION(BlueprintCallable, Category = "Engine Scripting | Plugin Utilities")
	static TArray<FString> GetEnabledPluginNames();

	/** The folders searched for plug-ins besides the engine's and the project's. */
	UFUNCTION(BlueprintCallable, Category = "Engine Scripting | Plugin Utilities")
	static TArray<FString> GetAdditionalPluginSearchPaths();

	/** The version name of a plug-in; false when there is no such plug-in. */
	UFUNCTION(BlueprintCallable, Category = "Engine Scripting | Plugin Utilities")
	static bool GetPluginVersionName(const FString& PluginName, FString& OutVersionName);

	/** The version number of a plug-in; false when there is no such plug-in. */
	UFUNCTION(BlueprintCallable, Category = "Engine Scripting | Plugin Utilities")
	static bool GetPluginVersion(const FString& PluginName, int32& OutVersion);

	/** The description of a plug-in; false when there is no such plug-in. */
	UFUNCTION(BlueprintCallable, Category = "Engine Scripting | Plugin Utilities")
	static bool GetPluginDescription(const FString& PluginName, FString& OutDescription);

	/** The folder of a plug-in; false when there is no such plug-in. */
	UFUNCTION(BlueprintCallable, Category = "Engine Scripting | Plugin Utilities")
	static bool GetPluginBaseDir(const FString& PluginName, FString& OutBaseDir);

	/** The content folder of a plug-in; false when there is no such plug-in. */
	UFUNCTION(BlueprintCallable, Category = "Engine Scripting | Plugin Utilities")
	static bool GetPluginContentDir(const FString& PluginName, FString& OutContentDir);

	/** The descriptor file of a plug-in; false when there is no such plug-in. */
	UFUNCTION(BlueprintCallable, Category = "Engine Scripting | Plugin Utilities")
	static bool GetPluginDescriptorFilePath(const FString& PluginName, FString& OutFilePath);
};
