# ---- body rig build: FK/IK chains ------------------------------------------------------------------
# The two-bone limbs of the body rig: chain plans from the file's "IK" controls, the FK controls they
# need, the FKIK placeholder that carries each limb's switch channels, and the re-attachment of FK
# branches that hang below a finished limb.

BODY_RIG_FKIK_RESULT_PARENT_PREFIX = "FKParentConstraintTo"
BODY_RIG_FKIK_RESULT_PARENT_FALLBACK = "FKParentConstraint"

# Annotations the result attachment puts on planned FK records; later steps read them.
BODY_RIG_FOLLOWS_RESULT_KEY = "followsFKIKResult"
BODY_RIG_FOLLOWS_RESULT_JOINT_KEY = "followsFKIKResultJoint"
BODY_RIG_FOLLOWS_ROOT_RESULT_ONLY_KEY = "followsRootResultOnly"
BODY_RIG_FOLLOWS_LEG_LOCK_KEY = "followsLegLock"


def body_rig_fkik_result_parent_name(joint_name):
    """The null that carries the finished limb result of joint_name for the FK branch below it."""
    return body_rig_safe_name(BODY_RIG_FKIK_RESULT_PARENT_PREFIX + str(joint_name or ""), BODY_RIG_FKIK_RESULT_PARENT_FALLBACK)
