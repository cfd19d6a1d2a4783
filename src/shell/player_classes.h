#pragma once
// The classes the bytecode can create in the player, by class index.

namespace vork {

class TVkObjectManager;

void RegisterPlayerClasses(TVkObjectManager& manager);

}  // namespace vork
