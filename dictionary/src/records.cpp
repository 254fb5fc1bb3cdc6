#include "dictionary/records.h"

#include <cstring>
#include <stdexcept>

namespace {

// The index of a field by its label, resolved at compile time: a key that
// names a field that does not exist does not compile.
template <std::size_t N>
consteval std::uint16_t field(const store::FieldDesc (&fields)[N], std::string_view label) {
  for (std::size_t i = 0; i < N; ++i)
    if (fields[i].label == label) return static_cast<std::uint16_t>(i);
  throw std::logic_error("unknown field");
}

constexpr store::FieldDesc kKAMFields[] = {
    {"KAM:NRO_REGISTRO", store::FieldType::Long, offsetof(KAM_RECORD, NRO_REGISTRO), sizeof(KAM_RECORD::NRO_REGISTRO)},
    {"KAM:NRO_ORDEN", store::FieldType::Short, offsetof(KAM_RECORD, NRO_ORDEN), sizeof(KAM_RECORD::NRO_ORDEN)},
    {"KAM:MATERIA", store::FieldType::String, offsetof(KAM_RECORD, MATERIA), sizeof(KAM_RECORD::MATERIA)},
    {"KAM:BILINGUE_MATERIA", store::FieldType::String, offsetof(KAM_RECORD, BILINGUE_MATERIA), sizeof(KAM_RECORD::BILINGUE_MATERIA)},
    {"KAM:TIPO", store::FieldType::String, offsetof(KAM_RECORD, TIPO), sizeof(KAM_RECORD::TIPO)},
    {"KAM:TIPO_LENGUAJE", store::FieldType::String, offsetof(KAM_RECORD, TIPO_LENGUAJE), sizeof(KAM_RECORD::TIPO_LENGUAJE)},
    {"KAM:COD_PROFESOR", store::FieldType::Long, offsetof(KAM_RECORD, COD_PROFESOR), sizeof(KAM_RECORD::COD_PROFESOR)},
    {"KAM:PROFESOR", store::FieldType::String, offsetof(KAM_RECORD, PROFESOR), sizeof(KAM_RECORD::PROFESOR)},
    {"KAM:COD_CURSO", store::FieldType::Long, offsetof(KAM_RECORD, COD_CURSO), sizeof(KAM_RECORD::COD_CURSO)},
    {"KAM:SEXO", store::FieldType::String, offsetof(KAM_RECORD, SEXO), sizeof(KAM_RECORD::SEXO)},
    {"KAM:HORAS", store::FieldType::Decimal, offsetof(KAM_RECORD, HORAS), sizeof(KAM_RECORD::HORAS)},
    {"KAM:SINPROMEDIO", store::FieldType::String, offsetof(KAM_RECORD, SINPROMEDIO), sizeof(KAM_RECORD::SINPROMEDIO)},
    {"KAM:PROMEDIOGRAL", store::FieldType::String, offsetof(KAM_RECORD, PROMEDIOGRAL), sizeof(KAM_RECORD::PROMEDIOGRAL)},
    {"KAM:VINCULANTE", store::FieldType::String, offsetof(KAM_RECORD, VINCULANTE), sizeof(KAM_RECORD::VINCULANTE)},
    {"KAM:CONTENIDOSACTITUDINALES", store::FieldType::String, offsetof(KAM_RECORD, CONTENIDOSACTITUDINALES), sizeof(KAM_RECORD::CONTENIDOSACTITUDINALES)},
    {"KAM:INTEGRADORA", store::FieldType::String, offsetof(KAM_RECORD, INTEGRADORA), sizeof(KAM_RECORD::INTEGRADORA)},
    {"KAM:MATERIASCORRELATIVAS", store::FieldType::String, offsetof(KAM_RECORD, MATERIASCORRELATIVAS), sizeof(KAM_RECORD::MATERIASCORRELATIVAS)},
    {"KAM:PROMEDIAEN", store::FieldType::Long, offsetof(KAM_RECORD, PROMEDIAEN), sizeof(KAM_RECORD::PROMEDIAEN)},
    {"KAM:CANTIDADMATEPROM", store::FieldType::Short, offsetof(KAM_RECORD, CANTIDADMATEPROM), sizeof(KAM_RECORD::CANTIDADMATEPROM)},
    {"KAM:CICLO", store::FieldType::String, offsetof(KAM_RECORD, CICLO), sizeof(KAM_RECORD::CICLO)},
    {"KAM:CURSO", store::FieldType::Short, offsetof(KAM_RECORD, CURSO), sizeof(KAM_RECORD::CURSO)},
    {"KAM:DIVISION", store::FieldType::String, offsetof(KAM_RECORD, DIVISION), sizeof(KAM_RECORD::DIVISION)},
    {"KAM:ESPECIALIDAD", store::FieldType::String, offsetof(KAM_RECORD, ESPECIALIDAD), sizeof(KAM_RECORD::ESPECIALIDAD)},
    {"KAM:TURNO", store::FieldType::String, offsetof(KAM_RECORD, TURNO), sizeof(KAM_RECORD::TURNO)},
    {"KAM:MAIL_PEN_DRIVE", store::FieldType::String, offsetof(KAM_RECORD, MAIL_PEN_DRIVE), sizeof(KAM_RECORD::MAIL_PEN_DRIVE)},
    {"KAM:DNI_DOCENTE", store::FieldType::Long, offsetof(KAM_RECORD, DNI_DOCENTE), sizeof(KAM_RECORD::DNI_DOCENTE)},
    {"KAM:KAP_FECHANAC", store::FieldType::Date, offsetof(KAM_RECORD, KAP_FECHANAC), sizeof(KAM_RECORD::KAP_FECHANAC)},
};

constexpr store::KeyDesc kKAMKeys[] = {
    {"KAM:CLAVE_PRINCIPAL", {{{field(kKAMFields, "KAM:NRO_REGISTRO"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAM:CLAVE_CURSO", {{{field(kKAMFields, "KAM:COD_CURSO"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAM:CLAVE_PROFESOR", {{{field(kKAMFields, "KAM:COD_PROFESOR"), false}, {field(kKAMFields, "KAM:MATERIA"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAM:CLAVE_ALFA", {{{field(kKAMFields, "KAM:MATERIA"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAM:CLAVE_PROFESOR_CURSO", {{{field(kKAMFields, "KAM:COD_PROFESOR"), false}, {field(kKAMFields, "KAM:COD_CURSO"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAM:CLAVE_MATERIA_SEXO", {{{field(kKAMFields, "KAM:MATERIA"), false}, {field(kKAMFields, "KAM:SEXO"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAM:CLAVE_CURSO_ORDEN_CODIGO", {{{field(kKAMFields, "KAM:COD_CURSO"), false}, {field(kKAMFields, "KAM:NRO_ORDEN"), false}, {field(kKAMFields, "KAM:NRO_REGISTRO"), false}}}, 3, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAM:CLAVE_PROMEDIA", {{{field(kKAMFields, "KAM:PROMEDIAEN"), false}, {field(kKAMFields, "KAM:NRO_REGISTRO"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAM:CLAVE_CURSO_MATERIA", {{{field(kKAMFields, "KAM:COD_CURSO"), false}, {field(kKAMFields, "KAM:MATERIA"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAM:CLAVE_CODMATERIA_CODPROFESOR", {{{field(kKAMFields, "KAM:NRO_REGISTRO"), false}, {field(kKAMFields, "KAM:COD_PROFESOR"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAM:CLAVE_DNI_PROFESOR", {{{field(kKAMFields, "KAM:DNI_DOCENTE"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
};

constexpr store::FieldDesc kKAAPFields[] = {
    {"KAAP:NRO_REGISTRO", store::FieldType::Long, offsetof(KAAP_RECORD, NRO_REGISTRO), sizeof(KAAP_RECORD::NRO_REGISTRO)},
    {"KAAP:COD_MATERIA", store::FieldType::Long, offsetof(KAAP_RECORD, COD_MATERIA), sizeof(KAAP_RECORD::COD_MATERIA)},
    {"KAAP:COD_CURSO", store::FieldType::Long, offsetof(KAAP_RECORD, COD_CURSO), sizeof(KAAP_RECORD::COD_CURSO)},
    {"KAAP:COD_DOCENTE", store::FieldType::Long, offsetof(KAAP_RECORD, COD_DOCENTE), sizeof(KAAP_RECORD::COD_DOCENTE)},
    {"KAAP:NRO_ORDEN", store::FieldType::Short, offsetof(KAAP_RECORD, NRO_ORDEN), sizeof(KAAP_RECORD::NRO_ORDEN)},
    {"KAAP:MATERIAS", store::FieldType::String, offsetof(KAAP_RECORD, MATERIAS), sizeof(KAAP_RECORD::MATERIAS)},
    {"KAAP:DOCENTE", store::FieldType::String, offsetof(KAAP_RECORD, DOCENTE), sizeof(KAAP_RECORD::DOCENTE)},
    {"KAAP:CONTENIDO_PRIORIZADO", store::FieldType::String, offsetof(KAAP_RECORD, CONTENIDO_PRIORIZADO), sizeof(KAAP_RECORD::CONTENIDO_PRIORIZADO)},
};

constexpr store::KeyDesc kKAAPKeys[] = {
    {"KAAP:CLAVE_PRIMARIA", {{{field(kKAAPFields, "KAAP:NRO_REGISTRO"), false}}}, 1, /*dup*/ false, /*opt*/ true, /*nocase*/ false, /*primary*/ true},
    {"KAAP:CLAVE_LEGAJO_ORDEN_MATERIA", {{{field(kKAAPFields, "KAAP:NRO_ORDEN"), false}, {field(kKAAPFields, "KAAP:COD_MATERIA"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAAP:CLAVE_COD_MATERIA", {{{field(kKAAPFields, "KAAP:COD_MATERIA"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAAP:CLAVE_ALFA_MATERIAS", {{{field(kKAAPFields, "KAAP:MATERIAS"), false}, {field(kKAAPFields, "KAAP:COD_MATERIA"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAAP:CLAVE_MATERIA_REGISTRO_LEGAJO", {{{field(kKAAPFields, "KAAP:COD_MATERIA"), false}, {field(kKAAPFields, "KAAP:NRO_REGISTRO"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAAP:CLAVE_MATERIA_LEGAJO", {{{field(kKAAPFields, "KAAP:COD_MATERIA"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAAP:CLAVE_CODMATERIA_ALUALFA", {{{field(kKAAPFields, "KAAP:COD_MATERIA"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAAP:CLAVE_LEGAJO_ESTADO_ORDEN_CMATERIA", {{{field(kKAAPFields, "KAAP:NRO_ORDEN"), false}, {field(kKAAPFields, "KAAP:COD_MATERIA"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAAP:CLAVE_ALFAMAGERIA_LEGAJO", {{{field(kKAAPFields, "KAAP:MATERIAS"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAAP:CLAVE_LEGAJO_COD_MATERIA", {{{field(kKAAPFields, "KAAP:COD_MATERIA"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
};

constexpr store::FieldDesc kKALFields[] = {
    {"KAL:NRO_REGISTRO", store::FieldType::Long, offsetof(KAL_RECORD, NRO_REGISTRO), sizeof(KAL_RECORD::NRO_REGISTRO)},
    {"KAL:NRO_LEGAJO", store::FieldType::Long, offsetof(KAL_RECORD, NRO_LEGAJO), sizeof(KAL_RECORD::NRO_LEGAJO)},
    {"KAL:NRO_ORDEN", store::FieldType::Short, offsetof(KAL_RECORD, NRO_ORDEN), sizeof(KAL_RECORD::NRO_ORDEN)},
    {"KAL:SEXO", store::FieldType::String, offsetof(KAL_RECORD, SEXO), sizeof(KAL_RECORD::SEXO)},
    {"KAL:ALUMNO", store::FieldType::String, offsetof(KAL_RECORD, ALUMNO), sizeof(KAL_RECORD::ALUMNO)},
    {"KAL:COD_MATERIA", store::FieldType::Long, offsetof(KAL_RECORD, COD_MATERIA), sizeof(KAL_RECORD::COD_MATERIA)},
    {"KAL:MATERIAS", store::FieldType::String, offsetof(KAL_RECORD, MATERIAS), sizeof(KAL_RECORD::MATERIAS)},
    {"KAL:CAMPO", store::FieldType::String, offsetof(KAL_RECORD, CAMPO), sizeof(KAL_RECORD::CAMPO)},
    {"KAL:ETAPA1", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA1), sizeof(KAL_RECORD::ETAPA1)},
    {"KAL:ETAPA2", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA2), sizeof(KAL_RECORD::ETAPA2)},
    {"KAL:ETAPA3", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA3), sizeof(KAL_RECORD::ETAPA3)},
    {"KAL:ETAPA4", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA4), sizeof(KAL_RECORD::ETAPA4)},
    {"KAL:ETAPA5", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA5), sizeof(KAL_RECORD::ETAPA5)},
    {"KAL:ETAPA6", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA6), sizeof(KAL_RECORD::ETAPA6)},
    {"KAL:ETAPA7", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA7), sizeof(KAL_RECORD::ETAPA7)},
    {"KAL:ETAPA8", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA8), sizeof(KAL_RECORD::ETAPA8)},
    {"KAL:ETAPA9", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA9), sizeof(KAL_RECORD::ETAPA9)},
    {"KAL:ETAPA10", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA10), sizeof(KAL_RECORD::ETAPA10)},
    {"KAL:ETAPA11", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA11), sizeof(KAL_RECORD::ETAPA11)},
    {"KAL:ETAPA12", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA12), sizeof(KAL_RECORD::ETAPA12)},
    {"KAL:ETAPA13", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA13), sizeof(KAL_RECORD::ETAPA13)},
    {"KAL:ETAPA14", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA14), sizeof(KAL_RECORD::ETAPA14)},
    {"KAL:ETAPA15", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA15), sizeof(KAL_RECORD::ETAPA15)},
    {"KAL:ETAPA16", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA16), sizeof(KAL_RECORD::ETAPA16)},
    {"KAL:ETAPA17", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA17), sizeof(KAL_RECORD::ETAPA17)},
    {"KAL:ETAPA18", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA18), sizeof(KAL_RECORD::ETAPA18)},
    {"KAL:ETAPA19", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA19), sizeof(KAL_RECORD::ETAPA19)},
    {"KAL:ETAPA20", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA20), sizeof(KAL_RECORD::ETAPA20)},
    {"KAL:ETAPA21", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA21), sizeof(KAL_RECORD::ETAPA21)},
    {"KAL:ETAPA22", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA22), sizeof(KAL_RECORD::ETAPA22)},
    {"KAL:ETAPA23", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA23), sizeof(KAL_RECORD::ETAPA23)},
    {"KAL:ETAPA24", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA24), sizeof(KAL_RECORD::ETAPA24)},
    {"KAL:ETAPA25", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA25), sizeof(KAL_RECORD::ETAPA25)},
    {"KAL:ETAPA26", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA26), sizeof(KAL_RECORD::ETAPA26)},
    {"KAL:ETAPA27", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA27), sizeof(KAL_RECORD::ETAPA27)},
    {"KAL:ETAPA28", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA28), sizeof(KAL_RECORD::ETAPA28)},
    {"KAL:ETAPA29", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA29), sizeof(KAL_RECORD::ETAPA29)},
    {"KAL:ETAPA30", store::FieldType::Decimal, offsetof(KAL_RECORD, ETAPA30), sizeof(KAL_RECORD::ETAPA30)},
    {"KAL:PRONOSTICO1", store::FieldType::Decimal, offsetof(KAL_RECORD, PRONOSTICO1), sizeof(KAL_RECORD::PRONOSTICO1)},
    {"KAL:PRONOSTICO2", store::FieldType::Decimal, offsetof(KAL_RECORD, PRONOSTICO2), sizeof(KAL_RECORD::PRONOSTICO2)},
    {"KAL:PRONOSTICO3", store::FieldType::Decimal, offsetof(KAL_RECORD, PRONOSTICO3), sizeof(KAL_RECORD::PRONOSTICO3)},
    {"KAL:FINALETAPAI", store::FieldType::Decimal, offsetof(KAL_RECORD, FINALETAPAI), sizeof(KAL_RECORD::FINALETAPAI)},
    {"KAL:FINALETAPAII", store::FieldType::Decimal, offsetof(KAL_RECORD, FINALETAPAII), sizeof(KAL_RECORD::FINALETAPAII)},
    {"KAL:FINALETAPAIII", store::FieldType::Decimal, offsetof(KAL_RECORD, FINALETAPAIII), sizeof(KAL_RECORD::FINALETAPAIII)},
    {"KAL:EVALUACION_ANUAL", store::FieldType::Decimal, offsetof(KAL_RECORD, EVALUACION_ANUAL), sizeof(KAL_RECORD::EVALUACION_ANUAL)},
    {"KAL:DICIEMBRE", store::FieldType::Decimal, offsetof(KAL_RECORD, DICIEMBRE), sizeof(KAL_RECORD::DICIEMBRE)},
    {"KAL:MARZO", store::FieldType::Decimal, offsetof(KAL_RECORD, MARZO), sizeof(KAL_RECORD::MARZO)},
    {"KAL:FINAL", store::FieldType::Decimal, offsetof(KAL_RECORD, FINAL), sizeof(KAL_RECORD::FINAL)},
    {"KAL:CUALIFICA1", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA1), sizeof(KAL_RECORD::CUALIFICA1)},
    {"KAL:CUALIFICA2", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA2), sizeof(KAL_RECORD::CUALIFICA2)},
    {"KAL:CUALIFICA3", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA3), sizeof(KAL_RECORD::CUALIFICA3)},
    {"KAL:CUALIFICA4", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA4), sizeof(KAL_RECORD::CUALIFICA4)},
    {"KAL:CUALIFICA5", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA5), sizeof(KAL_RECORD::CUALIFICA5)},
    {"KAL:CUALIFICA6", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA6), sizeof(KAL_RECORD::CUALIFICA6)},
    {"KAL:CUALIFICA7", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA7), sizeof(KAL_RECORD::CUALIFICA7)},
    {"KAL:CUALIFICA8", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA8), sizeof(KAL_RECORD::CUALIFICA8)},
    {"KAL:CUALIFICA9", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA9), sizeof(KAL_RECORD::CUALIFICA9)},
    {"KAL:CUALIFICA10", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA10), sizeof(KAL_RECORD::CUALIFICA10)},
    {"KAL:CUALIFICA11", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA11), sizeof(KAL_RECORD::CUALIFICA11)},
    {"KAL:CUALIFICA12", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA12), sizeof(KAL_RECORD::CUALIFICA12)},
    {"KAL:CUALIFICA13", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA13), sizeof(KAL_RECORD::CUALIFICA13)},
    {"KAL:CUALIFICA14", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA14), sizeof(KAL_RECORD::CUALIFICA14)},
    {"KAL:CUALIFICA15", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA15), sizeof(KAL_RECORD::CUALIFICA15)},
    {"KAL:CUALIFICA16", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA16), sizeof(KAL_RECORD::CUALIFICA16)},
    {"KAL:CUALIFICA17", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA17), sizeof(KAL_RECORD::CUALIFICA17)},
    {"KAL:CUALIFICA18", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA18), sizeof(KAL_RECORD::CUALIFICA18)},
    {"KAL:CUALIFICA19", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA19), sizeof(KAL_RECORD::CUALIFICA19)},
    {"KAL:CUALIFICA20", store::FieldType::String, offsetof(KAL_RECORD, CUALIFICA20), sizeof(KAL_RECORD::CUALIFICA20)},
    {"KAL:FINAL1", store::FieldType::String, offsetof(KAL_RECORD, FINAL1), sizeof(KAL_RECORD::FINAL1)},
    {"KAL:FINAL2", store::FieldType::String, offsetof(KAL_RECORD, FINAL2), sizeof(KAL_RECORD::FINAL2)},
    {"KAL:FINAL3", store::FieldType::String, offsetof(KAL_RECORD, FINAL3), sizeof(KAL_RECORD::FINAL3)},
    {"KAL:FINALANUAL", store::FieldType::String, offsetof(KAL_RECORD, FINALANUAL), sizeof(KAL_RECORD::FINALANUAL)},
    {"KAL:EXTRA1", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA1), sizeof(KAL_RECORD::EXTRA1)},
    {"KAL:EXTRA2", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA2), sizeof(KAL_RECORD::EXTRA2)},
    {"KAL:EXTRA3", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA3), sizeof(KAL_RECORD::EXTRA3)},
    {"KAL:EXTRA4", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA4), sizeof(KAL_RECORD::EXTRA4)},
    {"KAL:EXTRA5", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA5), sizeof(KAL_RECORD::EXTRA5)},
    {"KAL:EXTRA6", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA6), sizeof(KAL_RECORD::EXTRA6)},
    {"KAL:EXTRA7", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA7), sizeof(KAL_RECORD::EXTRA7)},
    {"KAL:EXTRA8", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA8), sizeof(KAL_RECORD::EXTRA8)},
    {"KAL:EXTRA9", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA9), sizeof(KAL_RECORD::EXTRA9)},
    {"KAL:EXTRA10", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA10), sizeof(KAL_RECORD::EXTRA10)},
    {"KAL:EXTRA11", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA11), sizeof(KAL_RECORD::EXTRA11)},
    {"KAL:EXTRA12", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA12), sizeof(KAL_RECORD::EXTRA12)},
    {"KAL:EXTRA13", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA13), sizeof(KAL_RECORD::EXTRA13)},
    {"KAL:EXTRA14", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA14), sizeof(KAL_RECORD::EXTRA14)},
    {"KAL:EXTRA15", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA15), sizeof(KAL_RECORD::EXTRA15)},
    {"KAL:EXTRA16", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA16), sizeof(KAL_RECORD::EXTRA16)},
    {"KAL:EXTRA17", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA17), sizeof(KAL_RECORD::EXTRA17)},
    {"KAL:EXTRA18", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA18), sizeof(KAL_RECORD::EXTRA18)},
    {"KAL:EXTRA19", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA19), sizeof(KAL_RECORD::EXTRA19)},
    {"KAL:EXTRA20", store::FieldType::Decimal, offsetof(KAL_RECORD, EXTRA20), sizeof(KAL_RECORD::EXTRA20)},
    {"KAL:ETADO", store::FieldType::String, offsetof(KAL_RECORD, ETADO), sizeof(KAL_RECORD::ETADO)},
    {"KAL:FECHA_OPERACION", store::FieldType::Date, offsetof(KAL_RECORD, FECHA_OPERACION), sizeof(KAL_RECORD::FECHA_OPERACION)},
    {"KAL:FECHA1", store::FieldType::Date, offsetof(KAL_RECORD, FECHA1), sizeof(KAL_RECORD::FECHA1)},
    {"KAL:FECHA2", store::FieldType::Date, offsetof(KAL_RECORD, FECHA2), sizeof(KAL_RECORD::FECHA2)},
    {"KAL:FECHA3", store::FieldType::Date, offsetof(KAL_RECORD, FECHA3), sizeof(KAL_RECORD::FECHA3)},
    {"KAL:FECHA4", store::FieldType::Date, offsetof(KAL_RECORD, FECHA4), sizeof(KAL_RECORD::FECHA4)},
    {"KAL:FECHA5", store::FieldType::Date, offsetof(KAL_RECORD, FECHA5), sizeof(KAL_RECORD::FECHA5)},
    {"KAL:FECHA6", store::FieldType::Date, offsetof(KAL_RECORD, FECHA6), sizeof(KAL_RECORD::FECHA6)},
    {"KAL:FECHA7", store::FieldType::Date, offsetof(KAL_RECORD, FECHA7), sizeof(KAL_RECORD::FECHA7)},
    {"KAL:FECHA8", store::FieldType::Date, offsetof(KAL_RECORD, FECHA8), sizeof(KAL_RECORD::FECHA8)},
    {"KAL:FECHA9", store::FieldType::Date, offsetof(KAL_RECORD, FECHA9), sizeof(KAL_RECORD::FECHA9)},
    {"KAL:FECHA10", store::FieldType::Date, offsetof(KAL_RECORD, FECHA10), sizeof(KAL_RECORD::FECHA10)},
    {"KAL:FECHA11", store::FieldType::Date, offsetof(KAL_RECORD, FECHA11), sizeof(KAL_RECORD::FECHA11)},
    {"KAL:FECHA12", store::FieldType::Date, offsetof(KAL_RECORD, FECHA12), sizeof(KAL_RECORD::FECHA12)},
    {"KAL:AC", store::FieldType::String, offsetof(KAL_RECORD, AC), sizeof(KAL_RECORD::AC)},
    {"KAL:AM", store::FieldType::String, offsetof(KAL_RECORD, AM), sizeof(KAL_RECORD::AM)},
    {"KAL:TOTALFALTAS", store::FieldType::Long, offsetof(KAL_RECORD, TOTALFALTAS), sizeof(KAL_RECORD::TOTALFALTAS)},
    {"KAL:ASISTENCIAS", store::FieldType::Long, offsetof(KAL_RECORD, ASISTENCIAS), sizeof(KAL_RECORD::ASISTENCIAS)},
    {"KAL:PORCENTAJE", store::FieldType::Long, offsetof(KAL_RECORD, PORCENTAJE), sizeof(KAL_RECORD::PORCENTAJE)},
    {"KAL:COD_CURSO", store::FieldType::Long, offsetof(KAL_RECORD, COD_CURSO), sizeof(KAL_RECORD::COD_CURSO)},
    {"KAL:INGRESO", store::FieldType::String, offsetof(KAL_RECORD, INGRESO), sizeof(KAL_RECORD::INGRESO)},
    {"KAL:OPERADOR", store::FieldType::String, offsetof(KAL_RECORD, OPERADOR), sizeof(KAL_RECORD::OPERADOR)},
    {"KAL:OBSERVACION1", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION1), sizeof(KAL_RECORD::OBSERVACION1)},
    {"KAL:OBSERVACION2", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION2), sizeof(KAL_RECORD::OBSERVACION2)},
    {"KAL:OBSERVACION3", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION3), sizeof(KAL_RECORD::OBSERVACION3)},
    {"KAL:OBSERVACION4", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION4), sizeof(KAL_RECORD::OBSERVACION4)},
    {"KAL:OBSERVACION5", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION5), sizeof(KAL_RECORD::OBSERVACION5)},
    {"KAL:OBSERVACION6", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION6), sizeof(KAL_RECORD::OBSERVACION6)},
    {"KAL:OBSERVACION7", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION7), sizeof(KAL_RECORD::OBSERVACION7)},
    {"KAL:OBSERVACION8", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION8), sizeof(KAL_RECORD::OBSERVACION8)},
    {"KAL:OBSERVACION9", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION9), sizeof(KAL_RECORD::OBSERVACION9)},
    {"KAL:OBSERVACION10", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION10), sizeof(KAL_RECORD::OBSERVACION10)},
    {"KAL:OBSERVACION11", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION11), sizeof(KAL_RECORD::OBSERVACION11)},
    {"KAL:OBSERVACION12", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION12), sizeof(KAL_RECORD::OBSERVACION12)},
    {"KAL:OBSERVACION13", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION13), sizeof(KAL_RECORD::OBSERVACION13)},
    {"KAL:OBSERVACION14", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION14), sizeof(KAL_RECORD::OBSERVACION14)},
    {"KAL:OBSERVACION15", store::FieldType::String, offsetof(KAL_RECORD, OBSERVACION15), sizeof(KAL_RECORD::OBSERVACION15)},
    {"KAL:PROMEDIAEN", store::FieldType::Long, offsetof(KAL_RECORD, PROMEDIAEN), sizeof(KAL_RECORD::PROMEDIAEN)},
    {"KAL:CANTIDAD", store::FieldType::Short, offsetof(KAL_RECORD, CANTIDAD), sizeof(KAL_RECORD::CANTIDAD)},
};

constexpr store::KeyDesc kKALKeys[] = {
    {"KAL:CLAVE_PRIMARIA", {{{field(kKALFields, "KAL:NRO_REGISTRO"), false}}}, 1, /*dup*/ false, /*opt*/ true, /*nocase*/ false, /*primary*/ true},
    {"KAL:CLAVE_LEGAGO", {{{field(kKALFields, "KAL:NRO_LEGAJO"), false}, {field(kKALFields, "KAL:NRO_ORDEN"), false}, {field(kKALFields, "KAL:COD_MATERIA"), false}}}, 3, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAL:CLAVE_MATERIA", {{{field(kKALFields, "KAL:COD_MATERIA"), false}}}, 1, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAL:CLAVE_ALFA_MATERIAS", {{{field(kKALFields, "KAL:MATERIAS"), false}, {field(kKALFields, "KAL:COD_MATERIA"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAL:CLAVE_MATERIA_ORDEN_LEGAJO", {{{field(kKALFields, "KAL:COD_MATERIA"), false}, {field(kKALFields, "KAL:NRO_REGISTRO"), false}, {field(kKALFields, "KAL:NRO_LEGAJO"), false}}}, 3, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAL:CLAVE_MATERIA_LEGAJOS", {{{field(kKALFields, "KAL:COD_MATERIA"), false}, {field(kKALFields, "KAL:NRO_LEGAJO"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAL:CLAVE_MATERIA_SEXO_ALUMNO", {{{field(kKALFields, "KAL:COD_MATERIA"), false}, {field(kKALFields, "KAL:SEXO"), false}, {field(kKALFields, "KAL:ALUMNO"), false}}}, 3, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAL:CLAVE_MATERIA_SEXO_ALUMNO2", {{{field(kKALFields, "KAL:COD_MATERIA"), false}, {field(kKALFields, "KAL:SEXO"), true}, {field(kKALFields, "KAL:ALUMNO"), false}}}, 3, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAL:CLAVE_CODMATERIA_ALUALFA", {{{field(kKALFields, "KAL:COD_MATERIA"), false}, {field(kKALFields, "KAL:ALUMNO"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ false, /*primary*/ false},
    {"KAL:CLAVE_RENDIMIENTO_ACADEMICO", {{{field(kKALFields, "KAL:EVALUACION_ANUAL"), true}, {field(kKALFields, "KAL:FINALETAPAIII"), true}, {field(kKALFields, "KAL:FINALETAPAII"), true}, {field(kKALFields, "KAL:FINALETAPAI"), true}}}, 4, /*dup*/ true, /*opt*/ false, /*nocase*/ true, /*primary*/ false},
    {"KAL:CLAVE_PROMEDIAEN_LEGAJO", {{{field(kKALFields, "KAL:PROMEDIAEN"), false}, {field(kKALFields, "KAL:NRO_LEGAJO"), false}}}, 2, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
    {"KAL:CLAVE_LEGAJO_ESTADO_ORDEN_CMATERIA", {{{field(kKALFields, "KAL:NRO_LEGAJO"), false}, {field(kKALFields, "KAL:ETADO"), false}, {field(kKALFields, "KAL:NRO_ORDEN"), false}, {field(kKALFields, "KAL:COD_MATERIA"), false}}}, 4, /*dup*/ true, /*opt*/ true, /*nocase*/ true, /*primary*/ false},
};
}  // namespace

const store::FileDesc KAMATERIAS{"KAMATERIAS", "KAM", "KAMaterias.TPS", KAM_RECORD::kRecordBytes, kKAMFields, kKAMKeys,
                                 {"KAM:OBJETIVO", 4000}};
const store::FileDesc KAAPRENDE{"KAAPRENDE", "KAAP", "KAAPRENDE.TPS", KAAP_RECORD::kRecordBytes, kKAAPFields, kKAAPKeys,
                                {"KAAP:APRENDIZAJE_TRABAJO", 1000}};
const store::FileDesc KALIBRETA{"KALIBRETA", "KAL", "KALIBRETA.TPS", KAL_RECORD::kRecordBytes, kKALFields, kKALKeys,
                                {"", 0}};

void KAM_RECORD::clear() {
  store::clearRecord(KAMATERIAS, image());
  std::memset(OBJETIVO.c, ' ', sizeof OBJETIVO.c);
}

void KAAP_RECORD::clear() {
  store::clearRecord(KAAPRENDE, image());
  std::memset(APRENDIZAJE_TRABAJO.c, ' ', sizeof APRENDIZAJE_TRABAJO.c);
}

void KAL_RECORD::clear() { store::clearRecord(KALIBRETA, image()); }

thread_local KAM_RECORD KAM;
thread_local KAAP_RECORD KAAP;
thread_local KAL_RECORD KAL;
