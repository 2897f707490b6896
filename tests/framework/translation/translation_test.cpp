#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "framework/translation/tr.h"
#include "framework/translation/zel_trivial_translator.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

using TrivialTranslation = NoHostTest;

TEST_F(TrivialTranslation, WithoutAHostPlaceholdersAreFilledMissingOnesRemovedAndOtherPercentSignsKept) {
  ZelString a(u"A"), b(u"B"), empty;
  struct Case {
    ZelString translated;
    std::u16string expected;
  };
  for (const Case& c : {Case{tr("Feature fitting failed"), u"Feature fitting failed"},
                        Case{tr("%1 and %2.", a, b), u"A and B."}, Case{tr("%1 and %2.", a), u"A and ."},
                        Case{tr("[%1]", empty), u"[]"}, Case{tr("100% sure", a), u"100% sure"},
                        Case{tr("%%1", a), u"%%1"}, Case{tr("rate %", a), u"rate %"},
                        Case{tr("%10 pieces", a), u"A0 pieces"}, Case{tr("%1 %2 %3", b, a, b), u"B A B"}}) {
    EXPECT_EQ(text(c.translated), c.expected);
  }
}

TEST_F(TrivialTranslation, CountedAndSixArgumentFormsFillEachNumberOnce) {
  ZelString names[8] = {ZelString(u"Shift"), ZelString(u"Ctrl"), ZelString(u"Del"), ZelString(u"Z"),
                        ZelString(u"Y"),     ZelString(u"A"),    ZelString(u"C"),   ZelString(u"Esc: Done")};
  EXPECT_EQ(
      text(trPointSelectionHelp(8, names)),
      u"Shift: Select points | Ctrl: Unselect points | Del: Delete selected points | Z: Undo | Y: Redo | "
      u"A: Select all | C: Clear all | Esc: Done");
  IPtr<ZelTrivialTranslator> translator(new ZelTrivialTranslator);
  EXPECT_EQ(text(translator->translate("keep %1", 0, names)), u"keep %1");
  EXPECT_FALSE(translator->reserved());
  auto sixArguments = [&](const char* format) {
    return text(translator->translate(format, names[0], names[1], names[2], names[3], names[4], names[5]));
  };
  EXPECT_EQ(sixArguments("%6%5%4%3%2%1"), u"AYZDelCtrlShift");
  EXPECT_EQ(sixArguments("<%:>"), u"<>") << "the tenth placeholder is not given";
}

using HostTranslationThreads = ModuleTest;

TEST_F(HostTranslationThreads, TrIsSafeFromManyThreadsWhileTheHostTranslatorArrives) {
  host_.core().translator().setText("Go", u"Los");
  std::vector<std::thread> threads;
  std::atomic<bool> bad{false};
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 300; ++i) {
        std::u16string got = text(tr("Go"));
        if (got != u"Go" && got != u"Los") bad = true;
      }
    });
  }
  host_.core().enable(CoreFamily::Optional::kTranslatorService, true);
  for (std::thread& thread : threads) thread.join();
  EXPECT_FALSE(bad);
  EXPECT_EQ(text(tr("Go")), u"Los");
}

}  // namespace
