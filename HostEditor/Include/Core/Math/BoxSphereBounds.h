// TBoxSphereBounds: an axis-aligned box and a sphere sharing one origin; FBoxSphereBounds holds doubles.
#pragma once

#include "CoreTypes.h"
#include "Math/MathFwd.h"
#include "Math/Vector.h"

namespace UE::Math
{
	template <typename T, typename TExtent>
	struct TBoxSphereBounds
	{
		/** The centre of the box and of the sphere. */
		TVector<T> Origin;
		/** Half the box's size along each axis. */
		TVector<TExtent> BoxExtent;
		/** The sphere's radius. */
		TExtent SphereRadius;

		/** Makes empty bounds at the world origin. */
		TBoxSphereBounds()
			: Origin(0, 0, 0), BoxExtent(0, 0, 0), SphereRadius(0)
		{
		}

		/** Makes empty bounds at the world origin. */
		explicit TBoxSphereBounds(EForceInit::Type)
			: TBoxSphereBounds()
		{
		}

		/** Makes bounds from their origin, box half size and sphere radius. */
		TBoxSphereBounds(const TVector<T>& InOrigin, const TVector<TExtent>& InBoxExtent, TExtent InSphereRadius)
			: Origin(InOrigin), BoxExtent(InBoxExtent), SphereRadius(InSphereRadius)
		{
		}

		bool operator==(const TBoxSphereBounds& Other) const
		{
			return Origin == Other.Origin && BoxExtent == Other.BoxExtent && SphereRadius == Other.SphereRadius;
		}
	};
}
