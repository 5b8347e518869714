// The printer choice of the main window.
#include "main/tnal1.h"

void TNal1::restorePrinter()
{
    // Not built yet: the printer named in the settings.
}
