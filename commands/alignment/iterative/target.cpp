#include "commands/alignment/iterative/target.h"

#include "framework/object/query_chain.h"

void PalperaIterativeAlignmentCmd::Target::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}
