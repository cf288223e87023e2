// FOutputDevice: where log lines and other text output go.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Logging/LogVerbosity.h"
#include "UObject/NameTypes.h"

class CORE_API FOutputDevice
{
public:
	FOutputDevice() = default;
	FOutputDevice(const FOutputDevice&) = default;
	FOutputDevice& operator=(const FOutputDevice&) = default;
	virtual ~FOutputDevice() = default;

	/** Receives one line of output with its severity and category. */
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) = 0;
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category, double Time)
	{
		(void)Time;
		Serialize(V, Verbosity, Category);
	}
	virtual void Flush() {}
	virtual void TearDown() {}
	virtual bool CanBeUsedOnAnyThread() const { return false; }

	void Log(const TCHAR* S) { Serialize(S, ELogVerbosity::Log, NAME_None); }
	void Log(ELogVerbosity::Type Verbosity, const TCHAR* S) { Serialize(S, Verbosity, NAME_None); }
	void Log(const FName& Category, ELogVerbosity::Type Verbosity, const TCHAR* S) { Serialize(S, Verbosity, Category); }
	void Log(const FString& S) { Log(*S); }
	void Log(ELogVerbosity::Type Verbosity, const FString& S) { Log(Verbosity, *S); }

	template <typename FmtType, typename... Types>
	void Logf(const FmtType& Fmt, Types... Args)
	{
		Serialize(*FString::Printf(Fmt, Args...), ELogVerbosity::Log, NAME_None);
	}

	template <typename FmtType, typename... Types>
	void Logf(ELogVerbosity::Type Verbosity, const FmtType& Fmt, Types... Args)
	{
		Serialize(*FString::Printf(Fmt, Args...), Verbosity, NAME_None);
	}

	template <typename FmtType, typename... Types>
	void CategorizedLogf(const FName& Category, ELogVerbosity::Type Verbosity, const FmtType& Fmt, Types... Args)
	{
		Serialize(*FString::Printf(Fmt, Args...), Verbosity, Category);
	}
};
