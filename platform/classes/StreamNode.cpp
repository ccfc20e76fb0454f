#include "StreamNode.h"

bool TObjectNode::operator==(const TObjectNode& o) const
{
    return ClassName.compare(o.ClassName, Qt::CaseInsensitive) == 0 && Name.compare(o.Name, Qt::CaseInsensitive) == 0 &&
           Flags == o.Flags && (!(Flags & ffChildPos) || ChildPos == o.ChildPos) && Properties == o.Properties &&
           Children == o.Children;
}
