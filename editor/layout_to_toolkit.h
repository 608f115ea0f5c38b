// The shared panel layout in the toolkit's coordinates.
#pragma once

#include "editor/toolkit/cgeometry.h"
#include "layout/panel_rect.h"

inline CRect toCRect(const layout::PanelRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }
inline CPoint toCPoint(const layout::PanelPoint& p) { return CPoint(p.x, p.y); }
