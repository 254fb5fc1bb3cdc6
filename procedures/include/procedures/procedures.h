// KAMO's procedures. Each runs its own window (or report) modally and returns
// when it closes; none takes arguments: what a procedure needs travels in the
// record buffers and the globals.
#pragma once

#include "store/field_types.h"

// The sign-in window: D.N.I., then the date of birth; runs the tracking
// window for an admitted teacher. Leaves GlobalResponse at 2.
void Main();

// The tracking window: the teacher's subjects and the grade list.
void Ventana_Seguimiento_Notas();

// The report: the progress sheet of the subject in the record buffers.
void Imprimir_Planilla_Informe_Progreso();

// The status rule: below 6 the annual and final marks become 0 and the status
// "COLOQUIO"; from 6 the final mark becomes the annual mark and the status
// "APRUEBA". Exact to the hundredth: 5.99 fails, 6.00 passes.
void ApplyStatusRule(store::Decimal<4>& anual, store::Decimal<4>& final, store::String<20>& estado);

// What "Salir" does before the tracking window closes: reads the grade book
// once in physical order and, for every line of the subject in KAM:RECORD,
// applies the status rule, stamps the line ("APP" and the teacher's name) and
// writes it. Lines of other subjects are read and left untouched.
void RecalculateSubjectLines();

// The sign-in's day numbers: equal dates give equal numbers; a date whose
// month is 0 (the empty date included) or whose year is before 1801 gives 0;
// a year above 9999 counts as 31 December 9999.
int signInDayNumber(const store::Date& d);
