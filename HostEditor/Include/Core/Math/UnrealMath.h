// The engine's math types.
#pragma once

#include "Math/UnrealMathUtility.h"
#include "Math/Axis.h"
#include "Math/MathFwd.h"
#include "Math/Vector.h"
#include "Math/Vector2D.h"
#include "Math/Vector4.h"
#include "Math/IntPoint.h"
#include "Math/IntVector.h"
#include "Math/Rotator.h"
#include "Math/Quat.h"
#include "Math/Matrix.h"
#include "Math/Transform.h"
#include "Math/Color.h"
#include "Math/BoxSphereBounds.h"
