"""The backwards solve as built: which bone each spline handle follows, which limbs get a pole
matcher, the event and its sections on the sample, and none with the option off. That it gives a
posed skeleton back is proven by the posing evaluation."""

import pytest


@pytest.mark.parametrize("controls, bones, expected", [(3, 9, [0, 4, 8]), (1, 9, [0]), (2, 5, [0, 4]), (4, 6, [0, 2, 3, 5]),
                                                      (3, 1, [0, 0, 0])])
def test_spline_handles_follow_bones_spread_evenly_along_the_chain(tool_script, controls, bones, expected):
    assert [tool_script["body_rig_backward_spline_bone"](i, controls, bones) for i in range(controls)] == expected


def chain(tool_script, **fields):
    plan = dict(id="Arm_R", ik_control="IKArm_R", pole_control="PoleArm_R", bones=["Shoulder_R", "Elbow_R", "Wrist_R"],
                fk_controls=[], switch_control="", default_ik=True)
    plan.update(fields)
    return tool_script["ChainPlan"](**plan)


def test_a_pole_is_matched_only_with_a_pole_control_and_three_bones(tool_script):
    has_pole, height = tool_script["body_rig_backward_has_pole"], tool_script["body_rig_backward_chain_height"]
    assert has_pole(chain(tool_script)) and height(chain(tool_script)) == 840
    assert not has_pole(chain(tool_script, pole_control="")) and height(chain(tool_script, pole_control="")) == 420
    assert not has_pole(chain(tool_script, bones=["Shoulder_R", "Wrist_R"]))
    spline = chain(tool_script, kind="SplineIK", ik_controls=["A", "B", "C"], pole_control="")
    assert tool_script["body_rig_backward_spline_height"](spline) == 1260


def test_the_sample_gets_its_backwards_solve_event_and_none_with_the_option_off(editor, unreal, tool_script, hero, capsys):
    rig = tool_script["create_body_control_rig_from_json"]()
    assert "Created Backwards Solve sections: 8" in capsys.readouterr().out
    nodes = {str(node.get_node_path()): node for node in rig.get_controller(rig.get_model()).get_graph().get_nodes()}
    assert "RigUnit_InverseExecution" in nodes
    assert any(isinstance(node, unreal.RigVMCommentNode) and node.get_comment_text() == "Backwards Solve" for node in nodes.values())
    evaluation = editor.RigEvaluation(rig)
    assert evaluation.has_backwards_solve()

    tool_script["set_body_rig_options"](False, True, True)
    rig = tool_script["create_body_control_rig_from_json"]()
    assert "Backwards Solve" not in capsys.readouterr().out
    names = {str(node.get_node_path()) for node in rig.get_controller(rig.get_model()).get_graph().get_nodes()}
    assert "RigUnit_InverseExecution" not in names
    assert not editor.RigEvaluation(rig).has_backwards_solve()
