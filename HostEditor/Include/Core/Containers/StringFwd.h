// Forward declarations of the string types: the view types and their names.
#pragma once

#include "HAL/Platform.h"

template <typename CharType>
class TStringView;

using FStringView = TStringView<TCHAR>;
using FAnsiStringView = TStringView<ANSICHAR>;
