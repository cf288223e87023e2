// check/verify/ensure, as in the engine: check and verify stop the program, ensure reports and carries on.
#pragma once

#include "HAL/Platform.h"

namespace HostEditorAssertion
{
	/** Prints the failed assertion and stops the process. */
	[[noreturn]] CORE_API void Fail(const char* Expression, const char* File, int Line, const char* Message);
	/** Prints the failed ensure once per call site and lets execution continue. */
	CORE_API bool EnsureFailed(const char* Expression, const char* File, int Line, const char* Message);
}

#define check(expr) do { if (!(expr)) { ::HostEditorAssertion::Fail(#expr, __FILE__, __LINE__, ""); } } while (false)
#define checkf(expr, format, ...) do { if (!(expr)) { ::HostEditorAssertion::Fail(#expr, __FILE__, __LINE__, "checkf"); } } while (false)
#define checkSlow(expr) check(expr)
#define checkNoEntry() ::HostEditorAssertion::Fail("Enclosing block should never be called", __FILE__, __LINE__, "")
#define verify(expr) do { if (!(expr)) { ::HostEditorAssertion::Fail(#expr, __FILE__, __LINE__, ""); } } while (false)
#define verifyf(expr, format, ...) verify(expr)
#define ensure(expr) ((expr) || ::HostEditorAssertion::EnsureFailed(#expr, __FILE__, __LINE__, ""))
#define ensureMsgf(expr, format, ...) ((expr) || ::HostEditorAssertion::EnsureFailed(#expr, __FILE__, __LINE__, "ensureMsgf"))
#define ensureAlways(expr) ensure(expr)
#define ensureAlwaysMsgf(expr, format, ...) ensureMsgf(expr, format)
