#include "ui/SharedDialogPosition.h"

namespace stratigon::ui {

POINT SharedDialogPosition = {100, 100};

}  // namespace stratigon::ui
