// The editor module: the face rig importer, the native rig editing library, the tool script host,
// the tools window, gameplay asset creation, demo installation and the plug-in updater.

using UnrealBuildTool;

public class VantorelUnrealEditor : ModuleRules
{
	public VantorelUnrealEditor(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(
			new string[]
			{
				"Core",
				"CoreUObject",
				"Engine",
				"VantorelUnreal",
			});

		PrivateDependencyModuleNames.AddRange(
			new string[]
			{
				"Projects",
				"UnrealEd",
				"Slate",
				"SlateCore",
				"InputCore",
				"Json",
				"HTTP",
				"PropertyEditor",
				"ToolMenus",
				"RigVM",
				"ControlRig",
				"ControlRigDeveloper",
				"AnimGraph",
				"BlueprintGraph",
			});

		// Reached by name at run time, through the module manager.
		PrivateIncludePathModuleNames.AddRange(
			new string[]
			{
				"PythonScriptPlugin",
				"DesktopPlatform",
				"AssetTools",
				"AssetRegistry",
				"ContentBrowser",
			});

		DynamicallyLoadedModuleNames.AddRange(
			new string[]
			{
				"PythonScriptPlugin",
				"DesktopPlatform",
				"AssetTools",
				"AssetRegistry",
				"ContentBrowser",
			});
	}
}
