// The skin's colours, named by what they paint.
#pragma once

#include "layout/panel_layout.h"
#include "tools/skingen/canvas.h"

namespace skingen::palette {

constexpr Rgb kFace = rgb255(50, 53, 58);            // anodised front plate
constexpr Rgb kPrint = rgb255(232, 228, 212);        // silk-screened lettering
constexpr Rgb kAccent = rgb255(229, 140, 52);        // section titles and rules
constexpr Rgb kBarFace = rgb255(24, 25, 27);         // the programming rail
constexpr Rgb kBarPrint = rgb255(196, 198, 196);
// Text wells, dark ink on light; the editor's text controls use the same.
constexpr Rgb kWell = rgb255(layout::kWellColour.red, layout::kWellColour.green,
                             layout::kWellColour.blue);
constexpr Rgb kWellInk = rgb255(layout::kWellInkColour.red, layout::kWellInkColour.green,
                                layout::kWellInkColour.blue);
constexpr Rgb kGlass = rgb255(22, 6, 7);             // smoked red display window
constexpr Rgb kShadow = rgb255(0, 0, 0);
constexpr Rgb kHighlight = rgb255(255, 255, 255);
constexpr Rgb kChrome = rgb255(196, 199, 204);
constexpr Rgb kCapGrey = rgb255(170, 172, 168);      // latching button caps
constexpr Rgb kCapDark = rgb255(58, 60, 63);         // momentary button caps
constexpr Rgb kKnobBody = rgb255(22, 22, 24);        // black knob skirt

// Lamps: lit colour and the dark lens colour of the same lamp.
constexpr Rgb kLedRed = rgb255(255, 52, 36);
constexpr Rgb kLedRedOff = rgb255(70, 18, 16);
constexpr Rgb kLedAmber = rgb255(255, 168, 40);
constexpr Rgb kLedAmberOff = rgb255(70, 46, 16);
constexpr Rgb kLedGreen = rgb255(90, 255, 80);
constexpr Rgb kLedGreenOff = rgb255(20, 60, 20);
constexpr Rgb kLedYellow = rgb255(255, 236, 60);
constexpr Rgb kLedYellowOff = rgb255(66, 62, 18);

// Seven-segment digits.
constexpr Rgb kSegmentLit = rgb255(255, 44, 30);
constexpr Rgb kSegmentUnlit = rgb255(58, 14, 13);

// Preset-bar arrows.
constexpr Rgb kArrowGreen = rgb255(64, 196, 84);
constexpr Rgb kArrowRed = rgb255(220, 60, 48);

}  // namespace skingen::palette
