// The page preview.
#include "main/tnal1.h"

void TNal1::PokazStrone()
{
    // Not built yet: drawing the first sheet.
}
