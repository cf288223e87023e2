// SProgressBar: a bar filled to a fraction from 0 to 1; without a fraction it shows that work goes on
// without saying how far it is (a marquee).
#pragma once

#include "CoreMinimal.h"
#include "Misc/Optional.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SWidget.h"

class SLATE_API SProgressBar : public SWidget
{
public:
	SLATE_BEGIN_ARGS(SProgressBar) : _Percent(TOptional<float>()) {}
		/** How full the bar is, from 0 to 1; unset for a marquee. */
		SLATE_ATTRIBUTE(TOptional<float>, Percent)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

	void SetPercent(TAttribute<TOptional<float>> InPercent) { Percent = InPercent; }
	/** The fraction the bar shows now. */
	TOptional<float> GetPercent() const { return Percent.Get(TOptional<float>()); }

private:
	TAttribute<TOptional<float>> Percent;
};
