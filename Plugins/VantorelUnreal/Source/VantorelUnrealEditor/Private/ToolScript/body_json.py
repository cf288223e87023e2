"""Body rig JSON and Face rig JSON reading: the readers, their validation and the value coercion rules."""
