"""The tool state: host values, the target mesh and the names derived from it, the setters and the actions."""
