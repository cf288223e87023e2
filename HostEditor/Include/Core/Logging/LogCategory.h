// Log categories: a name and the most verbose level that is still written.
#pragma once

#include "CoreTypes.h"
#include "Logging/LogVerbosity.h"
#include "UObject/NameTypes.h"

struct CORE_API FLogCategoryBase
{
	FLogCategoryBase(const TCHAR* CategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity);

	/** True when lines of VerbosityLevel are dropped by this category. */
	bool IsSuppressed(ELogVerbosity::Type VerbosityLevel) const
	{
		return (VerbosityLevel & ELogVerbosity::VerbosityMask) > Verbosity;
	}

	const FName& GetCategoryName() const { return CategoryFName; }
	ELogVerbosity::Type GetVerbosity() const { return Verbosity; }
	void SetVerbosity(ELogVerbosity::Type NewVerbosity);
	ELogVerbosity::Type GetCompileTimeVerbosity() const { return CompileTimeVerbosity; }
	/** Returns the category to the verbosity it was made with. */
	void ResetFromDefault() { SetVerbosity(DefaultVerbosity); }

private:
	ELogVerbosity::Type Verbosity;
	ELogVerbosity::Type DefaultVerbosity;
	ELogVerbosity::Type CompileTimeVerbosity;
	FName CategoryFName;
};

template <ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity>
struct FLogCategory : public FLogCategoryBase
{
	static constexpr ELogVerbosity::Type CompileTimeVerbosity = InCompileTimeVerbosity;

	explicit FLogCategory(const TCHAR* InCategoryName)
		: FLogCategoryBase(InCategoryName, InDefaultVerbosity, InCompileTimeVerbosity)
	{
	}
};
