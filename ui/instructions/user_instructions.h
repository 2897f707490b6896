#pragma once

// The module's user instructions: texts and pictures, held until the last holder lets go (the data-store
// item "Palpera/Tile/FullInstructions" is one).

#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "ui/instructions/zel_user_instructions.h"

class UserInstructions : public IZelUserInstructions,
                         public IZelMutableUserInstructions,
                         public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "UserInstructions";

  ZelString& text(ZelString& out, bool withFull) override;
  int32_t imageCount() override;
  IZelImage* image(int32_t i) override;

  void setBrief(const ZelString& text) override;
  void setFull(const ZelString& text) override;
  void addImage(IZelImage* image) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ZelString brief_;
  ZelString full_;
  std::vector<IPtr<IZelImage>> images_;
};
