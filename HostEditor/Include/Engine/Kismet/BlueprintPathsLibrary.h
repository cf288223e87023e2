// UBlueprintPathsLibrary: the project's and engine's folders for scripts (unreal.Paths).
#pragma once

#include "CoreMinimal.h"
#include "Kismet/BlueprintFunctionLibrary.h"

#include "BlueprintPathsLibrary.generated.h"

UCLASS(meta = (ScriptName = "Paths"))
class ENGINE_API UBlueprintPathsLibrary : public UBlueprintFunctionLibrary
{
	GENERATED_BODY()

public:
	/** The project's folder, with a trailing slash. */
	UFUNCTION(BlueprintPure, Category = "Utilities|Paths")
	static FString ProjectDir();

	/** The project's Content folder. */
	UFUNCTION(BlueprintPure, Category = "Utilities|Paths")
	static FString ProjectContentDir();

	/** The project's Intermediate folder. */
	UFUNCTION(BlueprintPure, Category = "Utilities|Paths")
	static FString ProjectIntermediateDir();

	/** The project's Saved folder. */
	UFUNCTION(BlueprintPure, Category = "Utilities|Paths")
	static FString ProjectSavedDir();

	/** The project's Plugins folder. */
	UFUNCTION(BlueprintPure, Category = "Utilities|Paths")
	static FString ProjectPluginsDir();

	/** The engine's folder. */
	UFUNCTION(BlueprintPure, Category = "Utilities|Paths")
	static FString EngineDir();

	/**
	 * Makes a relative path absolute, against BasePath when given, else the working folder. (The
	 * engine names the parameters InPath and InBasePath; its Python drops the In, which this
	 * stand-in's header tool does not, so they carry the Python names here.)
	 */
	UFUNCTION(BlueprintPure, Category = "Utilities|Paths")
	static FString ConvertRelativePathToFull(const FString& Path, const FString& BasePath = TEXT(""));
};
