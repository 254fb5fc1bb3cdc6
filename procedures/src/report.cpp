// Imprimir_Planilla_Informe_Progreso: the progress sheet. Until the report
// exists it returns at once, leaving the caller's buffers as they were.
#include "dictionary/globals.h"
#include "procedures/procedures.h"

void Imprimir_Planilla_Informe_Progreso() { GlobalResponse = RequestCancelled; }
