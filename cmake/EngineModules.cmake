# The stand-in's engine modules. Each is an interface target UE_<Module> that carries the module's
# include folder (HostEditor/Include/<Module>), its generated headers and the modules it exposes in
# turn, so a plug-in module sees exactly the engine headers its .Build.cs asks for.

set(VN_ENGINE_MODULES
	Core CoreUObject Engine Projects UnrealEd Slate SlateCore InputCore Json HTTP PropertyEditor
	ToolMenus AnimationCore RigVM RigVMDeveloper ControlRig ControlRigDeveloper ControlRigEditor ControlRigSpline AnimGraph
	AnimGraphRuntime BlueprintGraph PythonScriptPlugin DesktopPlatform AssetTools AssetRegistry ContentBrowser
	EditorScriptingUtilities Blutility AnimationBlueprintLibrary MeshDescription StaticMeshDescription EditorSubsystem StaticMeshEditor)

# Public dependencies between engine modules, as the engine declares them.
set(VN_ENGINE_DEPS_CoreUObject Core)
set(VN_ENGINE_DEPS_Json Core)
set(VN_ENGINE_DEPS_Engine Core CoreUObject)
set(VN_ENGINE_DEPS_MeshDescription Core CoreUObject)
set(VN_ENGINE_DEPS_StaticMeshDescription Core CoreUObject MeshDescription)
set(VN_ENGINE_DEPS_EditorSubsystem Core CoreUObject Engine)
set(VN_ENGINE_DEPS_StaticMeshEditor Core CoreUObject Engine EditorSubsystem)
set(VN_ENGINE_DEPS_Projects Core Json)
set(VN_ENGINE_DEPS_InputCore Core CoreUObject)
set(VN_ENGINE_DEPS_SlateCore Core CoreUObject InputCore)
set(VN_ENGINE_DEPS_Slate Core CoreUObject SlateCore InputCore)
set(VN_ENGINE_DEPS_HTTP Core)
set(VN_ENGINE_DEPS_UnrealEd Core CoreUObject Engine Slate SlateCore)
set(VN_ENGINE_DEPS_PropertyEditor Core CoreUObject Engine Slate SlateCore)
set(VN_ENGINE_DEPS_ToolMenus Core CoreUObject Slate SlateCore)
set(VN_ENGINE_DEPS_RigVM Core CoreUObject AnimationCore)
set(VN_ENGINE_DEPS_RigVMDeveloper Core CoreUObject RigVM)
set(VN_ENGINE_DEPS_AnimationCore Core CoreUObject)
set(VN_ENGINE_DEPS_ControlRig Core CoreUObject Engine RigVM AnimGraphRuntime AnimationCore)
set(VN_ENGINE_DEPS_ControlRigDeveloper Core CoreUObject Engine ControlRig RigVM RigVMDeveloper)
set(VN_ENGINE_DEPS_ControlRigEditor Core CoreUObject Engine UnrealEd ControlRig ControlRigDeveloper RigVM RigVMDeveloper)
set(VN_ENGINE_DEPS_AnimGraphRuntime Core CoreUObject Engine)
set(VN_ENGINE_DEPS_AnimGraph Core CoreUObject Engine AnimGraphRuntime BlueprintGraph)
set(VN_ENGINE_DEPS_BlueprintGraph Core CoreUObject Engine)
set(VN_ENGINE_DEPS_AssetTools Core CoreUObject Engine UnrealEd)
set(VN_ENGINE_DEPS_EditorScriptingUtilities Core CoreUObject Engine UnrealEd)
set(VN_ENGINE_DEPS_Blutility Core CoreUObject Engine UnrealEd)
set(VN_ENGINE_DEPS_AnimationBlueprintLibrary Core CoreUObject Engine)
set(VN_ENGINE_DEPS_ControlRigSpline Core CoreUObject Engine ControlRig RigVM AnimationCore)

foreach(module IN LISTS VN_ENGINE_MODULES)
	add_library(UE_${module} INTERFACE)
	if(EXISTS ${CMAKE_SOURCE_DIR}/HostEditor/Include/${module})
		target_include_directories(UE_${module} INTERFACE ${CMAKE_SOURCE_DIR}/HostEditor/Include/${module})
	endif()
	target_include_directories(UE_${module} INTERFACE ${VN_GENERATED_DIR}/Engine/${module})
	foreach(dependency IN LISTS VN_ENGINE_DEPS_${module})
		target_link_libraries(UE_${module} INTERFACE UE_${dependency})
	endforeach()
	target_link_libraries(UE_${module} INTERFACE HostEditorEngine)
endforeach()

# Reads the module names listed in a .Build.cs: its dependency lists and the modules whose headers it
# includes to reach them by name at run time.
function(vn_read_build_cs_dependencies BUILD_CS OUT_VAR)
	file(READ ${BUILD_CS} content)
	set(names "")
	string(REGEX MATCHALL "(Public|Private)(Dependency|IncludePath)ModuleNames\\.AddRange\\([^;]*\\);" blocks "${content}")
	foreach(block IN LISTS blocks)
		string(REGEX MATCHALL "\"[A-Za-z0-9_]+\"" quoted "${block}")
		foreach(item IN LISTS quoted)
			string(REPLACE "\"" "" item "${item}")
			list(APPEND names ${item})
		endforeach()
	endforeach()
	list(REMOVE_DUPLICATES names)
	set(${OUT_VAR} ${names} PARENT_SCOPE)
endfunction()

# Adds a plug-in module: a shared library built from Private/, its reflection code generated from
# the headers, linked against exactly the modules its .Build.cs names.
function(vn_add_plugin_module NAME DIR)
	file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${DIR}/Private/*.cpp)
	file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${DIR}/Public/*.h ${DIR}/Private/*.h)
	vn_generate_reflection(${NAME} "/Script/${NAME}" ${VN_GENERATED_DIR}/${NAME} generated_sources ${headers})
	add_library(${NAME} SHARED ${sources} ${generated_sources})
	# Module libraries sit together in the binaries folder, where the editor loads them by name.
	set_target_properties(${NAME} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${VN_MODULE_BINARIES_DIR})
	target_include_directories(${NAME} PUBLIC ${DIR}/Public ${VN_GENERATED_DIR}/${NAME} PRIVATE ${DIR}/Private)
	string(TOUPPER ${NAME} upper)
	target_compile_definitions(${NAME} PUBLIC ${upper}_API=DLLEXPORT)
	target_compile_options(${NAME} PRIVATE ${VN_WARNING_FLAGS})
	vn_read_build_cs_dependencies(${DIR}/${NAME}.Build.cs dependencies)
	foreach(dependency IN LISTS dependencies)
		if(TARGET UE_${dependency})
			target_link_libraries(${NAME} PUBLIC UE_${dependency})
		elseif(TARGET ${dependency})
			target_link_libraries(${NAME} PUBLIC ${dependency})
		else()
			message(FATAL_ERROR "${NAME}.Build.cs names module '${dependency}', which neither the stand-in nor the plug-in provides")
		endif()
	endforeach()
endfunction()
