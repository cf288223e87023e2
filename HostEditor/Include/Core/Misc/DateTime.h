// FDateTime: a moment in time, in the proleptic Gregorian calendar.
#pragma once

#include "CoreMinimal.h"

struct CORE_API FDateTime
{
	FDateTime() = default;

	/** The current time in UTC. */
	static FDateTime UtcNow();
	/** The current local time. */
	static FDateTime Now();

	/** Formats the time: %Y year, %m month, %d day, %H hour, %M minute, %S second (each zero-padded), %% a percent sign. */
	FString ToString(const TCHAR* Format) const;

	int32 GetYear() const { return Year; }
	int32 GetMonth() const { return Month; }
	int32 GetDay() const { return Day; }
	int32 GetHour() const { return Hour; }
	int32 GetMinute() const { return Minute; }
	int32 GetSecond() const { return Second; }

private:
	static FDateTime FromCalendar(const struct tm& Time);

	int32 Year = 1;
	int32 Month = 1;
	int32 Day = 1;
	int32 Hour = 0;
	int32 Minute = 0;
	int32 Second = 0;
};
