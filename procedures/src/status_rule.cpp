#include "procedures/procedures.h"

void ApplyStatusRule(store::Decimal<4>& anual, store::Decimal<4>& final, store::String<20>& estado) {
  if (anual.get() < store::Dec::fromUnits(6)) {
    (void)anual.set(store::Dec());
    (void)final.set(store::Dec());
    estado = "COLOQUIO";
  } else {
    (void)final.set(anual.get());  // the same field type: always fits
    estado = "APRUEBA";
  }
}
