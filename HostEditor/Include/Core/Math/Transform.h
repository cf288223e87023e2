// TTransform: scale, then rotation, then translation; FTransform holds doubles.
#pragma once

#include <type_traits>

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/Axis.h"
#include "Math/MathFwd.h"
#include "Math/Matrix.h"
#include "Math/Quat.h"
#include "Math/Rotator.h"
#include "Math/UnrealMathUtility.h"
#include "Math/Vector.h"
#include "Misc/AssertionMacros.h"

// The reflection code that registers FTransform's properties reads its protected members.
struct Z_Construct_UScriptStruct_FTransform_Statics;
struct Z_Construct_UScriptStruct_FTransform3f_Statics;
struct Z_Construct_UScriptStruct_FTransform3d_Statics;

namespace UE::Math
{
	/**
	 * A transform maps a point P to Rotation * (Scale3D * P) + Translation. A * B is the transform that
	 * applies A first, then B, as matrices compose. With a negative scale component the composition
	 * goes through matrices so that the result keeps a proper rotation.
	 */
	template <typename T>
	struct alignas(16) TTransform
	{
		static_assert(std::is_floating_point_v<T>, "TTransform holds float or double components");

		using FReal = T;

		friend ::Z_Construct_UScriptStruct_FTransform_Statics;
		friend ::Z_Construct_UScriptStruct_FTransform3f_Statics;
		friend ::Z_Construct_UScriptStruct_FTransform3d_Statics;

	protected:
		/** The rotation, applied after the scale. */
		TQuat<T> Rotation;
		/** The translation, applied last. */
		TVector<T> Translation;
		/** The scale along each local axis, applied first. */
		TVector<T> Scale3D;

	public:
		/** The transform that changes nothing. */
		static const TTransform<T> Identity;

		/** Makes the identity transform. */
		constexpr TTransform()
			: Rotation(0, 0, 0, 1), Translation(0, 0, 0), Scale3D(1, 1, 1)
		{
		}

		/** Makes the pure translation by InTranslation. */
		explicit constexpr TTransform(const TVector<T>& InTranslation)
			: Rotation(0, 0, 0, 1), Translation(InTranslation), Scale3D(1, 1, 1)
		{
		}

		/** Makes the pure rotation by InRotation. */
		explicit constexpr TTransform(const TQuat<T>& InRotation)
			: Rotation(InRotation), Translation(0, 0, 0), Scale3D(1, 1, 1)
		{
		}

		/** Makes the pure rotation by InRotation. */
		explicit TTransform(const TRotator<T>& InRotation)
			: Rotation(InRotation), Translation(0, 0, 0), Scale3D(1, 1, 1)
		{
		}

		/** Makes a transform from its rotation, translation and scale. */
		constexpr TTransform(const TQuat<T>& InRotation, const TVector<T>& InTranslation, const TVector<T>& InScale3D = TVector<T>(1, 1, 1))
			: Rotation(InRotation), Translation(InTranslation), Scale3D(InScale3D)
		{
		}

		/** Makes a transform from a rotator, a translation and a scale. */
		TTransform(const TRotator<T>& InRotation, const TVector<T>& InTranslation, const TVector<T>& InScale3D = TVector<T>(1, 1, 1))
			: Rotation(InRotation), Translation(InTranslation), Scale3D(InScale3D)
		{
		}

		/** Makes the transform that a scale-rotation-translation matrix describes (see SetFromMatrix). */
		explicit TTransform(const TMatrix<T>& InMatrix)
		{
			SetFromMatrix(InMatrix);
		}

		/** Makes the transform whose matrix has the rows InX, InY, InZ and the translation InTranslation. */
		TTransform(const TVector<T>& InX, const TVector<T>& InY, const TVector<T>& InZ, const TVector<T>& InTranslation)
		{
			SetFromMatrix(TMatrix<T>(InX, InY, InZ, InTranslation));
		}

		/** Converts from a transform of the other precision. */
		template <typename FArg>
			requires (!std::is_same_v<T, FArg>)
		explicit TTransform(const TTransform<FArg>& From)
			: Rotation(TQuat<T>(From.GetRotation())), Translation(TVector<T>(From.GetTranslation())), Scale3D(TVector<T>(From.GetScale3D()))
		{
		}

		/**
		 * Sets this transform from a matrix: the scale is the lengths of rows 0 to 2 and the translation
		 * is row 3. A negative determinant is taken as a negative X scale: X scale and row 0 are negated
		 * before the rotation is read, so the rotation stays proper.
		 */
		void SetFromMatrix(const TMatrix<T>& InMatrix)
		{
			TMatrix<T> M = InMatrix;
			Scale3D = M.ExtractScaling();
			if (InMatrix.Determinant() < (T)0)
			{
				Scale3D.X *= (T)-1;
				M.SetAxis(0, -M.GetScaledAxis(EAxis::X));
			}
			Rotation = TQuat<T>(M);
			Translation = InMatrix.GetOrigin();
			Rotation.Normalize();
		}

		/** Returns the matrix of this transform, scale included. */
		TMatrix<T> ToMatrixWithScale() const
		{
			TMatrix<T> OutMatrix = TQuatRotationTranslationMatrix<T>(Rotation, Translation);
			for (int32 Col = 0; Col < 3; ++Col)
			{
				OutMatrix.M[0][Col] *= Scale3D.X;
				OutMatrix.M[1][Col] *= Scale3D.Y;
				OutMatrix.M[2][Col] *= Scale3D.Z;
			}
			return OutMatrix;
		}

		/** Returns the matrix of the rotation and translation only. */
		TMatrix<T> ToMatrixNoScale() const
		{
			return TQuatRotationTranslationMatrix<T>(Rotation, Translation);
		}

		/** Returns the inverse of the matrix of this transform, scale included. */
		TMatrix<T> ToInverseMatrixWithScale() const
		{
			return ToMatrixWithScale().Inverse();
		}

		/**
		 * Returns the transform that undoes this one. Zero scale components give zero in the inverse
		 * scale; with non-uniform scale and rotation together the result is the engine's approximation.
		 */
		TTransform<T> Inverse() const
		{
			const TQuat<T> InvRotation = Rotation.Inverse();
			const TVector<T> InvScale3D = GetSafeScaleReciprocal(Scale3D);
			const TVector<T> InvTranslation = InvRotation * (InvScale3D * -Translation);
			return TTransform<T>(InvRotation, InvTranslation, InvScale3D);
		}

		/** Returns the transform that applies this one first, then Other. */
		TTransform<T> operator*(const TTransform<T>& Other) const
		{
			TTransform<T> Output;
			Multiply(&Output, this, &Other);
			return Output;
		}

		/** Becomes the transform that applies its former value first, then Other. */
		void operator*=(const TTransform<T>& Other)
		{
			Multiply(this, this, &Other);
		}

		/** Returns the transform that applies this one first, then the rotation Other. */
		TTransform<T> operator*(const TQuat<T>& Other) const
		{
			TTransform<T> Output;
			const TTransform<T> OtherTransform(Other, TVector<T>::ZeroVector, TVector<T>::OneVector);
			Multiply(&Output, this, &OtherTransform);
			return Output;
		}

		/** Writes to OutTransform the transform that applies A first, then B; OutTransform may alias A or B. */
		static void Multiply(TTransform<T>* OutTransform, const TTransform<T>* A, const TTransform<T>* B)
		{
			if (AnyHasNegativeScale(A->Scale3D, B->Scale3D))
			{
				ConstructTransformFromMatrixWithDesiredScale(A->ToMatrixWithScale(), B->ToMatrixWithScale(), A->Scale3D * B->Scale3D, *OutTransform);
				return;
			}
			const TQuat<T> NewRotation = B->Rotation * A->Rotation;
			const TVector<T> NewScale3D = A->Scale3D * B->Scale3D;
			const TVector<T> NewTranslation = B->Rotation * (B->Scale3D * A->Translation) + B->Translation;
			OutTransform->Rotation = NewRotation;
			OutTransform->Scale3D = NewScale3D;
			OutTransform->Translation = NewTranslation;
		}

		/**
		 * Returns this transform relative to Other: the transform R with R * Other == this, that is
		 * this * Other.Inverse(). Negative scales go through matrices; a non-normalized Other rotation
		 * is reported and gives the identity.
		 */
		TTransform<T> GetRelativeTransform(const TTransform<T>& Other) const
		{
			if (!ensureMsgf(Other.IsRotationNormalized(), TEXT("GetRelativeTransform with a non-normalized rotation")))
			{
				return Identity;
			}
			TTransform<T> Result;
			if (AnyHasNegativeScale(Scale3D, Other.Scale3D))
			{
				const TVector<T> SafeRecipScale3D = GetSafeScaleReciprocal(Other.Scale3D, (T)UE_SMALL_NUMBER);
				const TVector<T> DesiredScale3D = Scale3D * SafeRecipScale3D;
				ConstructTransformFromMatrixWithDesiredScale(ToMatrixWithScale(), Other.ToMatrixWithScale().Inverse(), DesiredScale3D, Result);
				return Result;
			}
			const TVector<T> SafeRecipScale3D = GetSafeScaleReciprocal(Other.Scale3D, (T)UE_SMALL_NUMBER);
			const TQuat<T> InverseRotation = Other.Rotation.Inverse();
			Result.Scale3D = Scale3D * SafeRecipScale3D;
			Result.Rotation = InverseRotation * Rotation;
			Result.Translation = (InverseRotation * (Translation - Other.Translation)) * SafeRecipScale3D;
			return Result;
		}

		/** Returns Other relative to this transform: this->Inverse() * Other, for uniform scales. */
		TTransform<T> GetRelativeTransformReverse(const TTransform<T>& Other) const
		{
			TTransform<T> Result;
			const TVector<T> SafeRecipScale3D = GetSafeScaleReciprocal(Scale3D);
			Result.Scale3D = Other.Scale3D * SafeRecipScale3D;
			Result.Rotation = Other.Rotation * Rotation.Inverse();
			Result.Translation = Other.Translation - Result.Scale3D * (Result.Rotation * Translation);
			return Result;
		}

		/** Returns the point V transformed: scaled, rotated, then translated. */
		TVector<T> TransformPosition(const TVector<T>& V) const
		{
			return Rotation.RotateVector(Scale3D * V) + Translation;
		}

		/** Returns the point V rotated and translated, without the scale. */
		TVector<T> TransformPositionNoScale(const TVector<T>& V) const
		{
			return Rotation.RotateVector(V) + Translation;
		}

		/** Returns the direction V scaled and rotated (no translation). */
		TVector<T> TransformVector(const TVector<T>& V) const
		{
			return Rotation.RotateVector(Scale3D * V);
		}

		/** Returns the direction V rotated only. */
		TVector<T> TransformVectorNoScale(const TVector<T>& V) const
		{
			return Rotation.RotateVector(V);
		}

		/** Returns the point V transformed by the exact inverse of this transform; zero scales give zero. */
		TVector<T> InverseTransformPosition(const TVector<T>& V) const
		{
			return Rotation.UnrotateVector(V - Translation) * GetSafeScaleReciprocal(Scale3D);
		}

		/** Returns the point V untranslated and unrotated, ignoring the scale. */
		TVector<T> InverseTransformPositionNoScale(const TVector<T>& V) const
		{
			return Rotation.UnrotateVector(V - Translation);
		}

		/** Returns the direction V unrotated and unscaled; zero scales give zero. */
		TVector<T> InverseTransformVector(const TVector<T>& V) const
		{
			return Rotation.UnrotateVector(V) * GetSafeScaleReciprocal(Scale3D);
		}

		/** Returns the direction V unrotated only. */
		TVector<T> InverseTransformVectorNoScale(const TVector<T>& V) const
		{
			return Rotation.UnrotateVector(V);
		}

		/** Returns the rotation Q followed by this transform's rotation. */
		TQuat<T> TransformRotation(const TQuat<T>& Q) const
		{
			return Rotation * Q;
		}

		/** Returns the rotation Q followed by the inverse of this transform's rotation. */
		TQuat<T> InverseTransformRotation(const TQuat<T>& Q) const
		{
			return Rotation.Inverse() * Q;
		}

		/** Returns the given local axis, rotated and scaled. */
		TVector<T> GetScaledAxis(const EAxis::Type InAxis) const
		{
			return TransformVector(UnitVectorFor(InAxis));
		}

		/** Returns the given local axis, rotated only (unit length). */
		TVector<T> GetUnitAxis(const EAxis::Type InAxis) const
		{
			return TransformVectorNoScale(UnitVectorFor(InAxis));
		}

		/** Reflects this transform as TMatrix::Mirror does and takes the result back from the matrix. */
		void Mirror(const EAxis::Type MirrorAxis, const EAxis::Type FlipAxis)
		{
			TMatrix<T> M = ToMatrixWithScale();
			M.Mirror(MirrorAxis, FlipAxis);
			SetFromMatrix(M);
		}

		/** Returns a copy with the scale multiplied by InScale. */
		TTransform<T> GetScaled(const T InScale) const
		{
			TTransform<T> Result(*this);
			Result.Scale3D *= InScale;
			return Result;
		}

		/** Returns a copy with the scale multiplied component-wise by InScale. */
		TTransform<T> GetScaled(const TVector<T>& InScale) const
		{
			TTransform<T> Result(*this);
			Result.Scale3D *= InScale;
			return Result;
		}

		/** True when rotation, translation and scale all match Other's within Tolerance. */
		bool Equals(const TTransform<T>& Other, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return RotationEquals(Other, Tolerance) && TranslationEquals(Other, Tolerance) && Scale3DEquals(Other, Tolerance);
		}

		/** True when rotation and translation match Other's within Tolerance, whatever the scales. */
		bool EqualsNoScale(const TTransform<T>& Other, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return RotationEquals(Other, Tolerance) && TranslationEquals(Other, Tolerance);
		}

		/** True when the rotations describe the same rotation within Tolerance. */
		bool RotationEquals(const TTransform<T>& Other, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return Rotation.Equals(Other.Rotation, Tolerance);
		}

		/** True when the translations match within Tolerance. */
		bool TranslationEquals(const TTransform<T>& Other, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return Translation.Equals(Other.Translation, Tolerance);
		}

		/** True when the scales match within Tolerance. */
		bool Scale3DEquals(const TTransform<T>& Other, const T Tolerance = UE_KINDA_SMALL_NUMBER) const
		{
			return Scale3D.Equals(Other.Scale3D, Tolerance);
		}

		/** True when the rotations of A and B describe the same rotation within Tolerance. */
		static bool AreRotationsEqual(const TTransform<T>& A, const TTransform<T>& B, const T Tolerance = UE_KINDA_SMALL_NUMBER)
		{
			return A.Rotation.Equals(B.Rotation, Tolerance);
		}

		/** True when nothing is NaN or infinite and the rotation is normalized. */
		bool IsValid() const
		{
			return !ContainsNaN() && Rotation.IsNormalized();
		}

		/** True when any component is NaN or infinite. */
		bool ContainsNaN() const
		{
			return Translation.ContainsNaN() || Rotation.ContainsNaN() || Scale3D.ContainsNaN();
		}

		/** True when the rotation has (nearly) unit length. */
		bool IsRotationNormalized() const
		{
			return Rotation.IsNormalized();
		}

		/** Scales the rotation to unit length. */
		void NormalizeRotation()
		{
			Rotation.Normalize();
		}

		/** Returns the determinant of the transform's matrix: the product of the scale components. */
		T GetDeterminant() const
		{
			return Scale3D.X * Scale3D.Y * Scale3D.Z;
		}

		/** Returns the largest absolute scale component. */
		T GetMaximumAxisScale() const { return Scale3D.GetAbsMax(); }
		/** Returns the smallest absolute scale component. */
		T GetMinimumAxisScale() const { return Scale3D.GetAbsMin(); }

		/** Makes this the identity transform. */
		void SetIdentity()
		{
			*this = TTransform<T>();
		}

		/** Sets rotation, translation and scale. */
		void SetComponents(const TQuat<T>& InRotation, const TVector<T>& InTranslation, const TVector<T>& InScale3D)
		{
			Rotation = InRotation;
			Translation = InTranslation;
			Scale3D = InScale3D;
		}

		/** Returns the rotation as a rotator. */
		TRotator<T> Rotator() const { return Rotation.Rotator(); }
		/** Returns the rotation. */
		TQuat<T> GetRotation() const { return Rotation; }
		/** Sets the rotation. */
		void SetRotation(const TQuat<T>& NewRotation) { Rotation = NewRotation; }
		/** Returns the translation. */
		TVector<T> GetTranslation() const { return Translation; }
		/** Sets the translation. */
		void SetTranslation(const TVector<T>& NewTranslation) { Translation = NewTranslation; }
		/** Returns the translation. */
		TVector<T> GetLocation() const { return Translation; }
		/** Sets the translation. */
		void SetLocation(const TVector<T>& Origin) { Translation = Origin; }
		/** Adds DeltaTranslation to the translation. */
		void AddToTranslation(const TVector<T>& DeltaTranslation) { Translation += DeltaTranslation; }
		/** Returns the scale. */
		TVector<T> GetScale3D() const { return Scale3D; }
		/** Sets the scale. */
		void SetScale3D(const TVector<T>& NewScale3D) { Scale3D = NewScale3D; }

		/** Returns the text "Tx,Ty,Tz|Pitch,Yaw,Roll|Sx,Sy,Sz". */
		FString ToString() const
		{
			const TRotator<T> R = Rotator();
			return FString::Printf(TEXT("%f,%f,%f|%f,%f,%f|%f,%f,%f"), Translation.X, Translation.Y, Translation.Z, R.Pitch, R.Yaw, R.Roll, Scale3D.X, Scale3D.Y, Scale3D.Z);
		}

		/** Returns 1 / InScale per component, with components within Tolerance of zero giving zero. */
		static TVector<T> GetSafeScaleReciprocal(const TVector<T>& InScale, const T Tolerance = UE_SMALL_NUMBER)
		{
			TVector<T> SafeReciprocalScale;
			for (int32 Index = 0; Index < 3; ++Index)
			{
				SafeReciprocalScale[Index] = FMath::Abs(InScale[Index]) <= Tolerance ? (T)0 : (T)1 / InScale[Index];
			}
			return SafeReciprocalScale;
		}

		/** True when any component of either scale is negative. */
		static bool AnyHasNegativeScale(const TVector<T>& InScale3D, const TVector<T>& InOtherScale3D)
		{
			return InScale3D.X < (T)0 || InScale3D.Y < (T)0 || InScale3D.Z < (T)0
				|| InOtherScale3D.X < (T)0 || InOtherScale3D.Y < (T)0 || InOtherScale3D.Z < (T)0;
		}

	private:
		/** The unit vector of a local axis; zero for EAxis::None. */
		static TVector<T> UnitVectorFor(const EAxis::Type InAxis)
		{
			switch (InAxis)
			{
			case EAxis::X: return TVector<T>(1, 0, 0);
			case EAxis::Y: return TVector<T>(0, 1, 0);
			case EAxis::Z: return TVector<T>(0, 0, 1);
			default: return TVector<T>(0, 0, 0);
			}
		}

		/**
		 * Sets OutTransform from the product AMatrix * BMatrix with the known (signed) DesiredScale: the
		 * rotation comes from the product's unit axes with the scale's signs put back, so it stays proper.
		 */
		static void ConstructTransformFromMatrixWithDesiredScale(const TMatrix<T>& AMatrix, const TMatrix<T>& BMatrix, const TVector<T>& DesiredScale, TTransform<T>& OutTransform)
		{
			TMatrix<T> M = AMatrix * BMatrix;
			M.RemoveScaling();
			const TVector<T> SignedScale = DesiredScale.GetSignVector();
			M.SetAxis(0, M.GetScaledAxis(EAxis::X) * SignedScale.X);
			M.SetAxis(1, M.GetScaledAxis(EAxis::Y) * SignedScale.Y);
			M.SetAxis(2, M.GetScaledAxis(EAxis::Z) * SignedScale.Z);
			TQuat<T> NewRotation(M);
			NewRotation.Normalize();
			OutTransform.Scale3D = DesiredScale;
			OutTransform.Rotation = NewRotation;
			OutTransform.Translation = M.GetOrigin();
		}
	};

	template <typename T> const TTransform<T> TTransform<T>::Identity(TQuat<T>(0, 0, 0, 1), TVector<T>(0, 0, 0), TVector<T>(1, 1, 1));
}
