// Printing sheets of labels.
#include "main/tnal1.h"

void TNal1::DrukujStrone(int, bool)
{
    // Not built yet: printing.
}

void TNal1::printTestPage()
{
    // Not built yet: the test page.
}
