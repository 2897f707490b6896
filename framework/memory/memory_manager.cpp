#include "framework/memory/memory_manager.h"

#include "basic_types/no_destructor.h"
#include "framework/object/kept_service.h"

IPtr<ZelMM::IZelMManager> getMemoryManager() {
  static NoDestructor<KeptService<ZelMM::IZelMManager>> kept;
  return kept->get();
}
