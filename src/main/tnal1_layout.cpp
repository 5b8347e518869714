// Label geometry and composition.
#include "main/tnal1.h"

void TNal1::ParametryNalepki()
{
    // Not built yet: layout pixels and the page image.
}

void TNal1::RysujNal(bool)
{
    // Not built yet: one record per queued line.
    KasujListeNalepek();
    queue.ListaNal.resize(queue.ListaLini.size());
}
