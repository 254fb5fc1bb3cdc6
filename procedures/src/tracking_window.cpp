// Ventana_Seguimiento_Notas: the tracking window. Until its window exists it
// returns at once, so a signed-in teacher's session ends there.
#include "procedures/procedures.h"

void Ventana_Seguimiento_Notas() {}
