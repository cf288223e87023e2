// The spline units. Their curve maths is not part of this editor: running one is an error that names
// it, so that a graph using them is never taken for one that ran.
#include "ControlRigSplineUnits.h"

#include "../ControlRig/Units/RigUnitRunContext.h"

void FRigUnit_ControlRigSplineFromPoints::Execute()
{
	RigUnitRunContext::ReportError(TEXT("RigUnit_ControlRigSplineFromPoints cannot run in this editor: spline curves are not evaluated here."));
}

void FRigUnit_FitChainToSplineCurveItemArray::Execute()
{
	RigUnitRunContext::ReportError(TEXT("RigUnit_FitChainToSplineCurveItemArray cannot run in this editor: spline curves are not evaluated here."));
}
