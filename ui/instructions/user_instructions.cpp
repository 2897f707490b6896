#include "ui/instructions/user_instructions.h"

#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"

namespace {

const ClassRegistration<UserInstructions> registration(registeredClass("UserInstructions"));

}  // namespace

ZelString& UserInstructions::text(ZelString& out, bool withFull) {
  if (withFull && !full_.isEmpty()) {
    out = tr("1. %1\n2. %2", brief_, full_);
  } else {
    out = brief_;
  }
  return out;
}

int32_t UserInstructions::imageCount() {
  return static_cast<int32_t>(images_.size());
}

IZelImage* UserInstructions::image(int32_t i) {
  if (i < 0 || i >= imageCount()) return nullptr;
  return images_[static_cast<size_t>(i)].get();
}

void UserInstructions::setBrief(const ZelString& text) {
  if (&text != &brief_) brief_ = text;
}

void UserInstructions::setFull(const ZelString& text) {
  if (&text != &full_) full_ = text;
}

void UserInstructions::addImage(IZelImage* image) {
  images_.emplace_back(image);
}

void UserInstructions::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, static_cast<IZelUserInstructions*>(this), this)
      .offer<IZelUserInstructions>(this)
      .offer<IZelMutableUserInstructions>(this)
      .end();
}
