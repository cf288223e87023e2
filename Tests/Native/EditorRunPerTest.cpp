// Every test ends with its editor run, as closing the editor ends one, so that the next test begins
// in a new run as a newly launched editor does: no assets, modules, menus, tabs, plug-in list or
// Python builtins left behind. The tests then hold in any order within one process, as they do
// when CTest runs each in a process of its own.

#include <gtest/gtest.h>

#include "HostEditorSupport/HostEditorSession.h"

namespace
{
	class FEndEditorRunAfterEachTest : public ::testing::EmptyTestEventListener
	{
	public:
		virtual void OnTestEnd(const ::testing::TestInfo& /*TestInfo*/) override
		{
			HostEditor::ShutdownEditor();
		}
	};

	// Registered while the program starts, before GoogleTest's own main runs the tests; the
	// listener list owns the listener.
	[[maybe_unused]] const bool bEndEditorRunAfterEachTest = []()
	{
		::testing::UnitTest::GetInstance()->listeners().Append(new FEndEditorRunAfterEachTest);
		return true;
	}();
}
