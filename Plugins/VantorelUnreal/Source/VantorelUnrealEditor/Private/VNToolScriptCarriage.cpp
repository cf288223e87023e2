// The tool script carried by the editor module, in standard Base64 (132 bytes of UTF-8 script text).
// Generated from ToolScript/ by scripts/check-tool-script; edit the Python sources, not this file.
// A char array rather than a string literal, because compilers cap the length of string literals.
#include "VNToolScript.h"

namespace
{
	const ANSICHAR ToolScriptBase64Text[] = {
		73,121,65,116,76,83,48,116,73,71,74,118,90,72,108,102,97,110,78,118,98,105,53,119,
		101,83,65,116,76,83,48,116,67,105,73,105,73,107,74,118,90,72,107,103,99,109,108,110,
		73,69,112,84,84,48,52,103,89,87,53,107,73,69,90,104,89,50,85,103,99,109,108,110,
		73,69,112,84,84,48,52,103,99,109,86,104,90,71,108,117,90,122,111,103,100,71,104,108,
		73,72,74,108,89,87,82,108,99,110,77,115,73,72,82,111,90,87,108,121,73,72,90,104,
		98,71,108,107,89,88,82,112,98,50,52,103,89,87,53,107,73,72,82,111,90,83,66,50,
		89,87,120,49,90,83,66,106,98,50,86,121,89,50,108,118,98,105,66,121,100,87,120,108,
		99,121,52,105,73,105,73,75,
		0};
}

const ANSICHAR* const VantorelToolScript::EmbeddedBase64 = ToolScriptBase64Text;
