// The runtime module: the face rig data asset, its records and the rig units that live on in a game.

using UnrealBuildTool;

public class VantorelUnreal : ModuleRules
{
	public VantorelUnreal(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(
			new string[]
			{
				"Core",
				"CoreUObject",
				"Engine",
				"RigVM",
				"ControlRig",
			});
	}
}
