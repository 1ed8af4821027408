// How the current item and the scanned tab are shown: by the selected font's colour alone, or
// by a thick frame around the item with its colours inverted, which low vision and colour
// blindness can still tell apart.
#pragma once

enum class HighlightStyle { TextColour, Frame };
