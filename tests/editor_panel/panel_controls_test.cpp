// User actions on the front panel reaching the effect, host changes reaching
// the controls, and the controller display.
#include "tests/editor_panel/panel_test_support.h"

#include "presets/controller_names.h"

namespace panel_test {
namespace {

using namespace panel;
using namespace layout;

class PanelControls : public PanelTest {
 protected:
  int numIndex() { return stepIndex(param(kNum), kNumSteps); }
  int denIndex() { return stepIndex(param(kDen), kDenSteps); }
  std::vector<float> controlValues() {
    std::vector<float> values;
    for (int32_t i = 0; i < frame->getNbViews(); ++i)
      if (auto* c = dynamic_cast<CControl*>(frame->getView(i))) values.push_back(c->getValue());
    return values;
  }
};

TEST_F(PanelControls, OpenShowsTheEffectsValues) {
  EXPECT_EQ(frame->getNbViews(), 28 + 19);
  EXPECT_FLOAT_EQ(control(kInput)->getValue(), param(kInput));
  EXPECT_FLOAT_EQ(control(kPower)->getValue(), param(kPower));
  EXPECT_FLOAT_EQ(control(kTagSmallStrip)->getValue(), std::sqrt(param(kDlyTime)));
  EXPECT_FLOAT_EQ(control(kTagDigitStrip)->getValue(), std::sqrt(param(kDlyTime)));
  EXPECT_FLOAT_EQ(control(kFbck)->getDefaultValue(), 0.f);
  EXPECT_FLOAT_EQ(control(kMix)->getDefaultValue(), 0.5f);
  EXPECT_FLOAT_EQ(control(kRate)->getWheelInc(), 0.03125f);
  EXPECT_EQ(editor->getKnobMode(), kLinearMode);
}

TEST_F(PanelControls, KnobsAndButtonsAutomateTheirParameter) {
  click(centre(kPowerRect));
  EXPECT_FLOAT_EQ(param(kPower), switchIsOn(param(kPower)) ? kOn : kOff);
  const float before = param(kInput);
  const CPoint start = centre(kInputKnobRect);
  frame->platformOnMouseDown(start, kLButton);
  frame->platformOnMouseMoved(CPoint(start.x, start.y - 30), kLButton);
  frame->platformOnMouseUp(CPoint(start.x, start.y - 30), kLButton);
  EXPECT_NE(param(kInput), before);
  EXPECT_FLOAT_EQ(control(kInput)->getValue(), param(kInput));
  EXPECT_GT(automationsOf(kInput), 0);
  EXPECT_GT(automationsOf(kPower), 0);
}

TEST_F(PanelControls, HostChangesMoveTheControls) {
  set(kFbck, 0.3f);
  EXPECT_FLOAT_EQ(control(kFbck)->getValue(), param(kFbck));
  set(kDlyTime, 0.25f);
  EXPECT_FLOAT_EQ(control(kTagSmallStrip)->getValue(), 0.5f);
  EXPECT_FLOAT_EQ(control(kTagDigitStrip)->getValue(), 0.5f);
  set(kDlyClk, kOn);
  EXPECT_FLOAT_EQ(control(kDlyClk)->getValue(), param(kDlyClk));
}

TEST_F(PanelControls, NumAndDenChangeNoControl) {
  const std::vector<float> before = controlValues();
  set(kNum, numValue(3));
  set(kDen, denValue(9));
  editor->setParameter(kNum, 0.9f);
  editor->setParameter(kDen, 0.1f);
  EXPECT_EQ(controlValues(), before);
}

TEST_F(PanelControls, RepeatOnFreezesDelayControls) {
  set(kDlyClk, kOff);
  set(kDlyTime, 0.25f);
  set(kRptInf, kOn);
  const float dlyClk = param(kDlyClk);
  click(centre(kDelayUpRect));
  click(centre(kDelayDownRect), kLButton | kShift);
  EXPECT_FLOAT_EQ(param(kDlyTime), 0.25f);
  // The Dly<>Clk switch springs back.
  click(CPoint(kDlyClkRect.right - 2, kDlyClkRect.top + 5));
  click(CPoint(kDlyClkRect.left + 2, kDlyClkRect.top + 5));
  EXPECT_FLOAT_EQ(param(kDlyClk), dlyClk);
  EXPECT_FLOAT_EQ(control(kDlyClk)->getValue(), dlyClk);
  // A moved strip springs back to the stored delay.
  report(kTagDigitStrip, 0.9f);
  EXPECT_FLOAT_EQ(control(kTagDigitStrip)->getValue(), 0.5f);
  report(kTagSmallStrip, 0.1f);
  EXPECT_FLOAT_EQ(control(kTagSmallStrip)->getValue(), 0.5f);
  EXPECT_FLOAT_EQ(param(kDlyTime), 0.25f);
}

TEST_F(PanelControls, PushButtonsStepTheDelayWithinItsRange) {
  set(kDlyClk, kOff);
  set(kDlyTime, 0.5f);
  click(centre(kDelayUpRect));
  EXPECT_FLOAT_EQ(param(kDlyTime), 0.5f + 1.f / 3200.f);
  click(centre(kDelayDownRect), kLButton | kShift);
  EXPECT_FLOAT_EQ(param(kDlyTime), 0.5f + 1.f / 3200.f - 10.f / 3200.f);
  EXPECT_FLOAT_EQ(control(kTagDigitStrip)->getValue(), std::sqrt(param(kDlyTime)));

  set(kDlyTime, 0.f);
  click(centre(kDelayDownRect), kLButton | kControl);
  EXPECT_EQ(param(kDlyTime), 0.f);
  set(kDlyTime, 1.f);
  click(centre(kDelayUpRect), kLButton | kControl);
  EXPECT_EQ(param(kDlyTime), 1.f);
  // Each click is one host gesture.
  int begins = 0, ends = 0;
  for (const HostRecord& r : hostRecords()) {
    if (r.index != kDlyTime) continue;
    begins += r.opcode == audioMasterBeginEdit;
    ends += r.opcode == audioMasterEndEdit;
  }
  EXPECT_EQ(begins, 4);
  EXPECT_EQ(ends, 4);
}

TEST_F(PanelControls, ClockModeButtonsStepNumAndDenWithWrap) {
  set(kDlyClk, kOn);
  set(kNum, numValue(0));
  set(kDen, denValue(12));
  const float strip = control(kTagDigitStrip)->getValue();
  std::vector<int> nums;
  for (int i = 0; i < 5; ++i) {
    click(centre(kDelayDownRect));
    nums.push_back(numIndex());
  }
  EXPECT_EQ(nums, (std::vector<int>{1, 2, 3, 4, 0}));
  click(centre(kDelayDownRect), kLButton | kShift);
  EXPECT_EQ(numIndex(), 4);  // wrapped from the bottom to value 1, the last entry
  EXPECT_EQ(param(kNum), 1.f);
  // One step below 1 is the boundary 0.8, still the last entry; the next is not.
  click(centre(kDelayDownRect), kLButton | kControl);
  EXPECT_EQ(numIndex(), 4);
  click(centre(kDelayDownRect), kLButton | kControl);
  EXPECT_EQ(numIndex(), 3);

  click(centre(kDelayUpRect));
  EXPECT_EQ(denIndex(), 0);  // wrapped from the top to the first entry
  click(centre(kDelayUpRect));
  EXPECT_EQ(denIndex(), 1);
  click(centre(kDelayUpRect), kLButton | kShift);
  click(centre(kDelayUpRect), kLButton | kShift);
  EXPECT_EQ(denIndex(), 12);
  EXPECT_FLOAT_EQ(control(kTagDigitStrip)->getValue(), strip);
}

TEST_F(PanelControls, StripsSetTheSquaredDelayAndFollowEachOther) {
  set(kDlyClk, kOff);
  report(kTagDigitStrip, 0.5f);
  EXPECT_FLOAT_EQ(param(kDlyTime), 0.25f);
  EXPECT_FLOAT_EQ(control(kTagSmallStrip)->getValue(), 0.5f);
  // The small strip stays half a millisecond inside the range.
  report(kTagSmallStrip, 1.f);
  EXPECT_FLOAT_EQ(param(kDlyTime), 0.99984378f);
  EXPECT_FLOAT_EQ(control(kTagDigitStrip)->getValue(), 1.f);
  report(kTagSmallStrip, 0.f);
  EXPECT_FLOAT_EQ(param(kDlyTime), 0.00015620119f);
  report(kTagDigitStrip, 0.f);
  EXPECT_EQ(param(kDlyTime), 0.f);
}

TEST_F(PanelControls, SwitchingToClockModeShowsTheTempoOnTheStrips) {
  set(kRptInf, kOff);
  set(kDlyClk, kOff);
  set(kDlyTime, 0.04f);
  setTempo(100.f);
  click(CPoint(kDlyClkRect.right - 2, kDlyClkRect.top + 5));
  ASSERT_TRUE(switchIsOn(param(kDlyClk)));
  EXPECT_FLOAT_EQ(control(kTagDigitStrip)->getValue(), 0.5f);  // √(100/400)
  click(CPoint(kDlyClkRect.left + 2, kDlyClkRect.top + 5));
  ASSERT_FALSE(switchIsOn(param(kDlyClk)));
  // Back in delay mode the strips show the delay (the last synchronised one).
  EXPECT_FLOAT_EQ(control(kTagSmallStrip)->getValue(), std::sqrt(param(kDlyTime)));
  EXPECT_NE(control(kTagSmallStrip)->getValue(), 0.5f);
}

TEST_F(PanelControls, ControllerDisplayNamesTheBindingUnderThePointer) {
  hover(centre(kInputKnobRect));
  EXPECT_EQ(controllerText(), "not assigned");
  fx->assignController(kInput, 7);
  EXPECT_EQ(controllerText(), kControllerNames[7]);
  fx->assignController(kDlyTime, 1);
  hover(centre(kDigitStripRect));
  EXPECT_EQ(controllerText(), kControllerNames[1]);
  hover(centre(kSmallStripRect));
  EXPECT_EQ(controllerText(), kControllerNames[1]);
  hover(CPoint(20, 10));  // bare panel
  EXPECT_EQ(controllerText(), "");
  hover(centre(layout::kLoadBankRect));
  EXPECT_EQ(controllerText(), "");
  hover(centre(layout::kNameFieldLayoutRect));
  EXPECT_EQ(controllerText(), "");
}

TEST_F(PanelControls, CloseForgetsTheControlsAndReopenRebuilds) {
  editor->close();
  EXPECT_EQ(editor->getFrame(), nullptr);
  set(kInput, 0.1f);  // no window: nothing to move, nothing to crash
  editor->idle();
  ASSERT_TRUE(editor->open(nullptr));
  frame = editor->getFrame();
  EXPECT_FLOAT_EQ(control(kInput)->getValue(), param(kInput));
}

TEST_F(PanelControls, ClosingTheInstanceWithTheWindowOpenIsSafe) {
  click(centre(layout::kMenuRect));  // a pop-up menu open as well
  ASSERT_NE(frame->getOpenPopupMenu(), nullptr);
  record->dispatcher(record, effClose, 0, 0, nullptr, 0.f);
  record = nullptr;
  editor = nullptr;
}

}  // namespace
}  // namespace panel_test
