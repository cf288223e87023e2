// Stand-in only: records the log lines written while it is attached to the global log.
#pragma once

#include "CoreMinimal.h"
#include "Misc/OutputDeviceRedirector.h"

namespace HostEditor
{
	/** One captured line of the log. */
	struct FLogLine
	{
		FName Category;
		ELogVerbosity::Type Verbosity;
		FString Text;
	};

	/** Attaches to GLog for its lifetime and keeps every line written meanwhile. */
	class FLogCapture : public FOutputDevice
	{
	public:
		FLogCapture() { GLog->AddOutputDevice(this); }
		virtual ~FLogCapture() override { GLog->RemoveOutputDevice(this); }
		FLogCapture(const FLogCapture&) = delete;
		FLogCapture& operator=(const FLogCapture&) = delete;

		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			Lines.Add(FLogLine{Category, (ELogVerbosity::Type)(Verbosity & ELogVerbosity::VerbosityMask), FString(V)});
		}

		const TArray<FLogLine>& GetLines() const { return Lines; }
		void Reset() { Lines.Reset(); }

		/** Returns how many lines of Category and Verbosity contain Text. */
		int32 Count(const FName& Category, ELogVerbosity::Type Verbosity, const FString& Text = FString()) const
		{
			int32 Found = 0;
			for (const FLogLine& Line : Lines)
			{
				if (Line.Category == Category && Line.Verbosity == Verbosity && (Text.IsEmpty() || Line.Text.Contains(Text, ESearchCase::CaseSensitive)))
				{
					++Found;
				}
			}
			return Found;
		}

	private:
		TArray<FLogLine> Lines;
	};
}
