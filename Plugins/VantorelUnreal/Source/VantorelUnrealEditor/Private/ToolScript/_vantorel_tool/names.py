"""Text helpers with no engine calls: tolerant name comparison, package paths and folders, error texts."""

import re


def norm(s):
    """The text form of s, lower-cased, with every character outside a-z and 0-9 removed
    ("Rotation.X" gives "rotationx"); used for every tolerant name comparison."""
    return re.sub(r"[^a-z0-9]", "", str(s).lower())


def package_path_of(asset):
    """The package path of an asset: its object path up to the first "."."""
    return asset.get_path_name().split(".", 1)[0]


def folder_of(path):
    """A package path up to its last "/"."""
    return path.rsplit("/", 1)[0] if "/" in path else ""


def error_text(error):
    """The text of an exception, or its type name when it carries no text."""
    return str(error) or type(error).__name__
