"""The Vantorel tools that run in the editor's Python: the tool state and its actions (state, actions,
assets, host), the Body and Face rig JSON readers (body_json), the graph helpers (graph,
graph_queries) and the body rig builder (body). The tool script installs these modules from the text
it carries and starts them with host.start."""

