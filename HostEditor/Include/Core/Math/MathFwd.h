// Forward declarations of the engine's math types and the names they are used by.
#pragma once

#include "HAL/Platform.h"

namespace UE::Math
{
	template <typename T> struct TVector;
	template <typename T> struct TVector2;
	template <typename T> struct TVector4;
	template <typename T> struct TQuat;
	template <typename T> struct TRotator;
	template <typename T> struct TMatrix;
	template <typename T> struct TTransform;
	template <typename T> struct TRotationTranslationMatrix;
	template <typename T> struct TRotationMatrix;
	template <typename T> struct TQuatRotationTranslationMatrix;
	template <typename T> struct TQuatRotationMatrix;
	template <typename T> struct TScaleMatrix;
	template <typename T> struct TTranslationMatrix;
	template <typename T> struct TScaleRotationTranslationMatrix;
	template <typename T, typename TExtent> struct TBoxSphereBounds;
	template <typename IntType> struct TIntPoint;
	template <typename IntType> struct TIntVector3;
}

using FVector = UE::Math::TVector<double>;
using FVector3f = UE::Math::TVector<float>;
using FVector3d = UE::Math::TVector<double>;
using FVector2D = UE::Math::TVector2<double>;
using FVector2f = UE::Math::TVector2<float>;
using FVector2d = UE::Math::TVector2<double>;
using FVector4 = UE::Math::TVector4<double>;
using FVector4f = UE::Math::TVector4<float>;
using FVector4d = UE::Math::TVector4<double>;
using FQuat = UE::Math::TQuat<double>;
using FQuat4f = UE::Math::TQuat<float>;
using FQuat4d = UE::Math::TQuat<double>;
using FRotator = UE::Math::TRotator<double>;
using FRotator3f = UE::Math::TRotator<float>;
using FRotator3d = UE::Math::TRotator<double>;
using FMatrix = UE::Math::TMatrix<double>;
using FMatrix44f = UE::Math::TMatrix<float>;
using FMatrix44d = UE::Math::TMatrix<double>;
using FTransform = UE::Math::TTransform<double>;
using FTransform3f = UE::Math::TTransform<float>;
using FTransform3d = UE::Math::TTransform<double>;
using FRotationTranslationMatrix = UE::Math::TRotationTranslationMatrix<double>;
using FRotationMatrix = UE::Math::TRotationMatrix<double>;
using FRotationMatrix44f = UE::Math::TRotationMatrix<float>;
using FQuatRotationTranslationMatrix = UE::Math::TQuatRotationTranslationMatrix<double>;
using FQuatRotationMatrix = UE::Math::TQuatRotationMatrix<double>;
using FScaleMatrix = UE::Math::TScaleMatrix<double>;
using FTranslationMatrix = UE::Math::TTranslationMatrix<double>;
using FScaleRotationTranslationMatrix = UE::Math::TScaleRotationTranslationMatrix<double>;
using FBoxSphereBounds = UE::Math::TBoxSphereBounds<double, double>;
using FBoxSphereBounds3f = UE::Math::TBoxSphereBounds<float, float>;
using FBoxSphereBounds3d = UE::Math::TBoxSphereBounds<double, double>;
using FIntPoint = UE::Math::TIntPoint<int32>;
using FInt32Point = UE::Math::TIntPoint<int32>;
using FIntVector = UE::Math::TIntVector3<int32>;
using FIntVector3 = UE::Math::TIntVector3<int32>;
using FInt32Vector = UE::Math::TIntVector3<int32>;

struct FLinearColor;
struct FColor;
