#pragma once

// The document's scene in words for "print scene": the scene root's tree, then each document object's node
// tree after a line "object NAME". One line per node, indented two blanks per level below the first: the
// node's class, its name in quotes, "hidden" when it is, and what it was told (HostNode::describe), separated
// by tabs.

#include <string>
#include <vector>

#include "host_session.h"

std::vector<std::string> sceneLines(HostSession& session);
