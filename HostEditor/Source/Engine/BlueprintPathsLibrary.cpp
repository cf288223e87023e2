#include "Kismet/BlueprintPathsLibrary.h"

#include "Misc/Paths.h"

FString UBlueprintPathsLibrary::ProjectDir() { return FPaths::ProjectDir(); }
FString UBlueprintPathsLibrary::ProjectContentDir() { return FPaths::ProjectContentDir(); }
FString UBlueprintPathsLibrary::ProjectIntermediateDir() { return FPaths::ProjectIntermediateDir(); }
FString UBlueprintPathsLibrary::ProjectSavedDir() { return FPaths::ProjectSavedDir(); }
FString UBlueprintPathsLibrary::ProjectPluginsDir() { return FPaths::ProjectPluginsDir(); }
FString UBlueprintPathsLibrary::EngineDir() { return FPaths::EngineDir(); }

FString UBlueprintPathsLibrary::ConvertRelativePathToFull(const FString& Path, const FString& BasePath)
{
	return BasePath.IsEmpty() ? FPaths::ConvertRelativePathToFull(Path) : FPaths::ConvertRelativePathToFull(BasePath, Path);
}
