// Constants the engine's core defines for every module.
#pragma once

/** The index of nothing: what a search returns when it finds no element. */
enum { INDEX_NONE = -1 };
