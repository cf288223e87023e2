"""The body Control Rig builder: its driver and the systems it runs, one module each."""

