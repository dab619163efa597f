"""The skin's colours (graphite body, light screen, teal accent)."""

from raster import hexrgb

__all__ = [
    "BODY_TOP", "BODY_BOTTOM", "DECK", "RIM", "BEVEL_LIGHT", "BEVEL_DARK", "BEZEL", "BEZEL_LIGHT", "PANEL",
    "PANEL_SHADE", "PILL", "KEY", "KEY_FOCUS", "KEY_DOWN", "KEY_EDGE", "KEY_LIGHT", "GLYPH", "ACCENT", "ACCENT_LIGHT",
    "ACCENT_BRIGHT", "ACCENT_DARK", "ACCENT_EDGE", "ROUND", "ROUND_FOCUS", "ROUND_DOWN", "ROUND_EDGE", "CLOSE_RED",
    "CLOSE_RED_LIGHT", "GLASS", "GLASS_TOP", "GLASS_EDGE", "ORBIT", "WORDMARK", "BAR_LOW", "INDICATOR",
    "INDICATOR_DIM", "LOCK_GOLD", "GROOVE_DARK", "GROOVE_LIGHT", "ENGRAVE",
]

BODY_TOP = hexrgb("#4a5563")
BODY_BOTTOM = hexrgb("#323a45")
DECK = hexrgb("#29303a")
RIM = hexrgb("#0b0e11")
BEVEL_LIGHT = hexrgb("#8a96a5")
BEVEL_DARK = hexrgb("#14181d")
BEZEL = hexrgb("#12161b")
BEZEL_LIGHT = hexrgb("#5a6574")
PANEL = hexrgb("#e8ecf0")
PANEL_SHADE = hexrgb("#c3cad2")
PILL = hexrgb("#1c2127")

KEY = hexrgb("#37404c")
KEY_FOCUS = hexrgb("#3d4755")
KEY_DOWN = hexrgb("#1f252c")
KEY_EDGE = hexrgb("#171b20")
KEY_LIGHT = hexrgb("#6c7888")
GLYPH = hexrgb("#d3dae2")

ACCENT = hexrgb("#17a9bd")
ACCENT_LIGHT = hexrgb("#4fd3e3")
ACCENT_BRIGHT = hexrgb("#9af0f8")
ACCENT_DARK = hexrgb("#0e7f90")
ACCENT_EDGE = hexrgb("#0a5f6b")

ROUND = hexrgb("#46505d")
ROUND_FOCUS = hexrgb("#4f5a68")
ROUND_DOWN = hexrgb("#262c34")
ROUND_EDGE = hexrgb("#101317")
CLOSE_RED = hexrgb("#ec5a50")
CLOSE_RED_LIGHT = hexrgb("#ff8a80")

GLASS = hexrgb("#0c1015")
GLASS_TOP = hexrgb("#1b232d")
GLASS_EDGE = hexrgb("#05070a")
ORBIT = hexrgb("#2c3a47")
WORDMARK = hexrgb("#dfe6ed")
BAR_LOW = hexrgb("#1d3a44")

INDICATOR = hexrgb("#56616e")
INDICATOR_DIM = hexrgb("#9aa4af")
LOCK_GOLD = hexrgb("#d9a53c")

GROOVE_DARK = hexrgb("#191e24")
GROOVE_LIGHT = hexrgb("#3c4551")
ENGRAVE = hexrgb("#5d6876")
