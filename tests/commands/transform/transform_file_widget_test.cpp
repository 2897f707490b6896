#include "commands/transform/transform_file_widget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/alignment/alignment_services.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/registered_classes.h"
#include "framework/subject/zel_subject.h"
#include "host/core/host_unknown.h"
#include "host/files/tfm_transform_util.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/scratch_directory.h"
#include "support/text.h"

namespace {

class MatrixListener : public IZelListener, public HostUnknown {
 public:
  void onNotify(const char* event, IZelSubject*, void* data) override {
    const double* matrix = static_cast<const double*>(data);
    heard.push_back({event, std::vector<double>(matrix, matrix + 16)});
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("MatrixListener", this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return "MatrixListener"; }

  std::vector<std::pair<std::string, std::vector<double>>> heard;
};

class TransformFileWidgetTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    widget_.createInstance(classIdOf("TransformFileWidget"));
    ASSERT_TRUE(widget_);
    void* found = nullptr;
    widget_->queryInterface("TransformFileWidget", &found, false);
    files_ = static_cast<TransformFileWidget*>(found);
    ASSERT_TRUE(files_);
    widget_->setName("Files");
    ASSERT_TRUE(widget_->buildGui(&dialog(), nullptr));
    files_->attach(listener_.get());
  }
  void TearDown() override {
    files_->detach(listener_.get());
    widget_.release();
    plugin_.release();
    ModuleTest::TearDown();
  }

  HostGuiDialog& dialog() { return host_.gui().dialog(); }
  bool press(int32_t offset) { return dialog().pressButton(files_->idBase() + offset); }
  void answer(const std::string& name) {
    host_.files().dialogs().queueAnswer(ScriptedFileDialogs::Answer{text(scratch_.module(name)), 0});
  }
  std::vector<ScriptedFileDialogs::Shown> shown() { return host_.files().dialogs().shown(); }

  ScratchDirectory scratch_;
  IPtr<IZelWidget> widget_;
  TransformFileWidget* files_ = nullptr;
  IPtr<MatrixListener> listener_{new MatrixListener};
  IPtr<IZelPlugin> plugin_;
};

TEST_F(TransformFileWidgetTest, ABoxWithLoadAndSaveUnderTheWidgetsIds) {
  const int32_t b = files_->idBase();
  std::optional<HostGuiDialog::Control> box = dialog().control(b);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->name, u"Files:TransformFileWidget:Box");
  EXPECT_EQ(box->text, u"Transform File");
  EXPECT_FALSE(dialog().control(b + 1));
  EXPECT_EQ(dialog().control(b + 2)->name, u"Files:TransformFileWidget:Load");
  EXPECT_EQ(dialog().control(b + 2)->text, u"Load");
  EXPECT_EQ(dialog().control(b + 3)->text, u"Save");
  EXPECT_EQ(dialog().control(b + 3)->parent, b);
  widget_->setEnabled(false);
  EXPECT_FALSE(widget_->isEnabled());
}

TEST_F(TransformFileWidgetTest, LoadAnnouncesAGoodFileOnceAndNothingElse) {
  scratch_.write("good.tfm", "0 -1 0 0.5\n1 0 0 0\n0 0 1 -0.25\n0 0 0 1\n");
  answer("good.tfm");
  press(TransformFileWidget::kLoad.index);
  ASSERT_EQ(listener_->heard.size(), 1u);
  EXPECT_EQ(listener_->heard[0].first, "NewTransform");
  EXPECT_EQ(listener_->heard[0].second,
            (std::vector<double>{0, -1, 0, 0.5, 1, 0, 0, 0, 0, 0, 1, -0.25, 0, 0, 0, 1}));
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(std::tuple(shown()[0].directory, shown()[0].filter, shown()[0].filterIndex),
            std::tuple(std::u16string(), std::u16string(u"Transform Files (*.tfm)"), 0));

  scratch_.write("bad.tfm", "not a transform");
  answer("bad.tfm");
  press(TransformFileWidget::kLoad.index);
  press(TransformFileWidget::kLoad.index);  // cancelled: no answer queued
  press(1);
  press(0);
  EXPECT_EQ(listener_->heard.size(), 1u);
  EXPECT_EQ(shown().size(), 3u);
  ASSERT_EQ(host_.core().errors().reports().size(), 1u)
      << "the unreadable file is told, as the command tells it";
  EXPECT_EQ(host_.core().errors().reports()[0].message,
            u"Unable to open file '" + text(scratch_.module("bad.tfm")) +
                u"' for loading: row 1, number 1 is not a number.");
}

TEST_F(TransformFileWidgetTest, SaveWritesThePluginsHardwareMatrixWithoutTheScaleOrNothingWithoutAPlugin) {
  answer("nowhere");
  press(TransformFileWidget::kSave.index);
  EXPECT_TRUE(shown().empty()) << "no plug-in, no dialog";

  plugin_.createInstance(classIdOf("EmulatorPlugin"));
  ASSERT_TRUE(plugin_);
  plugin_->setHardwareMatrix(Matrix4x4::translation(Vector3(0.1, 0, 0)));
  host_.core().dataStore().setString(nullptr, "DefaultFileNameDirectory/common", ZelString(u"/nonexistent"));
  SPtr<IZelPluginDeviceScaleAlignmentService> scale;
  scale->setMaterial(ZelCString("Steel"), 25.0);
  Matrix4x4 combined;
  EXPECT_EQ(plugin_->deviceMatrix(combined).m[0], 0.9999415034220498)
      << "the scale is in the combined matrix";
  files_->setPlugin(plugin_.get());
  host_.files().dialogs().clear();
  answer("saved");
  press(TransformFileWidget::kSave.index);
  double written[16] = {};
  ASSERT_TRUE(parseTfmText(scratch_.read("saved.tfm"), written));
  EXPECT_EQ(written[0], 1.0);
  EXPECT_EQ(written[3], 0.1);
  EXPECT_EQ(shown().at(0).directory, u"");

  host_.files().dialogs().queueAnswer(ScriptedFileDialogs::Answer{text(scratch_.module("gone/x")), 1});
  press(TransformFileWidget::kSave.index);
  ASSERT_EQ(host_.core().errors().reports().size(), 1u);
  EXPECT_EQ(host_.core().errors().reports()[0].message,
            u"Unable to open file '" + text(scratch_.module("gone/x.tfm")) + u"' for saving.");
}

}  // namespace
