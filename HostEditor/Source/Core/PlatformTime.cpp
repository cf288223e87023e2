// The platform's clock and sleeping.

#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"

#include <chrono>
#include <thread>

double FPlatformTime::Seconds()
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void FPlatformProcess::Sleep(float Seconds)
{
	std::this_thread::sleep_for(std::chrono::duration<double>(Seconds > 0.0f ? Seconds : 0.0f));
}
