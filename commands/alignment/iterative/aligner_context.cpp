#include "commands/alignment/iterative/aligner_context.h"

#include <limits>

#include "commands/alignment/common/assertion_sites.h"
#include "framework/memory/assertion.h"
#include "framework/object/query_part.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_mesh.h"

std::unique_ptr<AlignerContext> createAlignerContext(IZelDocObject* refObj_,
                                                     std::vector<TargetData>& targets) {
  if (!refObj_) {
    reportAssertion("refObj_", assertion_sites::kIterativeSource, __LINE__);
    return nullptr;
  }
  auto* mesh = queryPart<IZelMesh>(refObj_->subObject("GenModel"));
  IZelUnknown* comp2d = queryPart<IZelMeshExt>(mesh);
  if (!mesh || !comp2d) return nullptr;

  auto context = std::make_unique<AlignerContext>();
  context->targets = &targets;
  IPtr<IAligner_Input_Complex> complex;
  complex.getService();
  if (!complex || !complex->setUp(comp2d, nullptr, std::numeric_limits<double>::max(), false)) return context;
  context->input = queryPart<IAligner_Input>(complex.get());
  if (!context->input) return context;
  context->aligner.getService();
  if (context->aligner) context->aligner->setInput(context->input.get());
  return context;
}
