#include "ui/editor/savetitlefile.h"

namespace sonolabe {

bool SaveTitleFile(QWidget *, TitleStore &)
{
    return false;
}

} // namespace sonolabe
