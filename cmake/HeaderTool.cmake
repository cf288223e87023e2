# The header tool reads the reflection markup (UCLASS, USTRUCT, UENUM, UPROPERTY, UFUNCTION) of a
# module's headers and writes, per header, the X.generated.h that GENERATED_BODY() expands from and
# the X.gen.cpp that registers the types with the object system.

set(VN_HEADER_TOOL ${CMAKE_SOURCE_DIR}/HostEditor/Tools/HeaderTool/header_tool.py)
file(GLOB VN_HEADER_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/HostEditor/Tools/HeaderTool/*.py)

# vn_generate_reflection(<module> <package or ""> <output dir> <out var: generated sources> <headers...>)
# With an empty package, each header's package is "/Script/<the folder below Include/>" (engine modules).
function(vn_generate_reflection MODULE PACKAGE OUTPUT_DIR OUT_SOURCES)
	set(reflected "")
	set(outputs "")
	set(sources "")
	foreach(header IN LISTS ARGN)
		file(STRINGS ${header} markers REGEX "^[ \t]*(UCLASS|USTRUCT|UENUM)\\(")
		if(markers)
			list(APPEND reflected ${header})
			get_filename_component(base ${header} NAME_WE)
			if(PACKAGE STREQUAL "")
				file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR}/HostEditor/Include ${header})
				string(REGEX REPLACE "/.*" "" engine_module "${relative}")
				set(out_dir ${OUTPUT_DIR}/${engine_module})
			else()
				set(out_dir ${OUTPUT_DIR})
			endif()
			list(APPEND outputs ${out_dir}/${base}.generated.h ${out_dir}/${base}.gen.cpp)
			list(APPEND sources ${out_dir}/${base}.gen.cpp)
		endif()
	endforeach()
	if(NOT reflected)
		set(${OUT_SOURCES} "" PARENT_SCOPE)
		return()
	endif()
	set(list_file ${CMAKE_BINARY_DIR}/HeaderTool/${MODULE}.headers)
	string(REPLACE ";" "\n" list_content "${reflected}")
	file(WRITE ${list_file}.tmp "${list_content}\n")
	file(COPY_FILE ${list_file}.tmp ${list_file} ONLY_IF_DIFFERENT)
	if(PACKAGE STREQUAL "")
		set(package_args --engine-include-root ${CMAKE_SOURCE_DIR}/HostEditor/Include)
	else()
		set(package_args --package ${PACKAGE})
	endif()
	add_custom_command(
		OUTPUT ${outputs}
		COMMAND ${Python3_EXECUTABLE} ${VN_HEADER_TOOL} --module ${MODULE} ${package_args} --output ${OUTPUT_DIR} --headers ${list_file}
		DEPENDS ${reflected} ${VN_HEADER_TOOL_SOURCES} ${list_file}
		COMMENT "Generating reflection code for ${MODULE}"
		VERBATIM)
	set(${OUT_SOURCES} ${sources} PARENT_SCOPE)
endfunction()
