#pragma once

// The materials library the module serves under "Materials::IZelMaterials": a registered singleton, made on
// the first request and kept for the life of the module. Making it reads the materials file once (see
// ZelMaterialXmlReader for where the file lies and what a reading error does), so a changed file is seen only
// in a new run of the host. Releasing the library releases every material. Main thread only: no lock.

#include <cstdint>

#include "basic_types/zel_array.h"
#include "basic_types/zel_hash_table.h"
#include "devices/materials/izel_materials.h"
#include "framework/object/zel_unknown_impl.h"

namespace Materials {

class ZelMaterials : public IZelMaterials, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ZelMaterials";

  // Selects the constructor that reads nothing.
  struct Empty {};

  // The library of the materials file, as the module's registration makes it.
  ZelMaterials();
  // An empty library, for a caller that fills it itself.
  explicit ZelMaterials(Empty) {}

  const ZelCountedArray<IPtr<IZelMaterial>>& items() override { return items_; }
  int32_t count() override { return items_.count(); }
  int32_t add(IZelMaterial* material) override;
  void remove(IZelMaterial* material) override;
  IZelMaterial* find(const ZelCString& name) override;
  IZelMaterialPropertyValue* value(const ZelCString& material, const ZelCString& property,
                                   const ZelCString& value) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Room for a typical materials file before the list first grows.
  static constexpr int32_t kInitialSlots = 21;

  // The material find answers for each name: the first of that name in the list. Without it a file of n
  // materials takes n^2 / 2 name comparisons to read.
  void indexFirstNamed(const ZelCString& name);

  ZelCountedArray<IPtr<IZelMaterial>> items_{kInitialSlots};
  ZelHashTable<ZelCString, IZelMaterial*> byName_{ZelHashTable<ZelCString, IZelMaterial*>::kDefaultBuckets};
};

}  // namespace Materials
