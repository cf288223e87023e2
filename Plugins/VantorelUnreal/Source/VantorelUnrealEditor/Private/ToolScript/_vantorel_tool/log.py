"""The tool script's own log lines (the texts users know from the tools are printed as they are
written): one prefix, over the editor's output log levels."""

import unreal


LOG_PREFIX = "Vantorel: "


def info(text):
    unreal.log(LOG_PREFIX + text)


def warning(text):
    unreal.log_warning(LOG_PREFIX + text)


def error(text):
    unreal.log_error(LOG_PREFIX + text)
