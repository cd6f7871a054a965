#include "grid/settings/CellNode.h"

namespace cb::grid {

using cb::rtl::SetProperty;

void TCellNode::SetNodeType(TNodeType value) {
    SetProperty(FNodeType, value, OnChange);
}

void TCellNode::SetShowTree(bool value) {
    SetProperty(FShowTree, value, OnChange);
}

}  // namespace cb::grid
