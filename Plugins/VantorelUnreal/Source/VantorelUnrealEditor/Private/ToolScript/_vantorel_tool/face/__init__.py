"""The face Control Rig builder: its driver, the driver records, the control box and its sliders, the face scale and the solver node."""
