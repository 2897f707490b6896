#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "host/scripted_simple_dialog.h"

namespace {

TEST(ScriptedSimpleDialog, AnswersFromTheQueueThenNoAndRecordsEveryDialog) {
  IPtr<ScriptedSimpleDialog> dialog(new ScriptedSimpleDialog);
  dialog->queueAnswer(IGuiSimpleDlg::kAnswerYes);
  EXPECT_EQ(dialog->show(3, ZelString(u"E"), ZelString(u" "), false, false, false), 1);
  EXPECT_EQ(dialog->show(3, ZelString(u"E"), ZelString(u" "), false, false, false), 2)
      << "an empty queue never waits: it answers no";
  auto shown = dialog->shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].style, 3);
  EXPECT_EQ(shown[0].text, u"E");
  EXPECT_EQ(shown[1].answer, 2);
}

}  // namespace
